#include "timerowner.h"

#include "application.h"

#include <QTimerEvent>
#include <stdexcept>

namespace {
bool RefuseTimers = false;
}

TTimerOwner::TTimerOwner(QObject *parent) : QObject(parent) {}

TTimerOwner::~TTimerOwner()
{
    Stop();
}

void TTimerOwner::SetRefuseTimers(bool refuse)
{
    RefuseTimers = refuse;
}

void TTimerOwner::Start(int interval)
{
    Stop();
    FTimerId = RefuseTimers ? 0 : startTimer(interval);
    if (FTimerId == 0)
        throw std::runtime_error("Not enough timers available");
}

void TTimerOwner::Stop()
{
    if (FTimerId != 0) {
        killTimer(FTimerId);
        FTimerId = 0;
    }
}

void TTimerOwner::timerEvent(QTimerEvent *event)
{
    // Every timer of this object is a tick, whatever its id.
    Q_UNUSED(event);
    if (FOnTimer)
        RunGuarded(FOnTimer);
}
