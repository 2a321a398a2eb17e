#pragma once

#include <QString>

class TClientServiceInfo;

// The login URL with the id, the password and the whole site description, each value
// form-encoded (FormEncoded), so that a form-decoding service reads back what was typed.
QString BuildLoginUrl(const TClientServiceInfo &info, const QString &id, const QString &password);

// Logs in: on acceptance the client is online, the session values are stored, the keep-alive
// timer runs at the service's period and the login is logged. Returns the message: empty on
// acceptance, the service's Reason on refusal, else one of the fixed texts. `newVersion` is
// written only when an accepted answer has been read completely.
QString Login(TClientServiceInfo &info, const QString &id, const QString &password,
              bool &newVersion);
