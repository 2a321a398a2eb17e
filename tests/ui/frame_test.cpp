#include "tests/ui/uitestsupport.h"
#include "ui/frame/framedialog.h"
#include "ui/messagebox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class FrameTest : public QObject
{
    Q_OBJECT

private:
    static std::unique_ptr<FramedDialog> shownDialog(FrameAction close, FrameAction escape)
    {
        auto dialog =
            std::make_unique<FramedDialog>(DialogFrame{QStringLiteral("系统配置"), close, escape});
        dialog->setBodySize({300, 200});
        dialog->move(100, 100);
        dialog->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(dialog.get());
        return dialog;
    }

    static QWidget *child(QWidget *dialog, const char *name)
    {
        return dialog->findChild<QWidget *>(QString::fromLatin1(name));
    }

    // Presses the left button at `from` on `widget`, moves by `by` and releases. One move only:
    // QTest places the pointer relative to the widget, which itself moves with the drag.
    static void drag(QWidget *widget, QPoint from, QPoint by)
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, from + by);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, from + by);
    }

private Q_SLOTS:
    void layoutFollowsResize()
    {
        const auto dialog = shownDialog(FrameAction::Close, FrameAction::Close);
        for (const int width : {300, 451}) {
            dialog->setFixedWidth(width);
            QWidget *panel = child(dialog.get(), "pnlFormButton");
            QCOMPARE(panel->geometry(), QRect(width - 29, 0, 29, 21));
            QCOMPARE(child(dialog.get(), "imgFormClose")->geometry(), QRect(8, 0, 21, 21));
            QCOMPARE(child(dialog.get(), "imgTitleBar")->geometry(), QRect(0, 0, width, 24));
            QCOMPARE(dialog->body()->geometry(), QRect(0, 24, width, 200));
        }
        QCOMPARE(dialog->titleLabel()->pos(), QPoint(8, 6));
        QCOMPARE(dialog->titleLabel()->objectName(), QStringLiteral("pnlFormTitle"));
        QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
    }

    void onlyTheTitleStripDragsTheWindow()
    {
        const auto dialog = shownDialog(FrameAction::Close, FrameAction::Close);
        const QPoint start = dialog->pos();
        // The strip itself, then the title text on it.
        drag(child(dialog.get(), "imgTitleBar"), {120, 12}, {30, 20});
        QCOMPARE(dialog->pos(), start + QPoint(30, 20));
        drag(child(dialog.get(), "imgTitleBar"), dialog->titleLabel()->geometry().center(),
             {-10, 5});
        QCOMPARE(dialog->pos(), start + QPoint(20, 25));

        // The body, a button on it and the close picture's panel never move it.
        auto *button = new QPushButton(QStringLiteral("确定"), dialog->body());
        button->show();
        const QPoint before = dialog->pos();
        drag(dialog->body(), {50, 50}, {40, 40});
        drag(button, {5, 5}, {40, 40});
        drag(child(dialog.get(), "pnlFormButton"), {3, 10}, {40, 40});
        QCOMPARE(dialog->pos(), before);
        QVERIFY(dialog->isVisible());
    }

    void closePictureIsAClickNotADrag()
    {
        const auto dialog = shownDialog(FrameAction::Close, FrameAction::Close);
        QWidget *close = child(dialog.get(), "imgFormClose");
        const QPoint before = dialog->pos();
        // Pressed on the picture and released elsewhere: neither a move nor a click.
        drag(close, {10, 10}, {60, 60});
        QCOMPARE(dialog->pos(), before);
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(close, Qt::LeftButton, {}, {10, 10});
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void escapeAndClosePictureFollowTheSpec()
    {
        const auto closing = shownDialog(FrameAction::Close, FrameAction::Close);
        QTest::keyClick(closing.get(), Qt::Key_Escape);
        QVERIFY(!closing->isVisible());

        const auto inert = shownDialog(FrameAction::Nothing, FrameAction::Nothing);
        QTest::keyClick(inert.get(), Qt::Key_Escape);
        QTest::keyClick(inert.get(), Qt::Key_Return);
        QTest::mouseClick(child(inert.get(), "imgFormClose"), Qt::LeftButton, {}, {10, 10});
        QVERIFY(inert->isVisible());
        QVERIFY(!inert->findChild<QAction *>(QStringLiteral("actClose")));
    }

    void messageBoxesTakeQueuedAnswers()
    {
        ArmedMessageBoxes boxes;
        boxes.answer({IDYES, IDNO, 0});
        QCOMPARE(YNBOX(QStringLiteral("退出"), QStringLiteral("确认要终止服务并退出吗?"), 0), 6);
        QCOMPARE(YNBOX(QStringLiteral("确认"), QStringLiteral("确实清除全部这些讯息吗?"), 0), 7);
        MSGBOX(QStringLiteral("错误"), QStringLiteral("请填写网站标题"));
        QCOMPARE(boxes.shown(), QStringList({QStringLiteral("退出|确认要终止服务并退出吗?"),
                                             QStringLiteral("确认|确实清除全部这些讯息吗?"),
                                             QStringLiteral("错误|请填写网站标题")}));
    }

    void messageBoxShowsCaptionAndTextAsPassed()
    {
        // The box a user sees: caption and text unchanged, Yes reported as 6.
        RunInModal([] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("退出"));
            QCOMPARE(box->text(), QStringLiteral("确认要终止服务并退出吗?"));
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(YNBOX(QStringLiteral("退出"), QStringLiteral("确认要终止服务并退出吗?"), 0), 6);
    }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
