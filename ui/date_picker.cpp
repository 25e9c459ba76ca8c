#include "date_picker.h"

#include "contrast.h"
#include "key_box.h"
#include "key_text.h"
#include "qt_translations.h"

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
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextDocument>

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

// Where the year stands among the three parts of `format`.
qsizetype yearIndex(QStringView format)
{
    const auto order = partsInOrder(format);
    return std::find(order.begin(), order.end(), QDateTimeEdit::YearSection) - order.begin();
}

// The order of day, month and year that `format` shows.
curp::DateOrder dateOrder(QStringView format)
{
    switch (partsInOrder(format).front()) {
    case QDateTimeEdit::MonthSection:
        return curp::DateOrder::MonthDayYear;
    case QDateTimeEdit::YearSection:
        return curp::DateOrder::YearMonthDay;
    default:
        return curp::DateOrder::DayMonthYear;
    }
}

QDate toQDate(const std::chrono::year_month_day& date)
{
    return {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))};
}

// Plain text as a tooltip: text that looks like markup stays text.
QString asToolTip(const QString& text)
{
    return text.isEmpty() ? text : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

} // namespace

std::chrono::year_month_day toYearMonthDay(QDate date)
{
    return {std::chrono::year{date.year()}, std::chrono::month{unsigned(date.month())},
            std::chrono::day{unsigned(date.day())}};
}

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    // Day, month and year in the desktop's order, even where Llave speaks
    // Spanish to a desktop that does not.
    setDisplayFormat(displayFormatFor(dateOrderLocale()));
    setDateRange(QDate(int(curp::kBirthYears.first), 1, 1),
                 QDate(int(curp::kBirthYears.last), 12, 31));
    connect(lineEdit(), &QLineEdit::textEdited, this, &DatePicker::changedByPerson);
    // A click into another part makes the box read its text as well.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        if (!unfixed.isEmpty())
            QMetaObject::invokeMethod(this, &DatePicker::keepTyped, Qt::QueuedConnection);
    });
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

void DatePicker::setToday(std::function<QDate()> today)
{
    this->today = std::move(today);
}

void DatePicker::fixup(QString& input) const
{
    // When the cursor leaves a part, or the box is left, the box makes a day
    // the month does not have the month's last ("31/04" becomes "30/04"), and
    // puts back the date it held for a year outside its range. A whole date
    // typed comes back once the box is done (keepTyped), and is refused when
    // the box takes it.
    const curp::DateReading reading = read(input);
    if (!reading.ok() && reading.date != std::chrono::year_month_day{})
        unfixed = input;
    QDateEdit::fixup(input);
}

void DatePicker::keepTyped()
{
    const QString typed = std::exchange(unfixed, {});
    if (!typed.isEmpty() && lineEdit()->text() != typed)
        showQuietly(typed, true);
}

void DatePicker::acceptTypedText()
{
    keepTyped();
    const bool wholeDate = std::exchange(typingWholeDate, false);
    if (!typedProblem.isEmpty()) {
        // Nothing changed since: the problem stands, and the box shows its text.
        showProblem();
        return;
    }
    const QString text = lineEdit()->text();
    if (wholeDate && text.trimmed().isEmpty()) {
        showQuietly(textFromDateTime(dateTime()), true); // nothing typed after all
        return;
    }
    QString checked = text;
    int pos = lineEdit()->cursorPosition();
    if (wholeDate || QDateEdit::validate(checked, pos) != QValidator::Acceptable ||
        checked != text) {
        QString readable = text;
        // Letters in the box's own text are the format's ("г." in Bulgarian).
        if (!wholeDate)
            std::replace_if(
                readable.begin(), readable.end(), [](QChar c) { return c.isLetter(); }, u' ');
        const curp::DateReading reading = read(readable);
        if (!reading.ok()) {
            typedProblem = QString::fromStdString(reading.problem);
            problemText = partsText(reading);
            if (problemText.isEmpty())
                problemText = text;
            showProblem();
            return;
        }
        setDate(toQDate(reading.date));
    }
    // The box's own reading of its text: it shows the date it holds in full.
    interpretText();
}

QString DatePicker::textToRead() const
{
    return typedProblem.isEmpty() ? date().toString(Qt::ISODate) : problemText;
}

