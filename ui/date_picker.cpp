#include "date_picker.h"

#include "contrast.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QList>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <array>
#include <utility>

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

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Day, month and year in the order a display format shows them; quoted
// literal text is skipped.
std::array<QDateTimeEdit::Section, 3> partsInOrder(QStringView format)
{
    std::array<QDateTimeEdit::Section, 3> order{};
    std::size_t found = 0;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        const QDateTimeEdit::Section part = quoted      ? QDateTimeEdit::NoSection
                                            : c == u'd' ? QDateTimeEdit::DaySection
                                            : c == u'M' ? QDateTimeEdit::MonthSection
                                            : c == u'y' ? QDateTimeEdit::YearSection
                                                        : QDateTimeEdit::NoSection;
        if (part != QDateTimeEdit::NoSection && found < order.size() &&
            std::find(order.begin(), order.begin() + found, part) == order.begin() + found)
            order.at(found++) = part;
    }
    if (found < order.size())
        return {QDateTimeEdit::DaySection, QDateTimeEdit::MonthSection, QDateTimeEdit::YearSection};
    return order;
}

// The runs of digits in a text: "23.4.1975" gives "23", "4", "1975".
QList<QStringView> digitGroups(QStringView text)
{
    QList<QStringView> groups;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && isDigit(text[end]))
            ++end;
        if (end > i)
            groups.append(text.sliced(i, end - i));
        i = std::max(end, i + 1);
    }
    return groups;
}

// The digits of the year in a text shown in `format`; empty when the text
// has no three groups of digits.
QStringView yearDigits(QStringView text, QStringView format)
{
    const auto order = partsInOrder(format);
    const auto yearAt = std::find(order.begin(), order.end(), QDateTimeEdit::YearSection);
    const QList<QStringView> groups = digitGroups(text);
    if (groups.size() != 3)
        return {};
    return groups.at(yearAt - order.begin());
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

int DatePicker::fullYear(int typed, int digits, int currentYear)
{
    if (digits < 1 || digits > 2)
        return typed;
    const int span = digits == 1 ? 10 : 100;
    return currentYear - ((currentYear - typed) % span + span) % span;
}

QDate DatePicker::dateFromText(QStringView text, QStringView format, QDate today)
{
    std::array<QDateTimeEdit::Section, 3> order = partsInOrder(format);
    QList<QStringView> groups = digitGroups(text);
    if (groups.size() == 1 && groups.front().size() == 8) {
        // All digits, no separator: two for the day and the month, four for
        // the year, in the format's order.
        const QStringView digits = groups.front();
        groups.clear();
        qsizetype at = 0;
        for (const QDateTimeEdit::Section part : order) {
            const qsizetype width = part == QDateTimeEdit::YearSection ? 4 : 2;
            groups.append(digits.sliced(at, width));
            at += width;
        }
    }
    if (groups.size() != 3)
        return {};
    if (groups.front().size() == 4)
        order = {QDateTimeEdit::YearSection, QDateTimeEdit::MonthSection,
                 QDateTimeEdit::DaySection};
    int day = 0;
    int month = 0;
    int year = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const QStringView group = groups.at(qsizetype(i));
        const int value = group.toInt();
        if (order.at(i) == QDateTimeEdit::YearSection) {
            if (group.size() > 4)
                return {};
            year = fullYear(value, int(group.size()), today.year());
        } else if (group.size() > 2) {
            return {};
        } else if (order.at(i) == QDateTimeEdit::DaySection) {
            day = value;
        } else {
            month = value;
        }
    }
    const QDate firstOfMonth(year, month, 1);
    if (!firstOfMonth.isValid() || day < 1 || day > 31)
        return {};
    return firstOfMonth.addDays(std::min(day, firstOfMonth.daysInMonth()) - 1);
}

void DatePicker::setToday(std::function<QDate()> today)
{
    this->today = std::move(today);
}

void DatePicker::acceptTypedText()
{
    QString text = lineEdit()->text();
    int pos = lineEdit()->cursorPosition();
    if (QDateEdit::validate(text, pos) != QValidator::Acceptable) {
        const QDate typed = dateFromText(lineEdit()->text(), displayFormat(), today());
        if (typed.isValid() && typed >= minimumDate() && typed <= maximumDate())
            setDate(typed);
    }
    // The box's own reading of its text: it puts back a part it cannot take
    // and shows the date it holds in full.
    interpretText();
}

