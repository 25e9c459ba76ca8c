// A date box that behaves like the desktop's date picker: one Tab leaves it,
// the arrow keys and the separator move between day, month and year, a year
// typed with two digits means the latest such year, a whole date can be
// pasted, and the calendar opens from the keyboard.
#ifndef LLAVE_DATE_PICKER_H
#define LLAVE_DATE_PICKER_H

#include <QDate>
#include <QDateEdit>
#include <QLocale>
#include <QRect>
#include <QString>
#include <QStringView>

#include <functional>

class QContextMenuEvent;
class QEvent;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;

class DatePicker final : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DatePicker)

    // The locale's short date format with day and month as two digits and
    // the year as four ("M/d/yy" gives "MM/dd/yyyy"), in the locale's order.
    // A blank between two parts becomes "/".
    static QString displayFormatFor(const QLocale& locale);

    // The year meant by a year typed with `digits` digits: one or two digits
    // give the latest year with those last digits that is not after
    // `currentYear` (in 2026, "75" is 1975, "05" 2005, "26" 2026, "30" 1930);
    // three or four digits are the year as typed.
    static int fullYear(int typed, int digits, int currentYear);

    // The date a text holds: three groups of digits, separated by anything
    // else, in the order of `format` ("dd/MM/yyyy", "MM/dd/yyyy", ...), or year
    // first when the first group has four digits ("1975-04-23"); eight digits
    // in a row are read in the order of `format`. A year of one or two digits
    // is completed with fullYear against `today`'s year. A day the month does
    // not have becomes its last day (29/02/2023 gives 28 February). Invalid
    // when the text holds no such date.
    static QDate dateFromText(QStringView text, QStringView format, QDate today);

    // Where the box learns today's date, for the years typed with two digits;
    // by default the system's clock.
    void setToday(std::function<QDate()> today);

    // Makes what was typed the box's date and shows it in full: a year of one
    // or two digits is completed (see fullYear). Text that gives no date in
    // the box's range leaves the date it held before, and the box shows that
    // again. The box does this itself when it is left, on Enter and before
    // its calendar opens.
    void acceptTypedText();

    // Opens the calendar under the box, as a click on its button does.
    void showCalendar();

protected:
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QValidator::State validate(QString& input, int& pos) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveSection(int step);
    void selectSection(int index);
    QRect calendarButton() const;
    QDate pastedDate(const QString& input) const;
    void watchCalendar();

    std::function<QDate()> today = &QDate::currentDate;

    // The last key typed completed a part, and the box moved on by itself; a
    // separator typed right after it must not skip the next part as well.
    bool movedOnByItself = false;

    // The date when the calendar opened: the calendar changes the box's date
    // as its arrows move, and Escape must give this back.
    QDate beforeCalendar;

    // A paste is under way (Ctrl+V, Shift+Insert, or the context menu is
    // open): a whole date on the clipboard replaces the box's date.
    bool pasting = false;
};

#endif // LLAVE_DATE_PICKER_H
