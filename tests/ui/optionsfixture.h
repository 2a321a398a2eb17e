#pragma once

#include "core/clientserviceinfo.h"
#include "platform/platform.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/options/optionswindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// A platform that only records what the dialog asks of it.
class RecordingPlatform : public Platform
{
public:
    void LookupProxyAndBrowser(TClientServiceInfo &) override {}
    void OpenURL(const TClientServiceInfo &, const QString &url) override { urls << url; }
    void OpenLogFile(const QString &path) override { logFiles << path; }
    void UpdateAutoRunEntry(const TClientServiceInfo &) override {}
    std::unique_ptr<SingleInstanceLock> AcquireSingleInstance(const QString &) override
    {
        return nullptr;
    }

    QStringList urls;
    QStringList logFiles;
};

// The options dialog over a client state in its own app directory.
class OptionsFixture
{
public:
    explicit OptionsFixture(const QString &appDir = QString())
    {
        InitializeClientState(info, appDir.isEmpty() ? dir.path() : appDir,
                              QApplication::applicationFilePath());
        info.ServiceHost = QStringLiteral("127.0.0.1:8080");
        info.InetTimeOut = 5000;
        info.WebPort = 80;
    }

    // A complete published site, as the checks want it.
    void describeSite()
    {
        info.WebISOpen = true;
        info.WebISDynamic = true;
        info.WebTitle = QStringLiteral("我的网站");
        info.WebKeyword = QStringLiteral("关键字");
        info.WebIntro = QStringLiteral("简介");
        info.WebAreas = QStringLiteral("摄影");
    }

    TfrmOption &show()
    {
        dialog.show();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&dialog);
        return dialog;
    }

    template <typename Widget = QWidget> Widget *child(const char *name) const
    {
        auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(name); }
    QCheckBox *box(const char *name) const { return child<QCheckBox>(name); }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }

    // A user's click: the button takes the focus, then clicks.
    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // A check box takes clicks on its indicator and caption only, not on the rest of its row.
    static void click(QCheckBox *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    // Focus into `edit` by a click, select everything and type `text` over it.
    static void retype(QLineEdit *edit, const QString &text)
    {
        click(edit);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        TypeText(edit, text);
    }

    TestAppDir dir;
    TClientServiceInfo info;
    RecordingPlatform platform;
    TfrmOption dialog{info, platform};
};
