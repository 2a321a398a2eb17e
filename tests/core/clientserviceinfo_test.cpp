#include "core/clientserviceinfo.h"

#include <QDir>
#include <climits>
#include <gtest/gtest.h>

TEST(ClientServiceInfo, PasswordKeyAndKeepAliveInterval)
{
    TClientServiceInfo info;
    for (const auto &[path, key] :
         {std::pair{u"/opt/marbello xp/marbello", "/opt/marbe"},
          {u"/bin/m", "/bin/m"},
          // The tenth byte is the first half of "软", and stays in the key.
          {u"/opt/马贝罗软件/marbello", "/opt/\xc2\xed\xb1\xb4\xc2"}}) {
        InitializeClientState(info, QDir::tempPath(), QString::fromUtf16(path));
        EXPECT_EQ(info.PasswordKey, QByteArray(key));
    }
    for (const auto &[seconds, milliseconds] :
         {std::pair{30, 30000}, {-5, 0}, {INT_MAX, INT_MAX}}) {
        info.ClientPromptOnlineSeconds = seconds;
        EXPECT_EQ(KeepAliveIntervalMs(info), milliseconds) << seconds;
    }
}
