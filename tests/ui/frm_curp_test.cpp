// The entry window, driven as a user drives it: layout, keyboard, lists,
// the key in its mask, the link, and hostile text.
#include "date_picker.h"
#include "frm_curp.h"
#include "key_box.h"
#include "key_text.h"
#include "link_recorder.h"
#include "state_catalogue.h"
#include "state_names.h"

#include <curp/calc_clave.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <memory>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Types text as key presses carrying the characters, the way a keyboard
// layout delivers them (QTest::keyClicks knows only ASCII).
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

// Makes the entry with exactly this text the list's chosen one; the empty
// text leaves none chosen. False when the list has no such entry.
bool choose(QComboBox* list, const QString& entry)
{
    list->setCurrentIndex(entry.isEmpty() ? -1 : list->findText(entry, Qt::MatchExactly));
    return entry.isEmpty() == (list->currentIndex() < 0);
}

QStringList entryTexts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

} // namespace

class FrmCurpTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void layout();
    void labels();
    void fonts_data();
    void fonts();
    void initialState();
    void tabOrder();
    void typingUpperCases_data();
    void typingUpperCases();
    void focusSelectsText_data();
    void focusSelectsText();
    void enterPressesCalcular_data();
    void enterPressesCalcular();
    void keyInMask_data();
    void keyInMask();
    void everydayEntry_data();
    void everydayEntry();
    void lists_data();
    void lists();
    void resultCanBeCopied_data();
    void resultCanBeCopied();
    void linkOpensAddress();
    void hostileText_data();
    void hostileText();
    void longPaste_data();
    void longPaste();

private: // NOLINT(readability-redundant-access-specifiers): ends the test slots
    template <typename T = QWidget>
    T* control(const QString& name) const
    {
        return form->findChild<T*>(name);
    }
    QLineEdit* box(int index) const
    {
        return control<QLineEdit>(u"Txt(%1)"_s.arg(index));
    }
    QLineEdit* result() const
    {
        return control<QLineEdit>(u"txtCURP"_s);
    }
    void fill(const QString& ap, const QString& am, const QString& nm, QDate date,
              const QString& sex = u"0:Masculino"_s,
              const QString& state = u"DF: DISTRITO FEDERAL"_s);
    void pressEnterIn(const QString& name, Qt::Key key = Qt::Key_Return);
    void runStep(const QString& step);
    static QString expectedKey(const QString& ap, const QString& am, const QString& nm, QDate date,
                               const char* sex, const QString& state);

    void openForm();

    std::unique_ptr<frm_CURP> form;
};

void FrmCurpTest::init()
{
    openForm();
}

