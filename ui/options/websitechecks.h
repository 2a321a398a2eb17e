#pragma once

#include <QString>
#include <optional>

// The web-site fields of the options dialog as they stand in its controls.
struct WebSiteInput
{
    bool changePort = false;
    QString port;
    QString title;
    QString keyword;
    QString intro;
    QString areas;
};

enum class WebSiteField { Port, Title, Keyword, Intro, Areas };

struct WebSiteFault
{
    WebSiteField field;
    QString text;      // the message shown to the user
    bool showsWebPage; // the page "网站设置" comes to the front before the message
};

// The first of the nine checks that fails for a published site, in the order the user is told
// about them; nothing when the fields may be stored.
std::optional<WebSiteFault> FirstWebSiteFault(const WebSiteInput &input);

// The port number a text of the port edit stands for: 1 to 65535 in decimal digits, else nothing.
std::optional<int> PortNumber(const QString &text);
// The port edit's text once the focus leaves it: the number in plain decimal, or "80" for text
// that is no usable port (empty, "0", too large, or pasted non-digits).
QString PortTextOnExit(const QString &text);
// The port stored on OK: the edit's number when the port is changed and usable, else 80.
int PortToStore(bool changePort, const QString &text);
