#pragma once

#include "service/servicecontext.h"

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

// The service's own pages that the client opens in the browser.
void HandleHomePage(httplib::Response &response);
void HandleHelpPage(httplib::Response &response);
void HandleDownloadPage(httplib::Response &response);
void HandleForumPage(httplib::Response &response);
// "/user/logindo.asp?logid=..&password=..[&comefrom=/path]": the user's account page, or, with a
// local comefrom path, on to that page once the password is right.
void HandleAccountPage(ServiceContext &context, const httplib::Request &request,
                       httplib::Response &response);
