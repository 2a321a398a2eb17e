#pragma once

#include <QString>

class TClientServiceInfo;

// Ends the session at the service when the client is online; `id` is the one logged. The
// keep-alive timer stops whatever the outcome. Returns empty on acceptance or an unreadable
// answer, the Reason on refusal, the no-answer text when the service was not reached.
QString Logoff(TClientServiceInfo &info, const QString &id);