void FrmCurpTest::openForm()
{
    form = std::make_unique<frm_CURP>();
    // Two-digit years are read against a fixed today, as in April 2026.
    control<DatePicker>(u"DtP"_s)->setToday([] { return QDate(2026, 4, 15); });
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void FrmCurpTest::cleanup()
{
    form.reset();
    QLocale::setDefault(QLocale::system());
}

// The person's data put into the controls; sex and state are the texts of
// the entries to choose, or empty for none.
void FrmCurpTest::fill(const QString& ap, const QString& am, const QString& nm, QDate date,
                       const QString& sex, const QString& state)
{
    box(0)->setText(ap);
    box(1)->setText(am);
    box(2)->setText(nm);
    control<DatePicker>(u"DtP"_s)->setDate(date);
    QVERIFY(choose(control<QComboBox>(u"CmbSexo"_s), sex));
    QVERIFY(choose(control<QComboBox>(u"CmbEnt"_s), state));
}

void FrmCurpTest::pressEnterIn(const QString& name, Qt::Key key)
{
    QWidget* target = control(name);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

// The key the window must show, worked out through the other entry of the
// computation (UTF-8) and Qt's own upper case.
QString FrmCurpTest::expectedKey(const QString& ap, const QString& am, const QString& nm,
                                 QDate date, const char* sex, const QString& state)
{
    const std::chrono::year_month_day birth{std::chrono::year{date.year()},
                                            std::chrono::month{unsigned(date.month())},
                                            std::chrono::day{unsigned(date.day())}};
    const std::string key =
        curp::Calc_Clave(ap.toUpper().toStdString(), am.toUpper().toStdString(),
                         nm.toUpper().toStdString(), birth, sex, state.toStdString());
    // Decoded keeping a leading U+FEFF, which fromStdString would drop.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded = utf8(QByteArrayView(key.data(), qsizetype(key.size())));
    return leftToRight(applyKeyMask(decoded.toStdU32String()));
}

void FrmCurpTest::layout()
{
    // Every control inside the form, and no two of those the user works with
    // on top of each other.
    const QList<QWidget*> controls = form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<QWidget*> inputs;
    for (QWidget* control : controls) {
        QVERIFY2(form->rect().contains(control->geometry()), qPrintable(control->objectName()));
        if (control->focusPolicy() != Qt::NoFocus)
            inputs.append(control);
    }
    QCOMPARE(inputs.size(), 8);
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        for (qsizetype j = i + 1; j < inputs.size(); ++j)
            QVERIFY2(
                !inputs[i]->geometry().intersects(inputs[j]->geometry()),
                qPrintable(inputs[i]->objectName() + u" overlaps "_s + inputs[j]->objectName()));
    }
    // Labels show all their text.
    for (const QLabel* label : form->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY2(label->width() >= label->sizeHint().width() &&
                     label->height() >= label->sizeHint().height(),
                 qPrintable(label->objectName()));
    }
    // The three name boxes alike; the date and the lists wide enough for their
    // widest text.
    QCOMPARE(box(1)->size(), box(0)->size());
    QCOMPARE(box(2)->size(), box(0)->size());
    for (const QString& name : {u"DtP"_s, u"CmbSexo"_s, u"CmbEnt"_s})
        QVERIFY2(control(name)->width() >= control(name)->sizeHint().width(), qPrintable(name));
    // The header: the logo, and right of it the brand, the tagline and the
    // link one under another, all above the first row.
    const QRect logo = control(u"Image1"_s)->geometry();
    const QWidget* above = nullptr;
    for (const QString& name : {u"lblBrand(0)"_s, u"lblBrand(1)"_s, u"lblweb"_s}) {
        const QWidget* line = control(name);
        QVERIFY2(line->x() > logo.right(), qPrintable(name));
        QVERIFY2(!above || (line->x() == above->x() && line->y() > above->y()), qPrintable(name));
        above = line;
    }
    QVERIFY(std::max(logo.bottom(), above->geometry().bottom()) < box(0)->y());
    // An etched separator above the button row, the button beside the result.
    const QRect line1 = control(u"Line1"_s)->geometry();
    const QRect line2 = control(u"Line2"_s)->geometry();
    QCOMPARE(line2, line1.translated(0, 1));
    QVERIFY(control(u"CmbEnt"_s)->geometry().bottom() < line1.top());
    QVERIFY(line2.bottom() < control(u"CmdCalc"_s)->y());
    QCOMPARE(control(u"CmdCalc"_s)->y(), result()->y());
}

void FrmCurpTest::labels()
{
    // Each input's label names it, stands at the top of its row and left of
    // it; the labels in one column, the inputs in another.
    int labelled = 0;
    for (const QLabel* label : form->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QWidget* input = label->buddy();
        if (!input)
            continue;
        ++labelled;
        const QByteArray name = label->text().toUtf8();
        QVERIFY2(label->y() == input->y(), name.constData());
        QVERIFY2(label->geometry().right() < input->x(), name.constData());
        QVERIFY2(label->x() == control(u"Lbl(0)"_s)->x(), name.constData());
        QVERIFY2(input->x() == box(0)->x() && input->height() == box(0)->height(),
                 name.constData());
    }
    QCOMPARE(labelled, 6);
}

void FrmCurpTest::window()
{
    QCOMPARE(form->windowTitle(), u"Generación de CURP"_s);
    QCOMPARE(form->size(), QSize(347, 298));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
    const QList<QSize> iconSizes = form->windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(16, 16)));
    QVERIFY(iconSizes.contains(QSize(32, 32)));
    const QPoint offCentre =
        form->geometry().center() - form->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2, "the window opens centred on the screen");
    const QPixmap logo = control<QLabel>(u"Image1"_s)->pixmap();
    QCOMPARE(logo.deviceIndependentSize(), QSizeF(32, 32));
}

void FrmCurpTest::fonts_data()
{
    // The family is the first of the wanted ones the system has.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underline");
    const QStringList tahoma{u"Tahoma"_s, u"Liberation Sans"_s, u"Arial"_s};
    const QStringList arial{u"Arial"_s, u"Liberation Sans"_s};
    QTest::newRow("form") << u"Lbl(0)"_s << tahoma << 8.25 << false << false;
    QTest::newRow("brand") << u"lblBrand(0)"_s << arial << 12.0 << true << false;
    QTest::newRow("link") << u"lblweb"_s << tahoma << 8.25 << false << true;
    QTest::newRow("date") << u"DtP"_s << arial << 8.25 << false << false;
    QTest::newRow("name box") << u"Txt(0)"_s << tahoma << 8.25 << false << false;
}

void FrmCurpTest::fonts()
{
    QFETCH(QString, name);
    QFETCH(QStringList, wanted);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, underline);
    const QFont font = control(name)->font();
    const QStringList installed = QFontDatabase::families();
    const auto found = std::find_if(wanted.cbegin(), wanted.cend(), [&](const QString& family) {
        return installed.contains(family);
    });
    if (found == wanted.cend()) {
        QVERIFY(font.families().isEmpty());
    } else {
        QCOMPARE(font.families(), QStringList{*found});
        QCOMPARE(QFontInfo(font).family(), *found);
    }
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.underline(), underline);
}

