#include "core/config.h"

#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/passwordscrambler.h"
#include "core/savefile.h"
#include "core/xmldocument.h"
#include "core/xmlescape.h"

namespace {

const QString kOn = QStringLiteral("1");

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void applyDefaults(TClientServiceInfo &info)
{
    info.LastLogid = QString();
    info.LastPassword = QString();
    info.WebTitle = QString();
    info.WebKeyword = QString();
    info.WebIntro = QString();
    info.WebStaticURL.clear();
    info.NotLoginURL.clear();
    info.WebAreas = QString();
    info.AutoLogin = false;
    info.OpenWebAfterLogin = false;
    info.WebISOpen = false;
    info.WebISDynamic = false;
    info.AutoRun = true;
    info.IfLog = true;
    info.InetTimeOut = 4000;
}

// A flag left out of the file keeps the value a missing file would give it.
bool readFlag(const XmlElement &config, const char *name, bool missing)
{
    const std::optional<QString> value = config.attribute(QLatin1String(name));
    return value ? *value == kOn : missing;
}

QString readPassword(const QString &stored, const QByteArray &key)
{
    if (stored.isEmpty())
        return {};
    return PasswordScrambler::Unscramble(stored, key).value_or(QString());
}

void readConfig(TClientServiceInfo &info, const XmlElement &config)
{
    if (config.isNull())
        throw XmlReadError("no config element");
    auto text = [&config](const char *name) {
        return config.requiredAttribute(QLatin1String(name));
    };
    info.LastLogid = text("LastLogid");
    info.LastPassword = readPassword(text("LastPassword"), info.PasswordKey);
    info.AutoLogin = readFlag(config, "AutoLogin", false);
    info.AutoRun = readFlag(config, "AutoRun", true);
    info.OpenWebAfterLogin = readFlag(config, "OpenWebAfterLogin", false);
    info.WebISOpen = readFlag(config, "WebISOpen", false);
    info.WebISDynamic = readFlag(config, "WebISDynamic", false);
    if (info.LastLogid.isEmpty() || info.LastPassword.isEmpty())
        info.AutoLogin = false;

    bool ok = false;
    const qint32 port = config.attribute(QStringLiteral("WebPort")).value_or(QString()).toInt(&ok);
    info.WebPort = ok ? port : 80;

    info.WebTitle = text("WebTitle");
    info.WebKeyword = text("WebKeyword");
    info.WebIntro = text("WebIntro");
    info.WebStaticURL = text("WebStaticURL");
    info.NotLoginURL = text("NotLoginURL");
    info.WebAreas = text("WebAreas");

    info.IfLog = config.attribute(QStringLiteral("IfLog")).value_or(kOn).trimmed().toInt() == 1;

    const qint32 timeout =
        config.attribute(QStringLiteral("InetTimeOut")).value_or(QString()).toInt(&ok);
    const bool allowed = ok && timeout >= 4000 && timeout <= 8000 && timeout % 1000 == 0;
    info.InetTimeOut = allowed ? timeout : 5000;
}

QString configText(const TClientServiceInfo &info)
{
    QString line = QStringLiteral("<config");
    auto attribute = [&line](const char *name, const QString &value) {
        line += QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") +
                EscapeXmlAttribute(value, GreaterThan::AsIs) + QLatin1Char('"');
    };
    attribute("Version", QString::number(info.ClientVersion, 'g', 15));
    attribute("LastLogid", info.LastLogid);
    attribute("LastPassword", PasswordScrambler::Scramble(info.LastPassword, info.PasswordKey));
    attribute("AutoLogin", flag(info.AutoLogin));
    attribute("AutoRun", flag(info.AutoRun));
    attribute("OpenWebAfterLogin", flag(info.OpenWebAfterLogin));
    attribute("WebISOpen", flag(info.WebISOpen));
    attribute("WebISDynamic", flag(info.WebISDynamic));
    attribute("WebPort", QString::number(info.WebPort));
    attribute("WebStaticURL", info.WebStaticURL);
    attribute("NotLoginURL", info.NotLoginURL);
    attribute("WebTitle", info.WebTitle);
    attribute("WebKeyword", info.WebKeyword);
    attribute("WebIntro", info.WebIntro);
    attribute("WebAreas", info.WebAreas);
    attribute("IfLog", flag(info.IfLog));
    attribute("InetTimeOut", QString::number(info.InetTimeOut));
    line += QStringLiteral(" />");

    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\" ?>") + crlf +
           QStringLiteral("<configures>") + crlf + line + crlf + QStringLiteral("</configures>") +
           crlf;
}

} // namespace

void LoadConfig(TClientServiceInfo &info)
{
    try {
        const std::optional<XmlDocument> document = XmlDocument::fromFile(info.configPath());
        if (!document)
            throw XmlReadError("config.xml missing or ill-formed");
        readConfig(info, document->root().child(0));
    } catch (const XmlReadError &) {
        applyDefaults(info);
    }
}

bool SaveConfig(TClientServiceInfo &info)
{
    // The file holds the password, scrambled with a key anyone can derive: it is the user's own.
    if (!SaveFileAtomically(info.configPath(), cp936::encodeForXml(configText(info)),
                            FileAccess::OwnerOnly))
        return false;
    // A start-at-logon entry that disagrees with the file would not survive the next start.
    if (info.AutoRunUpdater)
        info.AutoRunUpdater(info);
    return true;
}
