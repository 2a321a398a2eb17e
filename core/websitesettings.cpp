#include "core/websitesettings.h"

#include "core/clientserviceinfo.h"

bool HasForbiddenChar(const QString &text)
{
    static const QString forbidden = QStringLiteral("\"'?&@%<>^");
    for (const QChar ch : text) {
        if (forbidden.contains(ch))
            return true;
    }
    return false;
}

bool WebSiteSettingsComplete(const TClientServiceInfo &info)
{
    if (!info.WebISOpen)
        return true;
    const auto blank = [](const QString &text) {
        return text.trimmed().isEmpty();
    };
    if (blank(info.WebTitle) || (!info.WebISDynamic && blank(info.WebStaticURL)) ||
        blank(info.WebKeyword) || blank(info.WebIntro))
        return false;
    for (const QString &field : {info.WebTitle.text(), info.WebStaticURL, info.WebKeyword.text(),
                                 info.WebIntro.text(), info.WebAreas.text()}) {
        if (HasForbiddenChar(field))
            return false;
    }
    return true;
}
