#pragma once

#include <QString>

// The version line of --version: the program's name and the client's version, "0.994".
QString VersionLine(const QString &programName);

// What --help prints after the options: the files, the environment and the exit statuses, so
// that the manual page made from it is complete.
QString HelpEpilogue();
