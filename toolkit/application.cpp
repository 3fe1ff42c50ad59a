#include "application.h"

#include "fonts.h"

#include <QAbstractEventDispatcher>
#include <QMessageBox>

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

void TApplication::Idle()
{
    if (!FOnIdle || FInIdle)
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
