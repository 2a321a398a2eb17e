#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

// The key filter of an edit: typed characters that `accepts` refuses never reach it, whether they
// come as key presses or from an input method. Editing keys (Backspace, Delete, arrows, Ctrl+V and
// the like) pass; pasted text is checked where the edit's text is used.
class TypedCharFilter : public QObject
{
public:
    TypedCharFilter(QLineEdit *edit, std::function<bool(QChar)> accepts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<bool(QChar)> m_accepts;
};
