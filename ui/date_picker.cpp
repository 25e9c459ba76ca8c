#include "date_picker.h"

#include <QKeyEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A typed character that ends a part of the date: "23/", "23.", "23-", "23 ".
bool isSeparator(const QString& typed)
{
    if (typed.size() != 1 || !typed.front().isPrint())
        return false; // Enter, Tab and the like are no separators
    const QChar c = typed.front();
    return c.isPunct() || c.isSpace() || c.isSymbol();
}

} // namespace

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    setDisplayFormat(displayFormatFor(locale()));
}

QString DatePicker::displayFormatFor(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString result;
    QString separator;
    bool day = false;
    bool month = false;
    bool year = false;
    const auto flushSeparator = [&] {
        if (!result.isEmpty())
            result += separator.trimmed().isEmpty() ? u"/"_s : separator;
        separator.clear();
    };
    for (qsizetype i = 0; i < format.size();) {
        const QChar letter = format[i];
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == letter)
            ++run;
        if (letter == u'\'') {
            // Quoted literal text: copied as it stands, quotes included.
            const qsizetype close = format.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? format.size() : close + 1;
            separator += format.mid(i, end - i);
            i = end;
            continue;
        }
        if (letter == u'd' && run <= 2 && !day) {
            flushSeparator();
            result += u"dd"_s;
            day = true;
        } else if (letter == u'M' && !month) {
            flushSeparator();
            result += u"MM"_s;
            month = true;
        } else if (letter == u'y' && !year) {
            flushSeparator();
            result += u"yyyy"_s;
            year = true;
        } else if (!letter.isLetter()) {
            separator += format.mid(i, run);
        }
        i += run;
    }
    if (!day || !month || !year)
        return u"dd/MM/yyyy"_s;
    if (!separator.trimmed().isEmpty())
        result += separator;
    return result;
}

bool DatePicker::focusNextPrevChild(bool next)
{
    // Tab leaves the box at once instead of walking through its parts, which
    // is what the date box's own handling would do: skipped on purpose.
    return QWidget::focusNextPrevChild(next); // NOLINT(bugprone-parent-virtual-call)
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const bool plain = !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
    if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        moveSection(event->key() == Qt::Key_Right ? 1 : -1);
        movedOnByItself = false;
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (plain && isSeparator(typed)) {
        if (!movedOnByItself)
            moveSection(1);
        movedOnByItself = false;
        event->accept();
        return;
    }
    const int before = currentSectionIndex();
    QDateEdit::keyPressEvent(event);
    movedOnByItself =
        !typed.isEmpty() && typed.front().isDigit() && currentSectionIndex() != before;
}

void DatePicker::moveSection(int step)
{
    const int index = std::clamp(currentSectionIndex() + step, 0, sectionCount() - 1);
    setCurrentSectionIndex(index);
    setSelectedSection(sectionAt(index));
}
