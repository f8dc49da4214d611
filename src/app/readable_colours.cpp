#include "readable_colours.h"

#include <QtMath>

namespace {
double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : qPow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor mixed(const QColor &from, const QColor &to, int step, int steps)
{
    const auto channel = [&](int a, int b) { return a + (b - a) * step / steps; };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}
} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

ColourPair legiblePair(const ColourPair &wanted)
{
    if (contrastRatio(wanted.background, wanted.text) >= minimumContrast)
        return wanted;
    return {QColor(Qt::black), QColor(Qt::white)};
}

QColor legibleText(const QColor &text, const QColor &background)
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor towards = contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    // One of black and white always reaches 4.5:1 (at worst about 4.58:1).
    constexpr int steps = 255;
    for (int step = 0; step < steps; ++step) {
        const QColor candidate = mixed(text, towards, step, steps);
        if (contrastRatio(candidate, background) >= minimumContrast)
            return candidate;
    }
    return towards;
}
