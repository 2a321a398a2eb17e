#include "ui/input/characterfilter.h"

#include "core/cp936.h"

#include <QLineEdit>

CharacterFilter::CharacterFilter(Allowed allowed, qsizetype maxBytes, QObject *parent)
    : QValidator(parent), m_allowed(std::move(allowed)), m_maxBytes(maxBytes)
{}

QValidator::State CharacterFilter::validate(QString &input, int &) const
{
    if (m_maxBytes > 0 && cp936::byteLength(input) > m_maxBytes)
        return Invalid;
    return std::all_of(input.cbegin(), input.cend(), m_allowed) ? Acceptable : Invalid;
}

bool CharacterFilter::IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool CharacterFilter::IsIdCharacter(QChar c)
{
    return IsDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('-') ||
           c == QLatin1Char('_');
}

bool CharacterFilter::IsTelephoneCharacter(QChar c)
{
    return IsDigit(c) || c == QLatin1Char('-');
}

bool CharacterFilter::IsEmailCharacter(QChar c)
{
    return c.unicode() < 128 && c != QLatin1Char(' ');
}

bool CharacterFilter::IsAnyCharacter(QChar)
{
    return true;
}

void CharacterFilter::Install(QLineEdit *edit, Allowed allowed, qsizetype maxBytes)
{
    edit->setValidator(new CharacterFilter(std::move(allowed), maxBytes, edit));
}
