#include "key_text.h"

#include <curp/check.h>

#include <QChar>

#include <algorithm>

QString upperCase(QStringView text)
{
    std::u32string points = toCodePoints(text);
    for (char32_t& point : points) {
        if (!QChar::isSurrogate(point))
            point = QChar::toUpper(point);
    }
    return fromCodePoints(points);
}

std::u32string toCodePoints(QStringView text)
{
    std::u32string points;
    points.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            points.push_back(QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else {
            points.push_back(unit);
        }
    }
    return points;
}

QString fromCodePoints(std::u32string_view points)
{
    QString text;
    text.reserve(qsizetype(points.size()));
    for (const char32_t point : points)
        text.append(QChar::fromUcs4(point));
    return text;
}

QString applyKeyMask(std::u32string_view key)
{
    const std::u32string shown = curp::WithDashes(key);
    return QString::fromUcs4(shown.data(), qsizetype(shown.size()));
}
