#pragma once
// The picture of a two-pin jumper: a housing with two pins, and a cap over both
// when the jumper is closed. A click toggles it, or, on a radio-enabled panel,
// selects it among its sibling jumpers.

#include "orientedpicture.h"
#include "vcl.h"

class QMouseEvent;

// Where the pins of a W x H upright two-pin drawing lie.
struct TTwoJumperGeometry
{
    int C = 0;  // centre x of the left pin; the right pin is mirrored at W - C
    int R = 0;  // pin radius
    int Cy = 0; // centre y of both pins
    TBox LeftPin;
    TBox RightPin;
};
TTwoJumperGeometry TwoJumperGeometry(int W, int H);

class TTwoJumper : public TOrientedPicture
{
    Q_OBJECT
    Q_PROPERTY(bool Closed READ Closed WRITE SetClosed)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor BaseColor READ BaseColor WRITE SetBaseColor)
    Q_PROPERTY(QColor PinColor READ PinColor WRITE SetPinColor)
    Q_PROPERTY(QColor JumperColor READ JumperColor WRITE SetJumperColor)

public:
    explicit TTwoJumper(QWidget *parent = nullptr);
    ~TTwoJumper() override;

    bool Closed() const { return FClosed; }
    void SetClosed(bool value);
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

    // What a left click on the picture does: toggle (or select, on a radio-enabled
    // panel), then OnClick.
    void Click();

protected:
    void DrawUpright(QPainter &painter, int W, int H) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool FClosed = false;
    TBorderStyle FBorderStyle = bsSingle;
    QColor FBaseColor = QColor(0x80, 0x80, 0x80);
    QColor FPinColor = QColor(0xFF, 0xFF, 0x00);
    QColor FJumperColor = QColor(0x80, 0x00, 0x00);
    TNotifyEvent FOnClick;
    bool FLeftPressed = false;
};