void FrmCurpTest::initialState()
{
    QCOMPARE(QApplication::focusWidget(), box(0));
    for (int i = 0; i < 3; ++i)
        QVERIFY(box(i)->text().isEmpty());
    auto* date = control<DatePicker>(u"DtP"_s);
    QCOMPARE(date->date(), QDate(1980, 1, 1));
    QVERIFY(date->displayFormat().contains(u"yyyy"_s));
    date->showCalendar();
    QVERIFY(date->calendarWidget()->isVisible());
    QCOMPARE(date->calendarWidget()->minimumDate(), QDate(1601, 1, 1));
    QCOMPARE(date->calendarWidget()->maximumDate(), QDate(9999, 12, 31));
    date->calendarWidget()->close();
    const auto* sex = control<QComboBox>(u"CmbSexo"_s);
    QCOMPARE(sex->currentIndex(), 0);
    QCOMPARE(sex->currentText(), u"0:Masculino"_s);
    const auto* state = control<QComboBox>(u"CmbEnt"_s);
    QCOMPARE(state->currentIndex(), -1);
    QVERIFY(state->currentText().isEmpty());
    QVERIFY(!sex->isEditable());
    QVERIFY(!state->isEditable());
    QCOMPARE(entryTexts(sex), (QStringList{u"0:Masculino"_s, u"1:Femenino"_s}));
    QCOMPARE(entryTexts(state), stateEntries());
    QVERIFY(result()->text().isEmpty());
    QVERIFY(result()->isReadOnly());
    QVERIFY(control<QPushButton>(u"CmdCalc"_s)->isDefault());
}

void FrmCurpTest::tabOrder()
{
    const QStringList order{u"Txt(0)"_s, u"Txt(1)"_s,  u"Txt(2)"_s,  u"DtP"_s,   u"CmbSexo"_s,
                            u"CmbEnt"_s, u"CmdCalc"_s, u"txtCURP"_s, u"Txt(0)"_s};
    QCOMPARE(QApplication::focusWidget(), control(order.first()));
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
        // In reading order: down the form, and left to right in a row.
        const QPoint from = control(order[i - 1])->pos();
        const QPoint to = control(order[i])->pos();
        QVERIFY(i + 1 == order.size() || from.y() < to.y() ||
                (from.y() == to.y() && from.x() < to.x()));
    }
    for (qsizetype i = order.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
}

void FrmCurpTest::typingUpperCases_data()
{
    // Typed as key presses, or composed with dead keys or an input method,
    // which the box receives as committed text.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("composed");
    const std::tuple<const char*, QString, QString> cases[] = {
        {"letters", u"perez"_s, u"PEREZ"_s},
        {"accented letters", u"peña josé"_s, u"PEÑA JOSÉ"_s},
        {"other characters unchanged", u"o'brien-2"_s, u"O'BRIEN-2"_s},
        {"upper case stays", u"DIAZ"_s, u"DIAZ"_s},
    };
    for (const bool composed : {false, true}) {
        for (const auto& [name, typed, shown] : cases)
            QTest::addRow("%s, %s", name, composed ? "composed" : "typed")
                << typed << shown << composed;
    }
}

void FrmCurpTest::typingUpperCases()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, composed);
    for (int i = 0; i < 3; ++i) {
        box(i)->setFocus();
        if (composed) {
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(box(i), &commit);
        } else {
            typeText(box(i), typed);
        }
        QCOMPARE(box(i)->text(), shown);
    }
    QTest::keyClick(box(2), Qt::Key_Backspace);
    QCOMPARE(box(2)->text(), shown.chopped(1));
}

void FrmCurpTest::focusSelectsText_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selects");
    QTest::newRow("reached by Tab") << u"tab"_s << u"DIAZ"_s << true;
    QTest::newRow("reached by Shift+Tab") << u"backtab"_s << u"DIAZ"_s << true;
    QTest::newRow("clicked") << u"click"_s << u"DIAZ"_s << true;
    // Typing must replace all of it, not only its first 1000 characters.
    QTest::newRow("text of 5000 characters") << u"tab"_s << u"DIAZ "_s.repeated(1000) << true;
    // The cursor stays where the user left it.
    QTest::newRow("back from another window is no new focus") << u"window"_s << u"DIAZ"_s << false;
    QTest::newRow("back from a menu is no new focus") << u"menu"_s << u"DIAZ"_s << false;
}

void FrmCurpTest::focusSelectsText()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(bool, selects);
    box(1)->setText(text);
    if (how == u"tab"_s) {
        box(0)->setFocus();
        QTest::keyClick(box(0), Qt::Key_Tab);
    } else if (how == u"backtab"_s) {
        box(2)->setFocus();
        QTest::keyClick(box(2), Qt::Key_Backtab);
    } else if (how == u"click"_s) {
        box(0)->setFocus();
        QTest::mouseClick(box(1), Qt::LeftButton, {}, QPoint(box(1)->width() - 10, 10));
    } else {
        box(1)->setFocus();
        box(1)->setCursorPosition(2);
        if (how == u"window"_s) {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
        } else {
            // The box's context menu, opened from the keyboard and closed.
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                      box(1)->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box(1), &menuKey);
            QWidget* menu = QApplication::activePopupWidget();
            QVERIFY(menu);
            menu->close();
        }
    }
    QCOMPARE(QApplication::focusWidget(), box(1));
    QCOMPARE(box(1)->selectedText(), selects ? text : QString());
    QTest::keyClicks(box(1), u"x"_s);
    QCOMPARE(box(1)->text(), selects ? u"X"_s : u"DIXAZ"_s);

    // A click in a box that has the focus already places the cursor.
    box(1)->setText(u"LOPEZ"_s);
    QTest::mouseClick(box(1), Qt::LeftButton, {}, QPoint(box(1)->width() - 10, 10));
    QVERIFY(!box(1)->hasSelectedText());
}

