#include "twojumper.h"

#include "radiopanel.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int DEFAULT_WIDTH = 34;
constexpr int DEFAULT_HEIGHT = 18;
constexpr double PIN_SPACING = 3.5; // the pin centres sit W / 3.5 in from either end

} // namespace

TTwoJumperGeometry TwoJumperGeometry(int W, int H)
{
    TTwoJumperGeometry g;
    const int inset = RoundEven(W / PIN_SPACING);
    g.C = inset + 1;
    g.R = std::min(inset / 3, RoundEven(H / 4.0));
    g.Cy = H / 2;
    g.LeftPin = {g.C - g.R, g.Cy - g.R, g.C + g.R, g.Cy + g.R};
    g.RightPin = {W - g.C - g.R, g.Cy - g.R, W - g.C + g.R, g.Cy + g.R};
    return g;
}

TTwoJumper::TTwoJumper(QWidget *parent) : TJumperPicture(parent)
{
    resize(DEFAULT_WIDTH, DEFAULT_HEIGHT);
}

TTwoJumper::~TTwoJumper() = default;

void TTwoJumper::SetClosed(bool value)
{
    if (value == FClosed)
        return;
    FClosed = value;
    Invalidate();
}

void TTwoJumper::Click()
{
    QWidget *parent = parentWidget();
    if (parent && parent->metaObject() == &TRadioPanel::staticMetaObject &&
        static_cast<TRadioPanel *>(parent)->RadioEnabled())
        static_cast<TRadioPanel *>(parent)->SelectJumper(this);
    else
        SetClosed(!FClosed);
    FireOnClick();
}

void TTwoJumper::DrawUpright(QPainter &painter, int W, int H)
{
    DrawBox(painter, {0, 0, W, H}, PanelColor(), std::nullopt);

    if (FClosed) {
        // The cap hides the whole housing.
        DrawBox(painter, {0, 0, W, H}, FJumperColor, OutlineFor(FJumperColor));
    } else {
        const int corner = H / 2;
        DrawRoundBox(painter, {1, 1, W - 1, H - 1}, corner, corner, FBaseColor,
                     OutlineFor(FBaseColor));
    }

    // Pins last: they show through the cap.
    const TTwoJumperGeometry g = TwoJumperGeometry(W, H);
    FillEllipse(painter, g.LeftPin, FPinColor);
    FillEllipse(painter, g.RightPin, FPinColor);
}
