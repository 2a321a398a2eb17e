#include "app/traymenuitems.h"
#include "core/clientserviceinfo.h"
#include "tests/support/testfiles.h"
#include "tests/ui/recordingplatform.h"
#include "ui/dialogset.h"
#include "ui/frame/titlestrip.h"
#include "ui/login/loginwindow.h"
#include "ui/look/traymenu.h"
#include "ui/messagebox.h"
#include "ui/messages/messagewindow.h"
#include "ui/options/categorychooser.h"
#include "ui/options/optionswindow.h"
#include "ui/register/registeragreewindow.h"
#include "ui/register/registerwindow.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

// The role a screen reader must announce for each kind of control. A kind missing here fails the
// walk, so a new kind of control gets its role decided rather than assumed.
std::optional<QAccessible::Role> expectedRole(const QWidget *widget)
{
    if (const auto *picture = qobject_cast<const ClickablePicture *>(widget))
        return picture->accessibleRole();
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget))
        return QAccessible::EditableText;
    if (qobject_cast<const QCheckBox *>(widget))
        return QAccessible::CheckBox;
    if (qobject_cast<const QRadioButton *>(widget))
        return QAccessible::RadioButton;
    if (qobject_cast<const QPushButton *>(widget))
        return QAccessible::PushButton;
    if (qobject_cast<const QToolButton *>(widget))
        return QAccessible::Button;
    // A text a reader selects in (a message box's).
    if (qobject_cast<const QLabel *>(widget))
        return QAccessible::StaticText;
    if (qobject_cast<const QComboBox *>(widget))
        return QAccessible::ComboBox;
    if (qobject_cast<const QAbstractSpinBox *>(widget))
        return QAccessible::SpinBox;
    if (qobject_cast<const QTabBar *>(widget))
        return QAccessible::PageTabList;
    if (qobject_cast<const QTableView *>(widget))
        return QAccessible::Table;
    if (qobject_cast<const QListView *>(widget))
        return QAccessible::List;
    return std::nullopt;
}

QString describe(const QWidget *widget)
{
    return QStringLiteral("%1 %2 in %3")
        .arg(QLatin1String(widget->metaObject()->className()), widget->objectName(),
             widget->window()->objectName());
}

// Every control of `window` a user can reach, by keyboard or as a clickable picture: its
// accessible name and role, as "objectName=role:name" for the checks that name them.
QMap<QString, QString> checkControls(QWidget &window)
{
    QMap<QString, QString> seen;
    QList<QWidget *> controls = window.findChildren<QWidget *>();
    controls.prepend(&window);
    for (QWidget *widget : controls) {
        // Pop-ups (a combo box's list, a date edit's calendar) are windows of their own.
        if (widget->window() != &window)
            continue;
        const bool reachable =
            widget->focusPolicy() != Qt::NoFocus || qobject_cast<ClickablePicture *>(widget);
        if (!reachable || widget->focusProxy() || widget == &window)
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible) {
            qWarning("%s: no accessible interface", qUtf8Printable(describe(widget)));
            continue;
        }
        const QString name = accessible->text(QAccessible::Name);
        const std::optional<QAccessible::Role> role = expectedRole(widget);
        if (name.trimmed().isEmpty())
            QTest::qFail(qUtf8Printable(describe(widget) + QStringLiteral(": no accessible name")),
                         __FILE__, __LINE__);
        if (!role)
            QTest::qFail(qUtf8Printable(describe(widget) + QStringLiteral(": no role decided")),
                         __FILE__, __LINE__);
        else if (accessible->role() != *role)
            QTest::qFail(qUtf8Printable(describe(widget) +
                                        QStringLiteral(": role %1").arg(accessible->role())),
                         __FILE__, __LINE__);
        seen.insert(widget->objectName(),
                    QStringLiteral("%1:%2").arg(accessible->role()).arg(name));
    }
    return seen;
}