void FrmCurpTest::enterPressesCalcular_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::Key>("key");
    for (const char* name :
         {"Txt(0)", "Txt(1)", "Txt(2)", "DtP", "CmbSexo", "CmbEnt", "CmdCalc", "txtCURP"})
        QTest::newRow(name) << QString::fromLatin1(name) << Qt::Key_Return;
    QTest::newRow("keypad Enter in a name box") << u"Txt(2)"_s << Qt::Key_Enter;
    QTest::newRow("keypad Enter in the date") << u"DtP"_s << Qt::Key_Enter;
}

void FrmCurpTest::enterPressesCalcular()
{
    QFETCH(QString, control);
    QFETCH(Qt::Key, key);
    fill(u"gomez"_s, u"diaz"_s, u"juan"_s, QDate(1975, 4, 23));
    pressEnterIn(control, key);
    QCOMPARE(result()->text(), u"GODJ-750423-H-DF-MZN-0-0"_s);
}

void FrmCurpTest::keyInMask_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("shown");
    const QStringList gomez{u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s};
    const QStringList perez{u"PEREZ"_s, u"LOPEZ"_s, u"MARIA GUADALUPE"_s};
    const QDate april23(1975, 4, 23);
    const QString male = u"0:Masculino"_s;
    const QString female = u"1:Femenino"_s;
    const QString df = u"DF: DISTRITO FEDERAL"_s;
    const QString empty = u"    -      - -  -   - - "_s;
    QTest::newRow("full key") << gomez << april23 << male << df << u"GODJ-750423-H-DF-MZN-0-0"_s;
    QTest::newRow("pasted in lower case") << QStringList{u"gomez"_s, u"diaz"_s, u"juan"_s}
                                          << april23 << male << df << u"GODJ-750423-H-DF-MZN-0-0"_s;
    QTest::newRow("1:Femenino gives M") << perez << QDate(1980, 1, 1) << female << u"JC: JALISCO"_s
                                        << u"PELG-800101-M-JC-RPD-0-2"_s;
    QTest::newRow("no sex chosen gives M") << perez << QDate(1980, 1, 1) << QString()
                                           << u"JC: JALISCO"_s << u"PELG-800101-M-JC-RPD-0-2"_s;
    QTest::newRow("no state: shorter, shifted right")
        << gomez << april23 << male << QString() << u"   G-ODJ750-4-23-HMZ-N-0"_s;
    QTest::newRow("no given name: empty mask")
        << QStringList{u"GOMEZ"_s, u"DIAZ"_s, QString()} << april23 << male << df << empty;
    QTest::newRow("no surname: empty mask")
        << QStringList{QString(), u"  "_s, u"JUAN"_s} << april23 << male << df << empty;
    QTest::newRow("born abroad") << QStringList{u"LI"_s, u"WONG"_s, u"ANA"_s} << QDate(1990, 6, 15)
                                 << female << u"NE: EXTRANJERO"_s << u"LWAN-900615-M-NE-XNN-0-7"_s;
    QTest::newRow("accented state name does not reach the key")
        << QStringList{u"PEÑA"_s, u"NAVA"_s, u"ELSA"_s} << QDate(1966, 7, 20) << female
        << u"MC: MÉXICO"_s << u"PXNE-660720-M-MC-XVL-0-4"_s;
    // Names as people type and paste them, read as the registry writes them.
    QTest::newRow("accents") << QStringList{u"MÉNDEZ"_s, u"ORTIZ"_s, u"LUIS"_s} << QDate(1985, 3, 9)
                             << male << u"PL: PUEBLA"_s << u"MEOL-850309-H-PL-NRS-0-2"_s;
    QTest::newRow("decomposed accents, invisible characters")
        << QStringList{u"GO\u0301MEZ"_s, u"\u202EDI\u0301AZ\u202C"_s, u"JUAN\u200B"_s} << april23
        << male << df << u"GODJ-750423-H-DF-MZN-0-0"_s;
    QTest::newRow("accented compound given name")
        << QStringList{u"PEREZ"_s, u"LOPEZ"_s, u"MARÍA DEL CARMEN"_s} << QDate(1980, 1, 1) << female
        << u"JC: JALISCO"_s << u"PELC-800101-M-JC-RPR-0-7"_s;
    QTest::newRow("born 2005: A at 17")
        << gomez << QDate(2005, 1, 1) << male << df << u"GODJ-050101-H-DF-MZN-A-9"_s;
    // Was OISJ-900615-H-NE-XMH-0-8: a sign before the first inner vowel gives X.
    QTest::newRow("hyphen at 14 is X")
        << QStringList{u"O-BRIEN"_s, u"SMITH"_s, u"JOHN"_s} << QDate(1990, 6, 15) << male
        << u"NE: EXTRANJERO"_s << u"OXSJ-900615-H-NE-XMH-0-6"_s;
    QTest::newRow("MA. counts as MARIA")
        << QStringList{u"ORTEGA"_s, u"CASTRO"_s, u"MA. DEL ROSARIO"_s} << QDate(1988, 6, 4)
        << female << u"OC: OAXACA"_s << u"OECR-880604-M-OC-RSS-0-6"_s;
    QTest::newRow("registry's words: VON, O RELLING")
        << QStringList{u"O RELLING"_s, u"VON BERTRAB"_s, u"IVÁN ALBERTO"_s} << QDate(1997, 1, 22)
        << male << u"VZ: VERACRUZ"_s << u"OXBI-970122-H-VZ-XRV-0-6"_s;
}

