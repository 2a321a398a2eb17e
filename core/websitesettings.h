#pragma once

#include <QString>

class TClientServiceInfo;

// True when `text` holds one of the nine characters the service cannot take in a site field:
// " ' ? & @ % < > ^
bool HasForbiddenChar(const QString &text);

// True when the web-site settings are fit for a login: always when the site is not published;
// otherwise title, keywords, introduction (and the static address of a site without a web server
// here) are filled in, and no site field holds a forbidden character.
bool WebSiteSettingsComplete(const TClientServiceInfo &info);
