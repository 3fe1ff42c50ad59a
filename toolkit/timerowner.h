#pragma once
// A private timer with its own owner object, standing in for a hidden window that
// exists only to receive timer messages. Errors raised by a tick are caught and
// shown by the application's error display; the next tick comes as usual.

#include <QObject>
#include <functional>

class TTimerOwner : public QObject
{
    Q_OBJECT
public:
    explicit TTimerOwner(QObject *parent = nullptr);
    ~TTimerOwner() override;

    // Runs on every tick.
    void SetOnTimer(std::function<void()> handler) { FOnTimer = std::move(handler); }

    // Starts the timer with `interval` milliseconds, replacing a running one.
    // Throws std::runtime_error("Not enough timers available") when the system
    // refuses the timer.
    void Start(int interval);
    void Stop();
    bool Active() const { return FTimerId != 0; }

    // Tests make the system refuse every timer from now on.
    static void SetRefuseTimers(bool refuse);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    std::function<void()> FOnTimer;
    int FTimerId = 0;
};
