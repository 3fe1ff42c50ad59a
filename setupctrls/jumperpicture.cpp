#include "jumperpicture.h"

#include <QMouseEvent>

void TJumperPicture::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    Invalidate();
}

void TJumperPicture::SetBaseColor(const QColor &value)
{
    if (value == FBaseColor)
        return;
    FBaseColor = value;
    Invalidate();
}

void TJumperPicture::SetPinColor(const QColor &value)
{
    if (value == FPinColor)
        return;
    FPinColor = value;
    Invalidate();
}

void TJumperPicture::SetJumperColor(const QColor &value)
{
    if (value == FJumperColor)
        return;
    FJumperColor = value;
    Invalidate();
}

void TJumperPicture::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        FLeftPressed = true;
    event->accept();
}

// A click is a left press and release over the picture.
void TJumperPicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = FLeftPressed && rect().contains(event->position().toPoint());
    FLeftPressed = false;
    event->accept();
    if (click)
        Click();
}
