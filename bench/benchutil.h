#pragma once
// Helpers the in-process benchmarks share.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

// Handles events until `done` answers true; false when `timeoutMs` passed first.
inline bool RunUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}
