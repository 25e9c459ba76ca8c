// The texts passed between the window and the key computation: the display
// mask, upper case and code points.
#include "key_text.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TextTest : public QObject
{
    Q_OBJECT

private slots:
    void keyMask_data();
    void keyMask();
    void upperCase_data();
    void upperCase();
    void codePoints_data();
    void codePoints();
};

void TextTest::keyMask_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full key") << u"GODJ750423HDFMZN00"_s << u"GODJ-750423-H-DF-MZN-0-0"_s;
    QTest::newRow("no state: shifted right")
        << u"GODJ750423HMZN0"_s << u"   G-ODJ750-4-23-HMZ-N-0"_s;
    QTest::newRow("16 characters") << u"LWA900615MNEXNX0"_s << u"  LW-A90061-5-MN-EXN-X-0"_s;
    QTest::newRow("empty: spaces and dashes") << QString() << u"    -      - -  -   - - "_s;
    QTest::newRow("one character") << u"X"_s << u"    -      - -  -   - -X"_s;
    QTest::newRow("accented letter") << u"MEOL850309HPLÉRS02"_s << u"MEOL-850309-H-PL-ÉRS-0-2"_s;
    QTest::newRow("character outside the basic plane takes one place")
        << u"GODJ750423HDFMZN0😀"_s << u"GODJ-750423-H-DF-MZN-0-😀"_s;
    QTest::newRow("longer than the mask: extra in front")
        << u"XGODJ750423HDFMZN00"_s << u"XGODJ-750423-H-DF-MZN-0-0"_s;
}

void TextTest::keyMask()
{
    QFETCH(QString, key);
    QFETCH(QString, shown);
    QCOMPARE(applyKeyMask(key.toStdU32String()), shown);
}

void TextTest::upperCase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("upper");
    QTest::newRow("plain letters") << u"perez"_s << u"PEREZ"_s;
    QTest::newRow("Spanish letters") << u"peña josé güe"_s << u"PEÑA JOSÉ GÜE"_s;
    QTest::newRow("already upper case") << u"ÑANDÚ"_s << u"ÑANDÚ"_s;
    QTest::newRow("digits and marks unchanged") << u"o'brien-2 .¥"_s << u"O'BRIEN-2 .¥"_s;
    QTest::newRow("sharp s keeps the length") << u"straße"_s << u"STRAßE"_s;
    QTest::newRow("letter outside the basic plane") << u"\U00010428"_s << u"\U00010400"_s;
    QTest::newRow("emoji unchanged") << u"a😀"_s << u"A😀"_s;
    QTest::newRow("lone surrogate kept") << (QChar(0xD83D) + u"a"_s) << (QChar(0xD83D) + u"A"_s);
}

void TextTest::upperCase()
{
    QFETCH(QString, typed);
    QFETCH(QString, upper);
    QCOMPARE(::upperCase(typed), upper);
}

void TextTest::codePoints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<uint>>("points");
    QTest::newRow("basic plane") << u"Ñu"_s << QList<uint>{0xD1, 0x75};
    QTest::newRow("surrogate pair") << u"a😀"_s << QList<uint>{0x61, 0x1F600};
    QTest::newRow("lone high surrogate") << (QChar(0xD83D) + u"a"_s) << QList<uint>{0xD83D, 0x61};
    QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QList<uint>{0xDE00};
    QTest::newRow("pair reversed")
        << (QString(QChar(0xDE00)) + QChar(0xD83D)) << QList<uint>{0xDE00, 0xD83D};
    QTest::newRow("empty") << QString() << QList<uint>{};
}

void TextTest::codePoints()
{
    QFETCH(QString, text);
    QFETCH(QList<uint>, points);
    const std::u32string converted = toCodePoints(text);
    QCOMPARE(QList<uint>(converted.begin(), converted.end()), points);
}

QTEST_APPLESS_MAIN(TextTest)
#include "text_test.moc"
