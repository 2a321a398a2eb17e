#include "core/clientserviceinfo.h"

#include <QDir>
#include <climits>
#include <gtest/gtest.h>

TEST(ClientServiceInfo, PasswordKeyAndKeepAliveInterval)
{
    TClientServiceInfo info;
    for (const auto &[path, key] :
         {std::pair{"/opt/marbello xp/marbello", "/opt/marbe"}, {"/bin/m", "/bin/m"}}) {
        InitializeClientState(info, QDir::tempPath(), QLatin1String(path));
        EXPECT_EQ(info.PasswordKey, QLatin1String(key));
    }
    for (const auto &[seconds, milliseconds] :
         {std::pair{30, 30000}, {-5, 0}, {INT_MAX, INT_MAX}}) {
        info.ClientPromptOnlineSeconds = seconds;
        EXPECT_EQ(KeepAliveIntervalMs(info), milliseconds) << seconds;
    }
}
