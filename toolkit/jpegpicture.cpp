#include "jpegpicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

// libjpeg reports errors through error_exit, which must not return. Throwing from
// it unwinds through the library's frames back into Decoder, whose destructor
// releases the library's memory; no longjmp crosses C++ frames.
[[noreturn]] void ThrowLibraryMessage(j_common_ptr cinfo)
{
    char buffer[JMSG_LENGTH_MAX] = {};
    (*cinfo->err->format_message)(cinfo, buffer);
    throw EJpegError(buffer);
}

void ErrorExit(j_common_ptr cinfo)
{
    ThrowLibraryMessage(cinfo);
}

// Warnings (level -1) mean damaged data: a truncated file or a corrupt scan. The
// library would go on and fill the rest of the image with grey; refuse instead.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ThrowLibraryMessage(cinfo);
}

void OutputMessage(j_common_ptr) {}

// Owns one decompressor for the time of a call.
class Decoder
{
public:
    explicit Decoder(const QByteArray &data)
    {
        cinfo.err = jpeg_std_error(&jerr);
        jerr.error_exit = ErrorExit;
        jerr.emit_message = EmitMessage;
        jerr.output_message = OutputMessage;
        jpeg_create_decompress(&cinfo);
        // Bounds the memory that a hostile header can make the library take.
        cinfo.mem->max_memory_to_use = 512L * 1024 * 1024;
        // The memory source refuses empty input by throwing; the destructor does not
        // run for a constructor that throws, so release the decompressor here.
        try {
            jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                         static_cast<unsigned long>(data.size()));
        } catch (...) {
            jpeg_destroy_decompress(&cinfo);
            throw;
        }
    }
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;

    TJpegHeader ReadHeader()
    {
        jpeg_read_header(&cinfo, TRUE);
        TJpegHeader header;
        header.Width = int(cinfo.image_width);
        header.Height = int(cinfo.image_height);
        header.Components = cinfo.num_components;
        header.Progressive = cinfo.progressive_mode;
        if (qint64(header.Width) * header.Height > MaxJpegPixels)
            throw EJpegError("JPEG image too large");
        return header;
    }

    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
};

QRgb CmykToRgb(const JSAMPLE *p, bool adobeInverted)
{
    int c = p[0], m = p[1], y = p[2], k = p[3];
    if (!adobeInverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    return qRgb(c * k / 255, m * k / 255, y * k / 255);
}

void ReadRows(jpeg_decompress_struct &cinfo, QImage &image, bool cmyk)
{
    std::vector<JSAMPLE> cmykRow;
    if (cmyk)
        cmykRow.resize(size_t(cinfo.output_width) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        if (cmyk) {
            JSAMPROW row = cmykRow.data();
            jpeg_read_scanlines(&cinfo, &row, 1);
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x)
                out[x] = CmykToRgb(&cmykRow[x * 4], cinfo.saw_Adobe_marker);
        } else {
            JSAMPROW row = image.scanLine(y);
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
    }
}

void TakeColormap(const jpeg_decompress_struct &cinfo, QImage &image)
{
    QList<QRgb> table;
    table.reserve(cinfo.actual_number_of_colors);
    for (int i = 0; i < cinfo.actual_number_of_colors; ++i) {
        if (cinfo.out_color_components == 1) {
            const int v = cinfo.colormap[0][i];
            table.append(qRgb(v, v, v));
        } else {
            table.append(qRgb(cinfo.colormap[0][i], cinfo.colormap[1][i], cinfo.colormap[2][i]));
        }
    }
    image.setColorTable(table);
}

} // namespace

TJpegHeader ReadJpegHeader(const QByteArray &data)
{
    Decoder decoder(data);
    return decoder.ReadHeader();
}

QImage DecodeJpeg(const QByteArray &data, TJpegPixelFormat format, int *scans)
{
    Decoder decoder(data);
    jpeg_decompress_struct &cinfo = decoder.cinfo;
    decoder.ReadHeader();

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // The colour quantiser works on grey or RGB output only.
    const bool quantize = format == jf8Bit && !cmyk;
    if (cmyk) {
        cinfo.out_color_space = JCS_CMYK;
    } else if (quantize) {
        cinfo.out_color_space = cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = 256;
        cinfo.two_pass_quantize = TRUE;
        cinfo.dither_mode = JDITHER_FS;
    } else {
        // Straight into the layout of QImage::Format_RGB32 on a little-endian machine.
        cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    }
    cinfo.buffered_image = jpeg_has_multiple_scans(&cinfo);
    if (cinfo.buffered_image && quantize)
        cinfo.enable_2pass_quant = TRUE;

    jpeg_start_decompress(&cinfo);
    QImage image(int(cinfo.output_width), int(cinfo.output_height),
                 quantize ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull())
        throw EJpegError("Not enough memory for the decoded JPEG image");

    if (cinfo.buffered_image) {
        // Take in every scan first, then produce the final image in one output pass.
        for (;;) {
            const int status = jpeg_consume_input(&cinfo);
            if (status == JPEG_REACHED_EOI)
                break;
            if (status == JPEG_SUSPENDED)
                throw EJpegError("Premature end of JPEG file");
        }
        jpeg_start_output(&cinfo, cinfo.input_scan_number);
        if (quantize)
            TakeColormap(cinfo, image);
        ReadRows(cinfo, image, cmyk);
        jpeg_finish_output(&cinfo);
    } else {
        if (quantize)
            TakeColormap(cinfo, image);
        ReadRows(cinfo, image, cmyk);
    }
    if (scans)
        *scans = cinfo.input_scan_number;
    jpeg_finish_decompress(&cinfo);

    if (format == jf8Bit && cmyk)
        image = image.convertToFormat(QImage::Format_Indexed8);
    return image;
}

TJpegPicture::TJpegPicture() : FPixelFormat(DisplayPixelFormat()) {}

TJpegPixelFormat TJpegPicture::DisplayPixelFormat()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->depth() <= 8 ? jf8Bit : jf24Bit;
}

void TJpegPicture::LoadFromData(const QByteArray &data)
{
    const TJpegHeader header = ReadJpegHeader(data);
    FData = data;
    FHeader = header;
    FImage = QImage();
    FScans = 0;
}

void TJpegPicture::SetPixelFormat(TJpegPixelFormat format)
{
    if (format == FPixelFormat)
        return;
    FPixelFormat = format;
    FImage = QImage();
    FScans = 0;
}

void TJpegPicture::Decode()
{
    if (Decoded() || FData.isEmpty())
        return;
    int scans = 0;
    QImage image = DecodeJpeg(FData, FPixelFormat, &scans);
    FImage = std::move(image);
    FScans = scans;
    if (HasPalette())
        SetPaletteModified(true);
}

void TJpegPicture::Draw(QPainter &painter, const QRect &rect)
{
    Decode();
    if (rect.size() == FImage.size())
        painter.drawImage(rect.topLeft(), FImage);
    else
        painter.drawImage(rect, FImage);
}

std::unique_ptr<TGraphic> TJpegPicture::Clone() const
{
    return std::make_unique<TJpegPicture>(*this);
}
