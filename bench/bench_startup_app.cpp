// The program as it starts, ending as soon as the main window has painted the
// card photograph for the first time. Run by bench/run.sh, which times the process.
// With BENCH_VERBOSE set it prints a time line of the windows' shows, exposes,
// resizes and paints (milliseconds since the start of main) on stderr.

#include "application.h"
#include "jpegpicture.h"
#include "template.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

QElapsedTimer Clock;

// Prints the events of every object that tell when windows appear and paint.
class TTimeLine : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Expose:
        case QEvent::Resize:
        case QEvent::Paint:
            std::fprintf(stderr, "%7.1f ms  %-16s %-20s event %d\n", Clock.nsecsElapsed() / 1e6,
                         watched->metaObject()->className(), qPrintable(watched->objectName()),
                         int(event->type()));
            break;
        default:
            break;
        }
        return false;
    }
};

class TFirstPaintWatcher : public QObject
{
public:
    explicit TFirstPaintWatcher(TBoardImage *board) : FBoard(board) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == FBoard && event->type() == QEvent::Paint) {
            // Check after the paint has run: the first paint may only move the board.
            QTimer::singleShot(0, this, [this] {
                auto *jpeg = dynamic_cast<TJpegPicture *>(FBoard->Picture().Graphic());
                if (jpeg && jpeg->Decoded())
                    QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    TBoardImage *FBoard;
};

} // namespace

int main(int argc, char **argv)
{
    Clock.start();
    TApplication app(argc, argv);
    TTimeLine timeLine;
    if (std::getenv("BENCH_VERBOSE"))
        app.installEventFilter(&timeLine);
    TMainForm form;
    TFirstPaintWatcher watcher(form.BoardImage1);
    form.BoardImage1->installEventFilter(&watcher);
    form.resize(TMainForm::NormalOuterSize);
    form.showMaximized();
    return app.exec();
}
