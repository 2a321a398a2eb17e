#pragma once

#include <QString>
#include <optional>

// The address a browser may be given: "http://" and "https://" addresses as they are, an address
// without any scheme ("host/~id") with "http://" in front. Anything else (file:, javascript:, a
// command-line option) gives nothing, and a line on stderr says what was refused.
std::optional<QString> WebAddress(const QString &url);
