#include "contrast.h"

#include <QBrush>
#include <QCalendarWidget>
#include <QPalette>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double worstRatio(const QColor& colour, std::initializer_list<QColor> backgrounds)
{
    double worst = 21;
    for (const QColor& background : backgrounds)
        worst = std::min(worst, contrastRatio(colour, background));
    return worst;
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableColour(const QColor& colour, std::initializer_list<QColor> backgrounds, double ratio)
{
    if (worstRatio(colour, backgrounds) >= ratio)
        return colour;
    // Towards white on dark backgrounds, towards black on light ones, a step
    // of lightness at a time, keeping hue and saturation.
    double darkest = 1;
    for (const QColor& background : backgrounds)
        darkest = std::min(darkest, luminance(background));
    const bool lighter = darkest < 0.18;
    const QColor hsl = colour.toHsl();
    for (int lightness = hsl.lightness(); lightness >= 0 && lightness <= 255;
         lightness += lighter ? 5 : -5) {
        const QColor candidate =
            QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness, hsl.alpha());
        if (worstRatio(candidate, backgrounds) >= ratio)
            return candidate.toRgb();
    }
    return lighter ? QColor(Qt::white) : QColor(Qt::black);
}

void makeWeekendsReadable(QCalendarWidget* calendar)
{
    // The colours the calendar draws with: day names on the alternate base,
    // days on the base.
    const QPalette palette = calendar->palette();
    const QColor days = palette.color(QPalette::Active, QPalette::Base);
    const QColor names = palette.color(QPalette::Active, QPalette::AlternateBase);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        const auto dayOfWeek = Qt::DayOfWeek(day);
        QTextCharFormat format = calendar->weekdayTextFormat(dayOfWeek);
        if (format.foreground().style() == Qt::NoBrush)
            continue;
        // Kept, so that a second call starts again from the calendar's colour.
        static const int ownColour = QTextFormat::UserProperty;
        if (!format.hasProperty(ownColour))
            format.setProperty(ownColour, format.foreground().color());
        const auto own = format.property(ownColour).value<QColor>();
        format.setForeground(readableColour(own, {days, names}, 3.0));
        calendar->setWeekdayTextFormat(dayOfWeek, format);
    }
}
