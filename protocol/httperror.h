#pragma once

#include <QString>
#include <stdexcept>

// A failed HTTP transaction, with the short English text that says which step failed.
class THttpError : public std::runtime_error
{
public:
    explicit THttpError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text)
    {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};
