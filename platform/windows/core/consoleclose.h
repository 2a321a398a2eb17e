#pragma once

#include <functional>

namespace wincore {

// Tells of the console's requests to end the process: Ctrl+C, Ctrl+Break, the console window
// closing, the user logging off, the system shutting down. One watch at a time.
class ConsoleCloseWatch
{
public:
    // `onRequest` runs on a thread of the system's, once per request. For the requests after
    // which the system ends the process anyway (close, logoff, shutdown) the process is kept
    // alive until the watch is destroyed, so that the closing steps can run to the end first.
    explicit ConsoleCloseWatch(std::function<void()> onRequest);
    ConsoleCloseWatch(const ConsoleCloseWatch &) = delete;
    ConsoleCloseWatch &operator=(const ConsoleCloseWatch &) = delete;
    ~ConsoleCloseWatch();
};

} // namespace wincore
