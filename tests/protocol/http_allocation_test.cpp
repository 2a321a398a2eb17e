// What reading a reply allocates, counted by taking over malloc and realloc in this test program
// alone. The sanitizers take them over themselves, so their builds skip it.
#include "protocol/nmhttp.h"
#include "scriptedserver.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr size_t kLarge = 64 * 1024;
std::atomic<bool> g_counting = false;
std::atomic<int> g_largeAllocations = 0;

} // namespace

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kCountsAllocations = false;
#else
constexpr bool kCountsAllocations = true;

namespace {

void count(size_t size)
{
    if (size >= kLarge && g_counting.load(std::memory_order_relaxed))
        g_largeAllocations.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_realloc(void *pointer, size_t size);

void *malloc(size_t size) noexcept
{
    count(size);
    return __libc_malloc(size);
}

void *realloc(void *pointer, size_t size) noexcept
{
    count(size);
    return __libc_realloc(pointer, size);
}
}
#endif

TEST(HttpAllocation, ReadingAReplyAllocatesNoLineBufferOfTheLineLimit)
{
    if (!kCountsAllocations)
        GTEST_SKIP() << "the sanitizer owns malloc";
    QByteArray reply = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < 15; ++i)
        reply += "X-Line-" + QByteArray::number(i) + ": value\r\n";
    reply += "\r\n<a><s Result=\"1\"/></a>";
    ScriptedServer server;
    server.addReply(reply);
    TNMHTTP http;
    http.TimeOut = 5000;

    g_largeAllocations = 0;
    g_counting = true;
    http.Get(server.url(QStringLiteral("/")));
    g_counting = false;

    EXPECT_EQ(http.Header.count('\n'), 17);
    EXPECT_EQ(g_largeAllocations, 0);
}
