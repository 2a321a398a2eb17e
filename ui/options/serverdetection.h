#pragma once

#include <QString>
#include <optional>

class TClientServiceInfo;
class TNMHTTP;

// Names the web server at `address` (the forwarding address without "http://", as typed): one
// HEAD request through `http`, with the client's proxy and time-out, then the signatures of
// xml/webServerType.xml in order against the header of the last reply it received (that of a
// redirect whose next step failed included). "未知" when no reply came or no signature matches;
// nothing when the signature file is missing or broken (the request has been made by then).
std::optional<QString> DetectWebServerType(TNMHTTP &http, const TClientServiceInfo &info,
                                           const QString &address);
