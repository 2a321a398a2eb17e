#pragma once

class QApplication;

// The splash as the tray client shows it: drawn by a short-lived copy of the program (started
// with --splash), while this process waits in its event loop until the copy has ended. The
// fonts, shaping tables and glyph caches that the splash's text needs, some megabytes with a CJK
// font, then never enter the tray client, which runs for the whole session and shows no text
// until a window is opened. Where no copy can be started, or it fails, the splash is shown here.
void ShowWelcomeInOwnProcess();

// The copy's side: the look, then the splash. The exit status.
int RunWelcomeProcess(QApplication &application);
