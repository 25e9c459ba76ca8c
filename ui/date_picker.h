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

#include <curp/dates.h>

#include <chrono>
#include <functional>

class QContextMenuEvent;
class QEvent;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;

// The date as the library takes it.
std::chrono::year_month_day toYearMonthDay(QDate date);

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

    // Where the box learns today's date, for the years typed with two digits;
    // by default the system's clock.
    void setToday(std::function<QDate()> today);
    QDate todaysDate() const
    {
        return today();
    }

    // Why the text typed or pasted gives no date, as "31/04/1990 no existe:
    // abril tiene 30 días" or "no es una fecha: «hola»"; empty when the box
    // holds what was typed. The box
    // then keeps the text, has a red frame and the reason as its tooltip and
    // accessible description, until the person changes the date.
    QString problem() const
    {
        return typedProblem;
    }

    // The date as the library reads it from the box: the text that gave no
    // date while problem() says why, else the date it holds (AAAA-MM-DD); and
    // the order of day and month in the box's text.
    QString textToRead() const;
    curp::DateOrder textOrder() const;
    // True once the person has typed, pasted, stepped or picked a date here.
    bool changedByUser() const
    {
        return userChanged;
    }

    // Makes what was typed the box's date and shows it in full: a year of one
    // or two digits is completed (see curp::ReadDate). Text that gives no date in
    // the box's range leaves the date it held before, and sets problem(). The
    // box does this itself when it is left, on Enter and before its calendar
    // opens.
    void acceptTypedText();

    // Opens the calendar under the box, as a click on its button does.
    void showCalendar();

signals:
    // The person typed, pasted (a refused paste too), stepped or picked.
    void edited();

protected:
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveSection(int step);
    void selectSection(int index);
    QRect calendarButton() const;
    curp::DateReading read(QStringView text) const;
    // Day, month and year of a reading in the box's format, even when they
    // make no date; empty when the text held none.
    QString partsText(const curp::DateReading& reading) const;
    QValidator::State validateTyped(QString& input, int& pos) const;
    void changedByPerson();
    void keepTyped();
    bool typeWholeDate(const QKeyEvent* event);
    void showQuietly(const QString& text, bool keepSelection);
    void showProblem();
    void afterPaste(const QString& before);
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
    // Why the clipboard holds no date, learnt while validating the paste.
    mutable QString pastedProblem;
    // A whole date typed that the box would not take, until it is back.
    mutable QString unfixed;

    QString typedProblem;
    QString problemText; // the text the problem is about, as the box shows it
    bool userChanged = false;

    // The box has just got the focus: typed now, a whole date goes into it as
    // typed, and is read when the box takes it (acceptTypedText). The box's
    // parts would take "1975-04-23" as a day of 19, and make "31/04" the 30th.
    bool freshEntry = false;
    bool typingWholeDate = false;
};

#endif // LLAVE_DATE_PICKER_H
