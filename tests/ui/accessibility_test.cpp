// What a screen reader is told, read through Qt's accessibility interfaces:
// the window, each input's name in words, lists that keep their names, and
// the new key announced with its explanation.
#include "accessibility.h"
#include "frm_curp.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
