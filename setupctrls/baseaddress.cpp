#include "baseaddress.h"

#include "converterror.h"
#include "fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <stdexcept>

namespace {

constexpr int DEFAULT_WIDTH = 102;
constexpr int DEFAULT_HEIGHT = 61;
constexpr int TOP_BIT = 9;         // the highest address bit on the switch
constexpr int LABEL_POINTS = 8;    // 11 pixels at 96 dots per inch
constexpr int SLOT_TOP = 13;       // leaves room for the "ON" mark above the slots
constexpr int SLOT_FOOT = 3;       // body rows below the slots
constexpr int MAX_SIGNIFICANT = 8; // hexadecimal digits that fit 32 bits
const QColor STRIP_COLOR(0x00, 0x80, 0x00);
const QColor SLOT_COLOR(0x80, 0x80, 0x80);

void CheckSwitchCount(int numSwitches)
{
    if (numSwitches < MIN_SWITCHES || numSwitches > MAX_SWITCHES)
        throw std::invalid_argument(QStringLiteral("NumSwitches must lie between %1 and %2, not %3")
                                        .arg(MIN_SWITCHES)
                                        .arg(MAX_SWITCHES)
                                        .arg(numSwitches)
                                        .toStdString());
}

// Writes `text` with the top-left corner of its character cell at (x, y).
void TextOut(QPainter &painter, int x, int y, const QString &text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

} // namespace

int SwitchMask(int numSwitches)
{
    CheckSwitchCount(numSwitches);
    const int allBits = (1 << (TOP_BIT + 1)) - 1;
    const int belowLowest = (1 << (TOP_BIT + 1 - numSwitches)) - 1;
    return allBits & ~belowLowest;
}

std::optional<int> ParseBaseAddress(const QString &text, int numSwitches)
{
    const int mask = SwitchMask(numSwitches);
    QString digits;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= u'a' && u <= u'f')
            digits += QChar(u - u'a' + u'A');
        else if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F'))
            digits += ch;
    }
    if (digits.isEmpty())
        return std::nullopt;

    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == u'0')
        ++first;
    if (digits.size() - first > MAX_SIGNIFICANT)
        throw EConvertError(
            QStringLiteral("'%1' is not a valid integer value").arg(QStringLiteral("$") + digits));

    // Eight digits fill 32 bits; from 80000000 upward the value is negative, which
    // the mask of bits 0..9 makes harmless.
    const quint32 raw = digits.mid(first).toUInt(nullptr, 16);
    return static_cast<qint32>(raw) & mask;
}

TSwitchGeometry SwitchGeometry(int W, int H, int numSwitches, int f)
{
    CheckSwitchCount(numSwitches);
    const int n = numSwitches;
    TSwitchGeometry g;
    g.Body = H - 2 * f - 1;
    g.SlotTop = SLOT_TOP;
    g.SlotBottom = g.Body - SLOT_FOOT;
    // Integer division truncates toward zero, as the drawing's T() does.
    g.SlotWidth = (W - 3) / (n + 1);
    g.Gap = (W - 3 - n * g.SlotWidth) / n + 1;
    g.Pitch = g.SlotWidth + g.Gap - 1;
    // 85 % of half the slot, truncated; whole numbers keep 0.85 from rounding below
    // an exact product.
    g.LeverLength = ((g.SlotBottom - g.SlotTop) / 2) * 85 / 100;
    for (int i = 0; i < n; ++i)
        g.SlotX.push_back(i * g.Pitch + g.Gap);
    return g;
}

int SwitchBit(int index, int numSwitches, bool leftToRight)
{
    return leftToRight ? TOP_BIT - index : TOP_BIT + 1 - numSwitches + index;
}

TBaseAddress::TBaseAddress(QWidget *parent) : TOrientedPicture(parent)
{
    resize(DEFAULT_WIDTH, DEFAULT_HEIGHT);
}

TBaseAddress::~TBaseAddress() = default;

QFont TBaseAddress::LabelFont()
{
    QFont font = DesignFont(QStringLiteral("MS Sans Serif"), LABEL_POINTS);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void TBaseAddress::SetBaseAddressStr(const QString &text)
{
    const std::optional<int> value = ParseBaseAddress(text, FNumSwitches);
    if (!value || *value == FAddressValue)
        return;
    FAddressValue = *value;
    FBaseAddressStr = QString::number(FAddressValue, 16).toUpper();
    Invalidate();
}

void TBaseAddress::SetNumSwitches(int value)
{
    CheckSwitchCount(value);
    if (value == FNumSwitches)
        return;
    FNumSwitches = value;
    Invalidate();
}

void TBaseAddress::SetOnIsOne(bool value)
{
    if (value == FOnIsOne)
        return;
    FOnIsOne = value;
    Invalidate();
}

void TBaseAddress::SetLeftToRight(bool value)
{
    if (value == FLeftToRight)
        return;
    FLeftToRight = value;
    Invalidate();
}

void TBaseAddress::SetSwitchColor(const QColor &value)
{
    if (value == FSwitchColor)
        return;
    FSwitchColor = value;
    Invalidate();
}

void TBaseAddress::DrawUpright(QPainter &painter, int W, int H)
{
    const QFont font = LabelFont();
    const int f = font.pixelSize();
    const TSwitchGeometry g = SwitchGeometry(W, H, FNumSwitches, f);
    const QColor black(Qt::black);

    DrawBox(painter, {0, 0, W, g.Body}, black, black);
    DrawBox(painter, {0, g.Body, W, H}, STRIP_COLOR, std::nullopt);

    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    TextOut(painter, 0, 0, QStringLiteral("ON"));

    const int w = g.SlotWidth;
    for (int x : g.SlotX)
        DrawBox(painter, {x, g.SlotTop, x + w, g.SlotBottom}, SLOT_COLOR, black);

    // Labels are left-aligned with the centred "A", not centred on their own width.
    const int t = painter.fontMetrics().horizontalAdvance(QStringLiteral("A"));
    for (int i = 0; i < FNumSwitches; ++i) {
        const int x = g.SlotX[i];
        const int bit = SwitchBit(i, FNumSwitches, FLeftToRight);
        const int labelX = x + w / 2 - t / 2;
        TextOut(painter, labelX, g.Body, QStringLiteral("A"));
        TextOut(painter, labelX, g.Body + f - 1, QString::number(bit));

        const bool one = (FAddressValue >> bit) & 1;
        const bool on = one == FOnIsOne;
        const TBox lever = on ? TBox{x, g.SlotTop, x + w, g.SlotTop + g.LeverLength}
                              : TBox{x, g.SlotBottom - g.LeverLength, x + w, g.SlotBottom};
        DrawBox(painter, lever, FSwitchColor, black);
    }
    painter.restore();
}
