// The date box: its format in the user's locale, typing and pasting a date,
// years typed short, moving between its parts and out of it from the
// keyboard, and its calendar.
#include "date_picker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

class DatePickerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void displayFormat_data();
    void displayFormat();
    void typing_data();
    void typing();
    void shortYearTakenHoweverLeft_data();
    void shortYearTakenHoweverLeft();
    void arrowsMoveBetweenParts();
    void oneTabLeaves_data();
    void oneTabLeaves();
    void backtabLandsOnFirstPart_data();
    void backtabLandsOnFirstPart();
    void calendarFromKeyboard_data();
    void calendarFromKeyboard();
    void calendarOpensOnTypedDate();
    void pasting_data();
    void pasting();

private: // NOLINT(readability-redundant-access-specifiers): ends the test slots
    void tabIntoDate();
    QLineEdit* text() const
    {
        return picker->findChild<QLineEdit*>();
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* before = nullptr;
    DatePicker* picker = nullptr;
    QLineEdit* after = nullptr;
};

void DatePickerTest::init()
{
    // Three boxes in a row, in tab order: the date between two others.
    window = std::make_unique<QWidget>();
    before = new QLineEdit(window.get());
    picker = new DatePicker(window.get());
    picker->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 31));
    picker->setDate(QDate(1980, 1, 1));
    picker->setCalendarPopup(true);
    // Two-digit years are read against a fixed today, as in April 2026.
    picker->setToday([] { return QDate(2026, 4, 15); });
    after = new QLineEdit(window.get());
    before->setGeometry(0, 0, 120, 24);
    picker->setGeometry(0, 30, 120, 24);
    after->setGeometry(0, 60, 120, 24);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    before->setFocus();
}

void DatePickerTest::cleanup()
{
    window.reset();
}

void DatePickerTest::tabIntoDate()
{
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), picker);
}

void DatePickerTest::displayFormat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("format");
    QTest::newRow("C: day month year, blanks become slashes") << u"C"_s << u"dd/MM/yyyy"_s;
    QTest::newRow("Mexico: two-digit year made four") << u"es_MX"_s << u"dd/MM/yyyy"_s;
    QTest::newRow("United States: month first") << u"en_US"_s << u"MM/dd/yyyy"_s;
    QTest::newRow("Germany: dots") << u"de_DE"_s << u"dd.MM.yyyy"_s;
    QTest::newRow("Japan: year first") << u"ja_JP"_s << u"yyyy/MM/dd"_s;
    QTest::newRow("Korea: separators with blanks kept") << u"ko_KR"_s << u"yyyy. MM. dd."_s;
}

void DatePickerTest::displayFormat()
{
    QFETCH(QString, locale);
    QFETCH(QString, format);
    QCOMPARE(DatePicker::displayFormatFor(QLocale(locale)), format);
}

