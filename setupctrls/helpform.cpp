#include "helpform.h"

#include "boardhighlight.h"
#include "boardimage.h"
#include "messages.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QShowEvent>

THelpForm::THelpForm(QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint)
{
}

void THelpForm::StartButtonClick(QObject *)
{
    hide();
    QWidget *main = parentWidget();
    if (auto *window = qobject_cast<QMainWindow *>(main))
        main = window->centralWidget();
    if (!main)
        return;
    for (QObject *child : main->children()) {
        if (auto *board = qobject_cast<TBoardImage *>(child)) {
            TMessageEvent message(WM_STARTTOUR, 0, 0);
            QCoreApplication::sendEvent(board, &message);
            return;
        }
    }
}

QPoint THelpForm::FirstPosition() const
{
    const QWidget *main = parentWidget();
    if (!main)
        return geometry().topLeft();
    // The frame around this window is not known before its first showing; take the
    // one the main window has, which the window manager gives both alike.
    const QRect mainFrame = main->frameGeometry();
    const QMargins frame(main->geometry().left() - mainFrame.left(),
                         main->geometry().top() - mainFrame.top(),
                         mainFrame.right() - main->geometry().right(),
                         mainFrame.bottom() - main->geometry().bottom());
    const QSize outer = size().grownBy(frame);
    const QPoint outerTopLeft(mainFrame.x() + (mainFrame.width() - outer.width()) / 2,
                              mainFrame.y() + (mainFrame.height() - outer.height()) / 2);
    return outerTopLeft + QPoint(frame.left(), frame.top());
}

void THelpForm::showEvent(QShowEvent *event)
{
    if (!FPlaced && !event->spontaneous()) {
        FPlaced = true;
        setGeometry(QRect(FirstPosition(), size()));
    }
    QWidget::showEvent(event);
}
