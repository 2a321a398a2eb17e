#include "service/servicecontext.h"

#include <QDateTime>
#include <httplib.h>

namespace {

// A Host line is copied into the user's address only when it looks like a host name or address.
bool isPlainHost(const std::string &host)
{
    if (host.empty() || host.size() > 255)
        return false;
    for (unsigned char c : host) {
        if (!std::isalnum(c) && c != '.' && c != '-' && c != ':' && c != '[' && c != ']')
            return false;
    }
    return true;
}

} // namespace

ServiceContext::ServiceContext(ServiceOptions options)
    : database(options.databasePath), m_options(std::move(options))
{
    database.locked([&](SqliteConnection &db) {
        SaveSetting(db, QStringLiteral("period"), QString::number(m_options.periodSeconds));
        for (const Session &session : LoadSessions(db))
            sessions.put(session);
    });
}

qint64 ServiceContext::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentSecsSinceEpoch();
}

QString ServiceContext::userDomain(const httplib::Request &request, const QString &logid) const
{
    QString host = m_options.publicHost;
    if (host.isEmpty()) {
        // The client's Host line never carries the port, so the listening port is added.
        const std::string sent = request.get_header_value("Host");
        host = QString::fromLatin1(isPlainHost(sent) ? sent : m_options.host);
        const bool hasPort =
            host.lastIndexOf(QLatin1Char(':')) > host.lastIndexOf(QLatin1Char(']'));
        if (m_listeningPort != 80 && !hasPort)
            host += QLatin1Char(':') + QString::number(m_listeningPort);
    }
    return QStringLiteral("http://") + host + QStringLiteral("/~") + logid;
}

void ServiceContext::flushSessions()
{
    const std::vector<Session> changed = sessions.takeChanged();
    database.locked([&](SqliteConnection &db) { SaveLastSeen(db, changed); });
}
