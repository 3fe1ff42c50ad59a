#include "popupform.h"

#include "anchors.h"
#include "boardhighlight.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>

namespace {

constexpr int BUTTON_WIDTH = 58;
constexpr int BUTTON_HEIGHT = 25;
constexpr int BUTTON_MARGIN = 6;           // buttons and memo keep this from the side edges
constexpr int BUTTON_ROW_FROM_BOTTOM = 44; // button top above the client's bottom edge
constexpr int STATUS_HEIGHT = 19;

} // namespace

TPopupForm::TPopupForm(TBoardHighlight *highlight)
    : QWidget(highlight, Qt::Tool | Qt::WindowStaysOnTopHint), FHighlight(highlight)
{
    setObjectName(QStringLiteral("PopupForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The owner's font, not the board's: the popup is a window of its own.
    setFont(highlight->window()->font());
}

TPopupForm::~TPopupForm() = default;

void TPopupForm::BuildChildren(int cw, int ch, int memoHeight)
{
    FReferenceClient = QSize(cw, ch);
    PopupStatus = new QStatusBar(this);
    PopupStatus->setObjectName(QStringLiteral("PopupStatus"));
    // One empty panel; nothing in this program writes to it.
    auto *panel = new QLabel(PopupStatus);
    panel->setObjectName(QStringLiteral("PopupStatusPanel"));
    PopupStatus->addWidget(panel, 1);
    PopupStatus->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    PopupStatus->setGeometry(0, ch - STATUS_HEIGHT, cw, STATUS_HEIGHT);
    Anchor(PopupStatus, TAnchors(akLeft) | akRight | akBottom);

    const int buttonTop = ch - BUTTON_ROW_FROM_BOTTOM;
    auto makeButton = [&](const char *name, const char *text, int left, TAnchors anchors) {
        auto *button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, buttonTop, BUTTON_WIDTH, BUTTON_HEIGHT);
        Anchor(button, anchors);
        return button;
    };
    PreviousButton =
        makeButton("PreviousButton", "Previous", BUTTON_MARGIN, TAnchors(akLeft) | akBottom);
    NextButton = makeButton("NextButton", "Next", (cw - BUTTON_WIDTH) / 2, TAnchors(akBottom));
    DoneButton = makeButton("DoneButton", "Done", cw - BUTTON_WIDTH - BUTTON_MARGIN,
                            TAnchors(akRight) | akBottom);

    StatusMemo = new QPlainTextEdit(this);
    StatusMemo->setObjectName(QStringLiteral("StatusMemo"));
    StatusMemo->setReadOnly(true);
    StatusMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StatusMemo->setGeometry(BUTTON_MARGIN, buttonTop - memoHeight - BUTTON_MARGIN,
                            cw - 2 * BUTTON_MARGIN, memoHeight);
    Anchor(StatusMemo, AllAnchors);

    // The buttons act on the highlight that owns the popup, as long as it exists.
    connect(PreviousButton, &QPushButton::clicked, this, [this] {
        if (FHighlight)
            FHighlight->PreviousClick(PreviousButton);
    });
    connect(NextButton, &QPushButton::clicked, this, [this] {
        if (FHighlight)
            FHighlight->NextClick(NextButton);
    });
    connect(DoneButton, &QPushButton::clicked, this, [this] {
        if (FHighlight)
            FHighlight->DoneClick(DoneButton);
    });
}

void TPopupForm::Anchor(QWidget *control, TAnchors anchors)
{
    FAnchored.append({control, anchors, control->geometry()});
}

void TPopupForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (const TAnchoredControl &a : FAnchored) {
        if (a.Control)
            a.Control->setGeometry(
                AnchoredGeometry(a.Anchors, a.Reference, FReferenceClient, size()));
    }
}

QSize TPopupForm::FrameExtra() const
{
    // Qt knows the frame only once the window has been shown.
    if (!isVisible())
        return QSize(0, 0);
    return frameGeometry().size() - geometry().size();
}

QPoint TPopupForm::OnScreenPosition(const QRect &outer, const QSize &screen)
{
    int left = outer.left();
    int top = outer.top();
    if (left < 0)
        left = 0;
    else if (left + outer.width() > screen.width())
        left = screen.width() - outer.width();
    if (top < 0)
        top = 0;
    else if (top + outer.height() > screen.height())
        top = screen.height() - outer.height();
    return {left, top};
}

void TPopupForm::KeepOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect outer(pos(), size() + FrameExtra());
    move(OnScreenPosition(outer, screen->geometry().size()));
}

void TPopupForm::FocusWhenActive(QWidget *target)
{
    if (!target)
        return;
    // Recorded as the window's focus widget now; when the window is active the focus
    // is set again with a reason of its own, because the focus that Qt hands back on
    // activation reads as a mere window switch.
    target->setFocus(Qt::OtherFocusReason);
    if (isActiveWindow() && target->hasFocus())
        return;
    FPendingFocus = target;
    activateWindow();
}

bool TPopupForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (FHighlight)
            FHighlight->SetPopupActive(true, true);
        if (QWidget *target = FPendingFocus) {
            FPendingFocus = nullptr;
            if (target->isVisible())
                target->setFocus(Qt::OtherFocusReason);
        }
        if (FOnActivate)
            FOnActivate(this);
        break;
    case QEvent::WindowDeactivate:
        if (FHighlight)
            FHighlight->SetPopupActive(false, true);
        if (FOnDeactivate)
            FOnDeactivate(this);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TPopupForm::closeEvent(QCloseEvent *event)
{
    // Closing only hides the window; it is shown again the next time.
    event->accept();
    QWidget::closeEvent(event);
    if (FOnClose)
        FOnClose(this);
}

void TPopupForm::leaveEvent(QEvent *event)
{
    // Left and top edges belong to the window, right and bottom edges do not, which
    // is QRect::contains on the frame rectangle.
    if (FEnteredByMouse && !frameGeometry().contains(QCursor::pos())) {
        close();
        return;
    }
    QWidget::leaveEvent(event);
}
