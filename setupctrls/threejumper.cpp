#include "threejumper.h"

#include <QPainter>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int DEFAULT_WIDTH = 43;
constexpr int DEFAULT_HEIGHT = 18;
constexpr double PIN_SPACING = 4.5; // outer pin centres sit (W - 2) / 4.5 in from the ends

} // namespace

TThreeJumperGeometry ThreeJumperGeometry(int W, int H)
{
    TThreeJumperGeometry g;
    const int inset = RoundEven((W - 2) / PIN_SPACING);
    g.C = inset + 1;
    g.R = std::min(inset / 3, RoundEven((H - 2) / 4.0));
    g.Cy = H / 2;
    g.M = W / 2;
    g.Reach = (g.M - g.C + 2) / 2;
    const int centres[3] = {g.C, g.M, W - g.C};
    for (int i = 0; i < 3; ++i)
        g.Pins[i] = {centres[i] - g.R, g.Cy - g.R, centres[i] + g.R, g.Cy + g.R};
    g.LeftCap = {0, 0, g.M + g.Reach, H};
    g.RightCap = {g.M - g.Reach, 0, W, H};
    return g;
}

TJumperState NextJumperState(TJumperState state, bool allowOpen)
{
    switch (state) {
    case jsOpen:
        return jsLeft;
    case jsLeft:
        return jsRight;
    case jsRight:
        break;
    }
    return allowOpen ? jsOpen : jsLeft;
}

TThreeJumper::TThreeJumper(QWidget *parent) : TJumperPicture(parent)
{
    resize(DEFAULT_WIDTH, DEFAULT_HEIGHT);
}

TThreeJumper::~TThreeJumper() = default;

void TThreeJumper::SetJumperState(TJumperState value)
{
    if (value < jsOpen || value > jsRight)
        throw std::invalid_argument(
            QStringLiteral("%1 is not a jumper state").arg(int(value)).toStdString());
    if (value == FJumperState || (value == jsOpen && !FAllowOpen))
        return;
    FJumperState = value;
    Invalidate();
}

void TThreeJumper::SetAllowOpen(bool value)
{
    if (value == FAllowOpen)
        return;
    FAllowOpen = value;
    if (!FAllowOpen && FJumperState == jsOpen)
        FJumperState = jsLeft;
    Invalidate();
}

void TThreeJumper::Click()
{
    SetJumperState(NextJumperState(FJumperState, FAllowOpen));
    FireOnClick();
}

void TThreeJumper::DrawUpright(QPainter &painter, int W, int H)
{
    DrawBox(painter, {0, 0, W, H}, PanelColor(), std::nullopt);

    const QColor black(Qt::black);
    const int corner = H / 2;
    DrawRoundBox(painter, {1, 1, W - 1, H - 1}, corner, corner, FBaseColor,
                 OutlineFor(FBaseColor));

    const TThreeJumperGeometry g = ThreeJumperGeometry(W, H);
    // The cap keeps its black outline whatever the border style.
    if (FJumperState == jsLeft)
        DrawBox(painter, g.LeftCap, FJumperColor, black);
    else if (FJumperState == jsRight)
        DrawBox(painter, g.RightCap, FJumperColor, black);

    // Pins last: they show through the cap.
    for (const TBox &pin : g.Pins)
        FillEllipse(painter, pin, FPinColor);
}
