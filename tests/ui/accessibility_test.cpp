// What a screen reader is told, read through Qt's accessibility interfaces:
// the window, each input's name in words, lists that keep their names, the
// new key announced with its explanation, the calendar's days, the link; and
// the colours of the link and the calendar on light and dark palettes.
#include "accessibility.h"
#include "announcer.h"
#include "contrast.h"
#include "date_picker.h"
#include "frm_curp.h"
#include "link_recorder.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void names_data();
    void names();
    void listsKeepTheirNames_data();
    void listsKeepTheirNames();
    void newKeyExplained();
    void keyAnnounced_data();
    void keyAnnounced();
    void calendarDaysSayTheirDates_data();
    void calendarDaysSayTheirDates();
    void linkFollowedFromKeyboard();
    void readableOnEveryPalette_data();
    void readableOnEveryPalette();

private: // NOLINT(readability-redundant-access-specifiers): ends the test slots
    QAccessibleInterface* interfaceOf(const QString& name) const
    {
        return QAccessible::queryAccessibleInterface(form->findChild<QObject*>(name));
    }

    std::unique_ptr<frm_CURP> form;
};

void AccessibilityTest::initTestCase()
{
    installAccessibility();
}

void AccessibilityTest::init()
{
    form = std::make_unique<frm_CURP>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void AccessibilityTest::cleanup()
{
    form.reset();
}

void AccessibilityTest::window()
{
    // A window named by its caption, not a nameless panel.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), u"Generación de CURP"_s);
}

void AccessibilityTest::names_data()
{
    // Each input's name is its caption in words; the captions on screen are
    // abbreviated ("A. Paterno"), which a screen reader spells out badly.
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::newRow("paternal") << u"Txt(0)"_s << u"Apellido paterno"_s << QAccessible::EditableText;
    QTest::newRow("maternal") << u"Txt(1)"_s << u"Apellido materno"_s << QAccessible::EditableText;
    QTest::newRow("given") << u"Txt(2)"_s << u"Nombre(s)"_s << QAccessible::EditableText;
    QTest::newRow("date") << u"DtP"_s << u"Fecha de nacimiento"_s << QAccessible::SpinBox;
    QTest::newRow("sex") << u"CmbSexo"_s << u"Sexo"_s << QAccessible::ComboBox;
    QTest::newRow("state") << u"CmbEnt"_s << u"Entidad de nacimiento"_s << QAccessible::ComboBox;
    QTest::newRow("result") << u"txtCURP"_s << u"CURP"_s << QAccessible::EditableText;
    QTest::newRow("button") << u"CmdCalc"_s << u"Calcular"_s << QAccessible::Button;
}

void AccessibilityTest::names()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QAccessibleInterface* input = interfaceOf(control);
    QVERIFY(input);
    QCOMPARE(input->text(QAccessible::Name), name);
    QCOMPARE(input->role(), role);
}

void AccessibilityTest::listsKeepTheirNames_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("entry");
    QTest::newRow("sex, first") << u"CmbSexo"_s << u"Sexo"_s << 0;
    QTest::newRow("sex, second") << u"CmbSexo"_s << u"Sexo"_s << 1;
    QTest::newRow("state, none") << u"CmbEnt"_s << u"Entidad de nacimiento"_s << -1;
    QTest::newRow("state, last") << u"CmbEnt"_s << u"Entidad de nacimiento"_s << 32;
}

void AccessibilityTest::listsKeepTheirNames()
{
    // The chosen entry is the list's value, and the selected entry of its
    // one child, the view of its entries.
    QFETCH(QString, list);
    QFETCH(QString, name);
    QFETCH(int, entry);
    auto* combo = form->findChild<QComboBox*>(list);
    combo->setCurrentIndex(entry);
    QAccessibleInterface* accessible = interfaceOf(list);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QCOMPARE(accessible->text(QAccessible::Value), combo->currentText());
    QCOMPARE(accessible->childCount(), 1);
    QAccessibleInterface* entries = accessible->child(0);
    QVERIFY(entries);
    QCOMPARE(accessible->indexOfChild(entries), 0);
    if (entry >= 0) {
        QAccessibleTableInterface* table = entries->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->selectedCellCount(), 1);
        QCOMPARE(table->selectedCells().first()->text(QAccessible::Name), combo->currentText());
    }
    QVERIFY(accessible->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
}

