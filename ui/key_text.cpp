#include "key_text.h"

#include <curp/check.h>

#include <QChar>

#include <algorithm>

using namespace Qt::StringLiterals;

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

QString shortened(const QString& line)
{
    constexpr qsizetype most = 200;
    constexpr qsizetype head = 120;
    constexpr qsizetype tail = 60;
    if (line.size() <= most)
        return line;
    // Never between the two halves of a character outside the BMP.
    qsizetype headEnd = head;
    if (line[headEnd - 1].isHighSurrogate())
        --headEnd;
    qsizetype tailStart = line.size() - tail;
    if (line[tailStart].isLowSurrogate())
        ++tailStart;
    return line.first(headEnd) + u" … "_s + line.sliced(tailStart);
}

QString leftToRight(const QString& text)
{
    // Marks that open or close an embedding, an override or an isolate:
    // inside the override they would turn the rest of the key around again.
    const auto isDirectionMark = [](QChar c) {
        switch (c.direction()) {
        case QChar::DirLRE:
        case QChar::DirRLE:
        case QChar::DirLRO:
        case QChar::DirRLO:
        case QChar::DirPDF:
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirPDI:
            return true;
        default:
            return false;
        }
    };
    const auto turnsAround = [&](QChar c) {
        return c.direction() == QChar::DirR || c.direction() == QChar::DirAL ||
               c.direction() == QChar::DirAN || isDirectionMark(c);
    };
    if (std::none_of(text.begin(), text.end(), turnsAround))
        return text;
    QString shown = text;
    shown.removeIf(isDirectionMark);
    constexpr QChar override(0x202D);  // LEFT-TO-RIGHT OVERRIDE
    constexpr QChar popFormat(0x202C); // POP DIRECTIONAL FORMATTING
    return override + shown + popFormat;
}
