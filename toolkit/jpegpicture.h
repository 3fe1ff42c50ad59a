#pragma once
// JPEG pictures decoded with libjpeg. Every error the library reports, and every
// warning about damaged data, becomes an EJpegError carrying the library's message;
// a picture that failed to decode is never held as good.

#include "graphic.h"

#include <QByteArray>
#include <QImage>
#include <stdexcept>

class EJpegError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Output of the decoder: 24-bit colour, or 8-bit indices into a palette that the
// decoder generates for the picture (for displays of 8 bits per pixel or fewer).
enum TJpegPixelFormat { jf24Bit, jf8Bit };

struct TJpegHeader
{
    int Width = 0;
    int Height = 0;
    int Components = 0;
    bool Progressive = false;
};

// Reads the frame header only. Throws EJpegError.
TJpegHeader ReadJpegHeader(const QByteArray &data);

// Decodes a whole image. Progressive files are read in buffered-image mode: all
// scans are taken in first and the final image is output in one pass. Throws
// EJpegError; returns Format_RGB32 for jf24Bit and Format_Indexed8 for jf8Bit.
// `scans`, when given, receives the number of scans the file held.
QImage DecodeJpeg(const QByteArray &data, TJpegPixelFormat format, int *scans = nullptr);

// Largest picture the decoder accepts, in pixels; larger headers are refused
// before any memory for the image is taken.
constexpr qint64 MaxJpegPixels = qint64(1) << 26;

class TJpegPicture : public TGraphic
{
public:
    TJpegPicture();

    // Keeps the data and reads its header; the image is decoded when first drawn.
    // Throws EJpegError and leaves the picture as it was.
    void LoadFromData(const QByteArray &data);

    int Width() const override { return FHeader.Width; }
    int Height() const override { return FHeader.Height; }
    bool Progressive() const { return FHeader.Progressive; }
    const QByteArray &Data() const { return FData; }

    TJpegPixelFormat PixelFormat() const { return FPixelFormat; }
    // Changing the format drops the decoded image; the next draw decodes again.
    void SetPixelFormat(TJpegPixelFormat format);
    // jf8Bit on displays of 8 bits per pixel or fewer, else jf24Bit.
    static TJpegPixelFormat DisplayPixelFormat();

    // Decodes now if not done yet. Throws EJpegError.
    void Decode();
    bool Decoded() const { return !FImage.isNull(); }
    const QImage &Image() const { return FImage; }
    int ScanCount() const { return FScans; }

    void Draw(QPainter &painter, const QRect &rect) override;
    std::unique_ptr<TGraphic> Clone() const override;

    bool HasPalette() const override { return FImage.format() == QImage::Format_Indexed8; }
    QList<QRgb> Palette() const override { return FImage.colorTable(); }

private:
    QByteArray FData;
    TJpegHeader FHeader;
    TJpegPixelFormat FPixelFormat;
    QImage FImage;
    int FScans = 0;
};
