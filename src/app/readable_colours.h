#pragma once
// Colour pairs that stay legible whatever palette the desktop hands over:
// the contrast ratio of two colours (relative luminance as the web's
// accessibility guidelines define it) and what replaces a pair below
// minimumContrast.

#include <QColor>

constexpr double minimumContrast = 4.5;

// 1 (same luminance) to 21 (black and white); alpha is ignored.
double contrastRatio(const QColor &a, const QColor &b);

struct ColourPair {
    QColor background;
    QColor text;
};

// The pair itself when legible, otherwise white text on black.
ColourPair legiblePair(const ColourPair &wanted);

// The text colour itself when legible on background, otherwise the same hue
// moved towards black or white (whichever stands further from the
// background) just far enough to be.
QColor legibleText(const QColor &text, const QColor &background);