void FrmCurpTest::keyInMask()
{
    QFETCH(QStringList, names);
    QFETCH(QDate, date);
    QFETCH(QString, sex);
    QFETCH(QString, state);
    QFETCH(QString, shown);
    fill(names[0], names[1], names[2], date, sex, state);
    QTest::mouseClick(control(u"CmdCalc"_s), Qt::LeftButton);
    QCOMPARE(result()->text(), shown);
    // The computation leaves the boxes as they were.
    QCOMPARE(box(0)->text(), names[0]);
}

// One step of a keyboard session: "focus NAME", "type TEXT", "key KEYS"
// ("Shift+Tab", "Alt+Down"), "paste TEXT" (Ctrl+V), "click NAME".
void FrmCurpTest::runStep(const QString& step)
{
    const qsizetype blank = step.indexOf(u' ');
    const QString verb = step.first(blank);
    const QString what = step.sliced(blank + 1);
    QWidget* focus = QApplication::focusWidget();
    if (verb == u"focus"_s) {
        control(what)->setFocus();
    } else if (verb == u"type"_s) {
        typeText(focus, what);
    } else if (verb == u"key"_s) {
        const QKeyCombination key = QKeySequence::fromString(what)[0];
        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    } else if (verb == u"paste"_s) {
        QApplication::clipboard()->setText(what);
        QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
    } else if (verb == u"click"_s) {
        QTest::mouseClick(control(what), Qt::LeftButton);
    } else {
        QFAIL(qPrintable(u"unknown step "_s + step));
    }
}

