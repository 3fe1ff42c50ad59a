#pragma once
// What every input must satisfy, whatever its bytes. The fuzz targets abort on a
// broken rule; tst_fuzzcorpus runs the kept inputs (seeds and regressions)
// through the same rules in the ordinary tests, where the sanitizer build also
// sees them. Each check returns an empty string when all held, else what broke.

#include "baseaddress.h"
#include "converterror.h"
#include "jpegpicture.h"
#include "rtfreader.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>

#include <optional>

namespace grdfuzz {

// First byte: the switch count (1 + byte % 10) and, from byte / 10, whether the
// rest is UTF-8 or UTF-16 text; the rest: the text.
struct TBaseAddressInput
{
    int NumSwitches = 1;
    QString Text;
};

inline TBaseAddressInput SplitBaseAddressInput(const QByteArray &data)
{
    TBaseAddressInput input;
    if (data.isEmpty())
        return input;
    const auto first = static_cast<unsigned char>(data[0]);
    input.NumSwitches = MIN_SWITCHES + first % (MAX_SWITCHES - MIN_SWITCHES + 1);
    const QByteArray rest = data.mid(1);
    if ((first / 10) % 2 == 0)
        input.Text = QString::fromUtf8(rest);
    else
        input.Text = QString(reinterpret_cast<const QChar *>(rest.constData()), rest.size() / 2);
    return input;
}

// The parser's result worked out another way: digit by digit, counting the
// significant ones. Thrown is true for more than eight.
struct TExpectedAddress
{
    std::optional<int> Value;
    bool Thrown = false;
};

inline TExpectedAddress ExpectedAddress(const QString &text, int numSwitches)
{
    TExpectedAddress expected;
    bool anyDigit = false;
    int significant = 0;
    quint64 value = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit < 0)
            continue;
        anyDigit = true;
        if (significant > 0 || digit != 0)
            ++significant;
        if (significant <= 8)
            value = value * 16 + quint64(digit);
    }
    if (!anyDigit)
        return expected;
    if (significant > 8) {
        expected.Thrown = true;
        return expected;
    }
    expected.Value = int(value & quint64(SwitchMask(numSwitches)));
    return expected;
}

// Needs a QApplication: a TBaseAddress widget takes the text as well.
inline QString CheckBaseAddressInput(const QByteArray &data)
{
    const TBaseAddressInput input = SplitBaseAddressInput(data);
    const TExpectedAddress expected = ExpectedAddress(input.Text, input.NumSwitches);
    const int mask = SwitchMask(input.NumSwitches);

    std::optional<int> parsed;
    bool thrown = false;
    try {
        parsed = ParseBaseAddress(input.Text, input.NumSwitches);
    } catch (const EConvertError &) {
        thrown = true;
    }
    if (thrown != expected.Thrown)
        return thrown ? QStringLiteral("ParseBaseAddress threw for at most eight significant digits")
                      : QStringLiteral("ParseBaseAddress took more than eight significant digits");
    if (parsed != expected.Value)
        return QStringLiteral("ParseBaseAddress gave %1, expected %2")
            .arg(parsed ? QString::number(*parsed, 16) : QStringLiteral("nothing"),
                 expected.Value ? QString::number(*expected.Value, 16) : QStringLiteral("nothing"));
    if (parsed && (*parsed & ~mask) != 0)
        return QStringLiteral("ParseBaseAddress left bits outside the switches' mask");

    TBaseAddress sw;
    sw.SetNumSwitches(input.NumSwitches);
    bool widgetThrown = false;
    try {
        sw.SetBaseAddressStr(input.Text);
    } catch (const EConvertError &) {
        widgetThrown = true;
    }
    if (widgetThrown != thrown)
        return QStringLiteral("SetBaseAddressStr and ParseBaseAddress disagree on refusing");
    const int shown = parsed ? *parsed : 0;
    if (sw.AddressValue() != shown)
        return QStringLiteral("SetBaseAddressStr holds %1, expected %2")
            .arg(sw.AddressValue(), 0, 16)
            .arg(shown, 0, 16);
    if (sw.BaseAddressStr() != QString::number(shown, 16).toUpper())
        return QStringLiteral("BaseAddressStr is '%1' for the value %2")
            .arg(sw.BaseAddressStr())
            .arg(shown, 0, 16);
    return {};
}

// Needs a QGuiApplication.
inline QString CheckRtfInput(const QByteArray &data)
{
    QTextDocument doc;
    ReadRtf(data, doc);
    const QString plain = doc.toPlainText();
    // Every character shown comes from at least one byte of input.
    if (plain.size() > data.size())
        return QStringLiteral("%1 characters from %2 bytes").arg(plain.size()).arg(data.size());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.hasProperty(QTextFormat::FontPointSize) &&
                (format.fontPointSize() < 0.5 || format.fontPointSize() > RtfMaxHalfPoints / 2.0))
                return QStringLiteral("font size %1 points").arg(format.fontPointSize());
        }
    }
    // Reading again replaces the content rather than adding to it.
    ReadRtf(data, doc);
    if (doc.toPlainText() != plain)
        return QStringLiteral("a second read into the same document gave another text");
    return {};
}

// Pictures up to this many pixels are decoded as well as read.
constexpr qint64 FuzzMaxDecodedPixels = qint64(1) << 20;

inline QString CheckJpegInput(const QByteArray &data)
{
    std::optional<TJpegHeader> header;
    try {
        header = ReadJpegHeader(data);
    } catch (const EJpegError &) {
    }
    if (header && (header->Width <= 0 || header->Height <= 0 ||
                   qint64(header->Width) * header->Height > MaxJpegPixels))
        return QStringLiteral("header accepted with the size %1 x %2")
            .arg(header->Width)
            .arg(header->Height);

    // Large pictures are not decoded: a few hundred bytes of arithmetic-coded or
    // progressive data may declare millions of pixels, and decoding those takes
    // seconds without reaching any code that a small picture does not.
    if (header && qint64(header->Width) * header->Height > FuzzMaxDecodedPixels)
        return {};
    for (const TJpegPixelFormat format : {jf24Bit, jf8Bit}) {
        QImage image;
        try {
            image = DecodeJpeg(data, format);
        } catch (const EJpegError &) {
            continue;
        }
        if (!header)
            return QStringLiteral("decoded an image whose header was refused");
        if (image.width() != header->Width || image.height() != header->Height)
            return QStringLiteral("decoded %1 x %2, header says %3 x %4")
                .arg(image.width())
                .arg(image.height())
                .arg(header->Width)
                .arg(header->Height);
        if (format == jf24Bit && image.format() != QImage::Format_RGB32)
            return QStringLiteral("24-bit output in format %1").arg(int(image.format()));
        if (format == jf8Bit) {
            if (image.format() != QImage::Format_Indexed8)
                return QStringLiteral("8-bit output in format %1").arg(int(image.format()));
            const qsizetype colours = image.colorTable().size();
            if (colours < 1 || colours > 256)
                return QStringLiteral("8-bit output with %1 colours").arg(colours);
            // An index past the table would be drawn from whatever lies beyond it.
            for (int y = 0; y < image.height(); ++y) {
                const uchar *row = image.constScanLine(y);
                for (int x = 0; x < image.width(); ++x) {
                    if (row[x] >= colours)
                        return QStringLiteral("pixel (%1, %2) has index %3 of %4 colours")
                            .arg(x)
                            .arg(y)
                            .arg(row[x])
                            .arg(colours);
                }
            }
        }
    }
    return {};
}

} // namespace grdfuzz