void DatePickerTest::typing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    const QDate april23(1975, 4, 23);
    QTest::newRow("full parts move on by themselves")
        << u"dd/MM/yyyy"_s << u"23041975"_s << april23;
    QTest::newRow("separator after a full part") << u"dd/MM/yyyy"_s << u"23/04/1975"_s << april23;
    QTest::newRow("separator after a short part") << u"dd/MM/yyyy"_s << u"23/4/1975"_s << april23;
    QTest::newRow("another separator") << u"dd/MM/yyyy"_s << u"23.4.1975"_s << april23;
    QTest::newRow("blank as separator") << u"dd/MM/yyyy"_s << u"23 4 1975"_s << april23;
    QTest::newRow("one-digit day and month")
        << u"dd/MM/yyyy"_s << u"1/1/2005"_s << QDate(2005, 1, 1);
    QTest::newRow("month first") << u"MM/dd/yyyy"_s << u"4/23/1975"_s << april23;
    QTest::newRow("year first") << u"yyyy/MM/dd"_s << u"1975/04/23"_s << april23;
    QTest::newRow("dots") << u"dd.MM.yyyy"_s << u"23.04.1975"_s << april23;
    QTest::newRow("two-digit year") << u"dd/MM/yyyy"_s << u"23/04/75"_s << april23;
    QTest::newRow("short day, month and year")
        << u"dd/MM/yyyy"_s << u"3/4/75"_s << QDate(1975, 4, 3);
    QTest::newRow("two-digit year with leading zero")
        << u"dd/MM/yyyy"_s << u"23/04/05"_s << QDate(2005, 4, 23);
    QTest::newRow("two-digit year below the range's digits")
        << u"dd/MM/yyyy"_s << u"23/04/12"_s << QDate(2012, 4, 23);
    QTest::newRow("two-digit year after this year")
        << u"dd/MM/yyyy"_s << u"23/04/30"_s << QDate(1930, 4, 23);
    QTest::newRow("one-digit year") << u"dd/MM/yyyy"_s << u"23/04/5"_s << QDate(2025, 4, 23);
    QTest::newRow("month first, two-digit year") << u"MM/dd/yyyy"_s << u"04/23/75"_s << april23;
    QTest::newRow("year first, two-digit year") << u"yyyy/MM/dd"_s << u"75/04/23"_s << april23;
    QTest::newRow("year first in a day-first box") << u"dd/MM/yyyy"_s << u"1975-04-23"_s << april23;
    QTest::newRow("month name") << u"dd/MM/yyyy"_s << u"23 abr 75"_s << april23;
}

void DatePickerTest::typing()
{
    QFETCH(QString, format);
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    picker->setDisplayFormat(format);
    tabIntoDate();
    QTest::keyClicks(picker, typed);
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(picker->date(), date);
    // The box shows the date it holds, the year in full.
    QCOMPARE(text()->text(), QLocale().toString(date, format));
}

void DatePickerTest::shortYearTakenHoweverLeft_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Tab") << u"tab"_s;
    QTest::newRow("Shift+Tab") << u"backtab"_s;
    QTest::newRow("click elsewhere") << u"click"_s;
    QTest::newRow("Enter") << u"enter"_s;
    QTest::newRow("keypad Enter") << u"keypad enter"_s;
    QTest::newRow("asked before the date is read") << u"accept"_s;
    QTest::newRow("calendar opened") << u"calendar"_s;
}

void DatePickerTest::shortYearTakenHoweverLeft()
{
    QFETCH(QString, how);
    tabIntoDate();
    QTest::keyClicks(picker, u"23/04/75"_s);
    if (how == u"tab"_s)
        QTest::keyClick(picker, Qt::Key_Tab);
    else if (how == u"backtab"_s)
        QTest::keyClick(picker, Qt::Key_Backtab);
    else if (how == u"click"_s)
        QTest::mouseClick(after, Qt::LeftButton);
    else if (how == u"enter"_s)
        QTest::keyClick(picker, Qt::Key_Return);
    else if (how == u"keypad enter"_s)
        QTest::keyClick(picker, Qt::Key_Enter, Qt::KeypadModifier);
    else if (how == u"accept"_s)
        picker->acceptTypedText();
    else
        QTest::keyClick(picker, Qt::Key_F4);
    QCOMPARE(picker->date(), QDate(1975, 4, 23));
    QCOMPARE(text()->text(), u"23/04/1975"_s);
    if (how == u"calendar"_s) {
        QVERIFY(picker->calendarWidget()->isVisible());
        QCOMPARE(picker->calendarWidget()->selectedDate(), QDate(1975, 4, 23));
    }
}

void DatePickerTest::arrowsMoveBetweenParts()
{
    picker->setDisplayFormat(u"dd/MM/yyyy"_s);
    tabIntoDate();
    QCOMPARE(picker->currentSection(), QDateTimeEdit::DaySection);
    const std::pair<Qt::Key, QDateTimeEdit::Section> steps[] = {
        {Qt::Key_Right, QDateTimeEdit::MonthSection}, {Qt::Key_Right, QDateTimeEdit::YearSection},
        {Qt::Key_Right, QDateTimeEdit::YearSection},  {Qt::Key_Left, QDateTimeEdit::MonthSection},
        {Qt::Key_Left, QDateTimeEdit::DaySection},    {Qt::Key_Left, QDateTimeEdit::DaySection},
    };
    for (const auto& [key, section] : steps) {
        QTest::keyClick(picker, key);
        QCOMPARE(picker->currentSection(), section);
    }
    // A part reached with an arrow is selected: typing replaces it.
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClicks(picker, u"07"_s);
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(picker->date(), QDate(1980, 7, 1));
}

