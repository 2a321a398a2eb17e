#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;

// A key filter that also holds against pasting, the context menu and drag and drop: a line edit
// refuses any insertion, typed or pasted, that would bring in a character the filter does not
// allow, or (with a byte limit) make the text longer than the client state can store. A refused
// insertion is simply not made, as a discarded key would be.
class CharacterFilter : public QValidator
{
    Q_OBJECT
public:
    using Allowed = std::function<bool(QChar)>;

    CharacterFilter(Allowed allowed, qsizetype maxBytes, QObject *parent);

    State validate(QString &input, int &pos) const override;

    // The filters of the client's edits.
    static bool IsIdCharacter(QChar c);        // "0"-"9", "a"-"z", "A"-"Z", "-", "_"
    static bool IsDigit(QChar c);              // "0"-"9"
    static bool IsTelephoneCharacter(QChar c); // digits and "-"
    static bool IsEmailCharacter(QChar c);     // below code 128, the space excepted
    static bool IsAnyCharacter(QChar c);

    // Puts a filter on `edit`; with `maxBytes`, its text also holds at most that many CP936 bytes.
    static void Install(QLineEdit *edit, Allowed allowed, qsizetype maxBytes = 0);

private:
    Allowed m_allowed;
    qsizetype m_maxBytes;
};
