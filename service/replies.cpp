#include "service/replies.h"

#include "service/requestfields.h"
#include "service/servicetext.h"
#include "service/sqlite.h"

#include <cstdio>
#include <httplib.h>

void ReplyAnswer(httplib::Response &response, const AnswerDocument &answer)
{
    const QByteArray bytes = answer.toBytes();
    response.set_content(bytes.constData(), std::size_t(bytes.size()), "text/xml; charset=gb2312");
}

void ReplyPage(httplib::Response &response, int status, const QString &title, const QString &body)
{
    const QString html =
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"gbk\"><title>") + title +
        QStringLiteral("</title></head>\n<body><h1>") + title + QStringLiteral("</h1>\n") + body +
        QStringLiteral("\n</body></html>\n");
    const QByteArray bytes = servicetext::encode(html);
    response.status = status;
    response.set_content(bytes.constData(), std::size_t(bytes.size()), "text/html; charset=GBK");
}

void AnswerGuarded(httplib::Response &response, const std::function<AnswerDocument()> &handler)
{
    try {
        ReplyAnswer(response, handler());
    } catch (const Refusal &refusal) {
        ReplyAnswer(response, AnswerDocument::refusal(refusal.reason));
    } catch (const SqliteError &error) {
        std::fprintf(stderr, "marbello-service: database: %s\n", error.what());
        response.status = 503;
        ReplyAnswer(response, AnswerDocument::refusal(QStringLiteral("服务器忙，请稍后再试")));
    }
}
