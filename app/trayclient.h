#pragma once

#include "app/commandline.h"

class QApplication;

// The client with its tray icon: the single-instance lock ("警告" box for a second copy), the
// splash, the tray window, then the event loop until the tray window closes. The exit status.
int RunTrayClient(QApplication &application, const CommandLine &commandLine);
