// A date box that behaves like the desktop's date picker: one Tab leaves it,
// the arrow keys and the separator move between day, month and year.
#ifndef LLAVE_DATE_PICKER_H
#define LLAVE_DATE_PICKER_H

#include <QDateEdit>
#include <QLocale>
#include <QString>

class QKeyEvent;

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

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void moveSection(int step);

    // The last key typed completed a part, and the box moved on by itself; a
    // separator typed right after it must not skip the next part as well.
    bool movedOnByItself = false;
};

#endif // LLAVE_DATE_PICKER_H
