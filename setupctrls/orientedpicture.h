#pragma once
// The common ground of the card pictures (address switch, two-pin and three-pin
// jumpers): each is drawn upright into an off-screen image, turned to its
// Orientation pixel by pixel and copied to the screen in one block.
//
// Drawing conventions shared by the pictures: a box (X1, Y1, X2, Y2) covers
// X1 <= x < X2 and Y1 <= y < Y2; a one-pixel outline lies inside its box; a shape
// drawn without outline is only filled.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <optional>

class QPainter;

// Which way the top edge of the upright drawing faces on screen. otUp and otDown
// keep the control's width and height; otLeft and otRight are quarter turns.
enum TOrientationType { otUp, otDown, otLeft, otRight };

// A box with exclusive right and bottom edges.
struct TBox
{
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;

    int Width() const { return X2 - X1; }
    int Height() const { return Y2 - Y1; }
    bool operator==(const TBox &) const = default;
};

// Nearest integer, halves to the even neighbour (4.5 -> 4, 5.5 -> 6). Relies on the
// default floating-point rounding mode, which nothing in the program changes.
int RoundEven(double value);

// True for the quarter turns, which exchange width and height.
bool IsTurned(TOrientationType orientation);

// The size of the upright drawing of a control of `control` size.
QSize UprightSize(TOrientationType orientation, QSize control);

// Where pixel (x, y) of a W x H upright drawing lands in the oriented image.
QPoint OrientedPixel(TOrientationType orientation, int x, int y, int W, int H);

// The upright image turned to `orientation`, moved one pixel at a time.
QImage OrientImage(const QImage &upright, TOrientationType orientation);

// Whether the pixel (x, y) belongs to the ellipse inscribed in `box`: its centre
// (x + 0.5, y + 0.5) lies inside or on the ellipse.
bool EllipseCovers(const TBox &box, int x, int y);

// Whether the pixel (x, y) belongs to the box with rounded corners whose corner
// ellipses are `ellipseW` wide and `ellipseH` high.
bool RoundBoxCovers(const TBox &box, int ellipseW, int ellipseH, int x, int y);

// Shape painting on the upright drawing; no outline colour means filled only.
void DrawBox(QPainter &painter, const TBox &box, const QColor &fill, std::optional<QColor> outline);
void DrawRoundBox(QPainter &painter, const TBox &box, int ellipseW, int ellipseH,
                  const QColor &fill, std::optional<QColor> outline);
void FillEllipse(QPainter &painter, const TBox &box, const QColor &fill);

class TOrientedPicture : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TOrientationType Orientation READ Orientation WRITE SetOrientation)

public:
    explicit TOrientedPicture(QWidget *parent = nullptr);
    ~TOrientedPicture() override;

    TOrientationType Orientation() const { return FOrientation; }
    // Turning into the other pair (upright <-> turned) exchanges width and height at
    // the next paint, but only once the picture has been on screen; turning back
    // before that paint cancels the exchange. A value outside the enumeration throws
    // std::invalid_argument.
    void SetOrientation(TOrientationType value);

    // The images of the last paint, read-only.
    const QImage &UprightBitmap() const { return FUprightBitmap; }
    const QImage &OrientedBitmap() const { return FOrientedBitmap; }
    bool SwapPending() const { return FSwapPending; }
    bool PaintedOnce() const { return FPaintedOnce; }

    // How many repaints the picture has asked for through its setters.
    int UpdateRequests() const { return FUpdateRequests; }

protected:
    void paintEvent(QPaintEvent *event) override;

    // Draws the picture upright on a W x H surface that the painter covers.
    virtual void DrawUpright(QPainter &painter, int W, int H) = 0;

    // The single way the pictures ask for a repaint.
    void Invalidate();

    // The colour behind a jumper: its panel's colour when the parent is exactly a
    // radio panel, otherwise the button face.
    QColor PanelColor() const;

private:
    TOrientationType FOrientation = otUp;
    QImage FUprightBitmap;
    QImage FOrientedBitmap;
    bool FSwapPending = false;
    bool FPaintedOnce = false;
    int FUpdateRequests = 0;
};
