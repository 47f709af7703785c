// Speed of the view's commands on the offscreen window, computation and drawing
// together: one frame of the animation.

#include "view/kestrova_view.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

class BenchView : public CKestrovaView {
public:
    void Tick() { OnTimer(kAnimationTimerId); }
};

// A view of the design size after "generate" for 29 March 2006.
void Generate(BenchView& view, CMessageRecorder& boxes) {
    view.SetMessageBoxSink(&boxes);
    view.resize(748, 539);
    view.show();
    view.OnInitialUpdate();
    view.SetDlgItemText(IDC_DAY, "29");
    view.SetDlgItemText(IDC_MONTH, "3");
    view.SetDlgItemText(IDC_YEAR, "2006");
    view.OnContactTimes();
}

// One tick at the given minute of the day: the snapshot of that minute computed, the
// previous frame wiped, the new one plotted.
void AnimationTick(benchmark::State& state) {
    CMessageRecorder boxes;
    BenchView view;
    Generate(view, boxes);
    const int step = static_cast<int>(state.range(0));
    for (auto _ : state) {
        view.m_nCurStep = step;
        view.Tick();
    }
    view.OnStop();
    state.SetLabel(std::to_string(view.m_printResults.penumbraLat.size()) + " penumbra points");
}
BENCHMARK(AnimationTick)
    ->Arg(7 * 60 + 40)
    ->Arg(10 * 60 + 11)
    ->Arg(11 * 60 + 40)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
