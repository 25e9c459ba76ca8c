// The date box: a line edit that the library's date reader reads, with a
// calendar under it. Whatever date is typed or pasted is read when the box
// takes it (on leaving, on Enter, before the calendar opens); a year typed
// with two digits means the latest such year, and a text that gives no date
// stays as typed, framed red with the reason. Up and Down move the part of
// the date the cursor is in, as in a spin box.
#ifndef LLAVE_DATE_PICKER_H
#define LLAVE_DATE_PICKER_H

#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <curp/dates.h>

#include <chrono>
#include <functional>

class QCalendarWidget;
class QContextMenuEvent;
class QFocusEvent;
class QKeyEvent;
class QPaintEvent;

// The date as the library takes it.
std::chrono::year_month_day toYearMonthDay(QDate date);

class DatePicker final : public QLineEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DatePicker)

    // The locale's short date format with day and month as two digits and
    // the year as four ("M/d/yy" gives "MM/dd/yyyy"), in the locale's order.
    // A blank between two parts becomes "/".
    static QString displayFormatFor(const QLocale& locale);
    // The format the box shows its date in: that of the locale set on it,
    // else the desktop's order of day, month and year.
    QString displayFormat() const;

    // Where the box learns today's date, for the years typed with two digits;
    // by default the system's clock.
    void setToday(std::function<QDate()> today);
    QDate todaysDate() const
    {
        return today();
    }

    // The date the box holds, shown in full; invalid while its text gives
    // none (problem() says why). Setting it is no change by the person.
    QDate date() const
    {
        return reason.isEmpty() ? held : QDate();
    }
    void setDate(QDate date);

    // Why the text typed or pasted gives no date, as "31/04/1990 no existe:
    // abril tiene 30 días"; empty when the box holds a date. The box then
    // keeps the text, has a red frame and the reason as its tooltip and
    // accessible description, until the person changes the text.
    QString problem() const
    {
        return reason;
    }

    // The date as the library reads it from the box: the text that gave no
    // date while problem() says why, else the date it holds (AAAA-MM-DD); and
    // the order of day and month in the box's text.
    QString textToRead() const;
    curp::DateOrder textOrder() const;
    // True once the person has typed, pasted or picked a date here.
    bool changedByUser() const
    {
        return userChanged;
    }

    // Reads what was typed and makes it the box's date, shown in full: a
    // year of one or two digits is completed (see curp::ReadDate). Text that
    // gives no date in the box's range stays, and sets problem().
    void acceptTypedText();

    // Opens the calendar under the box, on the box's date, as its button
    // does; Enter or a click there picks a day, Escape closes it unchanged.
    void showCalendar();
    // The calendar, once it has been opened.
    QCalendarWidget* calendarWidget() const
    {
        return calendar;
    }

signals:
    // The person typed, pasted (a refused paste too), stepped or picked.
    void edited();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    curp::DateReading read(QStringView text) const;
    // The day, month and year of a reading in the box's format, even when
    // they make no date; empty when the text held none.
    QString partsText(const std::chrono::year_month_day& date) const;
    // Up and Down: the date a day, a month or a year on or back.
    void step(int steps);
    void pasteDate();
    void changedByPerson();
    void showReason();
    void makeCalendar();
    void pick(QDate picked);

    std::function<QDate()> today = &QDate::currentDate;
    QDate held;     // the last date the box took
    QString reason; // why its text gives no date, once taken
    bool userChanged = false;
    QCalendarWidget* calendar = nullptr; // made when first opened, a child of the box
};

#endif // LLAVE_DATE_PICKER_H
