#include "protocol/httprequests.h"

#include "core/clientserviceinfo.h"
#include "protocol/nmhttp.h"

namespace {

void useClientProxy(TNMHTTP &http, const TClientServiceInfo &info, int timeOut)
{
    http.TimeOut = timeOut;
    http.Proxy = info.ProxyHost;
    http.ProxyPort = info.ProxyPort;
}

} // namespace

QByteArray HttpGet(const TClientServiceInfo &info, int timeOut, const QString &url)
{
    TNMHTTP http;
    useClientProxy(http, info, timeOut);
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
    useClientProxy(http, info, timeOut);
    http.OutputFileMode = true;
    http.ReportLevel = 2;
    try {
        http.Post(url, fileName);
    } catch (const THttpError &) {
        return {};
    }
    return http.Body;
}
