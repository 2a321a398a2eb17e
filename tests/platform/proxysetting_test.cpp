#include "platform/proxysetting.h"

#include <gtest/gtest.h>

TEST(ProxySetting, SplitsAtTheFirstColon)
{
    const struct
    {
        const char *entry;
        const char *host;
        qint32 port;
    } cases[] = {
        {"proxy:8080", "proxy", 8080},
        {"proxy", "", 0},
        {"", "", 0},
        {"proxy:abc", "proxy", 0},
        {"proxy:", "proxy", 0},
        // The per-protocol form splits like any other; its remainder is no number.
        {"http=a:3128;https=b:3129", "http=a", 0},
    };
    for (const auto &c : cases) {
        const ProxySetting setting = ParseProxyServer(QLatin1String(c.entry));
        EXPECT_EQ(setting.host, QLatin1String(c.host)) << c.entry;
        EXPECT_EQ(setting.port, c.port) << c.entry;
    }
}
