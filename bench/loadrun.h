#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>
#include <memory>

// Figures of one load run: requests over their own connections, as the client makes them.
struct LoadFigures
{
    std::size_t requests = 0;
    long errors = 0;
    double seconds = 0;
    double p50 = 0, p99 = 0, max = 0; // milliseconds

    double perSecond() const { return seconds > 0 ? double(requests) / seconds : 0; }
    void print(const char *label) const;
};

// `threads` threads each send requests back to back for `seconds`: request(i) is the i-th target
// a thread sends (a raw "/path?query"), and a reply counts as an error unless `ok` accepts its
// body.
LoadFigures RunLoad(int port, int threads, int seconds,
                    const std::function<QByteArray(std::size_t)> &target,
                    const std::function<bool(const QByteArray &)> &ok);

// Connections that send the start of a request one byte every few seconds, as a slow or hostile
// client does; each is opened again when the server closes it. They stop with the object.
class SlowConnections
{
public:
    SlowConnections(int port, int count, std::chrono::milliseconds interval);
    ~SlowConnections();
    SlowConnections(const SlowConnections &) = delete;
    SlowConnections &operator=(const SlowConnections &) = delete;
    // How many times the server closed one of them so far.
    long closedByServer() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
