#include "date_picker.h"

#include "contrast.h"
#include "key_box.h"
#include "qt_translations.h"

#include <QAction>
#include <QCalendarWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QStyleOptionFrame>
#include <QTextDocument>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The order of day, month and year that `format` shows: the part that comes
// first decides it. Quoted literal text is skipped.
curp::DateOrder dateOrder(QStringView format)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && c == u'M')
            return curp::DateOrder::MonthDayYear;
        else if (!quoted && c == u'y')
            return curp::DateOrder::YearMonthDay;
        else if (!quoted && c == u'd')
            break;
    }
    return curp::DateOrder::DayMonthYear;
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

// The arrow the style draws on a list's button, in the box's colours: the
// calendar's button looks like the lists' under it.
QIcon arrowIcon(const QWidget* box)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        constexpr int side = 16;
        QPixmap pixmap(QSize(side, side) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        QStyleOption option;
        option.initFrom(box);
        option.rect = QRect(side / 4, side / 4, side / 2, side / 2);
        box->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, box);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

std::chrono::year_month_day toYearMonthDay(QDate date)
{
    return {std::chrono::year{date.year()}, std::chrono::month{unsigned(date.month())},
            std::chrono::day{unsigned(date.day())}};
}

DatePicker::DatePicker(QWidget* parent)
    : QLineEdit(parent)
{
    // The calendar's button at the box's end; the keyboard opens it with
    // Alt+Down or F4.
    QAction* open = addAction(arrowIcon(this), QLineEdit::TrailingPosition);
    open->setText(u"Abrir el calendario"_s);
    open->setToolTip(u"Abrir el calendario (Alt+Abajo)"_s);
    connect(open, &QAction::triggered, this, &DatePicker::showCalendar);
    connect(this, &QLineEdit::textEdited, this, &DatePicker::changedByPerson);
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

QString DatePicker::displayFormat() const
{
    return displayFormatFor(testAttribute(Qt::WA_SetLocale) ? locale() : dateOrderLocale());
}

void DatePicker::setToday(std::function<QDate()> today)
{
    this->today = std::move(today);
}

void DatePicker::setDate(QDate date)
{
    held = date;
    setText(partsText(toYearMonthDay(date)));
    if (!std::exchange(reason, {}).isEmpty())
        showReason();
}

void DatePicker::acceptTypedText()
{
    // Taken already: the date the box shows, or a text whose reason stands.
    if (!reason.isEmpty() || (held.isValid() && text() == partsText(toYearMonthDay(held))))
        return;
    const curp::DateReading reading = read(text());
    if (reading.ok()) {
        held = toQDate(reading.date);
        setText(partsText(reading.date));
        return;
    }
    reason = QString::fromStdString(reading.problem);
    // A date that does not exist is shown in the box's format, as the reason
    // writes it ("31-4-90" becomes "31/04/1990"); other text as typed.
    if (const QString parts = partsText(reading.date); !parts.isEmpty())
        setText(parts);
    showReason();
}

QString DatePicker::textToRead() const
{
    return reason.isEmpty() ? held.toString(Qt::ISODate) : text();
}

curp::DateOrder DatePicker::textOrder() const
{
    return dateOrder(displayFormat());
}

curp::DateReading DatePicker::read(QStringView text) const
{
    return curp::ReadDate(text.toUtf8().toStdString(), textOrder(), toYearMonthDay(today()));
}

QString DatePicker::partsText(const std::chrono::year_month_day& date) const
{
    QString text = displayFormat();
    if (date == std::chrono::year_month_day{})
        return {}; // no date at all
    if (text.contains(u'\''))
        return date.ok() ? locale().toString(toQDate(date), text) : QString();
    const auto number = [](int value, qsizetype width) {
        return QString::number(value).rightJustified(width, u'0');
    };
    text.replace(u"yyyy"_s, number(int(date.year()), 4));
    text.replace(u"MM"_s, number(int(unsigned(date.month())), 2));
    text.replace(u"dd"_s, number(int(unsigned(date.day())), 2));
    return text;
}

void DatePicker::showReason()
{
    setToolTip(asToolTip(reason));
    setAccessibleDescription(reason);
    update();
}

void DatePicker::changedByPerson()
{
    userChanged = true;
    if (!std::exchange(reason, {}).isEmpty())
        showReason();
    emit edited();
}

void DatePicker::pasteDate()
{
    // A whole date on the clipboard (one that does not exist included)
    // replaces the box's date wherever the cursor is, and is taken at once,
    // as is any pasted text that replaced all of the box's; other text goes
    // in where the cursor is ("23" over the selected day).
    const QString pasted = QGuiApplication::clipboard()->text().trimmed();
    if (read(pasted).date != std::chrono::year_month_day{})
        selectAll();
    if (pasted.isEmpty() && !hasSelectedText())
        return;
    insert(pasted);
    if (text() == pasted)
        acceptTypedText();
}

void DatePicker::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (reason.isEmpty())
        return;
    // A red frame around the box: its text is no date.
    QPainter painter(this);
    painter.setPen(QPen(warningColour(palette().color(QPalette::Base)), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1)); // the pen's middle, 1 in
}

