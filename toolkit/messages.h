#pragma once
// Window messages that the setup classes send to each other as Qt events.

#include <QEvent>

// The message that starts the guided tour (the old toolkit's WM_USER + 162).
constexpr int WM_STARTTOUR = 0x04A2;

class TMessageEvent : public QEvent
{
public:
    TMessageEvent(int message, qintptr wParam = 0, qintptr lParam = 0)
        : QEvent(QEvent::Type(message)), WParam(wParam), LParam(lParam)
    {
    }
    qintptr WParam;
    qintptr LParam;
};