void DatePickerTest::oneTabLeaves_data()
{
    QTest::addColumn<int>("rightPresses");
    QTest::newRow("from the first part") << 0;
    QTest::newRow("from the middle part") << 1;
    QTest::newRow("from the last part") << 2;
}

void DatePickerTest::oneTabLeaves()
{
    QFETCH(int, rightPresses);
    tabIntoDate();
    for (int i = 0; i < rightPresses; ++i)
        QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);

    QTest::keyClick(after, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), picker);
    QTest::keyClick(picker, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), before);
}

void DatePickerTest::backtabLandsOnFirstPart_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDateTimeEdit::Section>("first");
    QTest::newRow("day first") << u"dd/MM/yyyy"_s << u"23041975"_s << QDateTimeEdit::DaySection;
    QTest::newRow("month first") << u"MM/dd/yyyy"_s << u"04231975"_s << QDateTimeEdit::MonthSection;
    QTest::newRow("year first") << u"yyyy/MM/dd"_s << u"19750423"_s << QDateTimeEdit::YearSection;
}

void DatePickerTest::backtabLandsOnFirstPart()
{
    QFETCH(QString, format);
    QFETCH(QString, typed);
    QFETCH(QDateTimeEdit::Section, first);
    picker->setDisplayFormat(format);
    after->setFocus();
    QTest::keyClick(after, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), picker);
    QCOMPARE(picker->currentSection(), first);
    QTest::keyClicks(picker, typed);
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(picker->date(), QDate(1975, 4, 23));
    QCOMPARE(QApplication::focusWidget(), after);
}

void DatePickerTest::calendarFromKeyboard_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Qt::Key>("closeWith");
    QTest::addColumn<QDate>("date");
    const QDate start(1980, 1, 1);
    const QDate nextDay(1980, 1, 2);
    const QDate nextWeek(1980, 1, 8);
    const auto alt = Qt::KeyboardModifiers(Qt::AltModifier);
    const auto none = Qt::KeyboardModifiers();
    QTest::newRow("Alt+Down, Right, Enter picks the next day")
        << Qt::Key_Down << alt << Qt::Key_Return << nextDay;
    QTest::newRow("Alt+Up, Right, Enter picks the next day")
        << Qt::Key_Up << alt << Qt::Key_Return << nextDay;
    QTest::newRow("F4, Right, Enter picks the next day")
        << Qt::Key_F4 << none << Qt::Key_Return << nextDay;
    QTest::newRow("Alt+Down, Right, Escape changes nothing")
        << Qt::Key_Down << alt << Qt::Key_Escape << start;
    QTest::newRow("F4, Right, Escape changes nothing")
        << Qt::Key_F4 << none << Qt::Key_Escape << start;
    QTest::newRow("Down moves a week") << Qt::Key_F4 << none << Qt::Key_Down << nextWeek;
}

void DatePickerTest::calendarFromKeyboard()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Qt::Key, closeWith);
    QFETCH(QDate, date);
    tabIntoDate();
    QTest::keyClick(picker, key, modifiers);
    // Opening the calendar changes nothing by itself.
    QCOMPARE(picker->date(), QDate(1980, 1, 1));
    QCalendarWidget* calendar = picker->calendarWidget();
    QVERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(1980, 1, 1));
    QWidget* inCalendar = QApplication::focusWidget();
    QVERIFY(calendar->isAncestorOf(inCalendar));
    if (closeWith == Qt::Key_Down) {
        QTest::keyClick(inCalendar, Qt::Key_Down);
        QTest::keyClick(inCalendar, Qt::Key_Return);
    } else {
        QTest::keyClick(inCalendar, Qt::Key_Right);
        QTest::keyClick(inCalendar, closeWith);
    }
    QVERIFY(!calendar->isVisible());
    QCOMPARE(picker->date(), date);
    QCOMPARE(QApplication::focusWidget(), picker);
}

