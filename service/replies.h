#pragma once

#include "service/answerdocument.h"

#include <QString>
#include <functional>

namespace httplib {
struct Response;
}

void ReplyAnswer(httplib::Response &response, const AnswerDocument &answer);
// A small HTML page in CP936; `body` is HTML already escaped by the caller.
void ReplyPage(httplib::Response &response, int status, const QString &title, const QString &body);

// Runs the handler of a client request so that whatever goes wrong still gives the client a
// refusal it can show: a Refusal with its reason, a database failure as "busy".
void AnswerGuarded(httplib::Response &response, const std::function<AnswerDocument()> &handler);
