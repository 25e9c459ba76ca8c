// The date box: its format in the user's locale, typing a date, and moving
// between its parts and out of it from the keyboard.
#include "date_picker.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

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
    void arrowsMoveBetweenParts();
    void oneTabLeaves_data();
    void oneTabLeaves();

private: // NOLINT(readability-redundant-access-specifiers): ends the test slots
    void tabIntoDate();

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

QTEST_MAIN(DatePickerTest)
#include "date_picker_test.moc"
