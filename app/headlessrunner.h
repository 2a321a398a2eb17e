#pragma once

#include "app/commandline.h"

class TClientServiceInfo;

// The client without windows or tray: start-up, then the event loop until SIGINT or SIGTERM,
// which run the closing steps. Returns the process's exit status.
int RunHeadless(TClientServiceInfo &info, const CommandLine &commandLine);
