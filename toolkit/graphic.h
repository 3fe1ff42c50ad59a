#pragma once
// A picture and the graphics it can hold: the stand-in for the old toolkit's
// TPicture/TGraphic pair. A graphic knows its size and draws itself scaled into a
// rectangle; a picture owns one graphic and reports every change.

#include <QImage>
#include <QRect>
#include <functional>
#include <memory>

class QPainter;

class TGraphic
{
public:
    virtual ~TGraphic() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

    // Draws the graphic scaled into `rect`. May throw when the data cannot be shown.
    virtual void Draw(QPainter &painter, const QRect &rect) = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // Metafiles and icons keep their own transparency; none exists here.
    virtual bool IsMetafileOrIcon() const { return false; }

    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value) { FTransparent = value; }

    // A graphic with a colour table (8-bit pictures) has a palette; it marks it
    // modified when it makes a new one.
    virtual bool HasPalette() const { return false; }
    virtual QList<QRgb> Palette() const { return {}; }
    bool PaletteModified() const { return FPaletteModified; }
    void SetPaletteModified(bool value) { FPaletteModified = value; }

protected:
    bool FTransparent = false;
    bool FPaletteModified = false;
};

// A plain image in memory.
class TBitmapGraphic : public TGraphic
{
public:
    explicit TBitmapGraphic(QImage image = {}) : FImage(std::move(image)) {}
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void Draw(QPainter &painter, const QRect &rect) override;
    std::unique_ptr<TGraphic> Clone() const override
    {
        return std::make_unique<TBitmapGraphic>(*this);
    }
    const QImage &Image() const { return FImage; }

private:
    QImage FImage;
};

class TPicture
{
public:
    TPicture() = default;
    TPicture(const TPicture &) = delete;
    TPicture &operator=(const TPicture &) = delete;

    TGraphic *Graphic() const { return FGraphic.get(); }
    // Takes ownership of `graphic` (null empties the picture) and reports the change.
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // Copies the other picture's graphic.
    void Assign(const TPicture &other);

    // Loads JPEG data; the graphic becomes a JPEG picture. Throws on bad data and
    // leaves the picture unchanged then.
    void LoadJpeg(const QByteArray &data);

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    std::function<void()> OnChange;
    void Changed()
    {
        if (OnChange)
            OnChange();
    }

private:
    std::unique_ptr<TGraphic> FGraphic;
};
