// Which language settings ask for English, what the English translation changes in the windows,
// and that what the client sends stays the same in either language.
#include "app/interfacelanguage.h"
#include "app/traymenuitems.h"
#include "core/cp936.h"
#include "platform/platform.h"
#include "protocol/serviceanswer.h"
#include "tests/protocol/fakeservice.h"
#include "tests/ui/uitestsupport.h"
#include "ui/look/traymenu.h"
#include "ui/messagebox.h"
#include "ui/options/optionswindow.h"
#include "ui/register/registerwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

const QString kShipped = QStringLiteral(MARBELLO_BUILT_APP_DIR);

// Back to the source texts.
void dropTranslations()
{
    for (QTranslator *translator : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// "NAME=value NAME=value" as an environment.
InterfaceLanguage::Lookup environment(const QString &settings)
{
    QMap<QString, QString> variables;
    for (const QString &setting : settings.split(u' ', Qt::SkipEmptyParts))
        variables.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    return [variables](const char *name) {
        return variables.value(QLatin1String(name));
    };
}

struct Texts
{
    QString optionsCaption;
    QString optionsFirstPage;
    QString exitItem;
    QString yesButton;
    QString noAnswer;
};

Texts shownTexts()
{
    TClientServiceInfo info;
    TfrmOption options(info, Platform::current());
    TrayMenuItems menu;
    const auto box = CreateMessageBox(BoxKind::Question, u"退出"_s, u"?"_s);
    return {options.titleLabel()->text(),
            options.findChild<QTabWidget *>(u"pgcOptions"_s)->tabText(0), menu.pmnuExit->text(),
            box->button(QMessageBox::Yes)->text(), ServiceMessage::NoAnswer()};
}

// The request of one accepted registration typed into the form, and the region it showed.
std::pair<QByteArray, QString> registrationRequest()
{
    FakeServiceFixture service;
    service.server.addReply(StatusReply(u"Result=\"1\""_s));
    ArmedMessageBoxes boxes;
    boxes.answer({0});
    TfrmRegister dialog(service.info);
    dialog.show();
    TypeText(FindEdit(dialog, "edtLogid"), u"new-user"_s);
    TypeText(FindEdit(dialog, "edtPassword"), u"pw1"_s);
    TypeText(FindEdit(dialog, "edtRepeatPassword"), u"pw1"_s);
    TypeText(FindEdit(dialog, "edtName"), u"张三"_s);
    TypeText(FindEdit(dialog, "edtEmail"), u"z@example.cn"_s);
    auto *region = dialog.findChild<QComboBox *>(u"cboLocation"_s);
    region->setCurrentIndex(1);
    ClickChild(dialog, "btnOK");
    return {service.server.requests().value(0), region->currentText()};
}

} // namespace

class InterfaceLanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        dropTranslations();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            qunsetenv(name);
    }

    void theFirstLanguageSettingDecides_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("english");
        QTest::newRow("nothing set") << u""_s << false;
        QTest::newRow("C locale") << u"LANG=C.UTF-8"_s << false;
        QTest::newRow("POSIX") << u"LC_ALL=POSIX LANG=en_US.UTF-8"_s << false;
        QTest::newRow("English LANG") << u"LANG=en_US.UTF-8"_s << true;
        QTest::newRow("bare en") << u"LANG=en"_s << true;
        QTest::newRow("modifier") << u"LC_MESSAGES=en@quot LANG=zh_CN.UTF-8"_s << true;
        QTest::newRow("LC_ALL before LANG") << u"LC_ALL=zh_CN.GBK LANG=en_GB.UTF-8"_s << false;
        QTest::newRow("empty means unset") << u"LANGUAGE= LC_ALL= LANG=en_GB.UTF-8"_s << true;
        QTest::newRow("LC_MESSAGES before LANG") << u"LC_MESSAGES=C LANG=en_US.UTF-8"_s << false;
        QTest::newRow("other language") << u"LANG=de_DE.UTF-8"_s << false;
        QTest::newRow("not a prefix") << u"LANG=eo"_s << false;
        QTest::newRow("LANGUAGE first") << u"LANGUAGE=en LC_ALL=C.UTF-8"_s << true;
        QTest::newRow("LANGUAGE passes over untranslated")
            << u"LANGUAGE=fr_FR:de:en_GB LANG=zh_CN.UTF-8"_s << true;
        QTest::newRow("LANGUAGE prefers Chinese")
            << u"LANGUAGE=zh_TW:en LANG=en_US.UTF-8"_s << false;
        QTest::newRow("LANGUAGE without either") << u"LANGUAGE=fr:de LANG=en_US.UTF-8"_s << false;
    }
    void theFirstLanguageSettingDecides()
    {
        QFETCH(QString, settings);
        QFETCH(bool, english);
        QCOMPARE(InterfaceLanguage::PrefersEnglish(environment(settings)), english);
    }

    void theCLocaleAndAMissingTranslationStayChinese()
    {
        qputenv("LC_ALL", "C");
        InterfaceLanguage::Install(kShipped);
        const Texts chinese = shownTexts();
        QCOMPARE(chinese.optionsCaption, u"系统配置"_s);
        QCOMPARE(chinese.optionsFirstPage, u"基本设置"_s);
        QCOMPARE(chinese.exitItem, u"退出(&X)..."_s);
        QCOMPARE(chinese.yesButton, u"是(&Y)"_s);
        QCOMPARE(chinese.noAnswer, u"无法连接服务器，请检查Internet连接"_s);

        QVERIFY(!InterfaceLanguage::InstallEnglish(kShipped + u"/nowhere"_s));
        QCOMPARE(shownTexts().exitItem, u"退出(&X)..."_s);
    }

    void anEnglishLocaleShowsEnglish()
    {
        qputenv("LANG", "en_US.UTF-8");
        InterfaceLanguage::Install(kShipped);
        const Texts english = shownTexts();
        QCOMPARE(english.optionsCaption, u"Options"_s);
        QCOMPARE(english.optionsFirstPage, u"General"_s);
        QCOMPARE(english.exitItem, u"E&xit..."_s);
        QCOMPARE(english.yesButton, u"&Yes"_s);
        QCOMPARE(english.noAnswer, u"Cannot reach the server; check the network"_s);
    }

    void theRegistrationSendsTheSameBytesInEitherLanguage()
    {
        const auto [chinese, chineseRegion] = registrationRequest();
        QVERIFY(InterfaceLanguage::InstallEnglish(kShipped));
        const auto [english, englishRegion] = registrationRequest();
        QCOMPARE(chineseRegion, u"中国港台地区"_s);
        QCOMPARE(englishRegion, u"Hong Kong, Taiwan"_s);
        QVERIFY(chinese.contains(cp936::encode(u"&Location=中国港台地区\r\n"_s)));
        QCOMPARE(english, chinese);
    }
};

QTEST_MAIN(InterfaceLanguageTest)
#include "interfacelanguage_test.moc"
