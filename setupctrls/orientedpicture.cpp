#include "orientedpicture.h"

#include "radiopanel.h"
#include "vcl.h"

#include <QPainter>

#include <cmath>
#include <stdexcept>

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

bool IsTurned(TOrientationType orientation)
{
    return orientation == otLeft || orientation == otRight;
}

QSize UprightSize(TOrientationType orientation, QSize control)
{
    return IsTurned(orientation) ? control.transposed() : control;
}

QPoint OrientedPixel(TOrientationType orientation, int x, int y, int W, int H)
{
    switch (orientation) {
    case otDown:
        return {W - 1 - x, H - 1 - y};
    case otLeft:
        return {y, W - 1 - x};
    case otRight:
        return {H - 1 - y, x};
    case otUp:
        break;
    }
    return {x, y};
}

QImage OrientImage(const QImage &upright, TOrientationType orientation)
{
    const QImage source = upright.convertToFormat(QImage::Format_RGB32);
    if (orientation == otUp)
        return source;
    const int W = source.width();
    const int H = source.height();
    QImage oriented(IsTurned(orientation) ? QSize(H, W) : QSize(W, H), QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < W; ++x) {
            const QPoint to = OrientedPixel(orientation, x, y, W, H);
            reinterpret_cast<QRgb *>(oriented.scanLine(to.y()))[to.x()] = row[x];
        }
    }
    return oriented;
}

bool EllipseCovers(const TBox &box, int x, int y)
{
    const long long w = box.Width();
    const long long h = box.Height();
    if (w <= 0 || h <= 0 || x < box.X1 || x >= box.X2 || y < box.Y1 || y >= box.Y2)
        return false;
    // Everything doubled so that pixel centres (x + 0.5) and the box centre stay
    // integers: (dx / w)^2 + (dy / h)^2 <= 1 with dx, dy measured from the centre.
    const long long dx = 2LL * x + 1 - (box.X1 + box.X2);
    const long long dy = 2LL * y + 1 - (box.Y1 + box.Y2);
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

bool RoundBoxCovers(const TBox &box, int ellipseW, int ellipseH, int x, int y)
{
    if (x < box.X1 || x >= box.X2 || y < box.Y1 || y >= box.Y2)
        return false;
    // Corner ellipses larger than the box are clipped to it, as GDI does.
    const int ew = std::min(ellipseW, box.Width());
    const int eh = std::min(ellipseH, box.Height());
    if (ew <= 0 || eh <= 0)
        return true;
    // Doubled pixel centres against the doubled edges of the corner zones.
    const int px = 2 * x + 1;
    const int py = 2 * y + 1;
    const bool left = px < 2 * box.X1 + ew;
    const bool right = px > 2 * box.X2 - ew;
    const bool top = py < 2 * box.Y1 + eh;
    const bool bottom = py > 2 * box.Y2 - eh;
    if (!(left || right) || !(top || bottom))
        return true;
    const int ex = left ? box.X1 : box.X2 - ew;
    const int ey = top ? box.Y1 : box.Y2 - eh;
    return EllipseCovers({ex, ey, ex + ew, ey + eh}, x, y);
}

namespace {

// Fills every pixel of `box` that `covers` accepts, in horizontal runs; with an
// outline colour, the covered pixels with an uncovered 4-neighbour take the outline,
// so the outline is one pixel wide and lies inside the shape.
template <typename Covers>
void DrawShape(QPainter &painter, const TBox &box, const QColor &fill,
               std::optional<QColor> outline, Covers covers)
{
    for (int y = box.Y1; y < box.Y2; ++y) {
        int x = box.X1;
        while (x < box.X2) {
            if (!covers(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < box.X2 && covers(x, y))
                ++x;
            painter.fillRect(QRect(start, y, x - start, 1), fill);
        }
    }
    if (!outline)
        return;
    for (int y = box.Y1; y < box.Y2; ++y) {
        for (int x = box.X1; x < box.X2; ++x) {
            if (covers(x, y) &&
                (!covers(x - 1, y) || !covers(x + 1, y) || !covers(x, y - 1) || !covers(x, y + 1)))
                painter.fillRect(QRect(x, y, 1, 1), *outline);
        }
    }
}

} // namespace

void DrawBox(QPainter &painter, const TBox &box, const QColor &fill, std::optional<QColor> outline)
{
    const int w = box.Width();
    const int h = box.Height();
    if (w <= 0 || h <= 0)
        return;
    painter.fillRect(QRect(box.X1, box.Y1, w, h), fill);
    if (!outline)
        return;
    painter.fillRect(QRect(box.X1, box.Y1, w, 1), *outline);
    painter.fillRect(QRect(box.X1, box.Y2 - 1, w, 1), *outline);
    painter.fillRect(QRect(box.X1, box.Y1, 1, h), *outline);
    painter.fillRect(QRect(box.X2 - 1, box.Y1, 1, h), *outline);
}

void DrawRoundBox(QPainter &painter, const TBox &box, int ellipseW, int ellipseH,
                  const QColor &fill, std::optional<QColor> outline)
{
    DrawShape(painter, box, fill, outline,
              [&](int x, int y) { return RoundBoxCovers(box, ellipseW, ellipseH, x, y); });
}

void FillEllipse(QPainter &painter, const TBox &box, const QColor &fill)
{
    DrawShape(painter, box, fill, std::nullopt,
              [&](int x, int y) { return EllipseCovers(box, x, y); });
}

TOrientedPicture::TOrientedPicture(QWidget *parent) : QWidget(parent) {}

TOrientedPicture::~TOrientedPicture() = default;

void TOrientedPicture::SetOrientation(TOrientationType value)
{
    if (value < otUp || value > otRight)
        throw std::invalid_argument(
            QStringLiteral("%1 is not an orientation").arg(int(value)).toStdString());
    if (value == FOrientation)
        return;
    if (IsTurned(value) != IsTurned(FOrientation))
        FSwapPending = !FSwapPending;
    FOrientation = value;
    Invalidate();
}

void TOrientedPicture::Invalidate()
{
    ++FUpdateRequests;
    update();
}

QColor TOrientedPicture::PanelColor() const
{
    const QWidget *parent = parentWidget();
    // Exactly a radio panel: subclasses keep the button face, like any other parent.
    if (parent && parent->metaObject() == &TRadioPanel::staticMetaObject)
        return static_cast<const TRadioPanel *>(parent)->Color();
    return Vcl::ButtonFaceColor();
}

void TOrientedPicture::paintEvent(QPaintEvent *)
{
    const QSize upright = UprightSize(FOrientation, size());
    if (FUprightBitmap.size() != upright)
        FUprightBitmap = QImage(upright, QImage::Format_RGB32);
    if (!FUprightBitmap.isNull()) {
        QPainter painter(&FUprightBitmap);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        DrawUpright(painter, upright.width(), upright.height());
    }
    FOrientedBitmap = OrientImage(FUprightBitmap, FOrientation);

    if (FSwapPending) {
        FSwapPending = false;
        // A picture turned before it was ever shown was given its final size.
        if (FPaintedOnce)
            resize(height(), width());
    }

    if (!FOrientedBitmap.isNull()) {
        QPainter screen(this);
        screen.drawImage(0, 0, FOrientedBitmap);
    }
    FPaintedOnce = true;
}
