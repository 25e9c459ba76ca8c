// A list picked by the first letters of an entry's name: what the letters
// point to, how they add up, and when a new name starts.
#include "type_ahead_list.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TypeAheadListTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void searchEntries_data();
    void searchEntries();
    void lettersAddUpUntilAPause();
    void spaceOpensOnlyBetweenNames_data();
    void spaceOpensOnlyBetweenNames();
    void composedLetters();

private: // NOLINT(readability-redundant-access-specifiers): ends the test slots
    std::unique_ptr<TypeAheadList> list;
    QStringList searched; // what the list asked its search for, in order
};

void TypeAheadListTest::init()
{
    const QStringList entries{u"AS: AGUASCALIENTES"_s, u"NT: NAYARIT"_s, u"NL: NUEVO LEON"_s,
                              u"SR: SONORA"_s, u"TC: TABASCO"_s};
    list = std::make_unique<TypeAheadList>();
    list->addItems(entries);
    searched.clear();
    list->setSearch([this, entries](const QString& typed) {
        searched.append(typed);
        return TypeAheadList::searchEntries(entries, typed);
    });
    list->show();
    QVERIFY(QTest::qWaitForWindowActive(list.get()));
    list->setFocus();
    QApplication::setKeyboardInputInterval(400);
}

void TypeAheadListTest::cleanup()
{
    list.reset();
}

void TypeAheadListTest::searchEntries_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");
    const QStringList sex{u"0:Masculino"_s, u"1:Femenino"_s};
    QTest::newRow("digit before the colon") << sex << u"1"_s << 1;
    QTest::newRow("first letter of the name") << sex << u"f"_s << 1;
    QTest::newRow("more of the name, any case") << sex << u"MASC"_s << 0;
    QTest::newRow("the whole entry") << sex << u"1:fem"_s << 1;
    QTest::newRow("nothing starts so") << sex << u"x"_s << -1;
    QTest::newRow("inside the name is no start") << sex << u"emen"_s << -1;
    QTest::newRow("nothing typed") << sex << QString() << -1;
    QTest::newRow("accents ignored both ways")
        << QStringList{u"MC: MÉXICO"_s, u"NL: NUEVO LEON"_s} << u"nuevo león"_s << 1;
    QTest::newRow("accent in the entry") << QStringList{u"MC: MÉXICO"_s} << u"mex"_s << 0;
    QTest::newRow("first in list order wins")
        << QStringList{u"BC: BAJA CALIFORNIA"_s, u"BS: BAJA CALIFORNIA SUR"_s} << u"baja"_s << 0;
    QTest::newRow("entry without a colon") << QStringList{u"Otro"_s} << u"ot"_s << 0;
}

void TypeAheadListTest::searchEntries()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, typed);
    QFETCH(int, index);
    QCOMPARE(TypeAheadList::searchEntries(entries, typed), index);
}

void TypeAheadListTest::lettersAddUpUntilAPause()
{
    QSignalSpy activated(list.get(), &QComboBox::activated);
    QTest::keyClicks(list.get(), u"son"_s);
    QCOMPARE(searched, (QStringList{u"s"_s, u"so"_s, u"son"_s}));
    QCOMPARE(list->currentText(), u"SR: SONORA"_s);
    QCOMPARE(activated.count(), 1); // picked once, on "s"

    // Leaving the list starts a new name.
    list->clearFocus();
    list->setFocus();
    QTest::keyClicks(list.get(), u"n"_s);
    QCOMPARE(searched.last(), u"n"_s);

    // So does the pause between keys.
    QApplication::setKeyboardInputInterval(200);
    QTest::qWait(300);
    searched.clear();
    QTest::keyClicks(list.get(), u"ta"_s);
    QCOMPARE(searched, (QStringList{u"t"_s, u"ta"_s}));
    QCOMPARE(list->currentText(), u"TC: TABASCO"_s);
}

void TypeAheadListTest::spaceOpensOnlyBetweenNames_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("space alone opens the list") << QString() << true << u"AS: AGUASCALIENTES"_s;
    QTest::newRow("space inside a name") << u"nuevo"_s << false << u"NL: NUEVO LEON"_s;
}

void TypeAheadListTest::spaceOpensOnlyBetweenNames()
{
    QFETCH(QString, before);
    QFETCH(bool, opens);
    QFETCH(QString, chosen);
    QTest::keyClicks(list.get(), before);
    QTest::keyClick(list.get(), Qt::Key_Space, Qt::NoModifier);
    QCOMPARE(list->view()->isVisible(), opens);
    if (opens)
        list->hidePopup();
    else
        QCOMPARE(searched.last(), before + u" "_s);
    QCOMPARE(list->currentText(), chosen);
}

void TypeAheadListTest::composedLetters()
{
    // "león" with a dead key: the "ó" comes as composed text.
    QTest::keyClicks(list.get(), u"nuevo le"_s);
    QInputMethodEvent composed;
    composed.setCommitString(u"ó"_s);
    QApplication::sendEvent(list.get(), &composed);
    QCOMPARE(searched.last(), u"nuevo leó"_s);
    QCOMPARE(list->currentText(), u"NL: NUEVO LEON"_s);
}

QTEST_MAIN(TypeAheadListTest)
#include "type_ahead_list_test.moc"
