#pragma once

#include <QString>
#include <QStringList>

// The value of a desktop entry's Exec key that runs `argv` (the program, then its arguments) as
// given, whatever they hold: an argument with a reserved character is quoted, "%" is doubled,
// and the backslashes the quoting needs are escaped once more for the key file's own string
// rules, so that a launcher's parser hands back exactly `argv`.
QString DesktopExecLine(const QStringList &argv);
