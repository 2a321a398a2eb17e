#pragma once

#include <csignal>
#include <sys/resource.h>

// Runs `write` while no file this process writes may grow past `bytes`, as on a full disk
// (permission bits would not stop root). A write past the cap fails instead of raising SIGXFSZ.
template <typename Write> auto withFileSizeCap(rlim_t bytes, Write write)
{
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit capped{bytes, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &capped);
    const auto result = write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    return result;
}
