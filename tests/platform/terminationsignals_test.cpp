#include "platform/terminationsignals.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>

TEST(TerminationSignals, TheHandlerLeavesErrnoAsItFoundIt)
{
    const TerminationSignals termination;
    // Far more signals than the notification pipe holds unread, so the handler's write fails.
    for (int i = 0; i < 100000; ++i)
        ::raise(SIGTERM);
    errno = EDOM;
    ::raise(SIGTERM);
    EXPECT_EQ(errno, EDOM);
}
