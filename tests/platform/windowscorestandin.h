#pragma once

#include "platform/windows/core/systemsettings.h"

#include <functional>
#include <set>
#include <string>

// Stands in for the Win32 half of the Windows backend so that its Qt adapter builds and runs in
// the Linux build: it hands out `lookup` and records what the adapter asked for.
struct WindowsCoreStandIn
{
    wincore::ProxyAndBrowser lookup;
    std::wstring openedBrowser, openedUrl, openedLog, autoRunPath;
    bool autoRunOn = false;
    std::set<std::wstring> heldMutexes;
    std::function<void()> consoleRequest;

    static WindowsCoreStandIn &instance();
};
