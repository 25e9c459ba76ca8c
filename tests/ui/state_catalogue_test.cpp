// The state list's entries and the code taken out of a chosen entry.
#include "state_catalogue.h"

#include <curp/states.h>

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
    void CveStr_data();
    void CveStr();
};

void StateCatalogueTest::entriesOfTheCatalogue()
{
    // The library's catalogue in its order: each entry gives its state's code
    // back through CveStr, and its accented names read as such.
    const QStringList entries = stateEntries();
    QCOMPARE(entries.size(), 33);
    QSet<QString> codes;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::string_view code = curp::States()[std::size_t(i)].code;
        QCOMPARE(::CveStr(entries[i]), QString::fromLatin1(code.data(), qsizetype(code.size())));
        codes.insert(::CveStr(entries[i]));
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
    QTest::newRow("nothing") << u"xyz"_s << QString();
}

void StateCatalogueTest::searchStates()
{
    QFETCH(QString, typed);
    QFETCH(QString, entry);
    const int index = ::searchStates(typed);
    QCOMPARE(index < 0 ? QString() : stateEntries().at(index), entry);
}

void StateCatalogueTest::CveStr_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    QTest::newRow("state") << u"DF: DISTRITO FEDERAL"_s << u"DF"_s;
    QTest::newRow("born abroad") << u"NE: EXTRANJERO"_s << u"NE"_s;
    QTest::newRow("accented name") << u"MC: MÉXICO"_s << u"MC"_s;
    QTest::newRow("nothing chosen") << QString() << QString();
    QTest::newRow("no colon gives nothing") << u"DISTRITO FEDERAL"_s << QString();
    QTest::newRow("colon first") << u": X"_s << QString();
    QTest::newRow("up to the first colon") << u"A:B: C"_s << u"A"_s;
}

void StateCatalogueTest::CveStr()
{
    QFETCH(QString, entry);
    QFETCH(QString, code);
    QCOMPARE(::CveStr(entry), code);
}

QTEST_APPLESS_MAIN(StateCatalogueTest)
#include "state_catalogue_test.moc"
