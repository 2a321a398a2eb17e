#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QQueue>
#include <cstdio>

namespace {

struct TestAnswers
{
    bool armed = false;
    QQueue<int> answers;
    QStringList shown;
};

TestAnswers &testAnswers()
{
    static TestAnswers answers;
    return answers;
}

// The queued answer when armed; nothing when a user is to answer.
std::optional<int> answerForTest(const QString &caption, const QString &text)
{
    TestAnswers &test = testAnswers();
    if (!test.armed)
        return std::nullopt;
    test.shown.append(caption + QLatin1Char('|') + text);
    if (test.answers.isEmpty())
        qFatal("message box without a queued answer: %s | %s", qUtf8Printable(caption),
               qUtf8Printable(text));
    return test.answers.dequeue();
}

} // namespace

std::unique_ptr<QMessageBox> CreateMessageBox(BoxKind kind, const QString &caption,
                                              const QString &text)
{
    const bool question = kind == BoxKind::Question;
    auto box = std::make_unique<QMessageBox>(
        question ? QMessageBox::Question
                 : (kind == BoxKind::Warning ? QMessageBox::Warning : QMessageBox::Information),
        caption, text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setTextFormat(Qt::PlainText);
    if (question) {
        box->button(QMessageBox::Yes)->setText(QCoreApplication::translate("MessageBox", "是(&Y)"));
        box->button(QMessageBox::No)->setText(QCoreApplication::translate("MessageBox", "否(&N)"));
    } else {
        box->button(QMessageBox::Ok)->setText(QCoreApplication::translate("MessageBox", "确定"));
    }
    return box;
}

void MSGBOX(const QString &caption, const QString &text)
{
    if (answerForTest(caption, text))
        return;
    CreateMessageBox(BoxKind::Message, caption, text)->exec();
}

int YNBOX(const QString &caption, const QString &text, int /*flags*/)
{
    if (const std::optional<int> answer = answerForTest(caption, text))
        return *answer == IDYES ? IDYES : IDNO;
    const int button = CreateMessageBox(BoxKind::Question, caption, text)->exec();
    return button == QMessageBox::Yes ? IDYES : IDNO;
}

void PlatformMessageBox(const QString &caption, const QString &text)
{
    if (answerForTest(caption, text))
        return;
    CreateMessageBox(BoxKind::Warning, caption, text)->exec();
}

namespace MessageBoxAnswers {

void arm()
{
    testAnswers() = TestAnswers{true, {}, {}};
}

void disarm()
{
    testAnswers() = TestAnswers{};
}

bool isArmed()
{
    return testAnswers().armed;
}

void queue(std::initializer_list<int> answers)
{
    for (const int answer : answers)
        testAnswers().answers.enqueue(answer);
}

QStringList takeShown()
{
    return std::exchange(testAnswers().shown, {});
}

} // namespace MessageBoxAnswers
