#pragma once

#include "service/answerdocument.h"
#include "service/servicecontext.h"

namespace httplib {
struct Request;
}

// The client's three session requests. Each returns the answer to send, or throws a Refusal.
AnswerDocument HandleLogin(ServiceContext &context, const httplib::Request &request);
AnswerDocument HandleKeepAlive(ServiceContext &context, const httplib::Request &request);
AnswerDocument HandleLogoff(ServiceContext &context, const httplib::Request &request);
