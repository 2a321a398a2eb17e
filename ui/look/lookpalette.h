#pragma once

#include <QPalette>

// The colours of the look for every role in every group, so that nothing a desktop theme picks
// (a dark one above all) reaches the client's windows: a widget the style sheet does not paint
// reads its colours from here.
QPalette LookPalette();
