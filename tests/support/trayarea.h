#pragma once

// What the tray host at the top right of a real X screen shows of the client's icon: pixels of
// the online globe (green) and of the offline one (grey).
struct TrayIconPixels
{
    int green = 0;
    int grey = 0;

    bool online() const { return green > 40; }
    bool shown() const { return green > 40 || grey > 40; }
};

TrayIconPixels ReadTrayIconPixels();