void AccessibilityTest::newKeyExplained()
{
    // After "Calcular" the result's description explains the new key. (Qt
    // sends its change events only to a running screen reader, which the
    // offscreen platform has not; screen_reader_session.sh listens for them.)
    form->findChild<QLineEdit*>(u"Txt(0)"_s)->setText(u"GOMEZ"_s);
    form->findChild<QLineEdit*>(u"Txt(1)"_s)->setText(u"DIAZ"_s);
    form->findChild<QLineEdit*>(u"Txt(2)"_s)->setText(u"JUAN"_s);
    auto* states = form->findChild<QComboBox*>(u"CmbEnt"_s);
    states->setCurrentIndex(states->findText(u"DF: DISTRITO FEDERAL"_s));
    form->findChild<QPushButton*>(u"CmdCalc"_s)->click();

    const QString description = interfaceOf(u"txtCURP"_s)->text(QAccessible::Description);
    for (const QString& word :
         {u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, u"800101: fecha"_s, u"www.gob.mx/curp"_s})
        QVERIFY2(description.contains(word), qPrintable(word));
}

void AccessibilityTest::keyAnnounced_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QString>("said");
    const QDate birth(1975, 4, 23);
    QTest::newRow("a full key, in its groups")
        << u"JUAN"_s << u"DF: DISTRITO FEDERAL"_s << birth
        << u"^CURP: G O D J, 7 5 0 4 2 3, H, D F, M Z N, 0, 0\\.$"_s;
    QTest::newRow("a short key, a character at a time, and why")
        << u"JUAN"_s << QString() << birth
        << u"^CURP: G O D J 7 5 0 4 2 3 H M Z N 0\\. .*entidad"_s;
    QTest::newRow("the window's warning, and not the library's")
        << u"JUAN"_s << u"DF: DISTRITO FEDERAL"_s << QDate(1980, 1, 1)
        << u"^CURP: [^.]*2\\. La fecha de nacimiento es la inicial .*correcta\\?$"_s;
    QTest::newRow("a key that cannot be the registry's")
        << u"JUAN A."_s << u"DF: DISTRITO FEDERAL"_s << birth
        << u"^CURP: .* Esta clave no puede ser la CURP del registro\\. .*abreviado"_s;
    QTest::newRow("no key") << QString() << u"DF: DISTRITO FEDERAL"_s << birth
                            << u"^Sin CURP\\. .*nombre"_s;
}

void AccessibilityTest::keyAnnounced()
{
    // What the announcer says after "Calcular", where Orca reads it.
    QFETCH(QString, given);
    QFETCH(QString, state);
    QFETCH(QDate, birth);
    QFETCH(QString, said);
    form->findChild<QLineEdit*>(u"Txt(0)"_s)->setText(u"GOMEZ"_s);
    form->findChild<QLineEdit*>(u"Txt(1)"_s)->setText(u"DIAZ"_s);
    form->findChild<QLineEdit*>(u"Txt(2)"_s)->setText(given);
    form->findChild<DatePicker*>(u"DtP"_s)->setDate(birth);
    auto* states = form->findChild<QComboBox*>(u"CmbEnt"_s);
    states->setCurrentIndex(states->findText(state));
    for (int press = 0; press < 2; ++press)
        form->findChild<QPushButton*>(u"CmdCalc"_s)->click();
    auto* announcer = form->findChild<Announcer*>();
    QVERIFY(announcer && announcer->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->role(), QAccessible::Notification);
    QVERIFY2(announcer->accessibleName().contains(QRegularExpression(said)),
             qPrintable(announcer->accessibleName()));
}

void AccessibilityTest::calendarDaysSayTheirDates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::newRow("in the first week shown") << QDate(1980, 1, 1);
    QTest::newRow("in the middle") << QDate(1975, 4, 23);
    QTest::newRow("on a month's last day") << QDate(2024, 3, 31);
    QTest::newRow("in a month of four weeks") << QDate(2015, 2, 28);
}

