#pragma once
// The picture of a three-pin jumper: a housing with three pins in a row and a cap
// over the left and middle pins, over the middle and right pins, or off. A click
// steps the cap to its next position.

#include "jumperpicture.h"

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

class TThreeJumper : public TJumperPicture
{
    Q_OBJECT
    Q_PROPERTY(TJumperState JumperState READ JumperState WRITE SetJumperState)
    Q_PROPERTY(bool AllowOpen READ AllowOpen WRITE SetAllowOpen)

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

    // Steps the cap, then OnClick.
    void Click() override;

protected:
    void DrawUpright(QPainter &painter, int W, int H) override;

private:
    TJumperState FJumperState = jsOpen;
    bool FAllowOpen = true;
};