void FrmCurpTest::everydayEntry_data()
{
    // What a person types, from "Nombre(s)" on, into the window filled with
    // GOMEZ DIAZ JUAN, its date untouched, sex H and state DF; the date, sex
    // and state the key must carry (no date: no key), a line the result must
    // hold, and whether the key is shown as doubtful (with a line, or without
    // a key).
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("line");
    const QDate april23(1975, 4, 23);
    const QDate start(1980, 1, 1);
    const QString untouched =
        u"la fecha de nacimiento es la inicial (01/01/1980); ¿es la correcta?"_s;
    const auto localRow = [](const QByteArray& name, const char* locale, const QStringList& steps,
                             QDate date, const QString& line = {}, const QString& sex = u"H"_s,
                             const QString& state = u"DF"_s) {
        QTest::newRow(name.constData())
            << QString::fromLatin1(locale) << steps << date << sex << state << line;
    };
    const auto row = [&localRow](const QByteArray& name, const QStringList& steps, QDate date,
                                 const QString& line = {}, const QString& sex = u"H"_s,
                                 const QString& state = u"DF"_s) {
        localRow(name, "es_MX", steps, date, line, sex, state);
    };
    const QString intoDate = u"key Tab"_s;
    row("date left as it starts", {u"key Return"_s}, start, untouched);
    row("four-digit year, two Tabs, the state typed",
        {intoDate, u"type 23/04/1975"_s, u"key Tab"_s, u"key Tab"_s, u"type jc"_s, u"key Return"_s},
        april23, {}, u"H"_s, u"JC"_s);
    row("two-digit year, Enter at once", {intoDate, u"type 23/04/75"_s, u"key Return"_s}, april23);
    localRow("two-digit year, month first", "en_US",
             {intoDate, u"type 04/23/75"_s, u"key Return"_s}, april23);
    localRow("two-digit year, C locale", "C", {intoDate, u"type 23/04/75"_s, u"key Return"_s},
             april23);
    row("two-digit year, then a click on Calcular",
        {intoDate, u"type 23/04/75"_s, u"click CmdCalc"_s}, april23);
    row("one-digit day and month", {intoDate, u"type 3/4/75"_s, u"key Return"_s},
        QDate(1975, 4, 3));
    row("Shift+Tab from Sexo lands on the day",
        {u"focus CmbSexo"_s, u"key Shift+Tab"_s, u"type 23041975"_s, u"key Return"_s}, april23);
    row("Alt+Down opens the calendar, Enter there picks",
        {intoDate, u"key Alt+Down"_s, u"key Right"_s, u"key Return"_s, u"key Return"_s},
        QDate(1980, 1, 2));
    row("F4 opens the calendar, Escape closes it",
        {intoDate, u"key F4"_s, u"key Right"_s, u"key Escape"_s, u"key Return"_s}, start,
        untouched);
    row("date pasted right after Tab", {intoDate, u"paste 23/04/1975"_s, u"key Return"_s}, april23);
    for (const auto& [typed, code] :
         {std::pair{"sonora", "SR"}, std::pair{"tamaulipas", "TS"}, std::pair{"guerrero", "GR"},
          std::pair{"nuevo leon", "NL"}, std::pair{"baja california sur", "BS"}}) {
        row(QByteArray("state typed by name: ") + typed,
            {u"focus CmbEnt"_s, u"type "_s + QString::fromLatin1(typed), u"key Return"_s}, start,
            untouched, u"H"_s, QString::fromLatin1(code));
    }
    const QStringList typed{u"key Tab"_s, u"type 23/04/1975"_s};
    const QString enter = u"key Return"_s;
    row("year first", {u"key Tab"_s, u"type 1975-04-23"_s, enter}, april23);
    row("29/02/1975 typed", {u"key Tab"_s, u"type 29/02/1975"_s, enter}, {},
        u"29/02/1975 no existe: febrero de 1975 tiene 28 días"_s);
    // Typed, pasted, or typed over a selection made with the keys.
    for (const QStringList& how :
         {QStringList{u"type"_s}, {u"paste"_s}, {u"key Right"_s, u"key Shift+Home"_s, u"type"_s}})
        row("31/04/1990, " + how.join(u", ").toUtf8(),
            QStringList{u"key Tab"_s} + how.first(how.size() - 1) +
                QStringList{how.last() + u" 31/04/1990"_s, enter},
            {}, u"31/04/1990 no existe: abril tiene 30 días"_s);
    row("three-digit year", {u"key Tab"_s, u"type 23/04/075"_s, enter}, {},
        u"23/04/0075 queda fuera de los años 1601 a 9999"_s);
    row("six digits, DDMMAA", {intoDate, u"type 230475"_s, u"key Return"_s}, april23);
    for (const char* pasted : {"23 de abril de 1975", "23 abr 1975", "23-abr-75", "abril 23, 1975",
                               "23\u00A0abr\u00A01975", "23/04/1975\u202F"})
        row(pasted, {u"key Tab"_s, u"paste "_s + QString::fromUtf8(pasted), enter}, april23);
    row("no date pasted", {u"key Tab"_s, u"paste hola"_s, enter}, {}, u"no es una fecha: «hola»"_s);
    row("no date pasted over a date taken",
        {u"key Tab"_s, u"type 23/04/1975"_s, u"key Tab"_s, u"key Shift+Tab"_s, u"paste hola"_s,
         enter},
        {}, u"no es una fecha: «hola»"_s);
    row("date untouched", {enter}, start,
        u"la fecha de nacimiento es la inicial (01/01/1980); ¿es la correcta?"_s);
    row("initial date typed", {u"key Tab"_s, u"type 01/01/1980"_s, enter}, start);
    row("date after today", {u"key Tab"_s, u"type 16/04/2026"_s, enter}, QDate(2026, 4, 16),
        u"la fecha es posterior a hoy"_s);
    // Sex and state typed into the lists, closed or open; for the words of
    // "0:Masculino", "key Down" picks the other entry first.
    for (const auto& [words, sex, other] :
         {std::tuple{"mujer mu f femenino", "M", QStringList{}},
          std::tuple{"hombre h masculino ma", "H", QStringList{u"key Down"_s}},
          std::tuple{"m", "H", QStringList{}}, std::tuple{"m", "M", QStringList{u"key Down"_s}}}) {
        for (const QString& word : QString::fromLatin1(words).split(u' '))
            row("sex " + word.toUtf8() + (other.isEmpty() ? "" : " after Down"),
                typed + QStringList{u"focus CmbSexo"_s} + other +
                    QStringList{u"type "_s + word, enter},
                april23, {}, QString::fromLatin1(sex));
    }
    for (const auto& [name, code] : kStateNames) {
        const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()));
        for (const bool open : {false, true}) {
            QStringList steps = typed + QStringList{u"focus CmbEnt"_s};
            if (open)
                steps << u"key Alt+Down"_s;
            steps << u"type "_s + text << enter;
            if (open)
                steps << enter; // the first picks the entry
            row((open ? "open list: " : "state: ") + text.toUtf8(), steps, april23, {}, u"H"_s,
                QString::fromLatin1(code.data(), qsizetype(code.size())));
        }
    }
}

void FrmCurpTest::everydayEntry()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, steps);
    QFETCH(QDate, date);
    QFETCH(QString, sex);
    QFETCH(QString, state);
    QFETCH(QString, line);
    QLocale::setDefault(QLocale(locale));
    openForm();
    fill(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, QDate(1980, 1, 1));
    box(2)->setFocus();
    for (const QString& step : steps) {
        runStep(step);
        if (QTest::currentTestFailed())
            return;
    }
    const QString key =
        expectedKey(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, date.isValid() ? date : QDate(1975, 4, 23),
                    sex == u"H"_s ? "H" : "M", state);
    QCOMPARE(result()->text(), date.isValid() ? key : applyKeyMask({}));
    const QStringList lines = result()->accessibleDescription().split(u'\n');
    QVERIFY2(line.isEmpty() || lines.contains(line), qPrintable(lines.join(u" | ")));
    QCOMPARE(control<KeyBox>(u"txtCURP"_s)->doubtful(), !line.isEmpty() || !date.isValid());
    // The reason in view at once, for no key or a doubtful one.
    QCOMPARE(QToolTip::isVisible(), !line.isEmpty() || !date.isValid());
    const auto* dateBox = control<DatePicker>(u"DtP"_s);
    const QString shown = dateBox->text();
    if (date.isValid()) {
        // The date the key carries is the one the box shows, year in full.
        QCOMPARE(shown, QLocale().toString(date, DatePicker::displayFormatFor(QLocale())));
        return;
    }
    // Without a key, the date box keeps the text and says why, on the way
    // back in as well, until a date is typed anew.
    QVERIFY2(line.contains(shown), qPrintable(shown));
    QCOMPARE(dateBox->accessibleDescription(), line);
    for (const QString& step : {u"focus Txt(2)"_s, u"key Tab"_s})
        runStep(step);
    QCOMPARE(dateBox->text(), shown);
    // The reason stays in view through moves of the focus, until Escape.
    QTRY_VERIFY(QToolTip::isVisible());
    runStep(u"key Escape"_s);
    QTRY_VERIFY(!QToolTip::isVisible());
    for (const QString& step : {u"type 23/04/1975"_s, u"key Return"_s})
        runStep(step);
    QCOMPARE(result()->text(), key);
    QVERIFY(dateBox->accessibleDescription().isEmpty());
}

