#include "app/interfacelanguage.h"

#include <QCoreApplication>
#include <QTranslator>
#include <cstdio>

namespace InterfaceLanguage {

namespace {

enum class Language { English, Chinese, Other };

// "en", "en_GB", "en_US.UTF-8", "en@quot": the part before the territory, codeset and modifier.
Language languageOf(const QString &locale)
{
    const QString language = locale.section(QLatin1Char('_'), 0, 0)
                                 .section(QLatin1Char('.'), 0, 0)
                                 .section(QLatin1Char('@'), 0, 0)
                                 .toLower();
    if (language == QLatin1String("en"))
        return Language::English;
    if (language == QLatin1String("zh"))
        return Language::Chinese;
    return Language::Other;
}

} // namespace

bool PrefersEnglish(const Lookup &lookup)
{
    const QString preferences = lookup("LANGUAGE");
    if (!preferences.isEmpty()) {
        for (const QString &entry : preferences.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            const Language language = languageOf(entry);
            if (language != Language::Other)
                return language == Language::English;
        }
        return false;
    }
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString locale = lookup(name);
        if (!locale.isEmpty())
            return languageOf(locale) == Language::English;
    }
    return false;
}

bool PrefersEnglish()
{
    return PrefersEnglish([](const char *name) { return qEnvironmentVariable(name); });
}

QString EnglishTranslationPath(const QString &shippedDir)
{
    return shippedDir + QStringLiteral("/translations/marbello_en.qm");
}

bool InstallEnglish(const QString &shippedDir)
{
    // Owned by the application, so it lives as long as any text may be asked for.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(EnglishTranslationPath(shippedDir)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void Install(const QString &shippedDir)
{
    if (PrefersEnglish() && !InstallEnglish(shippedDir))
        std::fprintf(stderr, "no English translation at %s; the interface stays Chinese\n",
                     qUtf8Printable(EnglishTranslationPath(shippedDir)));
}

} // namespace InterfaceLanguage
