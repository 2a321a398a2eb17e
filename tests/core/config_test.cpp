#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/cp936.h"
#include "core/passwordscrambler.h"
#include "tests/support/testfiles.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

const QString kExecutable = QStringLiteral("/opt/marbello/marbello");

QString crlfLines(std::initializer_list<QString> lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

// A config.xml as the client writes it, with one value in each field that differs from the
// defaults of a missing file. Values are given as they stand in the file (already escaped).
class ConfigFile
{
public:
    explicit ConfigFile(const QString &passwordKey)
        : m_attributes{
              {QStringLiteral("Version"), QStringLiteral("0.994")},
              {QStringLiteral("LastLogid"), QStringLiteral("ruruv")},
              {QStringLiteral("LastPassword"),
               PasswordScrambler::Scramble(QStringLiteral("secret"), passwordKey)},
              {QStringLiteral("AutoLogin"), QStringLiteral("1")},
              {QStringLiteral("AutoRun"), QStringLiteral("0")},
              {QStringLiteral("OpenWebAfterLogin"), QStringLiteral("1")},
              {QStringLiteral("WebISOpen"), QStringLiteral("1")},
              {QStringLiteral("WebISDynamic"), QStringLiteral("0")},
              {QStringLiteral("WebPort"), QStringLiteral("8080")},
              {QStringLiteral("WebStaticURL"), QStringLiteral("http://static.example/")},
              {QStringLiteral("NotLoginURL"), QStringLiteral("http://away.example/")},
              {QStringLiteral("WebTitle"), QStringLiteral("我的网站")},
              {QStringLiteral("WebKeyword"), QStringLiteral("kw")},
              {QStringLiteral("WebIntro"), QStringLiteral("intro")},
              {QStringLiteral("WebAreas"), QStringLiteral("电脑")},
              {QStringLiteral("IfLog"), QStringLiteral("0")},
              {QStringLiteral("InetTimeOut"), QStringLiteral("6000")},
          }
    {}

    ConfigFile &set(const char *name, const QString &value)
    {
        for (auto &[attribute, current] : m_attributes) {
            if (attribute == QLatin1String(name))
                current = value;
        }
        return *this;
    }

    ConfigFile &remove(const char *name)
    {
        std::erase_if(m_attributes,
                      [name](const auto &a) { return a.first == QLatin1String(name); });
        return *this;
    }

    QString text() const
    {
        QString element = QStringLiteral("<config");
        for (const auto &[name, value] : m_attributes)
            element += QStringLiteral(" %1=\"%2\"").arg(name, value);
        element += QStringLiteral(" />");
        return crlfLines({QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\" ?>"),
                          QStringLiteral("<configures>"), element,
                          QStringLiteral("</configures>")});
    }

private:
    std::vector<std::pair<QString, QString>> m_attributes;
};

// The stored password of a saved file, with the file's text in which it is replaced by "*".
std::pair<QString, QString> splitPassword(const QString &saved)
{
    static const QRegularExpression pattern(QStringLiteral("LastPassword=\"([^\"]*)\""));
    const QRegularExpressionMatch match = pattern.match(saved);
    if (!match.hasMatch())
        return {};
    QString masked = saved;
    masked.replace(match.capturedStart(1), match.capturedLength(1), QStringLiteral("*"));
    return {match.captured(1), masked};
}

class ConfigTest : public ::testing::Test
{
protected:
    ConfigTest() { InitializeClientState(info, dir.path(), kExecutable); }

    void load(const QByteArray &bytes)
    {
        dir.write(QStringLiteral("config.xml"), bytes);
        LoadConfig(info);
    }
    void load(const ConfigFile &file) { load(cp936::encode(file.text())); }
    ConfigFile stored() const { return ConfigFile(info.PasswordKey); }

    QString savedText()
    {
        EXPECT_TRUE(SaveConfig(info));
        return cp936::decode(dir.read(QStringLiteral("config.xml")));
    }

    // Saves and reads the file back into a fresh client state.
    void saveAndReload()
    {
        EXPECT_TRUE(SaveConfig(info));
        TClientServiceInfo again;
        InitializeClientState(again, dir.path(), kExecutable);
        LoadConfig(again);
        reloaded = std::move(again);
    }

    void expectDefaults() const
    {
        EXPECT_EQ(info.LastLogid.text(), QString());
        EXPECT_EQ(info.LastPassword.text(), QString());
        EXPECT_EQ(info.WebTitle.text(), QString());
        EXPECT_EQ(info.WebKeyword.text(), QString());
        EXPECT_EQ(info.WebIntro.text(), QString());
        EXPECT_EQ(info.WebStaticURL, QString());
        EXPECT_EQ(info.NotLoginURL, QString());
        EXPECT_EQ(info.WebAreas.text(), QString());
        EXPECT_FALSE(info.AutoLogin);
        EXPECT_FALSE(info.OpenWebAfterLogin);
        EXPECT_FALSE(info.WebISOpen);
        EXPECT_FALSE(info.WebISDynamic);
        EXPECT_TRUE(info.AutoRun);
        EXPECT_TRUE(info.IfLog);
        EXPECT_EQ(info.InetTimeOut, 4000);
    }

