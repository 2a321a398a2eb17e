#pragma once

#include "service/servicecontext.h"

#include <optional>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

// A visitor's request for a user's address "/~<logid>": sent on to the user's own PC while the
// user is online and publishing, and to the user's fallback address otherwise.
void HandleVisit(ServiceContext &context, const httplib::Request &request,
                 httplib::Response &response);

// The address as a Location value: "http://" added when no scheme is given, other schemes than
// http and https refused, blanks, control bytes and non-ASCII percent-escaped (as CP936).
std::optional<std::string> RedirectTarget(const QString &address);