void FrmCurpTest::lists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("state by its code") << u"CmbEnt"_s << u"DF"_s << u"DF: DISTRITO FEDERAL"_s;
    QTest::newRow("state by its code, lower case")
        << u"CmbEnt"_s << u"df"_s << u"DF: DISTRITO FEDERAL"_s;
    QTest::newRow("first state of a letter") << u"CmbEnt"_s << u"c"_s << u"CC: CAMPECHE"_s;
    QTest::newRow("born abroad") << u"CmbEnt"_s << u"NE"_s << u"NE: EXTRANJERO"_s;
    QTest::newRow("no match keeps nothing chosen") << u"CmbEnt"_s << u"W"_s << QString();
    QTest::newRow("a code wins over names") << u"CmbEnt"_s << u"ch"_s << u"CH: CHIHUAHUA"_s;
    QTest::newRow("then the first name in list order")
        << u"CmbEnt"_s << u"chi"_s << u"CS: CHIAPAS"_s;
    QTest::newRow("more letters, another name") << u"CmbEnt"_s << u"chih"_s << u"CH: CHIHUAHUA"_s;
    QTest::newRow("name without its accent") << u"CmbEnt"_s << u"michoacan"_s << u"MN: MICHOACÁN"_s;
    QTest::newRow("start of an accented name") << u"CmbEnt"_s << u"mex"_s << u"MC: MÉXICO"_s;
    QTest::newRow("accent typed where the list has none")
        << u"CmbEnt"_s << u"nuevo león"_s << u"NL: NUEVO LEON"_s;
    QTest::newRow("spaces between words")
        << u"CmbEnt"_s << u"baja california sur"_s << u"BS: BAJA CALIFORNIA SUR"_s;
    QTest::newRow("sex by its digit") << u"CmbSexo"_s << u"1"_s << u"1:Femenino"_s;
    QTest::newRow("sex by its name") << u"CmbSexo"_s << u"f"_s << u"1:Femenino"_s;
    QTest::newRow("sex by more of its name") << u"CmbSexo"_s << u"Fem"_s << u"1:Femenino"_s;
    QTest::newRow("a letter that matches nothing keeps the entry")
        << u"CmbSexo"_s << u"fx"_s << u"1:Femenino"_s;
    QTest::newRow("a lone m picks nothing") << u"CmbSexo"_s << u"m"_s << u"0:Masculino"_s;
    QTest::newRow("ma is masculino") << u"CmbSexo"_s << u"ma"_s << u"0:Masculino"_s;
    QTest::newRow("mu is mujer") << u"CmbSexo"_s << u"mu"_s << u"1:Femenino"_s;
}

void FrmCurpTest::lists()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    auto* combo = control<QComboBox>(list);
    combo->setFocus();
    typeText(combo, typed);
    QCOMPARE(combo->currentText(), chosen);
    // Typing a name never opens the list, spaces included.
    QVERIFY(!combo->view()->isVisible());
    if (list == u"CmbSexo"_s && typed == u"m"_s) // after a pause, what to type
        QTRY_VERIFY(combo->toolTip().startsWith(u"M: ¿masculino o mujer? Escriba h"_s));
}

void FrmCurpTest::resultCanBeCopied_data()
{
    // A change after "Calcular", then a copy by Ctrl+C or by the box's menu.
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("copy");
    QTest::newRow("Ctrl+C") << QString() << QString();
    QTest::newRow("name typed, Ctrl+C") << u"focus Txt(0), type PEREZ"_s << QString();
    QTest::newRow("date typed, menu's copy") << u"focus DtP, type 02021992"_s << u"Ctrl+C"_s;
    QTest::newRow("sex typed, menu's copy") << u"focus CmbSexo, type mu"_s << u"Ctrl+C"_s;
    QTest::newRow("state by arrow, no dashes") << u"focus CmbEnt, key Down"_s << u"copy-bare-key"_s;
}