curp::DateOrder DatePicker::textOrder() const
{
    return dateOrder(displayFormat());
}

curp::DateReading DatePicker::read(QStringView text) const
{
    return curp::ReadDate(text.toUtf8().toStdString(), dateOrder(displayFormat()),
                          toYearMonthDay(today()));
}

QString DatePicker::partsText(const curp::DateReading& reading) const
{
    const std::chrono::year_month_day& date = reading.date;
    QString text = displayFormat();
    if (date == std::chrono::year_month_day{} || text.contains(u'\''))
        return {}; // no date, or literal text in the format: no place to be sure of
    const auto number = [](int value, qsizetype width) {
        return QString::number(value).rightJustified(width, u'0');
    };
    text.replace(u"yyyy"_s, number(int(date.year()), 4));
    text.replace(u"MM"_s, number(int(unsigned(date.month())), 2));
    text.replace(u"dd"_s, number(int(unsigned(date.day())), 2));
    return text;
}

void DatePicker::showProblem()
{
    if (!typedProblem.isEmpty() && lineEdit()->text() != problemText)
        showQuietly(problemText, true);
    setToolTip(asToolTip(typedProblem));
    setAccessibleDescription(typedProblem);
    update();
}

void DatePicker::changedByPerson()
{
    userChanged = true;
    unfixed.clear();
    emit edited();
    if (typedProblem.isEmpty())
        return;
    typedProblem.clear();
    problemText.clear();
    showProblem();
}

void DatePicker::stepBy(int steps)
{
    QDateEdit::stepBy(steps);
    changedByPerson();
}

void DatePicker::afterPaste(const QString& before)
{
    const QString reason = std::exchange(pastedProblem, {});
    if (reason.isEmpty())
        return;
    keepTyped();
    typedProblem = reason;
    // Refused, the text pasted stays in view as the problem, as a date that
    // does not exist is shown as pasted: no key comes from the date held.
    problemText = lineEdit()->text() == before
                      ? shortened(QGuiApplication::clipboard()->text().trimmed())
                      : lineEdit()->text();
    showProblem();
    emit edited();
}

void DatePicker::paintEvent(QPaintEvent* event)
{
    QDateEdit::paintEvent(event);
    if (typedProblem.isEmpty())
        return;
    // A red frame around the box: its text is no date.
    QPainter painter(this);
    painter.setPen(QPen(warningColour(palette().color(QPalette::Base)), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1)); // the pen's middle, 1 in
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
    // The box shows its date again on the way in: a text that gives none
    // stays in sight.
    if (!typedProblem.isEmpty())
        showProblem();
    freshEntry = true;
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    acceptTypedText();
    QDateEdit::focusOutEvent(event);
    if (!typedProblem.isEmpty())
        showProblem();
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
        if (!typedProblem.isEmpty())
            showProblem();
        return;
    }
    if (typeWholeDate(event)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        const QString before = lineEdit()->text();
        pasting = true;
        QDateEdit::keyPressEvent(event);
        pasting = false;
        afterPaste(before);
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
    keepTyped();
    movedOnByItself =
        !typed.isEmpty() && typed.front().isDigit() && currentSectionIndex() != before;
}

bool DatePicker::typeWholeDate(const QKeyEvent* event)
{
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    const bool printable = plain && !typed.isEmpty() && typed.front().isPrint();
    const bool fresh = std::exchange(freshEntry, false);
    if (!typingWholeDate) {
        // Right after coming in with the first part chosen, or with all of it.
        if (!printable || !fresh || !lineEdit()->hasSelectedText() ||
            lineEdit()->selectionStart() != 0)
            return false;
        typingWholeDate = true;
        showQuietly({}, false);
    }
    if (printable || (plain && event->key() == Qt::Key_Backspace)) {
        showQuietly(printable ? lineEdit()->text() + typed : lineEdit()->text().chopped(1), false);
        changedByPerson();
        return true;
    }
    // Any other key works on the date typed.
    acceptTypedText();
    return false;
}

