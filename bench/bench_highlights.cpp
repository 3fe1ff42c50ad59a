// Preparing the ring images of the main window's four highlights (capturing the card
// beneath each ring and tinting its normal, bright and medium images), as the first
// paint of each ring does. Prints the median in microseconds beside the goal.
//   bench_highlights [runs]

#include "application.h"
#include "benchutil.h"
#include "template.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double GOAL_US = 200.0;

} // namespace

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 2001;
    TMainForm form;
    form.resize(TMainForm::NormalOuterSize);
    form.showMaximized();
    const std::vector<TBoardHighlight *> rings = {form.BaseHighlight, form.IRQHighlight0,
                                                  form.IRQHighlight1, form.EnableHighlight};
    if (!RunUntil([&] {
            return std::all_of(rings.begin(), rings.end(),
                               [](TBoardHighlight *h) { return h->ImagesReady(); });
        }, 10000)) {
        std::fprintf(stderr, "the rings were never painted\n");
        return 1;
    }

    const auto prepareAll = [&] {
        for (TBoardHighlight *h : rings)
            h->PrepareImages();
    };
    for (int i = 0; i < 20; ++i)
        prepareAll();
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        prepareAll();
        times.push_back(timer.nsecsElapsed() / 1000.0);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("ring images, 4 rings  %9.1f us   goal                  %9.1f us   ratio %.3f\n",
                median, GOAL_US, median / GOAL_US);
    return 0;
}
