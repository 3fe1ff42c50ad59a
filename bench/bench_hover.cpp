// From the pointer entering a ring (the enter notification) to the ring's popup
// being on the screen: shown, exposed by the window system and painted. Each
// process measures the first opening of each group's popup in a fresh main window
// (the window is built on the first opening) and then many later openings of the
// same, hidden popups. Prints one line: "hover <first us> <later us>", the slowest
// first opening and the median later opening, for bench/run.sh to take medians of.
//   bench_hover [later openings per group]
// Meant for a real X server (bench/run.sh runs it under Xvfb with a window manager):
// there the expose comes back from the server after the window is mapped.

#include "application.h"
#include "benchutil.h"
#include "popupform.h"
#include "template.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

TPopupForm *GroupPopup(TBoardHighlight *ring)
{
    for (TBoardHighlight *h : ring->LinkedHighlights()) {
        if (h->Popup())
            return h->Popup();
    }
    return nullptr;
}

// Watches every event of the application for the measured ring's popup: the
// opening ends when the popup's window has handled its first expose with the popup
// painted. The expose is handled here, by the window's own handler, so that the
// time taken includes the painting and the flush to the window system that Qt does
// inside it.
class TOpeningWatcher : public QObject
{
public:
    // Opens the popup of `ring` and returns the time it took in microseconds, or a
    // negative number when the popup did not appear within a second.
    double Open(TBoardHighlight *ring)
    {
        FRing = ring;
        FPainted = false;
        FDone = false;
        QEventLoop loop;
        FLoop = &loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        FTimer.start();
        ring->MouseEnter(0);
        FEnteredNs = FTimer.nsecsElapsed();
        if (!FDone)
            loop.exec();
        FLoop = nullptr;
        FRing = nullptr;
        return FDone ? FElapsedNs / 1000.0 : -1.0;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!FRing || FDone)
            return false;
        TPopupForm *popup = GroupPopup(FRing);
        if (!popup)
            return false;
        if (event->type() == QEvent::Paint && watched == popup) {
            FPainted = true;
            return false;
        }
        if (event->type() == QEvent::Expose && watched == popup->windowHandle()) {
            FExposeNs = FTimer.nsecsElapsed();
            // QObject::event is public: the window's own handler runs here.
            static_cast<QObject *>(watched)->event(event);
            if (FPainted && popup->windowHandle()->isExposed())
                Finish();
            return true;
        }
        return false;
    }

private:
    void Finish()
    {
        FElapsedNs = FTimer.nsecsElapsed();
        if (std::getenv("BENCH_VERBOSE"))
            std::fprintf(stderr, "  enter returned %.0f us, expose came %.0f us, painted %.0f us\n",
                         FEnteredNs / 1000.0, FExposeNs / 1000.0, FElapsedNs / 1000.0);
        FDone = true;
        if (FLoop)
            FLoop->quit();
    }

    TBoardHighlight *FRing = nullptr;
    QEventLoop *FLoop = nullptr;
    QElapsedTimer FTimer;
    qint64 FElapsedNs = 0;
    qint64 FEnteredNs = 0;
    qint64 FExposeNs = 0;
    bool FPainted = false;
    bool FDone = false;
};

// Closes the popup of `ring` (the pointer is elsewhere, so leaving closes it) and
// waits until the window system has taken the window off the screen.
bool Close(TBoardHighlight *ring)
{
    ring->MouseLeave(0);
    TPopupForm *popup = GroupPopup(ring);
    const bool closed = RunUntil([&] {
        return popup && !popup->isVisible() &&
               (!popup->windowHandle() || !popup->windowHandle()->isExposed());
    }, 1000);
    // Let the window manager finish with the unmapped window.
    RunUntil([] { return false; }, 3);
    return closed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    const int later = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    TOpeningWatcher watcher;
    app.installEventFilter(&watcher);

    TMainForm form;
    form.resize(TMainForm::NormalOuterSize);
    form.showMaximized();
    const std::vector<TBoardHighlight *> rings = {form.BaseHighlight, form.IRQHighlight0,
                                                  form.EnableHighlight};
    if (!RunUntil([&] {
            return form.EnableHighlight->ImagesReady() && form.BaseHighlight->ImagesReady() &&
                   form.IRQHighlight0->ImagesReady() && form.IRQHighlight1->ImagesReady();
        }, 10000)) {
        std::fprintf(stderr, "the rings were never painted\n");
        return 1;
    }
    // The help window opens by itself shortly after start-up: close it first.
    if (RunUntil([&] { return form.SetSup->HelpForm() && form.SetSup->HelpForm()->isVisible(); },
                 3000))
        form.SetSup->HelpForm()->close();
    // The pointer rests in the bottom right corner of the screen, over no ring.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCursor::setPos(screen.bottomRight() - QPoint(2, 2));
    RunUntil([] { return false; }, 200);

    std::vector<double> first;
    for (TBoardHighlight *ring : rings) {
        const double us = watcher.Open(ring);
        if (us < 0 || !Close(ring)) {
            std::fprintf(stderr, "the popup of %s did not open and close\n",
                         qPrintable(ring->objectName()));
            return 1;
        }
        first.push_back(us);
    }
    std::vector<double> again;
    for (int i = 0; i < later; ++i) {
        for (TBoardHighlight *ring : rings) {
            const double us = watcher.Open(ring);
            if (us < 0 || !Close(ring)) {
                std::fprintf(stderr, "the popup of %s did not open and close again\n",
                             qPrintable(ring->objectName()));
                return 1;
            }
            again.push_back(us);
        }
    }
    if (std::getenv("BENCH_VERBOSE")) {
        std::fprintf(stderr, "first openings (us):");
        for (double us : first)
            std::fprintf(stderr, " %.0f", us);
        std::fprintf(stderr, "\nlater openings: min %.0f median %.0f max %.0f us\n",
                     *std::min_element(again.begin(), again.end()), Median(again),
                     *std::max_element(again.begin(), again.end()));
    }
    std::printf("hover %.1f %.1f\n", *std::max_element(first.begin(), first.end()),
                Median(again));
    return 0;
}
