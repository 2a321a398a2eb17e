#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Runs `steps` from inside the next modal loop (a dialog's exec() or a Delay), so a test can
// drive a modal dialog that would otherwise block it.
void RunInModal(std::function<void()> steps);

// Runs `steps` inside the modal loop of `dialog` once it is shown and active, however many
// other modal loops come and go before it.
void RunWhenShown(QWidget &dialog, std::function<void()> steps);

// The line edit or the widget called `name` in `dialog`; a click on the latter.
class QLineEdit;
QLineEdit *FindEdit(QWidget &dialog, const char *name);
void ClickChild(QWidget &dialog, const char *name);

class TfrmRegisterAgree;
class TfrmRegister;

// What a new user types into the registration form.
struct TypedRegistration
{
    QString logid;
    QString password;
    QString name;
    QString address;
    QString email;
};

// Answers the two registration dialogs as a user would once each is shown: F8 and Next on the
// agreement, then the form typed in and sent with OK.
void AnswerRegistrationDialogs(TfrmRegisterAgree &agreement, TfrmRegister &registration,
                               const TypedRegistration &typed);

// Message boxes answered from a queue for the life of the object; every box shown is recorded.
class ArmedMessageBoxes
{
public:
    ArmedMessageBoxes();
    ~ArmedMessageBoxes();
    void answer(std::initializer_list<int> answers);
    // "caption|text" of the boxes shown since the last call.
    QStringList shown();
};

// A key press and release of a character that QTest::keyClicks cannot send (Chinese text).
void TypeText(QWidget *widget, const QString &text);
