#include "protocol/httprequests.h"

#include "core/clientserviceinfo.h"
#include "protocol/nmhttp.h"

namespace {

void prepare(TNMHTTP &http, const TClientServiceInfo &info, int timeOut)
{
    http.TimeOut = timeOut;
    http.UrlEscaped = true;
    UseClientProxy(http, info);
}

} // namespace

void UseClientProxy(TNMHTTP &http, const TClientServiceInfo &info)
{
    http.Proxy = info.ProxyHost;
    http.ProxyPort = info.ProxyPort;
    http.ProxyCredentials = info.ProxyCredentials;
    http.ProxyBypass = info.ProxyBypass;
}

QByteArray HttpGet(const TClientServiceInfo &info, int timeOut, const QString &url)
{
    TNMHTTP http;
    prepare(http, info, timeOut);
    try {
        http.Get(url);
    } catch (const THttpError &) {
        return {};
    }
    return http.Body;
}

QByteArray HttpPostFile(const TClientServiceInfo &info, int timeOut, const QString &url,
                        const QString &fileName)
{
    TNMHTTP http;
    prepare(http, info, timeOut);
    http.OutputFileMode = true;
    http.ReportLevel = 2;
    try {
        http.Post(url, fileName);
    } catch (const THttpError &) {
        return {};
    }
    return http.Body;
}