QSize DatePicker::sizeHint() const
{
    // Room for the widest date and the calendar's button, a square as high
    // as the box, not for the seventeen characters of a line edit.
    const QSize hint = QLineEdit::sizeHint();
    const QMargins margins = textMargins();
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int widest =
        fontMetrics().horizontalAdvance(partsText(toYearMonthDay(QDate(2000, 12, 28))));
    const QSize text(widest + margins.left() + margins.right() + hint.height(), hint.height());
    return {style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this).width(),
            hint.height()};
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    // Left, the box takes what was typed; not for its own context menu,
    // whose entries work on the text as typed (the calendar takes it as it
    // opens).
    if (event->reason() != Qt::PopupFocusReason)
        acceptTypedText();
    QLineEdit::focusOutEvent(event);
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // The desktop's keys for a date picker's calendar.
    if (((key == Qt::Key_Down || key == Qt::Key_Up) && modifiers == Qt::AltModifier) ||
        (key == Qt::Key_F4 && modifiers == Qt::NoModifier)) {
        showCalendar();
        event->accept();
        return;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && modifiers == Qt::NoModifier) {
        step(key == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteDate();
        event->accept();
        return;
    }
    // Enter takes the date typed before the window computes the key (the
    // line edit passes Enter on).
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        acceptTypedText();
    QLineEdit::keyPressEvent(event);
}

void DatePicker::step(int steps)
{
    // The part the cursor is in, or just after, moves: the year, the month,
    // else the day; a day moved past its month's end goes on into the next.
    acceptTypedText();
    if (!reason.isEmpty())
        return;
    const QString format = displayFormat();
    const auto within = [this, &format](const QString& part) {
        const qsizetype at = format.indexOf(part);
        return !format.contains(u'\'') && at >= 0 && cursorPosition() >= at &&
               cursorPosition() <= at + part.size();
    };
    const QDate moved = within(u"yyyy"_s) ? held.addYears(steps)
                        : within(u"MM"_s) ? held.addMonths(steps)
                                          : held.addDays(steps);
    if (!moved.isValid() || !curp::kBirthYears.Contains(std::chrono::year{moved.year()}))
        return;
    const int cursor = cursorPosition();
    setDate(moved);
    setCursorPosition(cursor);
    changedByPerson();
}

void DatePicker::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu's Paste pastes as Ctrl+V does. Its entry is known by the
    // words the line edit gives it, in the language it shows.
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* entry : menu->actions()) {
        if (entry->text().section(u'\t', 0, 0) == paste) {
            disconnect(entry, &QAction::triggered, nullptr, nullptr);
            connect(entry, &QAction::triggered, this, &DatePicker::pasteDate);
        }
    }
    menu->popup(event->globalPos());
}

void DatePicker::makeCalendar()
{
    // Made the first time it is asked for: a window of its own that closes
    // on Escape or a click elsewhere, as a list's entries do.
    calendar = new QCalendarWidget(this);
    calendar->setWindowFlag(Qt::Popup);
    calendar->setDateRange(QDate(int(curp::kBirthYears.first), 1, 1),
                           QDate(int(curp::kBirthYears.last), 12, 31));
    makeWeekendsReadable(calendar);
    connect(calendar, &QCalendarWidget::clicked, this, &DatePicker::pick);
    connect(calendar, &QCalendarWidget::activated, this, &DatePicker::pick);
    // Qt leaves the calendar and its month arrows without names, which a
    // screen reader can only call "button".
    calendar->setAccessibleName(u"Calendario"_s);
    for (const auto& [arrow, name] : {std::pair{"qt_calendar_prevmonth", u"Mes anterior"_s},
                                      std::pair{"qt_calendar_nextmonth", u"Mes siguiente"_s}}) {
        if (auto* button = calendar->findChild<QWidget*>(QLatin1StringView(arrow)))
            button->setAccessibleName(name);
    }
}

void DatePicker::showCalendar()
{
    if (isReadOnly())
        return;
    acceptTypedText();
    if (!calendar)
        makeCalendar();
    const QDate shown = held.isValid() ? held : today();
    calendar->setSelectedDate(shown);
    calendar->setCurrentPage(shown.year(), shown.month());
    // Under the box, or above it where the screen ends below.
    const QSize size = calendar->sizeHint();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + size.height() > room.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
        at.setX(
            std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - size.width())));
    }
    calendar->setGeometry(QRect(at, size));
    calendar->setFocus();
    calendar->show();
}

void DatePicker::pick(QDate picked)
{
    // A day picked is a change, even the one the box held.
    calendar->close();
    setDate(picked);
    changedByPerson();
}
