#pragma once

#include <QString>
#include <functional>
#include <string>

struct ServiceOptions
{
    std::string host = "127.0.0.1";
    int port = 8080; // 0 lets the system choose; MarbelloService::port() tells which
    QString databasePath = QStringLiteral("marbello-service.db");
    // The keep-alive period handed to clients; a user is offline after three without a keep-alive.
    int periodSeconds = 60;
    // HOST[:PORT] that visitors use to reach the service, written into each user's address. Empty:
    // the Host line of the login request with the listening port.
    QString publicHost;
    // Seconds since the epoch; empty means the system clock. Tests pass their own.
    std::function<qint64()> clock;
    // How often the keep-alives' last-seen times are written to the database.
    int flushSeconds = 5;
};
