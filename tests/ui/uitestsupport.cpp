#include "tests/ui/uitestsupport.h"

#include "ui/messagebox.h"

#include <QTest>
#include <QTimer>

void RunInModal(std::function<void()> steps)
{
    QTimer::singleShot(0, std::move(steps));
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
