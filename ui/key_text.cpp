#include "key_text.h"

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
    // Filling from the right leaves the first places blank when the key is
    // short, and puts what does not fit in front of the mask when it is long.
    const auto places = std::size_t(std::count(keyMask.begin(), keyMask.end(), u'@'));
    std::size_t blank = key.size() < places ? places - key.size() : 0;
    std::size_t next = key.size() > places ? key.size() - places : 0;
    std::u32string shown(key.substr(0, next));
    for (const QChar place : keyMask) {
        if (place != u'@') {
            shown.push_back(place.unicode());
        } else if (blank > 0) {
            shown.push_back(U' ');
            --blank;
        } else {
            shown.push_back(key[next++]);
        }
    }
    return QString::fromUcs4(shown.data(), qsizetype(shown.size()));
}
