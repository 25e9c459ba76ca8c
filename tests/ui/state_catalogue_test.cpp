// The state list's entries, the code each carries, and the search by name.
#include "state_catalogue.h"

#include <curp/states.h>

#include <QComboBox>
#include <QSet>
#include <QTest>

#include <string_view>

using namespace Qt::StringLiterals;

class StateCatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void entriesOfTheCatalogue();
    void searchStates_data();
    void searchStates();
};

void StateCatalogueTest::entriesOfTheCatalogue()
{
    // The library's catalogue in its order: each entry carries its state's
    // code, and its accented names read as such.
    const QStringList entries = stateEntries();
    QCOMPARE(entries.size(), 33);
    QComboBox list;
    addStates(&list);
    QSet<QString> codes;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::string_view code = curp::States()[std::size_t(i)].code;
        QCOMPARE(list.itemText(int(i)), entries[i]);
        QCOMPARE(list.itemData(int(i)).toString(),
                 QString::fromLatin1(code.data(), qsizetype(code.size())));
        codes.insert(list.itemData(int(i)).toString());
    }
    QCOMPARE(codes.size(), 33);
    QVERIFY(entries.contains(u"MC: MÉXICO"_s));
}

void StateCatalogueTest::searchStates_data()
{
    // The letters typed into the state list and the entry they pick.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entry");
    QTest::newRow("code") << u"df"_s << u"DF: DISTRITO FEDERAL"_s;
    QTest::newRow("name") << u"sonora"_s << u"SR: SONORA"_s;
    QTest::newRow("name with an accent typed") << u"Nuevo León"_s << u"NL: NUEVO LEON"_s;
    QTest::newRow("accented entry") << u"yucatan"_s << u"YN: YUCATÁN"_s;
    QTest::newRow("last entry") << u"extranjero"_s << u"NE: EXTRANJERO"_s;
    QTest::newRow("abbreviation") << u"qro"_s << u"QT: QUERETARO"_s;
    QTest::newRow("nothing") << u"xyz"_s << QString();
}

void StateCatalogueTest::searchStates()
{
    QFETCH(QString, typed);
    QFETCH(QString, entry);
    const int index = ::searchStates(typed);
    QCOMPARE(index < 0 ? QString() : stateEntries().at(index), entry);
}

QTEST_MAIN(StateCatalogueTest)
#include "state_catalogue_test.moc"
