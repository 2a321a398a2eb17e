#pragma once

#include "app/trayicon.h"

// The icon of a desktop that has a notification area, for runs under the offscreen platform,
// which has none.
class AvailableTrayIcon : public TrayIcon
{
public:
    bool isAvailable() const override { return true; }
};
