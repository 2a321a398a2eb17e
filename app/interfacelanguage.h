#pragma once

#include <QString>
#include <functional>

// The interface is written in Chinese; English is the one translation shipped beside it.
namespace InterfaceLanguage {

// Reads one environment variable; the empty text when it is unset.
using Lookup = std::function<QString(const char *name)>;

// True when the user's language settings ask for English: the first of LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG that is set and not empty decides. LANGUAGE is a colon-separated list of
// preferences; its first entry naming English or Chinese decides, as entries for languages without
// a translation are passed over. Any other language, and the C locale, mean Chinese.
bool PrefersEnglish(const Lookup &lookup);
// The same for the process's own environment.
bool PrefersEnglish();

// Where the English translation lies under a directory of shipped files.
QString EnglishTranslationPath(const QString &shippedDir);

// Installs the English translation found under `shippedDir` into the running application. False,
// with the interface left Chinese, when it cannot be loaded.
bool InstallEnglish(const QString &shippedDir);

// English when the user's language asks for it; a translation that cannot be loaded is reported
// on stderr and leaves the interface Chinese.
void Install(const QString &shippedDir);

} // namespace InterfaceLanguage
