#pragma once

#include "service/database.h"
#include "service/serviceoptions.h"
#include "service/sessions.h"

namespace httplib {
struct Request;
}

// What every request handler works with.
class ServiceContext
{
public:
    explicit ServiceContext(ServiceOptions options);

    qint64 now() const;
    int period() const { return m_options.periodSeconds; }
    // The user's site address: "http://<service host>/~<logid>".
    QString userDomain(const httplib::Request &request, const QString &logid) const;
    // Writes the keep-alives' last-seen times recorded since the last call.
    void flushSessions();

    Database database;
    SessionTable sessions;
    const ServiceOptions &options() const { return m_options; }
    void setListeningPort(int port) { m_listeningPort = port; }

private:
    ServiceOptions m_options;
    int m_listeningPort = 0;
};
