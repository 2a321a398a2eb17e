#include "ui/options/websitechecks.h"

#include "core/websitesettings.h"

#include <QCoreApplication>
#include <array>

namespace {

constexpr int kDefaultPort = 80;

constexpr int kMaxPort = 65535;

bool allDigits(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); });
}

// Empty, or a number beyond the largest port: either way the service would refuse the login.
// ("0" is neither: OK stores 80 for it.)
bool portMissing(const WebSiteInput &input)
{
    if (!input.changePort)
        return false;
    if (input.port.isEmpty())
        return true;
    if (!allDigits(input.port))
        return false;
    QStringView significant(input.port);
    while (significant.startsWith(QLatin1Char('0')))
        significant = significant.sliced(1);
    return significant.size() > 5 || significant.toInt() > kMaxPort;
}

} // namespace

std::optional<WebSiteFault> FirstWebSiteFault(const WebSiteInput &input)
{
    // The message names seven of the nine refused characters; "@" and "%" are refused all the same.
    const QString suffix = QStringLiteral(" (\" ' ? & < > ^)");
    const auto blank = [](const QString &text) {
        return text.trimmed().isEmpty();
    };
    struct Check
    {
        bool fails;
        WebSiteField field;
        QString text;
        bool showsWebPage;
    };
    const std::array checks{
        Check{portMissing(input), WebSiteField::Port,
              QCoreApplication::translate("WebSiteChecks", "请填写网站端口"), false},
        Check{blank(input.title), WebSiteField::Title,
              QCoreApplication::translate("WebSiteChecks", "请填写网站标题"), true},
        Check{blank(input.keyword), WebSiteField::Keyword,
              QCoreApplication::translate("WebSiteChecks", "请填写网站关键字"), true},
        Check{blank(input.intro), WebSiteField::Intro,
              QCoreApplication::translate("WebSiteChecks", "请填写网站介绍"), true},
        Check{blank(input.areas), WebSiteField::Areas,
              QCoreApplication::translate("WebSiteChecks", "请填写网站类别"), true},
        Check{HasForbiddenChar(input.title), WebSiteField::Title,
              QCoreApplication::translate("WebSiteChecks", "网站名称中有非法字符") + suffix, true},
        Check{HasForbiddenChar(input.keyword), WebSiteField::Keyword,
              QCoreApplication::translate("WebSiteChecks", "网站关键字中有非法字符") + suffix,
              true},
        Check{HasForbiddenChar(input.intro), WebSiteField::Intro,
              QCoreApplication::translate("WebSiteChecks", "网站介绍中有非法字符") + suffix, true},
        Check{HasForbiddenChar(input.areas), WebSiteField::Areas,
              QCoreApplication::translate("WebSiteChecks", "网站类别中有非法字符") + suffix, true},
    };
    for (const Check &check : checks) {
        if (check.fails)
            return WebSiteFault{check.field, check.text, check.showsWebPage};
    }
    return std::nullopt;
}

std::optional<int> PortNumber(const QString &text)
{
    // More digits than a port has cannot be a port, however many zeros they start with.
    if (text.isEmpty() || text.size() > 5 || !allDigits(text))
        return std::nullopt;
    const int value = text.toInt();
    if (value < 1 || value > kMaxPort)
        return std::nullopt;
    return value;
}

QString PortTextOnExit(const QString &text)
{
    return QString::number(PortNumber(text).value_or(kDefaultPort));
}

int PortToStore(bool changePort, const QString &text)
{
    return changePort ? PortNumber(text).value_or(kDefaultPort) : kDefaultPort;
}