void DatePicker::showQuietly(const QString& text, bool keepSelection)
{
    // The box would read each change and put back a date of its own.
    QLineEdit* edit = lineEdit();
    const QSignalBlocker quiet(edit);
    const int start = edit->selectionStart();
    const int length = int(edit->selectedText().size());
    const int cursor = edit->cursorPosition();
    edit->setText(text);
    if (!keepSelection)
        return;
    if (start >= 0)
        edit->setSelection(start, length);
    else
        edit->setCursorPosition(cursor);
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
    // A date picked there is a change, even the one the box held.
    connect(calendar, &QCalendarWidget::clicked, this, &DatePicker::changedByPerson,
            Qt::UniqueConnection);
    connect(calendar, &QCalendarWidget::activated, this, &DatePicker::changedByPerson,
            Qt::UniqueConnection);
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
    const QString before = lineEdit()->text();
    pasting = true;
    QDateEdit::contextMenuEvent(event);
    // cppcheck-suppress knownConditionTrueFalse
    if (self) {
        pasting = false;
        afterPaste(before);
    }
}

QValidator::State DatePicker::validate(QString& input, int& pos) const
{
    // Pasted into one part, a whole date would make no date at all, and the
    // box would refuse it: the clipboard's date becomes the box's date. A
    // date that does not exist is shown as pasted, and refused when the box
    // takes the date; text that is no date is refused at once.
    const QString clipboard = pasting ? QGuiApplication::clipboard()->text().trimmed() : QString();
    // Only what the paste put into the box: other edits while the context
    // menu is open (Delete, Step up) leave the clipboard out.
    if (!clipboard.isEmpty() && input.contains(clipboard)) {
        const curp::DateReading reading = read(clipboard);
        pastedProblem = QString::fromStdString(reading.problem);
        if (reading.ok()) {
            input = textFromDateTime(toQDate(reading.date).startOfDay());
            pos = int(input.size());
            return QValidator::Acceptable;
        }
        if (const QString parts = partsText(reading); !parts.isEmpty()) {
            input = parts;
            pos = int(input.size());
            return QValidator::Intermediate;
        }
        const QValidator::State state = validateTyped(input, pos);
        if (state != QValidator::Invalid)
            pastedProblem.clear(); // a number into one part
        return state;
    }
    return validateTyped(input, pos);
}

QValidator::State DatePicker::validateTyped(QString& input, int& pos) const
{
    QString checked = input;
    int checkedPos = pos;
    const QValidator::State state = QDateEdit::validate(checked, checkedPos);
    // The box refuses a year that cannot grow into its range and pads one
    // that starts with 0, so "05", "12", "075" and "1500" could not be typed
    // at all; and it makes a day the month does not have its last ("31/04"
    // becomes "30/04"). A whole date stays as typed, as long as each part is
    // possible in its place, and is completed or refused when the box takes
    // the date (acceptTypedText).
    const QList<QStringView> typed = digitGroups(input);
    const qsizetype yearAt = yearIndex(displayFormat());
    if (typed.size() != 3 || typed[yearAt].size() > 4) {
        input = checked;
        pos = checkedPos;
        return state;
    }
    const QList<QStringView> kept = digitGroups(checked);
    const auto sameNumbers = [&] {
        for (qsizetype i = 0; i < typed.size(); ++i) {
            if (kept[i].toInt() != typed[i].toInt())
                return false;
        }
        return kept[yearAt] == typed[yearAt];
    };
    if (state != QValidator::Invalid && kept.size() == 3 && sameNumbers()) {
        input = checked;
        pos = checkedPos;
        return state;
    }
    QString withYearInRange = input;
    withYearInRange.replace(typed[yearAt].data() - input.constData(), typed[yearAt].size(),
                            QString::number(date().year()));
    int unused = pos;
    return QDateEdit::validate(withYearInRange, unused) == QValidator::Invalid
               ? QValidator::Invalid
               : QValidator::Intermediate;
}

void DatePicker::moveSection(int step)
{
    const int index = std::clamp(currentSectionIndex() + step, 0, sectionCount() - 1);
    // Leaving the year, the box would put back the year it held: a short one
    // typed there is completed first ("75/" in a year-first format).
    if (currentSection() == QDateTimeEdit::YearSection && index != currentSectionIndex())
        acceptTypedText();
    selectSection(index);
    keepTyped();
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
