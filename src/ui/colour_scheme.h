// Light or dark: the program follows the palette the platform theme gives, and the desktop's
// preference where the desktop says it (the Settings portal's "color-scheme") and the theme
// did not follow it.
#pragma once

#include <QPalette>

namespace ui {

// A dark palette for the program's widgets: light text on dark grey, a blue highlight.
QPalette darkPalette();

// Whether a palette is dark (its window colour is).
bool isDark(const QPalette &palette);

// Asks the desktop (org.freedesktop.portal.Settings, org.freedesktop.appearance
// color-scheme, waiting at most a moment) and, when it prefers dark while the palette in
// force is light, puts darkPalette() in force. Nothing happens without a session bus or a
// portal.
void followDesktopColourScheme();

}  // namespace ui
