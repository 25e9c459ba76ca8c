// The result box after "Calcular": the explanation and warnings it carries,
// its colour, its context menu (in Spanish, with the bare key to copy) and
// "¿Qué es esto?" from the keyboard.
#include "frm_curp.h"
#include "key_box.h"
#include "qt_translations.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QWhatsThis>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

class KeyBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void explanation_data();
    void explanation();
    void markupInNamesStaysText();
    void longNamesShortened();
    void warningColourReadable_data();
    void warningColourReadable();
    void copyWithoutDashes_data();
    void copyWithoutDashes();
    void ctrlCCopiesSelection();
    void whatsThisFromKeyboard();
    void menusInSpanish_data();
    void menusInSpanish();

private: // NOLINT(readability-redundant-access-specifiers): ends the test slots
    KeyBox* result() const
    {
        return form->findChild<KeyBox*>(u"txtCURP"_s);
    }
    void calculate(const QString& ap, const QString& am, const QString& nm, QDate date,
                   const QString& state = u"DF: DISTRITO FEDERAL"_s);
    std::unique_ptr<QMenu> contextMenu() const
    {
        return std::unique_ptr<QMenu>(result()->createContextMenu());
    }

    std::unique_ptr<frm_CURP> form;
};

void KeyBoxTest::init()
{
    form = std::make_unique<frm_CURP>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void KeyBoxTest::cleanup()
{
    form.reset();
}

void KeyBoxTest::calculate(const QString& ap, const QString& am, const QString& nm, QDate date,
                           const QString& state)
{
    form->findChild<QLineEdit*>(u"Txt(0)"_s)->setText(ap);
    form->findChild<QLineEdit*>(u"Txt(1)"_s)->setText(am);
    form->findChild<QLineEdit*>(u"Txt(2)"_s)->setText(nm);
    form->findChild<QDateEdit*>(u"DtP"_s)->setDate(date);
    auto* states = form->findChild<QComboBox*>(u"CmbEnt"_s);
    states->setCurrentIndex(state.isEmpty() ? -1 : states->findText(state));
    form->findChild<QPushButton*>(u"CmdCalc"_s)->click();
}

void KeyBoxTest::explanation_data()
{
    // The names as typed (the boxes upper-case typing, not setText), and
    // lines the explanation must hold. Every explanation ends by sending the
    // person to the registry's page.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QDate>("born");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("doubtful");
    const QDate in1980(1980, 1, 2);
    const QString df = u"DF: DISTRITO FEDERAL"_s;
    QTest::newRow("typical")
        << QStringList{u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s} << in1980 << df
        << QStringList{u"GO: G y O de GOMEZ (inicial y primera vocal interna)."_s,
                       u"D: inicial de DIAZ."_s,
                       u"J: inicial de JUAN."_s,
                       u"800102: fecha de nacimiento con año, mes y día (aammdd)."_s,
                       u"H: hombre (Masculino)."_s,
                       u"DF: entidad de nacimiento (DISTRITO FEDERAL)."_s,
                       u"MZN: primera consonante interna de GOMEZ, DIAZ y JUAN."_s,
                       u"0: el que el registro asigna primero a quien nació antes de 2000 "
                       u"(diferenciador, primer carácter de la homoclave)."_s,
                       u"3: dígito verificador (segundo carácter de la homoclave)."_s}
        << false;
    // Accents and births from 2000 were doubtful: accents are now read as
    // letters, and position 17 is "A" from 2000.
    QTest::newRow("accents") << QStringList{u"GÓMEZ"_s, u"DÍAZ"_s, u"JUAN"_s} << in1980 << df
                             << QStringList{u"Ó de GÓMEZ cuenta como O, como en el registro."_s}
                             << false;
    QTest::newRow("Ñ")
        << QStringList{u"NUÑEZ"_s, u"PEÑA"_s, u"IÑIGO"_s} << in1980 << df
        << QStringList{u"X: primera consonante interna de NUÑEZ; la Ñ se escribe X."_s} << false;
    QTest::newRow("born 2005")
        << QStringList{u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s} << QDate(2005, 3, 9) << df
        << QStringList{u"050309: fecha de nacimiento con año, mes y día (aammdd)."_s,
                       u"A: la que el registro asigna primero a quien nació desde 2000 "
                       u"(diferenciador, primer carácter de la homoclave)."_s}
        << false;
    QTest::newRow("no state") << QStringList{u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s} << in1980
                              << QString() << QStringList{u"Elija la entidad de nacimiento."_s}
                              << true;
    QTest::newRow("empty result") << QStringList{QString(), QString(), QString()} << in1980 << df
                                  << QStringList{u"Sin CURP: falta el nombre."_s,
                                                 u"Sin CURP: falta al menos un apellido."_s}
                                  << true;
    QTest::newRow("inconvenient word")
        << QStringList{u"PEREZ"_s, u"DIAZ"_s, u"OSCAR"_s} << in1980 << df
        << QStringList{u"X: en lugar de E (primera vocal interna de PEREZ), porque PEDO es una "
                       u"palabra inconveniente."_s}
        << false;
}

void KeyBoxTest::explanation()
{
    QFETCH(QStringList, names);
    QFETCH(QDate, born);
    QFETCH(QString, state);
    QFETCH(QStringList, lines);
    QFETCH(bool, doubtful);
    calculate(names[0], names[1], names[2], born, state);

    // A screen reader reads the description, a mouse user the tooltip and
    // a keyboard user "¿Qué es esto?": the same lines in each.
    const QStringList described = result()->accessibleDescription().split(u'\n');
    for (const QString& line : lines)
        QVERIFY2(described.contains(line), qPrintable(line));
    QCOMPARE(described.last(), u"La homoclave (posiciones 17 y 18) la asigna el registro y puede "
                               u"ser otra; confirme la CURP en www.gob.mx/curp."_s);
    const QString html =
        Qt::convertFromPlainText(result()->accessibleDescription(), Qt::WhiteSpaceNormal);
    QCOMPARE(result()->toolTip(), html);
    QCOMPARE(result()->whatsThis(), html);

    QCOMPARE(result()->doubtful(), doubtful);
    // The box's text turns to the warning colour only for a doubtful key,
    // and a warning sign stands at its end then, so colour is not the only sign.
    const QColor windowText = form->palette().color(QPalette::Text);
    QCOMPARE(result()->palette().color(QPalette::Text) != windowText, doubtful);
    const QList<QAction*> signs = result()->actions();
    const bool signShown =
        std::any_of(signs.begin(), signs.end(), [](QAction* a) { return a->isVisible(); });
    QCOMPARE(signShown, doubtful);
}

void KeyBoxTest::markupInNamesStaysText()
{
    // A name that looks like markup is shown as typed, never as markup.
    calculate(u"<B>GOMEZ</B>"_s, u"&AMP;"_s, u"JUAN"_s, QDate(1980, 1, 1));
    QVERIFY(result()->accessibleDescription().contains(u"<B>GOMEZ</B>"_s));
    QVERIFY(result()->toolTip().contains(u"&lt;B&gt;GOMEZ&lt;/B&gt;"_s));
    QVERIFY(result()->toolTip().contains(u"&amp;AMP;"_s));
}

void KeyBoxTest::longNamesShortened()
{
    // A name pasted 100 000 characters long keeps the explanation readable:
    // its lines show the start and the end of the name, and no character
    // outside the BMP is cut in half.
    const QString given = u"JUAN"_s + u"😀"_s.repeated(50000) + u"PEDRO"_s;
    calculate(u"GOMEZ"_s, u"DIAZ"_s, given, QDate(1980, 1, 1));
    const QStringList lines = result()->accessibleDescription().split(u'\n');
    QVERIFY(lines.contains(u"GO: G y O de GOMEZ (inicial y primera vocal interna)."_s));
    for (const QString& line : lines) {
        QVERIFY2(line.size() <= 200, qPrintable(line.left(40)));
        QVERIFY(QStringView(line).toUcs4().indexOf(0xFFFD) < 0);
        QVERIFY(!line.isEmpty() && !line.back().isHighSurrogate());
    }
    QVERIFY(result()->accessibleDescription().contains(u"PEDRO"_s));
}

void KeyBoxTest::warningColourReadable_data()
{
    QTest::addColumn<QColor>("background");
    QTest::newRow("light") << QColor(Qt::white);
    QTest::newRow("dark") << QColor(0x20, 0x20, 0x20);
}

void KeyBoxTest::warningColourReadable()
{
    // WCAG's contrast ratio of the warning colour against the box's
    // background, in a light and in a dark palette, changed after the key
    // is shown as when the desktop changes its theme.
    QFETCH(QColor, background);
    calculate(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, QDate(1980, 1, 1), QString()); // no state: doubtful
    QPalette palette = form->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, background.lightness() < 128 ? Qt::white : Qt::black);
    form->setPalette(palette);
    QCOMPARE(result()->palette().color(QPalette::Base), background);

    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double a = luminance(result()->palette().color(QPalette::Text));
    const double b = luminance(background);
    const double contrast = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
    QVERIFY(result()->palette().color(QPalette::Text) != palette.color(QPalette::Text));
}

