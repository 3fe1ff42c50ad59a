#include "application.h"

#include "fonts.h"

#include <QAbstractEventDispatcher>
#include <QMessageBox>
#include <QWindow>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    RegisterFontSubstitutions();
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TApplication::Idle);
}

TApplication::~TApplication() = default;

TApplication *TApplication::Instance()
{
    return qobject_cast<TApplication *>(QCoreApplication::instance());
}

bool TApplication::FirstPaintPending() const
{
    // A window shown but never exposed has its first paint still to come.
    const auto windows = topLevelWidgets();
    for (const QWidget *widget : windows) {
        const QWindow *handle = widget->windowHandle();
        if (widget->isVisible() && handle && !FExposedOnce.contains(handle))
            return true;
    }
    return false;
}

void TApplication::Idle()
{
    // Paint messages came before idle time on the old platform: a window's first
    // paint is not held up by the idle work, which may build further windows.
    if (!FOnIdle || FInIdle || FirstPaintPending())
        return;
    // The handler may replace or clear the hook while it runs, which would destroy
    // the function object being called; call a copy.
    const TIdleEvent handler = FOnIdle;
    bool done = true;
    FInIdle = true;
    try {
        handler(this, done);
    } catch (const std::exception &error) {
        FInIdle = false;
        HandleException(error);
        return;
    }
    FInIdle = false;
}

void TApplication::HandleException(const std::exception &error)
{
    ShowErrorMessage(QString::fromLocal8Bit(error.what()));
}

void TApplication::ShowErrorMessage(const QString &message)
{
    if (FErrorDisplay) {
        FErrorDisplay(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, applicationName(), message, QMessageBox::Ok);
    box.exec();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    if (event->type() == QEvent::Expose && receiver->isWindowType() &&
        static_cast<QWindow *>(receiver)->isExposed())
        FExposedOnce.insert(static_cast<QWindow *>(receiver));
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        HandleException(error);
    }
    return false;
}

void RunGuarded(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::exception &error) {
        if (TApplication *app = TApplication::Instance())
            app->HandleException(error);
        else
            qWarning("%s", error.what());
    }
}
