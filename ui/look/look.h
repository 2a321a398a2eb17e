#pragma once

class QApplication;
class QFont;

// The client's one look, whatever the desktop's theme: one style, the whole palette, the dialog
// font ("宋体" 12 pixels, falling back to a CJK font every Linux desktop ships) and the flat
// light-green style sheet.
void ApplyLook(QApplication &application);

// "宋体"-first family list at `pixelSize`.
QFont DialogFont(int pixelSize = 12);
