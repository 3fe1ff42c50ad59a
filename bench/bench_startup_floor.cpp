// The floor for start-up: an empty Qt program that shows a maximised main window
// with a menu bar and ends at its first paint.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

namespace {

class TFirstPaintWatcher : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Exit"));
    window.menuBar()->addMenu(QStringLiteral("&Help"));
    auto *client = new QWidget(&window);
    window.setCentralWidget(client);
    TFirstPaintWatcher watcher;
    client->installEventFilter(&watcher);
    window.showMaximized();
    return app.exec();
}
