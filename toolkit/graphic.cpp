#include "graphic.h"

#include "jpegpicture.h"

#include <QPainter>

void TBitmapGraphic::Draw(QPainter &painter, const QRect &rect)
{
    if (!FImage.isNull())
        painter.drawImage(rect, FImage);
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    FGraphic = std::move(graphic);
    Changed();
}

void TPicture::Assign(const TPicture &other)
{
    if (&other == this)
        return;
    SetGraphic(other.FGraphic ? other.FGraphic->Clone() : nullptr);
}

void TPicture::LoadJpeg(const QByteArray &data)
{
    auto jpeg = std::make_unique<TJpegPicture>();
    jpeg->LoadFromData(data);
    SetGraphic(std::move(jpeg));
}
