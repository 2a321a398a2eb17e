#include "protocol/proxybypass.h"

#include <gtest/gtest.h>

TEST(ProxyBypass, NamesDomainsAddressesSubnetsAndStar)
{
    const struct
    {
        const char *noProxy;
        const char *host;
        bool bypasses;
    } cases[] = {
        {"localhost", "localhost", true},
        {"LocalHost", "LOCALHOST", true},
        {"localhost", "localhost.", true},
        {"localhost", "notlocalhost", false},
        // A domain takes itself and every name below it, with or without its leading dot.
        {"example.com", "www.example.com", true},
        {"example.com", "example.com", true},
        {".example.com", "www.example.com", true},
        {".example.com", "a.b.example.com", true},
        {".example.com", "example.com", true},
        {"example.com", "badexample.com", false},
        {".example.com", "example.com.evil", false},
        // Addresses compare as addresses, never as names.
        {"127.0.0.1", "127.0.0.1", true},
        {"127.0.0.1", "127.0.0.10", false},
        {"127.0.0.1", "localhost", false},
        {"0.0.1", "127.0.0.1", false},
        {"[::1]", "::1", true},
        {"::1", "[0:0::1]", true},
        {"10.0.0.0/8", "10.1.2.3", true},
        {"10.0.0.0/8", "11.0.0.1", false},
        {"10.0.0.0/8", "ten.example", false},
        {"*", "anything.example", true},
        {"*.example.com", "www.example.com", false}, // not a pattern language
        {"", "localhost", false},
        {".", "localhost", false},
    };
    for (const auto &[noProxy, host, bypasses] : cases) {
        EXPECT_EQ(BypassesProxy({QString::fromLatin1(noProxy)}, host), bypasses)
            << noProxy << " / " << host;
    }
    EXPECT_TRUE(
        BypassesProxy({QStringLiteral("a.example"), QStringLiteral("127.0.0.1")}, "127.0.0.1"));
    EXPECT_FALSE(BypassesProxy({}, "127.0.0.1"));
}
