#pragma once

#include "service/answerdocument.h"
#include "service/servicecontext.h"

namespace httplib {
struct Request;
}

// The registration POST: twelve "key=value" lines in CP936, exactly as the client writes them.
AnswerDocument HandleRegistration(ServiceContext &context, const httplib::Request &request);
