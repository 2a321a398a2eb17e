#include "tests/ui/uitestsupport.h"

#include "ui/messagebox.h"
#include "ui/register/registeragreewindow.h"
#include "ui/register/registerwindow.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

void RunInModal(std::function<void()> steps)
{
    QTimer::singleShot(0, std::move(steps));
}

void RunWhenShown(QWidget &dialog, std::function<void()> steps)
{
    class ShowWatcher : public QObject
    {
    public:
        ShowWatcher(QWidget &dialog, std::function<void()> steps)
            : QObject(&dialog), m_dialog(dialog), m_steps(std::move(steps))
        {
            dialog.installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Show) {
                QTimer::singleShot(0, &m_dialog, [dialog = &m_dialog, steps = m_steps] {
                    dialog->activateWindow();
                    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(dialog);
                    steps();
                });
                deleteLater();
            }
            return false;
        }

    private:
        QWidget &m_dialog;
        std::function<void()> m_steps;
    };
    new ShowWatcher(dialog, std::move(steps));
}

QLineEdit *FindEdit(QWidget &dialog, const char *name)
{
    return dialog.findChild<QLineEdit *>(QLatin1String(name));
}

void ClickChild(QWidget &dialog, const char *name)
{
    QTest::mouseClick(dialog.findChild<QWidget *>(QLatin1String(name)), Qt::LeftButton);
}

void AnswerRegistrationDialogs(TfrmRegisterAgree &agreement, TfrmRegister &registration,
                               const TypedRegistration &typed)
{
    RunWhenShown(agreement, [&agreement] {
        QTest::keyClick(&agreement, Qt::Key_F8);
        ClickChild(agreement, "btnNext");
    });
    RunWhenShown(registration, [&registration, typed] {
        TypeText(FindEdit(registration, "edtLogid"), typed.logid);
        TypeText(FindEdit(registration, "edtPassword"), typed.password);
        TypeText(FindEdit(registration, "edtRepeatPassword"), typed.password);
        TypeText(FindEdit(registration, "edtName"), typed.name);
        TypeText(FindEdit(registration, "edtAddress"), typed.address);
        TypeText(FindEdit(registration, "edtEmail"), typed.email);
        ClickChild(registration, "btnOK");
    });
}

ArmedMessageBoxes::ArmedMessageBoxes()
{
    MessageBoxAnswers::arm();
}

ArmedMessageBoxes::~ArmedMessageBoxes()
{
    MessageBoxAnswers::disarm();
}

void ArmedMessageBoxes::answer(std::initializer_list<int> answers)
{
    MessageBoxAnswers::queue(answers);
}

QStringList ArmedMessageBoxes::shown()
{
    return MessageBoxAnswers::takeShown();
}

void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(widget, ch.toLatin1());
            continue;
        }
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}
