#pragma once
// The application object: Qt's QApplication with the two services the setup
// classes expect of their toolkit: a default error display for exceptions that
// escape an event handler, and an idle hook run when the event queue is empty.

#include <QApplication>
#include <QSet>

class QWindow;
#include <exception>
#include <functional>

// Called with the application as sender; the handler may set `done`.
using TIdleEvent = std::function<void(QObject *sender, bool &done)>;

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    static TApplication *Instance();

    // The idle hook. Assigning an empty function removes it; a handler may do so
    // while it runs.
    const TIdleEvent &OnIdle() const { return FOnIdle; }
    void SetOnIdle(TIdleEvent handler) { FOnIdle = std::move(handler); }

    // Shows the message of `error` in a message box (or hands it to the display
    // installed by SetErrorDisplay); the event loop goes on.
    void HandleException(const std::exception &error);
    void ShowErrorMessage(const QString &message);

    // Tests replace the message box so that they need not close it.
    using TErrorDisplay = std::function<void(const QString &message)>;
    void SetErrorDisplay(TErrorDisplay display) { FErrorDisplay = std::move(display); }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void Idle();
    bool FirstPaintPending() const;

    TIdleEvent FOnIdle;
    TErrorDisplay FErrorDisplay;
    bool FInIdle = false;
    QSet<const QWindow *> FExposedOnce; // windows that have had their first expose
};

// Runs `action`; an exception it throws goes to the default error display.
void RunGuarded(const std::function<void()> &action);
