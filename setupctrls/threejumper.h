#pragma once
// The picture of a three-pin jumper: a housing with three pins in a row and a cap
// over the left and middle pins, over the middle and right pins, or off. A click
// steps the cap to its next position.

#include "orientedpicture.h"
#include "vcl.h"

class QMouseEvent;

// Cap position; left and right as in the upright drawing.
enum TJumperState { jsOpen, jsLeft, jsRight };

// Where pins and caps of a W x H upright three-pin drawing lie.
struct TThreeJumperGeometry
{
    int C = 0;     // centre x of the left pin; the right pin is mirrored at W - C
    int R = 0;     // pin radius
    int Cy = 0;    // centre y of the pins
    int M = 0;     // centre x of the middle pin
    int Reach = 0; // how far a cap reaches past the middle pin's centre
    TBox Pins[3];
    TBox LeftCap;
    TBox RightCap;
};
TThreeJumperGeometry ThreeJumperGeometry(int W, int H);

// The state a click moves to from `state`.
TJumperState NextJumperState(TJumperState state, bool allowOpen);

class TThreeJumper : public TOrientedPicture
{
    Q_OBJECT
    Q_PROPERTY(TJumperState JumperState READ JumperState WRITE SetJumperState)
    Q_PROPERTY(bool AllowOpen READ AllowOpen WRITE SetAllowOpen)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor BaseColor READ BaseColor WRITE SetBaseColor)
    Q_PROPERTY(QColor PinColor READ PinColor WRITE SetPinColor)
    Q_PROPERTY(QColor JumperColor READ JumperColor WRITE SetJumperColor)

public:
    explicit TThreeJumper(QWidget *parent = nullptr);
    ~TThreeJumper() override;

    TJumperState JumperState() const { return FJumperState; }
    // jsOpen is refused silently while AllowOpen is False; a value outside the
    // enumeration throws std::invalid_argument.
    void SetJumperState(TJumperState value);
    bool AllowOpen() const { return FAllowOpen; }
    // Forbidding the open state moves an open cap to jsLeft.
    void SetAllowOpen(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    QColor BaseColor() const { return FBaseColor; }
    void SetBaseColor(const QColor &value);
    QColor PinColor() const { return FPinColor; }
    void SetPinColor(const QColor &value);
    QColor JumperColor() const { return FJumperColor; }
    void SetJumperColor(const QColor &value);

    // Fired at the end of every click, after the state has stepped.
    const TNotifyEvent &OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

    // What a left click on the picture does: step the cap, then OnClick.
    void Click();

protected:
    void DrawUpright(QPainter &painter, int W, int H) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TJumperState FJumperState = jsOpen;
    bool FAllowOpen = true;
    TBorderStyle FBorderStyle = bsSingle;
    QColor FBaseColor = QColor(0x80, 0x80, 0x80);
    QColor FPinColor = QColor(0xFF, 0xFF, 0x00);
    QColor FJumperColor = QColor(0x80, 0x00, 0x00);
    TNotifyEvent FOnClick;
    bool FLeftPressed = false;
};
