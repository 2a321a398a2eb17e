#pragma once

#include <QString>

// The activity log: one CP936 line per event, appended to a file that is opened and closed for
// every entry. An entry that cannot be written is skipped; logging never fails its caller.
class TLogInfo
{
public:
    enum Kind { Failure = -1, Success = 0, Notice = 1 };

    explicit TLogInfo(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    void Write(int kind, const QString &source, const QString &place, const QString &action,
               const QString &detail, bool enabled) const;

    // The line without its line end, as Write would append it at that moment.
    static QString FormatLine(int kind, const QString &source, const QString &place,
                              const QString &action, const QString &detail);

private:
    QString m_path;
};