void AccessibilityTest::calendarDaysSayTheirDates()
{
    // The chosen day, and the days of its column in every week shown, from
    // the month before to the month after, say their whole date.
    QFETCH(QDate, date);
    auto* picker = form->findChild<DatePicker*>(u"DtP"_s);
    picker->setDate(date);
    picker->showCalendar();
    auto* view = picker->calendarWidget()->findChild<QTableView*>();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(view);
    QCOMPARE(grid->text(QAccessible::Name), u"Calendario"_s);
    const QModelIndex current = view->currentIndex();
    const int firstWeek = view->model()->rowCount() - 6;
    for (int row = firstWeek; row < view->model()->rowCount(); ++row) {
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(row, current.column());
        QCOMPARE(grid->child(grid->indexOfChild(cell)), cell);
        QCOMPARE(cell->text(QAccessible::Name),
                 view->locale().toString(date.addDays(7LL * (row - current.row())),
                                         QLocale::LongFormat));
    }
    picker->calendarWidget()->window()->close();
}

void AccessibilityTest::linkFollowedFromKeyboard()
{
    // The link is a link a screen reader can follow, and the window's
    // context menu (the menu key where a control has no menu of its own)
    // opens it too.
    LinkRecorder recorder;
    QDesktopServices::setUrlHandler(u"https"_s, &recorder, "open");
    QAccessibleInterface* link = interfaceOf(u"lblweb"_s);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), frm_CURP::webText());
    link->actionInterface()->doAction(u"jump"_s);
    auto* button = form->findChild<QPushButton*>(u"CmdCalc"_s);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), button->mapToGlobal(QPoint()));
    QApplication::sendEvent(button, &menuKey);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    menu->findChild<QAction*>(u"open-web"_s)->trigger();
    menu->close();
    QDesktopServices::unsetUrlHandler(u"https"_s);
    QCOMPARE(recorder.opened, QList<QUrl>(2, QUrl(frm_CURP::webAddress())));
    // The other unnamed parts.
    QCOMPARE(interfaceOf(u"Line1"_s)->role(), QAccessible::Separator);
    QCOMPARE(interfaceOf(u"Image1"_s)->text(QAccessible::Name), u"Logotipo de Llave"_s);
}

void AccessibilityTest::readableOnEveryPalette_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("link");
    QTest::newRow("light") << QColor(0xef, 0xef, 0xef) << QColor(Qt::black)
                           << QColor(0x00, 0x00, 0xff);
    QTest::newRow("dark, dark link colour")
        << QColor(0x22, 0x20, 0x20) << QColor(0xee, 0xee, 0xee) << QColor(0x2a, 0x82, 0xda);
    QTest::newRow("dark, bright link colour")
        << QColor(0x35, 0x35, 0x35) << QColor(Qt::white) << QColor(0x8a, 0xb4, 0xf8);
}

void AccessibilityTest::readableOnEveryPalette()
{
    // Measured on what is drawn: the colour written into the link, and the
    // colours the calendar's model gives its weekend's day names and days.
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(QColor, link);
    QPalette palette(text, window, window.lighter(130), window.darker(130), window.darker(110),
                     text, text, window.darker(115), window);
    palette.setColor(QPalette::AlternateBase, window.lighter(110));
    palette.setColor(QPalette::Link, link);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    form = std::make_unique<frm_CURP>();

    const QString drawn = form->findChild<QLabel*>(u"lblweb"_s)->text();
    const QColor linkColour(
        QRegularExpression(u"color: (#[0-9a-f]{6})"_s).match(drawn).captured(1));
    QVERIFY2(contrastRatio(linkColour, window) >= 4.5, qPrintable(linkColour.name()));
    if (window.lightness() > 128)
        QCOMPARE(linkColour, QColor(0, 0, 128));

    auto* picker = form->findChild<DatePicker*>(u"DtP"_s);
    picker->showCalendar();
    const QAbstractItemModel* days = picker->calendarWidget()->findChild<QTableView*>()->model();
    int weekendCells = 0;
    for (int row = 0; row < days->rowCount(); ++row) {
        for (int column = 0; column < days->columnCount(); ++column) {
            const QModelIndex cell = days->index(row, column);
            const auto foreground = cell.data(Qt::ForegroundRole).value<QColor>();
            // The weekend's colour is the one that is neither the text's nor
            // that of the days of other months.
            if (foreground == palette.color(QPalette::Active, QPalette::Text) ||
                foreground == palette.color(QPalette::Disabled, QPalette::Text))
                continue;
            ++weekendCells;
            const auto background = cell.data(Qt::BackgroundRole).value<QColor>();
            QVERIFY2(contrastRatio(foreground, background) >= 3, qPrintable(foreground.name()));
        }
    }
    QVERIFY(weekendCells >= 2 * 5);
    picker->calendarWidget()->window()->close();
    form.reset();
    QApplication::setPalette(before);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
