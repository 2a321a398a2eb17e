#pragma once

#include <QByteArray>

// One HTTP/1.0 exchange over a fresh loopback connection, the way the client makes it: the
// request bytes go out exactly as given and the reply is read until the server closes.
struct RawReply
{
    int status = 0;
    QByteArray headers; // status line and header lines, as received
    QByteArray body;
    bool closed = false; // the server closed the connection after the reply

    QByteArray header(const QByteArray &name) const;
};

RawReply SendRaw(int port, const QByteArray &request);
// GET of a raw target ("/path?query", CP936 bytes unescaped).
RawReply GetRaw(int port, const QByteArray &target);
RawReply PostRaw(int port, const QByteArray &path, const QByteArray &body);
