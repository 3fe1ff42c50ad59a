// The program as it starts, ending as soon as the main window has painted the
// card photograph for the first time. Run by bench/run.sh, which times the process.

#include "application.h"
#include "jpegpicture.h"
#include "template.h"

#include <QTimer>

namespace {

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
    TApplication app(argc, argv);
    TMainForm form;
    TFirstPaintWatcher watcher(form.BoardImage1);
    form.BoardImage1->installEventFilter(&watcher);
    form.resize(TMainForm::NormalOuterSize);
    form.showMaximized();
    return app.exec();
}
