#include "radiopanel.h"

#include "focusentry.h"
#include "twojumper.h"

#include <QPainter>

TRadioPanel::TRadioPanel(QWidget *parent) : QWidget(parent)
{
    SetAnchors(this, DefaultAnchors);
    Vcl::SetBackgroundColor(this, Vcl::ButtonFaceColor());
    setGeometry(x(), y(), 194, 100);
    setVisible(false);
}

TRadioPanel::~TRadioPanel() = default;

void TRadioPanel::SetFinalAnchors(TAnchors value)
{
    FFinalAnchors = value;
    if (FInPopup)
        SetAnchors(this, value);
}

void TRadioPanel::SetOnEnter(TNotifyEvent handler)
{
    FOnEnter = std::move(handler);
    if (FOnEnter)
        ::SetOnEnter(this, [this] { FOnEnter(this); });
    else
        ::SetOnEnter(this, nullptr);
}

QColor TRadioPanel::Color() const
{
    return Vcl::BackgroundColor(this);
}

void TRadioPanel::SetColor(const QColor &color)
{
    if (color == Color())
        return;
    Vcl::SetBackgroundColor(this, color);
}

void TRadioPanel::SelectJumper(TTwoJumper *jumper)
{
    bool changed = false;
    for (QObject *child : children()) {
        // Subclasses of the two-pin jumper do not take part in the radio group.
        if (child->metaObject() != &TTwoJumper::staticMetaObject)
            continue;
        auto *other = static_cast<TTwoJumper *>(child);
        const bool target = other == jumper;
        if (other->Closed() != target)
            changed = true;
        other->SetClosed(target);
    }
    if (changed && FOnRadioChange)
        FOnRadioChange(jumper);
}

void TRadioPanel::paintEvent(QPaintEvent *)
{
    if (Vcl::InDesignMode(this) && !FDesignHidden) {
        FDesignHidden = true;
        // Hiding from inside a paint is deferred to the event loop.
        QMetaObject::invokeMethod(this, [this] { setVisible(false); }, Qt::QueuedConnection);
    }
    // The background is filled by Qt from the palette (autoFillBackground); the
    // panel has no bevel and no caption to draw.
}
