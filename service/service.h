#pragma once

#include "service/serviceoptions.h"

#include <memory>

// The reference service in one object: the HTTP server with its handlers, the database and the
// sessions. Tests and benchmarks run it in-process; main() runs it until a signal.
class MarbelloService
{
public:
    // Opens (or creates) the database and takes over the sessions recorded in it. Throws
    // SqliteError when the file cannot be opened.
    explicit MarbelloService(ServiceOptions options);
    ~MarbelloService();
    MarbelloService(const MarbelloService &) = delete;
    MarbelloService &operator=(const MarbelloService &) = delete;

    // Binds the address and serves on background threads; returns the port, the system's choice
    // when the options asked for port 0. Throws std::runtime_error when the address is taken.
    int start();
    // Stops serving and writes the last keep-alive times; also done by the destructor.
    void stop();
    int port() const;

    // Writes the keep-alive times recorded since the last write, which otherwise happens every
    // few seconds.
    void flushSessions();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