void DatePicker::showCalendar()
{
    if (!calendarPopup() || isReadOnly())
        return;
    acceptTypedText();
    watchCalendar();
    // The box opens its calendar only on a press on its button: one is made
    // there, so the calendar opens and sits exactly as for a click.
    const QPointF button = calendarButton().center();
    QMouseEvent press(QEvent::MouseButtonPress, button, mapToGlobal(button), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QDateEdit::mousePressEvent(&press);
}

bool DatePicker::focusNextPrevChild(bool next)
{
    // Tab leaves the box at once instead of walking through its parts, which
    // is what the date box's own handling would do: skipped on purpose.
    return QWidget::focusNextPrevChild(next); // NOLINT(bugprone-parent-virtual-call)
}

void DatePicker::focusInEvent(QFocusEvent* event)
{
    QDateEdit::focusInEvent(event);
    // Shift+Tab lands on the first part as Tab does (the box would pick the
    // last), so that a whole date typed next fills the whole date.
    if (event->reason() == Qt::BacktabFocusReason)
        selectSection(0);
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    acceptTypedText();
    QDateEdit::focusOutEvent(event);
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // The desktop's keys for a date picker's calendar; they never step the
    // date, as Alt+Up and Alt+Down would in the box itself.
    if (((key == Qt::Key_Down || key == Qt::Key_Up) && modifiers == Qt::AltModifier) ||
        (key == Qt::Key_F4 && modifiers == Qt::NoModifier)) {
        showCalendar();
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // The window computes the key on Enter, which the box passes on: the
        // date typed must be taken first.
        acceptTypedText();
        QDateEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasting = true;
        QDateEdit::keyPressEvent(event);
        pasting = false;
        return;
    }
    const bool plain = !(modifiers & ~Qt::ShiftModifier);
    if (plain && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        moveSection(key == Qt::Key_Right ? 1 : -1);
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

void DatePicker::mousePressEvent(QMouseEvent* event)
{
    // The calendar opens on the date typed so far.
    if (calendarPopup() && calendarButton().contains(event->position().toPoint())) {
        acceptTypedText();
        watchCalendar();
    }
    QDateEdit::mousePressEvent(event);
}

void DatePicker::watchCalendar()
{
    // The calendar lives in a window of its own, made the first time it is
    // asked for; watching it twice is watching it once.
    QCalendarWidget* calendar = calendarWidget();
    if (!calendar)
        return;
    calendar->window()->installEventFilter(this);
    makeWeekendsReadable(calendar);
    // Qt leaves the calendar and its month arrows without names, which a
    // screen reader can only call "button".
    calendar->window()->setAccessibleName(u"Calendario"_s);
    for (const auto& [arrow, name] : {std::pair{"qt_calendar_prevmonth", u"Mes anterior"_s},
                                      std::pair{"qt_calendar_nextmonth", u"Mes siguiente"_s}}) {
        if (auto* button = calendar->findChild<QWidget*>(QLatin1StringView(arrow)))
            button->setAccessibleName(name);
    }
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    const QCalendarWidget* calendar = calendarWidget();
    if (calendar && watched == calendar->window()) {
        if (event->type() == QEvent::Show) {
            beforeCalendar = date();
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            // Escape closes the calendar without change.
            setDate(beforeCalendar);
        }
    }
    return QDateEdit::eventFilter(watched, event);
}

void DatePicker::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu's Paste is chosen while the menu is open, inside this call;
    // the window may be closed meanwhile, which cppcheck cannot know.
    const QPointer<DatePicker> self(this);
    pasting = true;
    QDateEdit::contextMenuEvent(event);
    // cppcheck-suppress knownConditionTrueFalse
    if (self)
        pasting = false;
}

QValidator::State DatePicker::validate(QString& input, int& pos) const
{
    // Pasted into one part, a whole date would make no date at all, and the
    // box would refuse it: the clipboard's date becomes the box's date.
    if (pasting) {
        if (const QDate pasted = pastedDate(input); pasted.isValid()) {
            input = textFromDateTime(pasted.startOfDay());
            pos = int(input.size());
            return QValidator::Acceptable;
        }
    }
    QString checked = input;
    int checkedPos = pos;
    const QValidator::State state = QDateEdit::validate(checked, checkedPos);
    // The box refuses a year that cannot grow into its range and pads one
    // that starts with 0, so "05", "12" and "075" could not be typed at all:
    // one to three digits stay as typed, and are completed or refused when the
    // box takes the date (acceptTypedText).
    const QStringView year = yearDigits(input, displayFormat());
    if (year.isEmpty() || year.size() > 3 ||
        (state != QValidator::Invalid && yearDigits(checked, displayFormat()) == year)) {
        input = checked;
        pos = checkedPos;
        return state;
    }
    QString withYearInRange = input;
    withYearInRange.replace(year.data() - input.constData(), year.size(),
                            QString::number(date().year()));
    int unused = pos;
    return QDateEdit::validate(withYearInRange, unused) == QValidator::Invalid
               ? QValidator::Invalid
               : QValidator::Intermediate;
}

QDate DatePicker::pastedDate(const QString& input) const
{
    const QString clipboard = QGuiApplication::clipboard()->text().trimmed();
    // Only what the paste put into the box: other edits while the context
    // menu is open (Delete, Step up) leave the clipboard out.
    if (clipboard.isEmpty() || !input.contains(clipboard))
        return {};
    const QDate date = dateFromText(clipboard, displayFormat(), today());
    if (!date.isValid() || date < minimumDate() || date > maximumDate())
        return {};
    return date;
}

void DatePicker::moveSection(int step)
{
    const int index = std::clamp(currentSectionIndex() + step, 0, sectionCount() - 1);
    // Leaving the year, the box would put back the year it held: a short one
    // typed there is completed first ("75/" in a year-first format).
    if (currentSection() == QDateTimeEdit::YearSection && index != currentSectionIndex())
        acceptTypedText();
    selectSection(index);
}

void DatePicker::selectSection(int index)
{
    index = std::clamp(index, 0, sectionCount() - 1);
    setCurrentSectionIndex(index);
    setSelectedSection(sectionAt(index));
}

QRect DatePicker::calendarButton() const
{
    // The box hit-tests its button as a combo box's arrow.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
}
