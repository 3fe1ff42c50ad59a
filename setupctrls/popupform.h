#pragma once
// The small stay-on-top tool window of one group of linked highlights: the group's
// option panel at the top, its explanation text below, the Previous, Next and Done
// buttons of the guided tour and a status bar. It is built once and hidden, never
// destroyed, when closed; its QObject parent is the highlight that made it.

#include "anchors.h"
#include "vcl.h"

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class TBoardHighlight;

class TPopupForm : public QWidget
{
    Q_OBJECT

public:
    explicit TPopupForm(TBoardHighlight *highlight);
    ~TPopupForm() override;

    TBoardHighlight *Highlight() const { return FHighlight; }
    // The highlight is going away: no more reports to it.
    void DetachHighlight() { FHighlight = nullptr; }

    bool EnteredByMouse() const { return FEnteredByMouse; }
    void SetEnteredByMouse(bool value) { FEnteredByMouse = value; }

    // Creates the memo, the buttons and the status bar for a client area of
    // `clientWidth` x `clientHeight` with a memo `memoHeight` high.
    void BuildChildren(int clientWidth, int clientHeight, int memoHeight);

    // The size the window has outside its client area: none before the window
    // manager framed it (and never on the offscreen platform).
    QSize FrameExtra() const;

    // Moves the window's outer rectangle onto the primary screen.
    void KeepOnScreen();
    // Where an outer rectangle must move to lie on a screen of `screen` size: a
    // negative left or top becomes 0, one reaching past the far edge is pulled back
    // so that the edge meets the screen's; larger than the screen ends negative.
    static QPoint OnScreenPosition(const QRect &outer, const QSize &screen);

    // Gives the focus to `target` once the window is active, so that the focus
    // really moves into it (a listener sees an entry, not a window switch).
    void FocusWhenActive(QWidget *target);

    QStatusBar *PopupStatus = nullptr;
    QPushButton *PreviousButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *DoneButton = nullptr;
    QPlainTextEdit *StatusMemo = nullptr;

    TNotifyEvent OnActivate() const { return FOnActivate; }
    void SetOnActivate(TNotifyEvent handler) { FOnActivate = std::move(handler); }
    TNotifyEvent OnDeactivate() const { return FOnDeactivate; }
    void SetOnDeactivate(TNotifyEvent handler) { FOnDeactivate = std::move(handler); }
    TNotifyEvent OnClose() const { return FOnClose; }
    void SetOnClose(TNotifyEvent handler) { FOnClose = std::move(handler); }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPointer<TBoardHighlight> FHighlight;
    bool FEnteredByMouse = false;
    QPointer<QWidget> FPendingFocus;
    TNotifyEvent FOnActivate;
    TNotifyEvent FOnDeactivate;
    TNotifyEvent FOnClose;
};
