#pragma once
// What the two-pin and three-pin jumper pictures share: the housing, pin and cap
// colours, the border style, and a left click that runs Click() and then OnClick.

#include "orientedpicture.h"
#include "vcl.h"

class QMouseEvent;

class TJumperPicture : public TOrientedPicture
{
    Q_OBJECT
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor BaseColor READ BaseColor WRITE SetBaseColor)
    Q_PROPERTY(QColor PinColor READ PinColor WRITE SetPinColor)
    Q_PROPERTY(QColor JumperColor READ JumperColor WRITE SetJumperColor)

public:
    using TOrientedPicture::TOrientedPicture;

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    QColor BaseColor() const { return FBaseColor; }
    void SetBaseColor(const QColor &value);
    QColor PinColor() const { return FPinColor; }
    void SetPinColor(const QColor &value);
    QColor JumperColor() const { return FJumperColor; }
    void SetJumperColor(const QColor &value);

    // Fired at the end of every click, after the state has changed.
    const TNotifyEvent &OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

    // What a left click on the picture does: change the state, then OnClick.
    virtual void Click() = 0;

protected:
    void FireOnClick()
    {
        if (FOnClick)
            FOnClick(this);
    }
    // The outline colour of a part filled with `fill`: black, or the fill itself
    // (no visible outline) for bsNone.
    QColor OutlineFor(const QColor &fill) const
    {
        return FBorderStyle == bsSingle ? QColor(Qt::black) : fill;
    }

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    TBorderStyle FBorderStyle = bsSingle;
    QColor FBaseColor = QColor(0x80, 0x80, 0x80);
    QColor FPinColor = QColor(0xFF, 0xFF, 0x00);
    QColor FJumperColor = QColor(0x80, 0x00, 0x00);

private:
    TNotifyEvent FOnClick;
    bool FLeftPressed = false;
};
