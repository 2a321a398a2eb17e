#include "core/clientserviceinfo.h"
#include "core/config.h"
#include "core/passwordscrambler.h"
#include "tests/core/configfile.h"
#include "tests/core/filesizecap.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

const QString kConfig = QStringLiteral("config.xml");
const QString kExecutable = QStringLiteral("/opt/marbello/marbello");
const QString kPassword = QStringLiteral("abcdEFGH12345678");

// Attribute names and values as they stand in the file; a null value leaves the attribute out.
using Edits = std::vector<std::pair<const char *, const char *>>;

// Every value differs from the defaults; the title holds GBK-only characters and markup.
const QString kStored = QStringLiteral(
    "<config Version=\"0.994\" LastLogid=\"ruruv\" LastPassword=\"%1\" AutoLogin=\"1\" "
    "AutoRun=\"0\" OpenWebAfterLogin=\"1\" WebISOpen=\"1\" WebISDynamic=\"0\" WebPort=\"8080\" "
    "WebStaticURL=\"http://s.example/?a=1&amp;b=2\" NotLoginURL=\"\" "
    "WebTitle=\"朱镕基 &amp; &quot;囧&quot; &lt;站>\" WebKeyword=\"kw\" WebIntro=\"intro\" "
    "WebAreas=\"电脑\" IfLog=\"0\" InetTimeOut=\"6000\" />");

QByteArray stored(const Edits &edits = {})
{
    QString element =
        kStored.arg(PasswordScrambler::Scramble(kPassword, PasswordScrambler::KeyFor(kExecutable)));
    for (const auto &[name, value] : edits) {
        const QString attribute = QStringLiteral(" %1=\"").arg(QLatin1String(name));
        element.replace(QRegularExpression(attribute + QStringLiteral("[^\"]*\"")),
                        value ? attribute + QLatin1String(value) + QLatin1Char('"') : QString());
    }
    return configFile(element);
}

class ConfigTest : public ::testing::Test
{
protected:
    ConfigTest() { InitializeClientState(info, dir.path(), kExecutable); }

    void load(const QByteArray &bytes)
    {
        dir.write(kConfig, bytes);
        LoadConfig(info);
    }
    std::string saved()
    {
        EXPECT_TRUE(SaveConfig(info));
        return masked(dir.read(kConfig));
    }

    TestAppDir dir;
    TClientServiceInfo info;
};

} // namespace

TEST_F(ConfigTest, RoundTripKeepsEveryValueOnFourLines)
{
    load(stored());
    EXPECT_EQ(info.LastPassword.text(), kPassword);
    EXPECT_EQ(info.WebTitle.text(), QStringLiteral("朱镕基 & \"囧\" <站>"));
    EXPECT_EQ(saved(), masked(stored())); // the 16-character password as 34 digits

    info.WebIntro = QStringLiteral("tab\there\r\nnext\x07");
    EXPECT_EQ(saved(), masked(stored({{"WebIntro", "tab&#9;here&#13;&#10;next"}})));
    LoadConfig(info);
    EXPECT_EQ(info.WebIntro.text(), QStringLiteral("tab\there\r\nnext"));
}

TEST_F(ConfigTest, MissingOrBrokenFileGivesTheDefaultsButKeepsWebPort)
{
    LoadConfig(info);
    EXPECT_EQ(saved(), defaultConfigFile(0));

    const QByteArray broken[] = {
        QByteArray(),
        stored().left(120),
        QByteArrayLiteral("<configures></configures>"),
        QByteArrayLiteral("<?xml version=\"1.0\"?><!DOCTYPE c [<!ENTITY e \"ruruv\">]>"
                          "<configures><config LastLogid=\"&e;\"/></configures>"),
        stored({{"WebTitle", nullptr}}),
    };
    for (const QByteArray &bytes : broken) {
        load(stored());
        load(bytes);
        EXPECT_EQ(saved(), defaultConfigFile(8080)) << bytes.toStdString();
    }
}

TEST_F(ConfigTest, OddValuesAreCorrectedAndReadingGoesOn)
{
    const std::pair<Edits, Edits> cases[] = {
        {{{"InetTimeOut", "4500"}}, {{"InetTimeOut", "5000"}}},
        {{{"InetTimeOut", "8000"}}, {{"InetTimeOut", "8000"}}},
        {{{"InetTimeOut", "abc"}}, {{"InetTimeOut", "5000"}}},
        {{{"WebPort", "abc"}}, {{"WebPort", "80"}}},
        {{{"LastPassword", ""}}, {{"LastPassword", "00"}, {"AutoLogin", "0"}}},
        {{{"LastPassword", "XYZW"}}, {{"LastPassword", "00"}, {"AutoLogin", "0"}}},
        {{{"LastLogid", ""}}, {{"LastLogid", ""}, {"AutoLogin", "0"}}},
        // A missing flag takes the value a missing file gives it.
        {{{"AutoLogin", nullptr}, {"AutoRun", nullptr}, {"WebISOpen", nullptr}, {"IfLog", nullptr}},
         {{"AutoLogin", "0"}, {"AutoRun", "1"}, {"WebISOpen", "0"}, {"IfLog", "1"}}},
    };
    for (const auto &[in, out] : cases) {
        load(stored(in));
        EXPECT_EQ(saved(), masked(stored(out))) << in.front().first << '=' << in.front().second;
    }
}

TEST_F(ConfigTest, FailedSaveReturnsFalseAndKeepsTheOldFile)
{
    load(stored());
    const QByteArray before = dir.read(kConfig);
    EXPECT_FALSE(withFileSizeCap(before.size() - 1, [this] { return SaveConfig(info); }));
    EXPECT_EQ(dir.read(kConfig), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kConfig});
}

TEST_F(ConfigTest, EveryCharacterTheWriterCanEmitReadsBack)
{
    load(stored());
    // In slices, so that a failure names its range; what XML cannot hold at all is dropped.
    constexpr char32_t kSlice = 0x8000;
    for (char32_t first = 0x20; first < 0x110000; first += kSlice) {
        QString written;
        QString expected;
        for (char32_t c = first; c < qMin<char32_t>(first + kSlice, 0x110000); ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const QString character = QString::fromUcs4(&c, 1);
            written += character;
            if (c != 0xFFFE && c != 0xFFFF)
                expected += character;
        }
        info.WebStaticURL = written;
        ASSERT_TRUE(SaveConfig(info));
        info.WebStaticURL.clear();
        LoadConfig(info);
        ASSERT_EQ(info.WebStaticURL, expected) << "from U+" << std::hex << uint(first);
        ASSERT_EQ(info.LastPassword.text(), kPassword);
    }
}

TEST_F(ConfigTest, FileIsPrivateAndTheStartEntryFollowsOnlyAWrittenFile)
{
    int updates = 0;
    info.AutoRunUpdater = [&updates](const TClientServiceInfo &) {
        ++updates;
    };
    load(stored());
    QFile::setPermissions(dir.file(kConfig), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(SaveConfig(info));
    EXPECT_EQ(updates, 1);
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(dir.file(kConfig)).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);

    info.AutoRun = !info.AutoRun;
    EXPECT_FALSE(withFileSizeCap(1, [this] { return SaveConfig(info); }));
    EXPECT_EQ(updates, 1);
}