void FrmCurpTest::resultCanBeCopied()
{
    QFETCH(QString, change);
    QFETCH(QString, copy);
    fill(u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s, QDate(1975, 4, 23));
    pressEnterIn(u"Txt(0)"_s);
    const QColor fresh = result()->palette().color(QPalette::Text);
    for (const QString& step : change.split(u", "_s, Qt::SkipEmptyParts))
        runStep(step);
    QApplication::clipboard()->setText(u"GODJ-750423-H-DF-MZN-0-0"_s); // copied before
    result()->setFocus();
    QTest::keyClick(result(), Qt::Key_A, Qt::ControlModifier);
    if (copy.isEmpty()) {
        QTest::keyClick(result(), Qt::Key_C, Qt::ControlModifier);
    } else {
        const std::unique_ptr<QMenu> menu(control<KeyBox>(u"txtCURP"_s)->createContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() == copy || action->text().endsWith(u'\t' + copy))
                action->trigger();
        }
    }
    const bool stale = !change.isEmpty(); // grey, said so, and nothing copied
    QCOMPARE(result()->accessibleDescription() == u"los datos cambiaron: pulse Calcular"_s, stale);
    QCOMPARE(result()->palette().color(QPalette::Text) != fresh, stale);
    QCOMPARE(QApplication::clipboard()->text(), stale ? QString() : u"GODJ-750423-H-DF-MZN-0-0"_s);
    QTest::keyClicks(result(), u"x"_s);
    QCOMPARE(result()->text(), u"GODJ-750423-H-DF-MZN-0-0"_s);
}

void FrmCurpTest::linkOpensAddress()
{
#ifdef Q_OS_WIN
    QSKIP("On Windows the shell opens the address directly.");
#endif
    LinkRecorder recorder;
    QDesktopServices::setUrlHandler(u"https"_s, &recorder, "open");
    auto* link = control<QLabel>(u"lblweb"_s);
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->focusPolicy(), Qt::NoFocus);
    QCOMPARE(link->toolTip(), u"https://www.gob.mx/curp/"_s);
    // Navy blue: its underline is a line of that colour.
    const QImage drawn = link->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QList<QRgb> pixels(
        reinterpret_cast<const QRgb*>(drawn.constBits()),
        reinterpret_cast<const QRgb*>(drawn.constBits() + drawn.sizeInBytes()));
    QVERIFY(pixels.contains(qRgb(0, 0, 128)));

    QTest::mouseClick(control(u"lblBrand(1)"_s), Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::RightButton);
    QDesktopServices::unsetUrlHandler(u"https"_s);
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl(u"https://www.gob.mx/curp/"_s)});
}

void FrmCurpTest::hostileText_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("control characters")
        << QStringList{u"go\u0001mez\t"_s, u"di\naz\r"_s, u"ju"_s + QChar(0) + u"an"_s};
    QTest::newRow("right-to-left marks and overrides")
        << QStringList{u"\u200Fgomez"_s, u"\u202Ediaz\u202C"_s, u"\u200Ejuan"_s};
    QTest::newRow("right-to-left script") << QStringList{u"محمد"_s, u"עברית"_s, u"juan"_s};
    QTest::newRow("emoji") << QStringList{u"😀gomez"_s, u"diaz👍🏽"_s,
                                          u"j👨‍👩‍👧uan"_s};
    QTest::newRow("combining marks")
        << QStringList{u"go\u0301mez"_s, u"di\u0308\u0308az"_s, u"j\u0303uan"_s};
    QTest::newRow("zero-width characters and byte order mark")
        << QStringList{u"\uFEFFgomez"_s, u"di\u200Baz"_s, u"ju\u200Dan"_s};
    QTest::newRow("only marks") << QStringList{u"\u0301"_s, u"\u200F"_s, u"\u0301\u0301"_s};
}

void FrmCurpTest::hostileText()
{
    QFETCH(QStringList, names);
    fill(names[0], names[1], names[2], QDate(1975, 4, 23));
    pressEnterIn(u"Txt(2)"_s);
    QCOMPARE(result()->text(), expectedKey(box(0)->text(), box(1)->text(), box(2)->text(),
                                           QDate(1975, 4, 23), "H", u"DF"_s));
}

void FrmCurpTest::longPaste_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("held");
    const QString latin = u"juan "_s.repeated(20000);
    const QString emoji = u"😀"_s.repeated(50000);
    QTest::newRow("100 000 characters kept whole") << QString() << latin << latin;
    QTest::newRow("100 000 emoji kept whole") << u"a"_s << emoji << u"a"_s + emoji;
    QTest::newRow("text already there is kept") << u"GOMEZ"_s << latin << u"GOMEZ"_s + latin;
    // The name's consonant stands after 99 999 vowels: a box that cut the
    // paste would show a key with "X" in its place.
    const QString consonantAtTheEnd = u"a"_s.repeated(99999) + u"b"_s;
    QTest::newRow("consonant at the very end")
        << QString() << consonantAtTheEnd << consonantAtTheEnd;
}

void FrmCurpTest::longPaste()
{
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, held);
    fill(u"GOMEZ"_s, u"DIAZ"_s, before, QDate(1975, 4, 23));
    QApplication::clipboard()->setText(pasted);
    box(2)->setFocus();
    box(2)->end(false);
    QTest::keyClick(box(2), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box(2)->text(), held);
    QTest::keyClick(box(2), Qt::Key_Return);
    QCOMPARE(result()->text(),
             expectedKey(u"GOMEZ"_s, u"DIAZ"_s, held, QDate(1975, 4, 23), "H", u"DF"_s));
    QVERIFY(!result()->text().trimmed().isEmpty());
}

QTEST_MAIN(FrmCurpTest)
#include "frm_curp_test.moc"
