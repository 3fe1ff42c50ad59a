#include "boardimage.h"

#include "boardhighlight.h"
#include "messages.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>

TBoardImage::TBoardImage(QWidget *parent) : QWidget(parent)
{
    FPicture.OnChange = [this] { PictureUpdated(); };
    resize(105, 105);
}

TBoardImage::~TBoardImage()
{
    FPicture.OnChange = nullptr;
}

TBoardHighlight *TBoardImage::First() const
{
    return FFirst;
}

void TBoardImage::SetFirst(TBoardHighlight *first)
{
    FFirst = first;
}

void TBoardImage::SetScale(bool value)
{
    if (value == FScale)
        return;
    FScale = value;
    PictureUpdated();
}

void TBoardImage::SetCenter(bool value)
{
    if (value == FCenter)
        return;
    FCenter = value;
    PictureUpdated();
}

void TBoardImage::SetStretch(bool value)
{
    if (value == FStretch)
        return;
    FStretch = value;
    PictureUpdated();
}

void TBoardImage::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    PictureUpdated();
}

void TBoardImage::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    if (FAutoSize) {
        int w = width(), h = height();
        if (CanAutoSize(w, h))
            resize(w, h);
    }
}

QRect TBoardImage::PictureRect() const
{
    if (FStretch)
        return rect();
    const int pw = FPicture.Width();
    const int ph = FPicture.Height();
    if (FCenter) {
        // Integer division truncates toward zero, also for a picture larger than
        // the panel, where the offsets are negative.
        return QRect((width() - pw) / 2, (height() - ph) / 2, pw, ph);
    }
    return QRect(0, 0, pw, ph);
}

bool TBoardImage::CanAutoSize(int &newWidth, int &newHeight) const
{
    const bool noPicture = FPicture.Width() <= 0 || FPicture.Height() <= 0;
    if (Vcl::InDesignMode(this) && noPicture)
        return true;
    if (FAlign == alNone || FAlign == alLeft || FAlign == alRight)
        newWidth = FPicture.Width();
    if (FAlign == alNone || FAlign == alTop || FAlign == alBottom)
        newHeight = FPicture.Height();
    return true;
}

QList<QRgb> TBoardImage::GetPalette() const
{
    const TGraphic *graphic = FPicture.Graphic();
    return graphic ? graphic->Palette() : QList<QRgb>();
}

void TBoardImage::Invalidate()
{
    ++FUpdateRequests;
    update();
}

void TBoardImage::PictureUpdated()
{
    const int pw = FPicture.Width();
    const int ph = FPicture.Height();
    if (pw > 0 && ph > 0) {
        const double ratio = double(ph) / double(pw);
        FAspectRatio = std::isfinite(ratio) ? ratio : 1.0;
        if (FAutoSize)
            setGeometry(x(), y(), pw, ph);
    }
    if (TGraphic *graphic = FPicture.Graphic()) {
        if (!graphic->IsMetafileOrIcon())
            graphic->SetTransparent(FTransparent);
        const bool covers = FStretch || (pw >= width() && ph >= height());
        setAttribute(Qt::WA_OpaquePaintEvent, !graphic->Transparent() && covers);
        // A palette change announced while the picture is being drawn needs the
        // picture drawn again with the new palette; a paint cannot nest in Qt, so
        // the repaint follows as soon as this one ends.
        if (NotifyPaletteChange() && FDrawing)
            Invalidate();
    } else {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
    if (!FDrawing)
        Invalidate();
}

bool TBoardImage::NotifyPaletteChange()
{
    TGraphic *graphic = FPicture.Graphic();
    if (!isVisible() || !graphic || !graphic->PaletteModified())
        return false;
    if (!graphic->HasPalette()) {
        graphic->SetPaletteModified(false);
        return false;
    }
    // Qt realises palettes itself; what remains is the rule that only the active
    // form takes a new palette at once.
    QWidget *form = window();
    if (!form || !form->isActiveWindow() || !form->winId())
        return false;
    graphic->SetPaletteModified(false);
    return true;
}

// The first two steps of every paint: remember where the panel was laid out, then
// centre it on its parent.
bool TBoardImage::PlaceForPaint()
{
    if (!FDesignPosKnown) {
        FDesignLeft = x();
        FDesignTop = y();
        FDesignPosKnown = true;
    }
    if (!FCenterOnForm || Vcl::InDesignMode(this) || !parentWidget())
        return false;
    const QSize outer = Vcl::OuterSizeOf(parentWidget());
    const QPoint centred((outer.width() - width()) / 2, (outer.height() - height()) / 2);
    if (centred == pos())
        return false;
    move(centred);
    return true;
}

void TBoardImage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Watch the window's paint cycle, so that the panel is placed before Qt works
    // out what to paint, and draws at its new place in the same frame.
    QWindow *handle = window()->windowHandle();
    if (handle && handle != FPaintCycle) {
        if (FPaintCycle)
            FPaintCycle->removeEventFilter(this);
        handle->installEventFilter(this);
        FPaintCycle = handle;
    }
}

bool TBoardImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FPaintCycle && isVisible() &&
        (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest))
        PlaceForPaint();
    return QWidget::eventFilter(watched, event);
}

void TBoardImage::paintEvent(QPaintEvent *)
{
    if (PlaceForPaint()) {
        // Moved inside a paint (one that did not come through the window's paint
        // cycle): Qt moves an opaque widget's pixels along with it and repaints only
        // what was uncovered, so what this paint would draw lands at the old place.
        // Draw everything at the new place in the paint that follows.
        update();
        return;
    }
    const bool designing = Vcl::InDesignMode(this);

    QPainter painter(this);
    if (designing) {
        if (FScale) {
            // Qt's qRound rounds halves away from zero; the rule here is halves to even.
            const int h = int(std::nearbyint(width() * FAspectRatio));
            if (h != height())
                resize(width(), h);
        }
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }

    TGraphic *graphic = FPicture.Graphic();
    if (!graphic)
        return;
    const bool wasDrawing = FDrawing;
    FDrawing = true;
    struct Restore
    {
        bool &flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{FDrawing, wasDrawing};
    graphic->Draw(painter, PictureRect());
    // Decoding an 8-bit picture makes a new palette: that is a change of the picture.
    if (graphic->PaletteModified())
        FPicture.Changed();
}

bool TBoardImage::event(QEvent *event)
{
    if (event->type() == QEvent::Type(WM_STARTTOUR)) {
        auto *message = static_cast<TMessageEvent *>(event);
        StartTour(int(message->WParam), int(message->LParam));
        return true;
    }
    return QWidget::event(event);
}

void TBoardImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        FOnClick)
        FOnClick(this);
    QWidget::mouseReleaseEvent(event);
}

void TBoardImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && FOnDblClick)
        FOnDblClick(this);
    QWidget::mouseDoubleClickEvent(event);
}

void TBoardImage::StartTour(int wParam, int lParam)
{
    Q_UNUSED(lParam);
    if (!FFirst)
        return;
    // Enter, click, leave: the first highlight's popup opens, pinned, and stays.
    FFirst->MouseEnter(wParam);
    FFirst->Click();
    FFirst->MouseLeave(wParam);
}
