#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <memory>

// The two boxes most of the client's messages go through. Both block the caller until the user
// closes them, while the event loop keeps running (timers, the tray, the keep-alive).
void MSGBOX(const QString &caption, const QString &text);
// 6 (Yes) on consent, 7 (No) otherwise. `flags` is accepted for the callers' sake and unused.
int YNBOX(const QString &caption, const QString &text, int flags);

// The plain box the client shows outside its dialogs ("警告" at a second start, "Failed!" without
// a notification area).
void PlatformMessageBox(const QString &caption, const QString &text);

enum : int { IDYES = 6, IDNO = 7 };

enum class BoxKind { Message, Question, Warning };
// The box as the functions above show it, for them and for screenshots.
std::unique_ptr<QMessageBox> CreateMessageBox(BoxKind kind, const QString &caption,
                                              const QString &text);

// Lets tests answer boxes instead of a user. Once armed, every box takes the next queued answer
// (without showing anything) and is recorded; a box that finds the queue empty aborts the test
// run, so no test can hang on a box nobody answers.
namespace MessageBoxAnswers {
void arm();
void disarm();
bool isArmed();
// Answers for the next boxes, in order: IDYES, IDNO, or any value for a box with only OK.
void queue(std::initializer_list<int> answers);
// "caption|text" of every box shown since the last take.
QStringList takeShown();
} // namespace MessageBoxAnswers