    // The values of ConfigFile other than the one a test changed.
    void expectStoredTexts() const
    {
        EXPECT_EQ(info.LastLogid.text(), QStringLiteral("ruruv"));
        EXPECT_EQ(info.LastPassword.text(), QStringLiteral("secret"));
        EXPECT_EQ(info.WebStaticURL, QStringLiteral("http://static.example/"));
        EXPECT_EQ(info.NotLoginURL, QStringLiteral("http://away.example/"));
        EXPECT_EQ(info.WebTitle.text(), QStringLiteral("我的网站"));
        EXPECT_EQ(info.WebKeyword.text(), QStringLiteral("kw"));
        EXPECT_EQ(info.WebIntro.text(), QStringLiteral("intro"));
        EXPECT_EQ(info.WebAreas.text(), QStringLiteral("电脑"));
    }

    TestAppDir dir;
    TClientServiceInfo info;
    TClientServiceInfo reloaded;
};

} // namespace

TEST_F(ConfigTest, ReadsEveryValueAndWritesTheSameFourLines)
{
    load(stored());
    expectStoredTexts();
    EXPECT_TRUE(info.AutoLogin);
    EXPECT_FALSE(info.AutoRun);
    EXPECT_TRUE(info.OpenWebAfterLogin);
    EXPECT_TRUE(info.WebISOpen);
    EXPECT_FALSE(info.WebISDynamic);
    EXPECT_EQ(info.WebPort, 8080);
    EXPECT_FALSE(info.IfLog);
    EXPECT_EQ(info.InetTimeOut, 6000);

    const auto [password, masked] = splitPassword(savedText());
    EXPECT_EQ(masked, stored().set("LastPassword", QStringLiteral("*")).text());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^([0-9A-F]{2}){7}$")).match(password).hasMatch())
        << password.toStdString();
    EXPECT_EQ(PasswordScrambler::Unscramble(password, info.PasswordKey), QStringLiteral("secret"));
}

TEST_F(ConfigTest, MissingOrBrokenFileGivesTheDefaults)
{
    LoadConfig(info);
    expectDefaults();
    EXPECT_EQ(info.WebPort, 0);

    const QByteArray broken[] = {
        QByteArray(),
        QByteArrayLiteral("not xml at all"),
        cp936::encode(stored().text()).left(120),
        QByteArrayLiteral("<configures></configures>"),
        QByteArrayLiteral("<?xml version=\"1.0\"?><!DOCTYPE c [<!ENTITY e \"ruruv\">]>"
                          "<configures><config LastLogid=\"&e;\"/></configures>"),
    };
    for (const QByteArray &bytes : broken) {
        info.WebTitle = QStringLiteral("left from before");
        info.AutoRun = false;
        load(bytes);
        SCOPED_TRACE(bytes.toStdString());
        expectDefaults();
    }
}

TEST_F(ConfigTest, MissingTextAttributeDiscardsWhatWasReadButKeepsWebPort)
{
    load(stored().remove("WebTitle"));
    expectDefaults();
    // WebPort is read before the titles, and the defaults leave it alone.
    EXPECT_EQ(info.WebPort, 8080);
}

TEST_F(ConfigTest, MissingFlagTakesTheValueOfAMissingFileAndReadingGoesOn)
{
    load(stored()
             .remove("AutoLogin")
             .remove("AutoRun")
             .remove("OpenWebAfterLogin")
             .remove("IfLog")
             .remove("InetTimeOut"));
    expectStoredTexts();
    EXPECT_FALSE(info.AutoLogin);
    EXPECT_TRUE(info.AutoRun);
    EXPECT_FALSE(info.OpenWebAfterLogin);
    EXPECT_TRUE(info.IfLog);
    EXPECT_TRUE(info.WebISOpen);
    EXPECT_EQ(info.WebPort, 8080);
}

TEST_F(ConfigTest, TimeOutOutsideTheFiveStepsReadsAs5000)
{
    const std::pair<const char *, int> cases[] = {
        {"4000", 4000}, {"8000", 8000}, {"7000", 7000}, {"4500", 5000},
        {"3000", 5000}, {"9000", 5000}, {"abc", 5000},  {"", 5000},
    };
    for (const auto &[stored_, expected] : cases) {
        load(stored().set("InetTimeOut", QLatin1String(stored_)));
        EXPECT_EQ(info.InetTimeOut, expected) << stored_;
    }
}

TEST_F(ConfigTest, WebPortNotAWholeNumberReadsAs80AndLeavesTheRest)
{
    for (const char *port : {"abc", "", "12.5", "80x"}) {
        load(stored().set("WebPort", QLatin1String(port)));
        SCOPED_TRACE(port);
        EXPECT_EQ(info.WebPort, 80);
        expectStoredTexts();
        EXPECT_TRUE(info.AutoLogin);
        EXPECT_EQ(info.InetTimeOut, 6000);
    }
}

