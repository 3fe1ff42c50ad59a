#pragma once
// The picture of a two-pin jumper: a housing with two pins, and a cap over both
// when the jumper is closed. A click toggles it, or, on a radio-enabled panel,
// selects it among its sibling jumpers.

#include "jumperpicture.h"

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

class TTwoJumper : public TJumperPicture
{
    Q_OBJECT
    Q_PROPERTY(bool Closed READ Closed WRITE SetClosed)

public:
    explicit TTwoJumper(QWidget *parent = nullptr);
    ~TTwoJumper() override;

    bool Closed() const { return FClosed; }
    void SetClosed(bool value);

    // Toggles (or selects, on a radio-enabled panel), then OnClick.
    void Click() override;

protected:
    void DrawUpright(QPainter &painter, int W, int H) override;

private:
    bool FClosed = false;
};
