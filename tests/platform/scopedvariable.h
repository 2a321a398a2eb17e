#pragma once

#include <QByteArray>
#include <QtGlobal>

// Sets one environment variable (a null value clears it) until the end of the scope.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : m_name(name), m_saved(qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray())
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~ScopedVariable() { m_saved.isNull() ? qunsetenv(m_name) : qputenv(m_name, m_saved); }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *m_name;
    QByteArray m_saved;
};