void DatePickerTest::calendarOpensOnTypedDate()
{
    // A click on the button, after a date typed with a short year.
    tabIntoDate();
    QTest::keyClicks(picker, u"23/04/75"_s);
    QStyleOptionComboBox option;
    option.initFrom(picker);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect button = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxArrow, picker);
    QTest::mousePress(picker, Qt::LeftButton, {}, button.center());
    QVERIFY(picker->calendarWidget()->isVisible());
    QCOMPARE(picker->calendarWidget()->selectedDate(), QDate(1975, 4, 23));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(picker->date(), QDate(1975, 4, 23));
}

void DatePickerTest::pasting_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QDate>("date");
    const QDate april23(1975, 4, 23);
    QTest::newRow("Ctrl+V on the day, slashes")
        << u"23/04/1975"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("dashes") << u"23-04-1975"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("dots, one-digit month") << u"23.4.1975"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("year first") << u"1975-04-23"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("two-digit year") << u"23/04/75"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("with a line break") << u"23/04/1975\n"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("cursor in the month") << u"23/04/1975"_s << u"ctrl+v"_s << u"month"_s << april23;
    QTest::newRow("cursor at the end") << u"23/04/1975"_s << u"ctrl+v"_s << u"end"_s << april23;
    QTest::newRow("all selected") << u"23-04-1975"_s << u"ctrl+v"_s << u"all"_s << april23;
    QTest::newRow("Shift+Insert") << u"23/04/1975"_s << u"shift+insert"_s << u"day"_s << april23;
    QTest::newRow("context menu") << u"23/04/1975"_s << u"menu"_s << u"day"_s << april23;
    QTest::newRow("not a date") << u"hola"_s << u"ctrl+v"_s << u"day"_s << QDate();
    QTest::newRow("not a date, from the menu") << u"hola"_s << u"menu"_s << u"day"_s << QDate();
    QTest::newRow("month name") << u"23 de Abril de 1975"_s << u"ctrl+v"_s << u"day"_s << april23;
    QTest::newRow("a number into the selected part")
        << u"23"_s << u"ctrl+v"_s << u"day"_s << QDate(1980, 1, 23);
}

void DatePickerTest::pasting()
{
    const QDate unchanged(1980, 1, 1);
    QFETCH(QString, clipboard);
    QFETCH(QString, how);
    QFETCH(QString, where);
    QFETCH(QDate, date);
    QApplication::clipboard()->setText(clipboard);
    tabIntoDate();
    if (where == u"month"_s) {
        QTest::keyClick(picker, Qt::Key_Right);
    } else if (where == u"end"_s) {
        text()->end(false);
    } else if (where == u"all"_s) {
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
    }
    if (how == u"ctrl+v"_s) {
        QTest::keyClick(picker, Qt::Key_V, Qt::ControlModifier);
    } else if (how == u"shift+insert"_s) {
        QTest::keyClick(picker, Qt::Key_Insert, Qt::ShiftModifier);
    } else {
        // The menu's Paste, chosen once the menu is open.
        bool pasted = false;
        QTimer::singleShot(0, this, [&pasted] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            const QList<QAction*> actions = menu->actions();
            const auto paste = std::find_if(actions.cbegin(), actions.cend(), [](QAction* a) {
                return a->text().startsWith(u"&Paste"_s);
            });
            if (paste != actions.cend()) {
                (*paste)->trigger();
                pasted = true;
            }
            menu->close();
        });
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                  picker->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(picker, &menuKey);
        QVERIFY(pasted);
    }
    QCOMPARE(picker->date(), date.isValid() ? date : unchanged);
    QCOMPARE(text()->text(),
             date.isValid() ? QLocale().toString(date, picker->displayFormat()) : clipboard);
    QCOMPARE(picker->problem().isEmpty(), date.isValid());
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(picker->date(), date.isValid() ? date : unchanged);
}

QTEST_MAIN(DatePickerTest)
#include "date_picker_test.moc"
