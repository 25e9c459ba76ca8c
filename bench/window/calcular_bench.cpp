// How long a press of "Calcular" keeps the window busy: the key computed from
// the boxes and the result box redrawn with it, the way a user waits for it.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "frm_curp.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// names: the texts pasted into the three name boxes.
void calcular(benchmark::State& state, const QStringList& names)
{
    frm_CURP window;
    window.show();
    // Until the window is on screen, a repaint draws nothing.
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (int i = 0; i < 3; ++i) {
        auto* box = window.findChild<QLineEdit*>(u"Txt(%1)"_s.arg(i));
        QApplication::clipboard()->setText(names[i]);
        box->paste();
    }
    auto* states = window.findChild<QComboBox*>(u"CmbEnt"_s);
    states->setCurrentIndex(states->findText(u"DF: DISTRITO FEDERAL"_s));
    auto* button = window.findChild<QPushButton*>(u"CmdCalc"_s);
    auto* result = window.findChild<QLineEdit*>(u"txtCURP"_s);
    for ([[maybe_unused]] auto _ : state) {
        button->click();
        result->repaint();
    }
    const auto* box = window.findChild<QLineEdit*>(u"Txt(2)"_s);
    state.counters["characters held"] = double(box->text().size());
}

QStringList typical()
{
    return {u"GOMEZ"_s, u"DIAZ"_s, u"JUAN"_s};
}

// A given name of 100 000 characters.
QStringList longLatin()
{
    return {u"GOMEZ"_s, u"DIAZ"_s, u"juan "_s.repeated(20000)};
}

// 100 000 characters in each box: combining marks, right-to-left marks and
// overrides, emoji (also joined ones), Ñ, a NUL, a tab and Arabic.
QStringList longHostile()
{
    const QString hostile =
        u"j\u0301\u200F😀\u202Eñ\u0000\t👨‍👩‍👧 محمد "_s.repeated(100000 / 20)
            .left(100000);
    return {hostile, hostile, hostile};
}

} // namespace

BENCHMARK_CAPTURE(calcular, typical person, typical())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(calcular, 100000 characters pasted, longLatin())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(calcular, 100000 hostile characters pasted in each box, longHostile())
    ->Unit(benchmark::kMillisecond);

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
