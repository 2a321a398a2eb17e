#pragma once

#include "service/commandline.h"

// Each returns the process exit status: 0 done, 1 refused or failed.
int RunServe(const ServiceOptions &options);
int RunAddUser(const Command &command);
int RunPostMessage(const Command &command);
int RunOnline(const Command &command);