QString entry(QAccessible::Role role, const QString &name)
{
    return QStringLiteral("%1:%2").arg(role).arg(name);
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyDialogControlHasANameAndARole()
    {
        TestAppDir appDir;
        TClientServiceInfo info;
        InitializeClientState(info, appDir.path(), QStringLiteral("/opt/marbello/marbello"));
        info.ServiceHost = QStringLiteral("127.0.0.1:8080");
        RecordingPlatform platform;
        DialogSet dialogs(info, platform);
        const QList<QDialog *> windows = {&dialogs.login(),     &dialogs.option(),
                                          &dialogs.chooser(),   &dialogs.registration(),
                                          &dialogs.agreement(), &dialogs.messages()};
        QMap<QString, QMap<QString, QString>> byWindow;
        for (QDialog *window : windows) {
            const QMap<QString, QString> seen = checkControls(*window);
            if (QTest::currentTestFailed())
                return;
            QVERIFY2(seen.contains(QStringLiteral("imgFormClose")),
                     qPrintable(window->objectName()));
            byWindow.insert(window->objectName(), seen);
        }
        // The ones no label beside them names, and the help link.
        const QMap<QString, QString> &login = byWindow[QStringLiteral("frmLogin")];
        QCOMPARE(login.value(QStringLiteral("lblHelp")),
                 entry(QAccessible::Link, QStringLiteral("帮助")));
        QCOMPARE(login.value(QStringLiteral("edtPassword")),
                 entry(QAccessible::EditableText, QStringLiteral("密码(P):")));
        QCOMPARE(login.value(QStringLiteral("imgFormClose")),
                 entry(QAccessible::Button, QStringLiteral("关闭")));
        const QMap<QString, QString> &options = byWindow[QStringLiteral("frmOption")];
        QCOMPARE(options.value(QStringLiteral("edtWebPort")),
                 entry(QAccessible::EditableText, QStringLiteral("HTTP端口")));
        QCOMPARE(options.value(QStringLiteral("edtNotLoginURL")),
                 entry(QAccessible::EditableText, QStringLiteral("转发地址 http://")));
    }

    void theHelpLinkIsReachedAndPressedWithoutAMouse()
    {
        TestAppDir appDir;
        TClientServiceInfo info;
        InitializeClientState(info, appDir.path(), QStringLiteral("/opt/marbello/marbello"));
        info.ServiceHost = QStringLiteral("127.0.0.1:8080");
        RecordingPlatform platform;
        TfrmLogin dialog(info, platform);
        auto *help = dialog.findChild<ClickablePicture *>(QStringLiteral("lblHelp"));
        QVERIFY(help->focusPolicy() & Qt::TabFocus);
        QAccessible::queryAccessibleInterface(help)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        help->setFocus();
        QTest::keyClick(help, Qt::Key_Space);
        const QString page = QStringLiteral("http://127.0.0.1:8080/kbz/help");
        QCOMPARE(platform.opened, QStringList({page, page}));
    }

    void messageBoxesAndTheTrayMenuAreNamed()
    {
        for (const BoxKind kind : {BoxKind::Message, BoxKind::Question, BoxKind::Warning}) {
            const auto box =
                CreateMessageBox(kind, QStringLiteral("错误"), QStringLiteral("请填写网站标题"));
            box->setObjectName(QStringLiteral("messageBox%1").arg(int(kind)));
            const QMap<QString, QString> seen = checkControls(*box);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(!seen.isEmpty());
        }

        TrayMenuItems items;
        QList<QMenu *> menus = {items.pMnuTray.get()};
        menus += items.pMnuTray->findChildren<QMenu *>();
        for (QMenu *menu : menus) {
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(menu);
            QCOMPARE(accessible->role(), QAccessible::PopupMenu);
            int items = 0;
            for (int i = 0; i < accessible->childCount(); ++i) {
                QAccessibleInterface *item = accessible->child(i);
                if (item->role() == QAccessible::Separator)
                    continue;
                QCOMPARE(item->role(), QAccessible::MenuItem);
                QVERIFY2(!item->text(QAccessible::Name).isEmpty(), qPrintable(menu->objectName()));
                ++items;
            }
            QVERIFY(items > 0);
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