void KeyBoxTest::copyWithoutDashes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("copied");
    QTest::newRow("whole key") << QStringList{u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s}
                               << u"DF: DISTRITO FEDERAL"_s << u"GODJ800101HDFMZN02"_s;
    // Whatever the result is, without the mask's spaces and dashes.
    QTest::newRow("short key") << QStringList{u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s} << QString()
                               << u"GODJ800101HMZN0"_s;
}

void KeyBoxTest::copyWithoutDashes()
{
    QFETCH(QStringList, names);
    QFETCH(QString, state);
    QFETCH(QString, copied);
    calculate(names[0], names[1], names[2], QDate(1980, 1, 1), state);
    QApplication::clipboard()->clear();
    const std::unique_ptr<QMenu> menu = contextMenu();
    auto* copyBare = menu->findChild<QAction*>(u"copy-bare-key"_s);
    QVERIFY(copyBare);
    QCOMPARE(copyBare->text(), u"Copiar clave sin guiones"_s);
    QVERIFY(copyBare->isEnabled());
    copyBare->trigger();
    QCOMPARE(QApplication::clipboard()->text(), copied);
}

void KeyBoxTest::ctrlCCopiesSelection()
{
    // Ctrl+C keeps copying what is selected, dashes and all; with no key
    // yet, there is nothing to copy without dashes.
    QVERIFY(!contextMenu()->findChild<QAction*>(u"copy-bare-key"_s)->isEnabled());
    calculate(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, QDate(1980, 1, 1));
    result()->setFocus();
    result()->setSelection(0, 11);
    QTest::keyClick(result(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"GODJ-800101"_s);
}

void KeyBoxTest::whatsThisFromKeyboard()
{
    // Shift+F1 on the result box shows the explanation; Escape closes it.
    calculate(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, QDate(1980, 1, 1));
    result()->setFocus();
    QTest::keyClick(result(), Qt::Key_F1, Qt::ShiftModifier);
    QWidget* shown = QApplication::activePopupWidget();
    QVERIFY(shown);
    QVERIFY(shown->inherits("QWhatsThat"));
    QTest::keyClick(shown, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    // The menu offers the same, with its key.
    const std::unique_ptr<QMenu> menu = contextMenu();
    const auto* explain = menu->findChild<QAction*>(u"whats-this"_s);
    QVERIFY(explain && explain->text().startsWith(u"¿Qué es esto?\t"_s));
}

void KeyBoxTest::menusInSpanish_data()
{
    QTest::addColumn<QString>("desktop");
    for (const char* desktop : {"es_MX", "C", "en_US"})
        QTest::newRow(desktop) << QString::fromLatin1(desktop);
}

void KeyBoxTest::menusInSpanish()
{
    // Qt's entries in Spanish whatever the desktop's locale, but its date order.
    QFETCH(QString, desktop);
    QLocale::setDefault(QLocale(desktop));
    QCOMPARE(useSpanishLocale(), QLocale(desktop));
    QCOMPARE(QLocale().name(), u"es_MX"_s);
    QCOMPARE(dateOrderLocale(), QLocale(desktop));
    QVERIFY(installQtTranslations(*qApp));
    QLocale::setDefault(QLocale::c());
    calculate(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, QDate(1980, 1, 1));
    result()->selectAll();
    const std::unique_ptr<QMenu> menu = contextMenu();
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text().remove(u'&').section(u'\t', 0, 0);
    }
    QCOMPARE(texts, (QStringList{u"Copiar"_s, u"Copiar clave sin guiones"_s, u"Seleccionar todo"_s,
                                 u"¿Qué es esto?"_s}));
}

QTEST_MAIN(KeyBoxTest)
#include "key_box_test.moc"
