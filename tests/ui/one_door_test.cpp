// The same people through both front ends, the window and the command's CSV
// rows: each gives the same key, or none, and the same doubts.
#include "cli_test_support.h"
#include "frm_curp.h"
#include "key_box.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The row's computed key, error and aviso, from what `curp calcula --csv` wrote.
class LastRow final : public curp::cli::CsvSink
{
public:
    void Begin(bool /*byteOrderMark*/, bool /*crlf*/) override {}
    bool Row(const curp::cli::CsvRow& row) override
    {
        fields.assign(row.fields.begin(), row.fields.end());
        return true;
    }
    std::vector<std::string> fields;
};

} // namespace

class OneDoorTest : public QObject
{
    Q_OBJECT

private slots:
    void samePeople_data();
    void samePeople();
};

void OneDoorTest::samePeople_data()
{
    // Paterno, materno, nombre, the date typed, sex (0, 1), state code, and
    // the command's key ("" for none) and aviso.
    for (const char* column : {"ap", "am", "nm", "date", "sex", "state", "key", "aviso"})
        QTest::addColumn<QString>(column);
    const QString future = u"la fecha es posterior a hoy"_s;
    const auto sign = [](const char* name) {
        return u"X en lugar de lo que no es una letra en «%1»: revise el nombre"_s.arg(
            QString::fromUtf8(name));
    };
    const struct {
        const char *ap, *am, *nm, *date, *sex, *state, *key;
        QString aviso;
    } rows[] = {
        {"Gómez", "Díaz", "Juan", "23/04/1975", "0", "DF", "GODJ750423HDFMZN00", {}},
        {"pérez", "lópez", "maría guadalupe", "01/01/1980", "1", "JC", "PELG800101MJCRPD02", {}},
        {"de la rosa", "", "josé luis", "1975-04-23", "0", "DF", "ROXL750423HDFSXS03", {}},
        {"Fernández del Castillo",
         "de la Rosa",
         "María de Lourdes",
         "01/01/1980",
         "1",
         "DF",
         "FERL800101MDFRSR00",
         {}},
        {"Gómez", "Díaz", "Juan", "23/04/75", "1", "DF", "GODJ750423MDFMZN00", {}},
        {"Núñez", "Ávila", "Ángel", "1990-05-05", "0", "YN", "NUAA900505HYNXVN07", {}},
        {"Peña", "Nava", "Elsa", "20/07/1966", "1", "MC", "PXNE660720MMCXVL04", {}},
        {"Muñoz", "", "José Luis", "23041975", "0", "NE", "MUXL750423HNEXXS00", {}},
        {"O'Brien", "Smith", "Ana", "23 de abril de 1975", "1", "NE", "OISA750423MNEBMN03", {}},
        {"", "López", "Pedro", "01/01/80", "0", "DF", "LOXP800101HDFPXD09", {}},
        {"Gómez", "Díaz", "A. Luis", "23/04/1975", "0", "DF", "GODA750423HDFMZX02",
         u"El nombre lleva A., que parece abreviado: el registro usa el nombre completo, y con él "
         u"la CURP puede ser otra."_s},
        {"Lo-pez", "Díaz", "Ana", "23/04/1975", "1", "DF", "LODA750423MDFXZN05", sign("LO-PEZ")},
        {"Gómez", "Díaz", "Juan", "01/01/2030", "0", "DF", "GODJ300101HDFMZNA2", future},
        {"Gómez", "Díaz", "Juan", "23/04/1975", "0", "", "", {}},
        {"Gómez", "Díaz", "Juan", "31/04/1990", "0", "DF", "", {}},
        {"Gómez", "Díaz", "Juan", "29/02/1975", "0", "DF", "", {}},
        {"Gómez", "Díaz", "", "23/04/1975", "0", "DF", "", {}},
        {"", "", "Juan", "23/04/1975", "0", "DF", "", {}},
        {"Li", "Wong", "A", "15/06/1990", "1", "NE", "", {}},
    };
    for (const auto& r : rows)
        QTest::newRow(r.ap) << QString::fromUtf8(r.ap) << QString::fromUtf8(r.am)
                            << QString::fromUtf8(r.nm) << QString::fromUtf8(r.date)
                            << QString::fromLatin1(r.sex) << QString::fromLatin1(r.state)
                            << QString::fromLatin1(r.key) << r.aviso;
}

void OneDoorTest::samePeople()
{
    QFETCH(QString, ap);
    QFETCH(QString, am);
    QFETCH(QString, nm);
    QFETCH(QString, date);
    QFETCH(QString, sex);
    QFETCH(QString, state);
    QFETCH(QString, key);
    QFETCH(QString, aviso);

    frm_CURP window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList names{ap, am, nm};
    for (int i = 0; i < 3; ++i)
        window.findChild<QLineEdit*>(u"Txt(%1)"_s.arg(i))->setText(names[i]);
    // Into the date box as a person goes, with Tab from "Nombre(s)".
    auto* given = window.findChild<QLineEdit*>(u"Txt(2)"_s);
    given->setFocus();
    QTest::keyClick(given, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), date);
    window.findChild<QComboBox*>(u"CmbSexo"_s)->setCurrentIndex(sex.toInt());
    auto* states = window.findChild<QComboBox*>(u"CmbEnt"_s);
    states->setCurrentIndex(states->findData(state));
    window.findChild<QPushButton*>(u"CmdCalc"_s)->click();
    const auto* shown = window.findChild<KeyBox*>(u"txtCURP"_s);

    const QString csv =
        u"paterno,materno,nombre,nacimiento,sexo,entidad\n\"%1\",\"%2\",\"%3\",\"%4\",%5,%6\n"_s
            .arg(ap, am, nm, date, sex == u"0"_s ? u"H"_s : u"M"_s, state);
    const auto result = curp::cli::test::RunOn(curp::cli::CalculaCsv, csv.toStdString());
    LastRow row;
    std::FILE* out = fmemopen(const_cast<char*>(result.out.data()), result.out.size(), "rb");
    curp::cli::ReadCsv(out, row);
    std::fclose(out);
    QCOMPARE(row.fields.size(), 9U);
    QCOMPARE(QString::fromStdString(row.fields[6]), key);
    QCOMPARE(QString::fromStdString(row.fields[8]), aviso);
    if (key.isEmpty()) {
        // No key, or one that lacks a piece and is shown as doubtful.
        QVERIFY(shown->bareKey().isEmpty() || (shown->bareKey().size() < 18 && shown->doubtful()));
    } else {
        QCOMPARE(shown->bareKey(), key);
        QCOMPARE(shown->doubts().join(u"; "_s), aviso);
        QCOMPARE(shown->doubtful(), !aviso.isEmpty());
    }
}

QTEST_MAIN(OneDoorTest)
#include "one_door_test.moc"