TEST_F(ConfigTest, AutoLoginNeedsBothIdAndPassword)
{
    load(stored().set("LastPassword", QString()));
    EXPECT_FALSE(info.AutoLogin);
    // Two digits are the stored form of an empty password.
    load(stored().set("LastPassword", QStringLiteral("A7")));
    EXPECT_EQ(info.LastPassword.text(), QString());
    EXPECT_FALSE(info.AutoLogin);
    load(stored().set("LastLogid", QString()));
    EXPECT_FALSE(info.AutoLogin);
}

TEST_F(ConfigTest, UnreadablePasswordReadsEmptyAndReadingGoesOn)
{
    for (const char *bad : {"XYZW", "ABC", "A", "12 4"}) {
        load(stored().set("LastPassword", QLatin1String(bad)));
        SCOPED_TRACE(bad);
        EXPECT_EQ(info.LastPassword.text(), QString());
        EXPECT_FALSE(info.AutoLogin);
        EXPECT_EQ(info.WebTitle.text(), QStringLiteral("我的网站"));
        EXPECT_EQ(info.InetTimeOut, 6000);
    }
}

TEST_F(ConfigTest, MarkupInValuesIsEscapedAndReadsBackUnchanged)
{
    info.WebTitle = QStringLiteral("A&B \"C\" <D>");
    info.WebIntro = QStringLiteral("tab\there\r\nnext");
    info.WebKeyword = QStringLiteral("bell\x07gone");
    const QString saved = savedText();
    EXPECT_TRUE(saved.contains(QStringLiteral(" WebTitle=\"A&amp;B &quot;C&quot; &lt;D>\" ")));
    EXPECT_TRUE(saved.contains(QStringLiteral(" WebIntro=\"tab&#9;here&#13;&#10;next\" ")));
    // Still four lines, whatever the values held.
    EXPECT_EQ(saved.count(QStringLiteral("\r\n")), 4);
    EXPECT_EQ(saved.count(QLatin1Char('\n')), 4);

    saveAndReload();
    EXPECT_EQ(reloaded.WebTitle.text(), info.WebTitle.text());
    EXPECT_EQ(reloaded.WebIntro.text(), info.WebIntro.text());
    EXPECT_EQ(reloaded.WebKeyword.text(), QStringLiteral("bellgone"));
}

TEST_F(ConfigTest, ChineseTextSurvivesByteForByte)
{
    // 镕 and 囧 exist in GBK only; a strict GB2312 path would turn them into '?'.
    const QString title = QStringLiteral("朱镕基的囧站");
    info.WebTitle = title;
    info.WebAreas = QStringLiteral("电脑网络");
    EXPECT_TRUE(SaveConfig(info));
    const QByteArray bytes = dir.read(QStringLiteral("config.xml"));
    EXPECT_TRUE(bytes.contains(QByteArrayLiteral("WebTitle=\"") + cp936::encode(title) + '"'));
    EXPECT_FALSE(bytes.contains(title.toUtf8()));

    saveAndReload();
    EXPECT_EQ(reloaded.WebTitle.text(), title);
    EXPECT_EQ(reloaded.WebAreas.text(), QStringLiteral("电脑网络"));
}

TEST_F(ConfigTest, OverlongStoredTextIsCutAtACharacterBoundary)
{
    // 26 double-byte characters are 52 bytes: the title keeps 25 of them.
    load(stored()
             .set("WebTitle", QString(26, QChar(0x4E2D)))
             .set("LastLogid", QStringLiteral("a") + QString(10, QChar(0x4E2D))));
    EXPECT_EQ(info.WebTitle.text(), QString(25, QChar(0x4E2D)));
    EXPECT_EQ(info.LastLogid.text(), QStringLiteral("a") + QString(9, QChar(0x4E2D)));
}

TEST_F(ConfigTest, LongAndChinesePasswordsSurvive)
{
    const std::pair<QString, qsizetype> cases[] = {
        {QStringLiteral("abcdEFGH12345678"), 34},
        {QStringLiteral("密码镕囧12345678ab"), 38},
    };
    for (const auto &[password, digits] : cases) {
        info.LastPassword = password;
        EXPECT_EQ(splitPassword(savedText()).first.size(), digits);
        saveAndReload();
        EXPECT_EQ(reloaded.LastPassword.text(), password);
    }
}

TEST_F(ConfigTest, UnwritableFileIsReportedAndStillUpdatesTheAutostartEntry)
{
    int updates = 0;
    info.AutoRunUpdater = [&updates](const TClientServiceInfo &) {
        ++updates;
    };
    EXPECT_TRUE(SaveConfig(info));
    EXPECT_EQ(updates, 1);

    // A regular file where the directory should be: nothing can be written below it.
    dir.write(QStringLiteral("file"), QByteArrayLiteral("x"));
    InitializeClientState(info, dir.file(QStringLiteral("file")), kExecutable);
    EXPECT_FALSE(SaveConfig(info));
    EXPECT_EQ(dir.read(QStringLiteral("file")), QByteArrayLiteral("x"));
}
