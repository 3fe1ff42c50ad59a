#pragma once
// Fonts named after the old platform's faces, mapped to faces Debian ships.

#include <QFont>
#include <QString>

// Registers "MS Sans Serif", "Tahoma" and "Verdana" as substitutions for
// Liberation Sans and DejaVu Sans. Run once at start-up; repeating it is harmless.
void RegisterFontSubstitutions();

// Pixel height of a font of `points` at the design resolution of 96 pixels per
// inch, rounded as the old toolkit did (8 points give 11 pixels).
int PointsToPixels(int points);

// A font of `family` sized in points at 96 pixels per inch.
QFont DesignFont(const QString &family, int points, bool bold = false);
