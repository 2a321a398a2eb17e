#pragma once

#include <QByteArray>
#include <QString>

class TClientServiceInfo;
class TNMHTTP;

// Gives `http` the client state's proxy: its address, credentials and the hosts it is not used for.
void UseClientProxy(TNMHTTP &http, const TClientServiceInfo &info);

// One transaction through a fresh HTTP component with the client state's proxy, so that nothing
// (cookie, host, port) carries over between requests. The answer is the reply body as received
// (CP936 bytes), whatever the status code; any failure gives an empty answer. The URL is escaped
// already: its values are form-encoded (FormEncoded).
QByteArray HttpGet(const TClientServiceInfo &info, int timeOut, const QString &url);
// Posts the bytes of `fileName` as the request body.
QByteArray HttpPostFile(const TClientServiceInfo &info, int timeOut, const QString &url,
                        const QString &fileName);
