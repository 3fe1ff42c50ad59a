// gencard: draws the GRD-KTX relay watchdog card, seen from its component side, and writes
// the picture as a progressive JFIF file with libjpeg. Usage: gencard OUTPUT.jpg
//
// The output is byte-for-byte the same on every run: nothing depends on the time, and the
// grain comes from a fixed-seed generator of our own (std distributions differ between
// libraries).

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

// jpeglib.h relies on FILE and size_t being declared before it.
#include <jpeglib.h>

namespace {

constexpr int IMAGE_WIDTH = 600;
constexpr int IMAGE_HEIGHT = 422;
constexpr int JPEG_QUALITY = 88;
constexpr int DENSITY_DPI = 300;

// The main window's highlight rectangles (x, y, width, height in image pixels). Each
// configurable part is drawn centred in its rectangle at about two thirds of its size, so that
// the ring, an ellipse inscribed in the rectangle, frames it.
const QRectF SWITCH_AREA(228, 173, 56, 86);
const QRectF IRQ_LOW_AREA(298, 275, 70, 35); // IRQ 2 to 7
const QRectF IRQ_HIGH_AREA(72, 283, 64, 40); // IRQ 10 to 15
const QRectF RELAY_JUMPER_AREA(492, 28, 50, 33);

// Printed circuit board. One 0.1 inch pitch (2.54 mm) is 8 px on this drawing.
constexpr double BOARD_LEFT = 10;
constexpr double BOARD_TOP = 12;
constexpr double BOARD_RIGHT = 552;  // the bracket stands against this edge
constexpr double BOARD_BOTTOM = 372; // board edge beside the connector tab
constexpr double PITCH = 8;

// Edge connector: the 8-bit section (contacts B1..B31 on this side, B1 next to the bracket),
// a notch, then the 16-bit extension (D1..D18). Coordinates are section edges; a contact
// occupies one pitch, its gold finger is narrower.
constexpr int EIGHT_BIT_CONTACTS = 31;
constexpr int SIXTEEN_BIT_CONTACTS = 18;
constexpr double EIGHT_BIT_RIGHT = 530;
constexpr double EIGHT_BIT_LEFT = EIGHT_BIT_RIGHT - EIGHT_BIT_CONTACTS * PITCH; // 282
constexpr double NOTCH_WIDTH = 14;
constexpr double SIXTEEN_BIT_RIGHT = EIGHT_BIT_LEFT - NOTCH_WIDTH;                    // 268
constexpr double SIXTEEN_BIT_LEFT = SIXTEEN_BIT_RIGHT - SIXTEEN_BIT_CONTACTS * PITCH; // 124
constexpr double TAB_MARGIN = 6; // bare board beyond the outer fingers
constexpr double TAB_BOTTOM = 406;
constexpr double FINGER_TOP = 377;
constexpr double FINGER_BOTTOM = 403;
constexpr double FINGER_WIDTH = 5.5;

// Mounting bracket on the right, seen edge-on, with its top tab bent outwards.
constexpr double BRACKET_LEFT = 553;
constexpr double BRACKET_RIGHT = 571;
constexpr double BRACKET_TOP = 5;
constexpr double BRACKET_BOTTOM = 396; // the tongue below it reaches into the slot
constexpr double BRACKET_TAB_RIGHT = 597;
constexpr double BRACKET_TAB_HEIGHT = 15;

const QColor MASK_LIGHT(38, 124, 70);
const QColor MASK_DARK(19, 88, 48);
const QColor COPPER_UNDER_MASK(150, 230, 150, 38);
const QColor SILK(238, 240, 230);
const QColor CHIP_TEXT(190, 190, 186);

const char *const SANS = "DejaVu Sans";

QFont font(const char *family, double pixelSize, bool bold, bool italic = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(qRound(pixelSize));
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Text centred on a point; silk-screen and component markings alike.
void drawCentredText(QPainter &p, const QPointF &centre, const QString &text, const QFont &f,
                     const QColor &colour)
{
    p.save();
    p.setFont(f);
    p.setPen(colour);
    const QRectF box(centre.x() - 100, centre.y() - 50, 200, 100);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

void drawRotatedText(QPainter &p, const QPointF &centre, double degrees, const QString &text,
                     const QFont &f, const QColor &colour)
{
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    drawCentredText(p, QPointF(0, 0), text, f, colour);
    p.restore();
}

// Soft shadow that a part casts on the board, light coming from the top left.
void drawShadow(QPainter &p, const QRectF &r, double radius, double offset = 2.5)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 20, 5, 34));
        const double grow = i * 0.9;
        p.drawRoundedRect(r.translated(offset, offset + 0.5).adjusted(-grow, -grow, grow, grow),
                          radius + grow, radius + grow);
    }
    p.restore();
}

QPainterPath boardOutline()
{
    QPainterPath path;
    const double corner = 5;
    const double tabLeft = SIXTEEN_BIT_LEFT - TAB_MARGIN;
    const double tabRight = EIGHT_BIT_RIGHT + TAB_MARGIN;
    const double chamfer = 2.5;
    path.moveTo(BOARD_LEFT + corner, BOARD_TOP);
    path.lineTo(BOARD_RIGHT, BOARD_TOP);
    path.lineTo(BOARD_RIGHT, BOARD_BOTTOM);
    path.lineTo(tabRight, BOARD_BOTTOM);
    path.lineTo(tabRight, TAB_BOTTOM - chamfer);
    path.lineTo(tabRight - chamfer, TAB_BOTTOM);
    path.lineTo(EIGHT_BIT_LEFT - 1 + chamfer, TAB_BOTTOM);
    path.lineTo(EIGHT_BIT_LEFT - 1, TAB_BOTTOM - chamfer);
    // The key notch between the two sections, rounded at its inner end.
    path.lineTo(EIGHT_BIT_LEFT - 1, BOARD_BOTTOM + 6);
    path.arcTo(QRectF(SIXTEEN_BIT_RIGHT + 1, BOARD_BOTTOM, NOTCH_WIDTH - 2, NOTCH_WIDTH - 2), 0,
               180);
    path.lineTo(SIXTEEN_BIT_RIGHT + 1, TAB_BOTTOM - chamfer);
    path.lineTo(SIXTEEN_BIT_RIGHT + 1 - chamfer, TAB_BOTTOM);
    path.lineTo(tabLeft + chamfer, TAB_BOTTOM);
    path.lineTo(tabLeft, TAB_BOTTOM - chamfer);
    path.lineTo(tabLeft, BOARD_BOTTOM);
    path.lineTo(BOARD_LEFT + corner, BOARD_BOTTOM);
    path.quadTo(BOARD_LEFT, BOARD_BOTTOM, BOARD_LEFT, BOARD_BOTTOM - corner);
    path.lineTo(BOARD_LEFT, BOARD_TOP + corner);
    path.quadTo(BOARD_LEFT, BOARD_TOP, BOARD_LEFT + corner, BOARD_TOP);
    path.closeSubpath();
    return path;
}

// Centre x of contact n (1-based) of each section.
double contactB(int n)
{
    return EIGHT_BIT_RIGHT - (n - 0.5) * PITCH;
}
double contactD(int n)
{
    return SIXTEEN_BIT_RIGHT - (n - 0.5) * PITCH;
}

void drawBackdrop(QPainter &p)
{
    QLinearGradient g(0, 0, 0, IMAGE_HEIGHT);
    g.setColorAt(0, QColor(232, 233, 229));
    g.setColorAt(1, QColor(204, 206, 201));
    p.fillRect(QRect(0, 0, IMAGE_WIDTH, IMAGE_HEIGHT), g);

    p.save();
    p.setPen(Qt::NoPen);
    const QPainterPath shadow = boardOutline().translated(5, 6);
    for (int i = 5; i >= 1; --i) {
        p.setPen(QPen(QColor(0, 0, 0, 14), i * 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawPath(shadow);
    }
    p.restore();
}

void drawBoard(QPainter &p)
{
    const QPainterPath outline = boardOutline();
    QLinearGradient g(BOARD_LEFT, BOARD_TOP, BOARD_RIGHT, TAB_BOTTOM);
    g.setColorAt(0, MASK_LIGHT);
    g.setColorAt(1, MASK_DARK);
    p.fillPath(outline, g);

    // A broad, faint reflection across the glossy solder mask.
    QLinearGradient sheen(120, 0, 330, 300);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 16));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(outline, sheen);

    // The cut board edge shows the lighter laminate.
    p.save();
    p.setPen(QPen(QColor(150, 170, 110), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    p.restore();
}

void drawTrace(QPainter &p, const std::vector<QPointF> &points, double width = 2)
{
    p.save();
    p.setPen(QPen(COPPER_UNDER_MASK, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(points.data(), int(points.size()));
    p.restore();
}

void drawVia(QPainter &p, const QPointF &c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 225, 150, 70));
    p.drawEllipse(c, 3.0, 3.0);
    p.setBrush(QColor(8, 40, 20));
    p.drawEllipse(c, 1.2, 1.2);
    p.restore();
}

// Minimal 32-bit xorshift generator; fixed seed, same sequence everywhere.
class Grain
{
public:
    explicit Grain(uint32_t seed) : FState(seed) {}
    uint32_t Next()
    {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return FState;
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }

private:
    uint32_t FState;
};

void drawTraces(QPainter &p)
{
    p.save();
    p.setClipPath(boardOutline());

    // Interrupt lines of the low block: IRQ3..IRQ7 sit on B25..B21 right below the header.
    const double lowPin0 = IRQ_LOW_AREA.center().x() - 2.5 * PITCH;
    const double lowBottomRow = IRQ_LOW_AREA.center().y() + PITCH / 2;
    for (int irq = 3; irq <= 7; ++irq) {
        const double x = lowPin0 + (irq - 2) * PITCH;
        const double fx = contactB(25 - (irq - 3));
        const double bend = lowBottomRow + 14 + (7 - irq) * 3;
        drawTrace(p, {{x, lowBottomRow}, {x, bend}, {fx, bend + (fx - x)}, {fx, FINGER_TOP + 4}});
    }
    // IRQ2 is contact B4, far to the right: it changes layer through a via.
    drawTrace(p, {{lowPin0, lowBottomRow}, {lowPin0, lowBottomRow + 22}});
    drawVia(p, {lowPin0, lowBottomRow + 22});
    drawVia(p, {contactB(4), 352});
    drawTrace(p, {{contactB(4), 352}, {contactB(4), FINGER_TOP + 4}});
    // The common side of the low block runs up to the interrupt driver.
    const double lowTopRow = IRQ_LOW_AREA.center().y() - PITCH / 2;
    drawTrace(p, {{lowPin0 + 5 * PITCH, lowTopRow},
                  {lowPin0 + 5 * PITCH + 12, lowTopRow - 12},
                  {392, lowTopRow - 12},
                  {400, 256},
                  {400, 232}});

    // Interrupt lines of the high block: D3..D7 carry IRQ10, 11, 12, 15, 14.
    const double highPitch = 9;
    const double highPin0 = IRQ_HIGH_AREA.center().x() - 2 * highPitch;
    const double highBottomRow = IRQ_HIGH_AREA.center().y() + highPitch / 2;
    const int highIrq[5] = {15, 14, 12, 11, 10};
    for (int i = 0; i < 5; ++i) {
        const int irq = highIrq[i];
        const double x = highPin0 + i * highPitch;
        if (irq == 15) {
            // Crosses IRQ14 on the way; it goes round on the solder side.
            drawTrace(p, {{x, highBottomRow}, {x, highBottomRow + 12}});
            drawVia(p, {x, highBottomRow + 12});
            drawVia(p, {contactD(6), 362});
            drawTrace(p, {{contactD(6), 362}, {contactD(6), FINGER_TOP + 4}});
            continue;
        }
        int contact = 3;
        if (irq == 11)
            contact = 4;
        else if (irq == 12)
            contact = 5;
        else if (irq == 14)
            contact = 7;
        const double fx = contactD(contact);
        const double bend = highBottomRow + 32 - i * 4;
        drawTrace(p, {{x, highBottomRow},
                      {x, bend - 4},
                      {x + 4, bend},
                      {fx - 4, bend},
                      {fx, bend + 4},
                      {fx, FINGER_TOP + 4}});
    }
    const double highTopRow = IRQ_HIGH_AREA.center().y() - highPitch / 2;
    drawTrace(
        p,
        {{highPin0 + 4 * highPitch, highTopRow}, {150, highTopRow - 26}, {190, highTopRow - 26}});
    drawVia(p, {190, highTopRow - 26});

    // Supply: ground on B1 and B31, +5 V on B3 and B29, as wide runs.
    drawTrace(p, {{contactB(1), FINGER_TOP + 4}, {contactB(1), 336}, {505, 300}, {505, 278}}, 4);
    drawTrace(p,
              {{contactB(3), FINGER_TOP + 4},
               {contactB(3), 346},
               {490, 336},
               {470, 336},
               {462, 328},
               {462, 300}},
              4);
    drawTrace(p,
              {{contactB(29), FINGER_TOP + 4},
               {contactB(29), 352},
               {280, 346},
               {200, 346},
               {186, 332},
               {186, 268}},
              4);
    drawTrace(p, {{contactB(31), FINGER_TOP + 4}, {contactB(31), 356}, {262, 356}}, 4);
    drawVia(p, {262, 356});
    // I/O write and read strobes, reset.
    for (int n : {2, 13, 14}) {
        const double x = contactB(n);
        const double top = 318 + n;
        drawTrace(p, {{x, FINGER_TOP + 4}, {x, top}});
        drawVia(p, {x, top});
    }

    // Data and address lines arrive from the solder side through vias above the connector.
    Grain grain(0x5EED1234u);
    for (int i = 0; i < 12; ++i) {
        const QPointF via(404 + i * 9, 312 + (i % 3) * 7);
        drawVia(p, via);
        const double up = 262 - (i % 4) * 3;
        drawTrace(p, {via, {via.x(), up}, {via.x() - 6 - grain.Below(4), up - 8}});
    }
    // Chip to chip wiring in the centre of the board.
    for (int i = 0; i < 8; ++i) {
        const double y = 166 - i * 4.0;
        drawTrace(p,
                  {{300 + i * PITCH + 6, 178},
                   {300 + i * PITCH + 6, y},
                   {230 + i * 5.0, y - 30 + i * 2},
                   {230 + i * 5.0, 96}},
                  1.6);
    }
    for (int i = 0; i < 6; ++i) {
        const double y = 122 + i * 5;
        const QPointF via(72 + (i % 2) * 7, y);
        drawVia(p, via);
        drawTrace(p, {via, {180, y}, {196, y + 16}, {196 + i * 2.0, 300}}, 1.6);
    }
    for (int i = 0; i < 5; ++i) {
        const double x = 412 + i * 6;
        drawTrace(p, {{x, 226}, {x, 170}, {x + 10, 160}, {x + 10, 146}}, 1.6);
    }
    drawTrace(p, {{440, 106}, {446, 106}});
    drawTrace(p, {{330, 150}, {390, 150}, {398, 142}, {398, 100}}, 1.6);
    drawTrace(p, {{24, 340}, {60, 340}, {66, 334}, {66, 270}, {150, 270}, {160, 260}, {160, 160}},
              1.6);
    p.restore();
}

void drawEdgeConnector(QPainter &p)
{
    auto finger = [&](double centreX) {
        const QRectF r(centreX - FINGER_WIDTH / 2, FINGER_TOP, FINGER_WIDTH,
                       FINGER_BOTTOM - FINGER_TOP);
        QLinearGradient g(r.left(), 0, r.right(), 0);
        g.setColorAt(0.0, QColor(190, 140, 52));
        g.setColorAt(0.45, QColor(246, 212, 120));
        g.setColorAt(1.0, QColor(178, 128, 46));
        p.setBrush(g);
        p.drawRoundedRect(r, 1.2, 1.2);
    };
    p.save();
    p.setPen(Qt::NoPen);
    for (int n = 1; n <= EIGHT_BIT_CONTACTS; ++n)
        finger(contactB(n));
    for (int n = 1; n <= SIXTEEN_BIT_CONTACTS; ++n)
        finger(contactD(n));
    p.restore();
}

void drawBracket(QPainter &p)
{
    p.save();
    QLinearGradient steel(BRACKET_LEFT, 0, BRACKET_RIGHT, 0);
    steel.setColorAt(0.0, QColor(120, 124, 128));
    steel.setColorAt(0.35, QColor(222, 225, 228));
    steel.setColorAt(0.6, QColor(176, 180, 184));
    steel.setColorAt(1.0, QColor(104, 108, 112));

    // Plate seen edge-on, its tongue narrowing below the board into the case slot.
    QPainterPath plate;
    plate.moveTo(BRACKET_LEFT, BRACKET_TOP + BRACKET_TAB_HEIGHT);
    plate.lineTo(BRACKET_LEFT, BRACKET_BOTTOM);
    plate.lineTo(BRACKET_LEFT + 5, BRACKET_BOTTOM + 6);
    plate.lineTo(BRACKET_LEFT + 5, 416);
    plate.lineTo(BRACKET_RIGHT - 5, 418);
    plate.lineTo(BRACKET_RIGHT - 5, BRACKET_BOTTOM + 6);
    plate.lineTo(BRACKET_RIGHT, BRACKET_BOTTOM);
    plate.lineTo(BRACKET_RIGHT, BRACKET_TOP + BRACKET_TAB_HEIGHT);
    plate.closeSubpath();
    drawShadow(p, plate.boundingRect(), 2, 3);
    p.setPen(QPen(QColor(80, 84, 88), 1));
    p.setBrush(steel);
    p.drawPath(plate);

    // Top tab bent outwards, with the slot for the case screw open at its end.
    QPainterPath tab;
    const QRectF tabRect(BRACKET_LEFT, BRACKET_TOP, BRACKET_TAB_RIGHT - BRACKET_LEFT,
                         BRACKET_TAB_HEIGHT);
    tab.addRoundedRect(tabRect, 3, 3);
    QPainterPath slot;
    slot.addRoundedRect(QRectF(BRACKET_RIGHT + 8, BRACKET_TOP + 4.5, 30, 6), 3, 3);
    tab = tab.subtracted(slot);
    QLinearGradient tabShade(0, BRACKET_TOP, 0, BRACKET_TOP + BRACKET_TAB_HEIGHT);
    tabShade.setColorAt(0.0, QColor(232, 234, 236));
    tabShade.setColorAt(1.0, QColor(140, 144, 148));
    p.setBrush(tabShade);
    p.drawPath(tab);
    p.restore();
}

struct ChipPlacement
{
    QRectF body;
    int pinsPerSide;
    QString marking;
    QString marking2;
    QString designator;
    QPointF designatorAt;
};

void drawDipChip(QPainter &p, const ChipPlacement &c)
{
    const QRectF &b = c.body;
    const double pinLength = 4;
    const double firstPin = b.center().x() - (c.pinsPerSide - 1) * PITCH / 2;

    p.save();
    // Silk outline, seen at the two ends of the body, with the pin 1 notch on the left.
    p.setPen(QPen(SILK, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(b.adjusted(-4, 2, 4, -2));
    drawCentredText(p, c.designatorAt, c.designator, font(SANS, 10, true), SILK);

    drawShadow(p, b.adjusted(0, -pinLength, 0, pinLength), 1.5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < c.pinsPerSide; ++i) {
        const double x = firstPin + i * PITCH - 1.6;
        QLinearGradient leg(x, 0, x + 3.2, 0);
        leg.setColorAt(0, QColor(150, 152, 150));
        leg.setColorAt(0.5, QColor(236, 236, 230));
        leg.setColorAt(1, QColor(130, 132, 130));
        p.setBrush(leg);
        p.drawRect(QRectF(x, b.top() - pinLength, 3.2, pinLength + 1));
        p.drawRect(QRectF(x, b.bottom() - 1, 3.2, pinLength + 1));
    }
    QLinearGradient body(0, b.top(), 0, b.bottom());
    body.setColorAt(0, QColor(54, 54, 58));
    body.setColorAt(0.12, QColor(32, 32, 35));
    body.setColorAt(1, QColor(18, 18, 20));
    p.setBrush(body);
    p.setPen(QPen(QColor(10, 10, 12), 0.8));
    p.drawRoundedRect(b, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 8, 9));
    const double notch = qMin(3.5, b.height() / 6);
    p.drawPie(QRectF(b.left() - notch, b.center().y() - notch, 2 * notch, 2 * notch), -90 * 16,
              180 * 16);
    p.setBrush(QColor(12, 12, 13));
    p.drawEllipse(QPointF(b.left() + 5, b.bottom() - 4.5), 1.7, 1.7);

    const QFont markFont = font(SANS, 9, false);
    if (c.marking2.isEmpty()) {
        drawCentredText(p, b.center() + QPointF(2, 0), c.marking, markFont, CHIP_TEXT);
    } else {
        drawCentredText(p, b.center() + QPointF(2, -6), c.marking, markFont, CHIP_TEXT);
        drawCentredText(p, b.center() + QPointF(2, 6), c.marking2, markFont, CHIP_TEXT);
    }
    p.restore();
}

// Seven-position address switch standing upright: switch 1 at the top, levers slide to the
// left for ON. Shown at the factory address 200h, where only switch 1 (A9) is OFF.
void drawAddressSwitch(QPainter &p)
{
    const QPointF c = SWITCH_AREA.center();
    const int switches = 7;
    const double pitch = 7.5; // a little under 0.1 inch: the real switch is that tight
    const QRectF body(c.x() - 17, c.y() - 31, 34, 62);
    const double slotWidth = 16;
    const double slotHeight = 5.4;
    const double slotLeft = body.left() + 8.5;

    p.save();
    p.setPen(QPen(SILK, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(body.adjusted(-2.5, -2.5, 2.5, 2.5));
    drawShadow(p, body, 2);

    QLinearGradient red(body.left(), 0, body.right(), 0);
    red.setColorAt(0, QColor(226, 46, 44));
    red.setColorAt(0.5, QColor(204, 30, 34));
    red.setColorAt(1, QColor(160, 18, 24));
    p.setPen(QPen(QColor(120, 12, 16), 0.8));
    p.setBrush(red);
    p.drawRoundedRect(body, 2, 2);

    for (int i = 0; i < switches; ++i) {
        const double y = c.y() + (i - 3) * pitch;
        const QRectF slot(slotLeft, y - slotHeight / 2, slotWidth, slotHeight);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 8, 10));
        p.drawRoundedRect(slot, 1, 1);
        const bool on = i != 0;
        const double leverWidth = 7;
        const QRectF lever(on ? slot.left() + 0.8 : slot.right() - 0.8 - leverWidth,
                           slot.top() + 0.6, leverWidth, slotHeight - 1.2);
        QLinearGradient white(0, lever.top(), 0, lever.bottom());
        white.setColorAt(0, QColor(255, 255, 252));
        white.setColorAt(1, QColor(200, 200, 196));
        p.setBrush(white);
        p.drawRoundedRect(lever, 0.8, 0.8);
        drawCentredText(p, QPointF(body.right() - 5, y), QString::number(i + 1),
                        font(SANS, 8, true), QColor(255, 236, 236));
    }
    drawRotatedText(p, QPointF(body.left() + 4.3, body.top() + 13), -90, QStringLiteral("ON"),
                    font(SANS, 8, true), QColor(255, 236, 236));
    p.restore();

    drawCentredText(p, QPointF(c.x(), SWITCH_AREA.top() - 7), QStringLiteral("SW1"),
                    font(SANS, 10, true), SILK);
    drawCentredText(p, QPointF(c.x(), SWITCH_AREA.bottom() + 8), QStringLiteral("ADDRESS"),
                    font(SANS, 9, true), SILK);
}

// One gold header pin seen from above, square post with a bright tip.
void drawPin(QPainter &p, const QPointF &c, double size)
{
    const QRectF r(c.x() - size / 2, c.y() - size / 2, size, size);
    QRadialGradient g(c - QPointF(size / 6, size / 6), size * 0.8);
    g.setColorAt(0, QColor(255, 236, 160));
    g.setColorAt(0.6, QColor(214, 168, 70));
    g.setColorAt(1, QColor(150, 108, 36));
    p.setBrush(g);
    p.setPen(QPen(QColor(110, 80, 30), 0.6));
    p.drawRect(r);
}

// Black plastic strip of a pin header, cols x rows pins at the given pitch.
void drawHeader(QPainter &p, const QPointF &centre, int cols, int rows, double pitch)
{
    const QRectF base(centre.x() - cols * pitch / 2, centre.y() - rows * pitch / 2, cols * pitch,
                      rows * pitch);
    p.save();
    drawShadow(p, base, 1);
    p.setPen(QPen(QColor(6, 6, 8), 0.8));
    p.setBrush(QColor(30, 30, 33));
    p.drawRect(base);
    // Each pin sits in its own moulded cell.
    p.setPen(QPen(QColor(58, 58, 62), 0.8));
    for (int i = 1; i < cols; ++i)
        p.drawLine(QPointF(base.left() + i * pitch, base.top() + 1),
                   QPointF(base.left() + i * pitch, base.bottom() - 1));
    for (int j = 1; j < rows; ++j)
        p.drawLine(QPointF(base.left() + 1, base.top() + j * pitch),
                   QPointF(base.right() - 1, base.top() + j * pitch));
    for (int i = 0; i < cols; ++i)
        for (int j = 0; j < rows; ++j)
            drawPin(p, QPointF(base.left() + (i + 0.5) * pitch, base.top() + (j + 0.5) * pitch),
                    pitch * 0.42);
    p.restore();
}

void drawIrqLowBlock(QPainter &p)
{
    const QPointF c = IRQ_LOW_AREA.center();
    drawHeader(p, c, 6, 2, PITCH);
    const QFont digits = font(SANS, 9, true);
    for (int i = 0; i < 6; ++i)
        drawCentredText(p, QPointF(c.x() + (i - 2.5) * PITCH, IRQ_LOW_AREA.top() - 5),
                        QString::number(2 + i), digits, SILK);
    drawCentredText(p, QPointF(IRQ_LOW_AREA.left() - 13, c.y()), QStringLiteral("IRQ"),
                    font(SANS, 9, true), SILK);
}

void drawIrqHighBlock(QPainter &p)
{
    const QPointF c = IRQ_HIGH_AREA.center();
    const double pitch = 9; // a little wider than the others to fit two-digit numbers
    drawHeader(p, c, 5, 2, pitch);
    // Two-digit numbers are wider than the pitch: they alternate above and below the pins.
    const QFont digits = font(SANS, 9, true);
    const int irq[5] = {15, 14, 12, 11, 10};
    for (int i = 0; i < 5; ++i) {
        const double y = i % 2 == 0 ? IRQ_HIGH_AREA.top() - 5 : IRQ_HIGH_AREA.bottom() + 5;
        drawCentredText(p, QPointF(c.x() + (i - 2) * pitch, y), QString::number(irq[i]), digits,
                        SILK);
    }
    drawCentredText(p, QPointF(IRQ_HIGH_AREA.left() - 13, c.y()), QStringLiteral("IRQ"),
                    font(SANS, 9, true), SILK);
}

// JP3: three pins in a row; the cap on pins 1-2 (left) lets the watchdog drive the relay.
void drawRelayJumper(QPainter &p)
{
    const QPointF c = RELAY_JUMPER_AREA.center();
    const double pitch = 10;
    p.save();
    p.setPen(QPen(SILK, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(c.x() - 1.5 * pitch - 4, c.y() - pitch / 2 - 5, 3 * pitch + 8, pitch + 10));
    // Pin 1 marker: a filled corner of the outline.
    p.setPen(Qt::NoPen);
    p.setBrush(SILK);
    QPolygonF corner;
    corner << QPointF(c.x() - 1.5 * pitch - 4, c.y() + pitch / 2 + 5)
           << QPointF(c.x() - 1.5 * pitch - 4, c.y() + pitch / 2 - 1)
           << QPointF(c.x() - 1.5 * pitch + 2, c.y() + pitch / 2 + 5);
    p.drawPolygon(corner);
    p.restore();
    drawHeader(p, c, 3, 1, pitch);

    const QRectF cap(c.x() - 1.5 * pitch - 1.5, c.y() - pitch / 2 - 2.5, 2 * pitch + 3, pitch + 5);
    p.save();
    drawShadow(p, cap, 1.5, 3);
    p.setPen(QPen(QColor(6, 6, 8), 0.8));
    p.setBrush(QColor(26, 27, 31));
    p.drawRoundedRect(cap, 1.8, 1.8);
    // Moulded top face, lit from the upper left, with the grip ridge across it.
    const QRectF top = cap.adjusted(2, 2, -2, -2);
    QLinearGradient g(top.topLeft(), top.bottomRight());
    g.setColorAt(0, QColor(82, 84, 92));
    g.setColorAt(1, QColor(40, 41, 46));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(top, 1, 1);
    p.setBrush(QColor(22, 22, 26));
    p.drawRect(QRectF(top.center().x() - 1, top.top() + 1.5, 2, top.height() - 3));
    p.restore();

    drawCentredText(p, QPointF(RELAY_JUMPER_AREA.left() - 15, c.y()), QStringLiteral("JP3"),
                    font(SANS, 10, true), SILK);
}

void drawRelay(QPainter &p)
{
    const QRectF body(450, 82, 72, 50);
    p.save();
    drawShadow(p, body, 2, 4);
    QLinearGradient blue(body.topLeft(), body.bottomRight());
    blue.setColorAt(0, QColor(50, 104, 200));
    blue.setColorAt(1, QColor(22, 58, 140));
    p.setPen(QPen(QColor(14, 36, 90), 1));
    p.setBrush(blue);
    p.drawRoundedRect(body, 2.5, 2.5);
    p.setPen(QPen(QColor(120, 160, 230), 1));
    p.drawLine(QPointF(body.left() + 3, body.top() + 1.5),
               QPointF(body.right() - 3, body.top() + 1.5));
    p.restore();
    const QColor print(235, 240, 250);
    drawCentredText(p, body.center() + QPointF(0, -12), QStringLiteral("NRV-1C"),
                    font(SANS, 10, true), print);
    drawCentredText(p, body.center() + QPointF(0, 2), QStringLiteral("5VDC"), font(SANS, 9, false),
                    print);
    drawCentredText(p, body.center() + QPointF(0, 14), QStringLiteral("10A 250VAC"),
                    font(SANS, 9, false), print);
    drawCentredText(p, QPointF(body.left() - 13, body.top() + 30), QStringLiteral("K1"),
                    font(SANS, 10, true), SILK);
}

void drawDb9(QPainter &p)
{
    const QRectF body(512, 192, 38, 76);
    p.save();
    drawShadow(p, body, 1.5, 3);
    // Plastic insulator at the back, with the two rows of solder tails.
    p.setPen(QPen(QColor(8, 8, 8), 0.8));
    p.setBrush(QColor(34, 34, 36));
    p.drawRect(QRectF(body.left(), body.top() + 6, 16, body.height() - 12));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i)
        drawPin(p, QPointF(body.left() + 5, body.center().y() + (i - 2) * 10.8), 3.0);
    for (int i = 0; i < 4; ++i)
        drawPin(p, QPointF(body.left() + 11, body.center().y() + (i - 1.5) * 10.8), 3.0);
    // Tin-plated shell.
    QLinearGradient shell(body.left() + 16, 0, body.right(), 0);
    shell.setColorAt(0, QColor(150, 154, 158));
    shell.setColorAt(0.5, QColor(228, 230, 232));
    shell.setColorAt(1, QColor(160, 164, 168));
    p.setPen(QPen(QColor(90, 94, 98), 0.8));
    p.setBrush(shell);
    p.drawRect(QRectF(body.left() + 16, body.top() + 4, body.width() - 19, body.height() - 8));
    // Front flange against the bracket, taller than the shell.
    p.drawRect(QRectF(body.right() - 5, body.top() - 10, 5, body.height() + 20));
    // Outside the bracket: jack screws and the D-shaped shroud.
    QLinearGradient nut(BRACKET_RIGHT, 0, BRACKET_RIGHT + 9, 0);
    nut.setColorAt(0, QColor(120, 124, 128));
    nut.setColorAt(0.5, QColor(220, 222, 224));
    nut.setColorAt(1, QColor(110, 114, 118));
    p.setBrush(nut);
    p.drawRect(QRectF(BRACKET_RIGHT, body.top() - 6, 9, 10));
    p.drawRect(QRectF(BRACKET_RIGHT, body.bottom() - 4, 9, 10));
    p.drawRect(QRectF(BRACKET_RIGHT, body.top() + 12, 11, body.height() - 24));
    // Board lock clips through the board.
    p.setBrush(QColor(200, 202, 204));
    p.drawEllipse(QPointF(body.left() + 25, body.top() - 3), 3, 3);
    p.drawEllipse(QPointF(body.left() + 25, body.bottom() + 3), 3, 3);
    p.restore();
    drawCentredText(p, QPointF(body.left() - 4, body.top() - 8), QStringLiteral("J1"),
                    font(SANS, 10, true), SILK);
    drawRotatedText(p, QPointF(body.left() - 10, body.center().y()), -90,
                    QStringLiteral("RELAY OUT"), font(SANS, 9, true), SILK);
}

// Axial part (resistor or diode) lying between two pads.
void drawAxial(QPainter &p, const QPointF &from, const QPointF &to, const QColor &bodyColour,
               const std::vector<QColor> &bands, double bodyLength, double bodyWidth)
{
    p.save();
    p.setPen(QPen(QColor(200, 200, 196), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 214, 206));
    p.drawEllipse(from, 2.6, 2.6);
    p.drawEllipse(to, 2.6, 2.6);
    const QPointF mid = (from + to) / 2;
    const QLineF axis(from, to);
    p.translate(mid);
    p.rotate(-axis.angle());
    const QRectF r(-bodyLength / 2, -bodyWidth / 2, bodyLength, bodyWidth);
    drawShadow(p, r, bodyWidth / 2, 1.5);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, bodyColour.lighter(150));
    g.setColorAt(0.4, bodyColour);
    g.setColorAt(1, bodyColour.darker(160));
    p.setBrush(g);
    p.drawRoundedRect(r, bodyWidth / 2, bodyWidth / 2);
    const double step = bodyLength / (bands.size() + 2.0);
    for (size_t i = 0; i < bands.size(); ++i) {
        p.setBrush(bands[i]);
        const double x = r.left() + step * (i + 1) + (i + 1 == bands.size() ? step * 0.6 : 0);
        p.drawRect(QRectF(x, r.top() + 0.5, 1.8, r.height() - 1));
    }
    p.restore();
}

void drawResistor(QPainter &p, const QPointF &from, const QPointF &to,
                  const std::vector<QColor> &bands, const QString &name, const QPointF &nameAt)
{
    drawAxial(p, from, to, QColor(120, 170, 205), bands, 17, 6);
    drawCentredText(p, nameAt, name, font(SANS, 9, true), SILK);
}

const QColor BAND_BLACK(20, 20, 20);
const QColor BAND_BROWN(110, 60, 30);
const QColor BAND_RED(200, 30, 30);
const QColor BAND_ORANGE(230, 120, 20);
const QColor BAND_YELLOW(230, 210, 40);
const QColor BAND_VIOLET(130, 60, 160);
const QColor BAND_GOLD(200, 160, 60);

// Radial ceramic capacitor seen from above: a blob of yellow epoxy.
void drawCeramicCap(QPainter &p, const QPointF &c, const QString &name, const QPointF &nameAt)
{
    const QRectF r(c.x() - 6, c.y() - 3.5, 12, 7);
    p.save();
    drawShadow(p, r, 3.5, 1.8);
    QRadialGradient g(c - QPointF(2, 2), 8);
    g.setColorAt(0, QColor(255, 222, 110));
    g.setColorAt(1, QColor(196, 140, 20));
    p.setPen(QPen(QColor(140, 96, 10), 0.6));
    p.setBrush(g);
    p.drawRoundedRect(r, 3.5, 3.5);
    p.restore();
    drawCentredText(p, nameAt, name, font(SANS, 9, true), SILK);
}

// Aluminium electrolytic capacitor seen from the top: sleeve, can lid with its vent cross.
void drawElectrolytic(QPainter &p, const QPointF &c, double radius, const QString &name,
                      const QPointF &nameAt)
{
    p.save();
    p.setPen(QPen(SILK, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, radius + 3, radius + 3);
    drawShadow(p, QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), radius, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 40, 110));
    p.drawEllipse(c, radius, radius);
    // Negative stripe printed down the sleeve.
    p.setBrush(QColor(150, 170, 220));
    p.drawPie(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), 150 * 16, 60 * 16);
    QRadialGradient lid(c - QPointF(radius / 3, radius / 3), radius);
    lid.setColorAt(0, QColor(240, 242, 244));
    lid.setColorAt(1, QColor(150, 154, 160));
    p.setBrush(lid);
    p.drawEllipse(c, radius * 0.78, radius * 0.78);
    p.setPen(QPen(QColor(110, 114, 120), 1.2));
    const double v = radius * 0.5;
    p.drawLine(c + QPointF(-v, 0), c + QPointF(v, 0));
    p.drawLine(c + QPointF(0, -v), c + QPointF(0, v));
    p.restore();
    drawCentredText(p, nameAt, name, font(SANS, 9, true), SILK);
}

// TO-92 transistor from above: a half disc with its flat face forward.
void drawTransistor(QPainter &p, const QPointF &c, const QString &name, const QPointF &nameAt)
{
    p.save();
    p.setPen(QPen(SILK, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawChord(QRectF(c.x() - 9, c.y() - 9, 18, 18), 0, 180 * 16);
    p.drawLine(QPointF(c.x() - 9, c.y()), QPointF(c.x() + 9, c.y()));
    QPainterPath d;
    d.moveTo(c.x() - 7, c.y() + 1);
    d.arcTo(QRectF(c.x() - 7, c.y() - 6, 14, 14), 180, -180);
    d.closeSubpath();
    drawShadow(p, d.boundingRect(), 2, 1.8);
    QLinearGradient g(0, c.y() - 6, 0, c.y() + 1);
    g.setColorAt(0, QColor(60, 60, 64));
    g.setColorAt(1, QColor(16, 16, 18));
    p.setPen(QPen(QColor(6, 6, 6), 0.6));
    p.setBrush(g);
    p.drawPath(d);
    p.restore();
    drawCentredText(p, nameAt, name, font(SANS, 9, true), SILK);
}

void drawOscillator(QPainter &p, const QRectF &r)
{
    p.save();
    drawShadow(p, r, 4, 3);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(236, 238, 240));
    g.setColorAt(0.5, QColor(190, 194, 198));
    g.setColorAt(1, QColor(150, 154, 160));
    p.setPen(QPen(QColor(110, 114, 118), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(QPen(QColor(250, 250, 250, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 82, 86));
    p.drawEllipse(QPointF(r.left() + 6, r.bottom() - 6), 1.8, 1.8);
    p.restore();
    const QColor ink(60, 62, 66);
    drawCentredText(p, r.center() + QPointF(0, -6), QStringLiteral("8.000"), font(SANS, 9, true),
                    ink);
    drawCentredText(p, r.center() + QPointF(0, 6), QStringLiteral("MHz"), font(SANS, 9, true), ink);
    drawCentredText(p, QPointF(r.center().x(), r.bottom() + 10), QStringLiteral("X1"),
                    font(SANS, 10, true), SILK);
}

void drawLed(QPainter &p, const QPointF &c)
{
    p.save();
    p.setPen(QPen(SILK, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 7.5, 7.5);
    drawShadow(p, QRectF(c.x() - 5.5, c.y() - 5.5, 11, 11), 5.5, 2);
    QRadialGradient g(c - QPointF(1.8, 1.8), 6);
    g.setColorAt(0, QColor(255, 170, 160));
    g.setColorAt(0.35, QColor(220, 30, 30));
    g.setColorAt(1, QColor(120, 10, 14));
    p.setPen(QPen(QColor(90, 8, 10), 0.6));
    p.setBrush(g);
    p.drawEllipse(c, 5.5, 5.5);
    p.restore();
}

// Single-in-line resistor network standing upright next to the address switch.
void drawResistorNetwork(QPainter &p, const QRectF &r)
{
    p.save();
    drawShadow(p, r, 1.5, 2);
    QLinearGradient g(r.left(), 0, r.right(), 0);
    g.setColorAt(0, QColor(250, 220, 90));
    g.setColorAt(1, QColor(190, 150, 30));
    p.setPen(QPen(QColor(130, 100, 20), 0.7));
    p.setBrush(g);
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 10));
    p.drawEllipse(QPointF(r.center().x(), r.top() + 4), 1.5, 1.5);
    p.restore();
    drawRotatedText(p, r.center() + QPointF(0.5, 3), -90, QStringLiteral("10K"),
                    font(SANS, 8, true), QColor(60, 44, 10));
    drawCentredText(p, QPointF(r.center().x(), r.top() - 8), QStringLiteral("RN1"),
                    font(SANS, 9, true), SILK);
}

void drawTitleBlock(QPainter &p)
{
    drawCentredText(p, QPointF(104, 38), QStringLiteral("GRD-KTX"), font(SANS, 26, true), SILK);
    drawCentredText(p, QPointF(104, 62), QStringLiteral("RELAY WATCHDOG CARD"),
                    font(SANS, 10, true), SILK);

    // Maker's mark: the initial in a ring, then the name.
    p.save();
    p.setPen(QPen(SILK, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(40, 88), 8.5, 8.5);
    p.restore();
    drawCentredText(p, QPointF(40, 88), QStringLiteral("N"), font(SANS, 11, true), SILK);
    p.save();
    p.setFont(font(SANS, 17, true, true));
    p.setPen(SILK);
    p.drawText(QRectF(54, 76, 120, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Norvale"));
    p.restore();
    drawCentredText(p, QPointF(104, 110), QStringLiteral("REV C   ASSY 40-1172"),
                    font(SANS, 9, true), SILK);
}

// Serial number sticker with a bar code, as the maker's production line applies it.
void drawSticker(QPainter &p)
{
    const QRectF r(26, 206, 92, 32);
    p.save();
    drawShadow(p, r, 1, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 246, 240));
    p.drawRect(r);
    Grain bars(0xC0DE0017u);
    double x = r.left() + 5;
    p.setBrush(QColor(20, 20, 20));
    while (x < r.right() - 7) {
        const double w = 0.9 + bars.Below(3) * 0.9;
        p.drawRect(QRectF(x, r.top() + 3, w, 15));
        x += w + 0.9 + bars.Below(3) * 0.9;
    }
    p.restore();
    drawCentredText(p, QPointF(r.center().x(), r.bottom() - 7), QStringLiteral("S/N 0417"),
                    font(SANS, 9, true), QColor(30, 30, 30));
}

void drawParts(QPainter &p)
{
    drawTitleBlock(p);
    drawSticker(p);

    const std::vector<ChipPlacement> chips = {
        {QRectF(206, 44, 100, 40), 12, QStringLiteral("82C54-2"), QStringLiteral("P8417"),
         QStringLiteral("U3"), QPointF(256, 98)},
        {QRectF(300, 180, 84, 20), 10, QStringLiteral("74HCT688N"), QString(), QStringLiteral("U1"),
         QPointF(401, 190)},
        {QRectF(300, 226, 84, 20), 10, QStringLiteral("74HCT245N"), QString(), QStringLiteral("U2"),
         QPointF(401, 236)},
        {QRectF(300, 130, 68, 20), 8, QStringLiteral("74HCT138N"), QString(), QStringLiteral("U4"),
         QPointF(385, 140)},
        {QRectF(374, 54, 60, 20), 7, QStringLiteral("74HCT14N"), QString(), QStringLiteral("U5"),
         QPointF(404, 88)},
        {QRectF(424, 226, 44, 20), 4, QStringLiteral("TL7705"), QString(), QStringLiteral("U6"),
         QPointF(485, 236)},
        {QRectF(130, 214, 60, 20), 7, QStringLiteral("74HCT32N"), QString(), QStringLiteral("U7"),
         QPointF(160, 250)},
    };
    for (const ChipPlacement &c : chips)
        drawDipChip(p, c);

    drawOscillator(p, QRectF(324, 44, 38, 38));
    drawRelay(p);
    drawRelayJumper(p);
    drawDb9(p);
    drawResistorNetwork(p, QRectF(205, 186, 9, 60));
    drawAddressSwitch(p);
    drawIrqLowBlock(p);
    drawIrqHighBlock(p);

    drawElectrolytic(p, QPointF(46, 150), 15, QStringLiteral("C1"), QPointF(46, 178));
    drawCeramicCap(p, QPointF(290, 112), QStringLiteral("C2"), QPointF(290, 124));
    drawCeramicCap(p, QPointF(290, 162), QStringLiteral("C3"), QPointF(305, 162));
    drawCeramicCap(p, QPointF(388, 214), QStringLiteral("C4"), QPointF(404, 214));
    drawCeramicCap(p, QPointF(176, 312), QStringLiteral("C5"), QPointF(176, 324));
    drawCeramicCap(p, QPointF(116, 184), QStringLiteral("C6"), QPointF(132, 184));

    drawResistor(p, {392, 104}, {422, 104}, {BAND_BROWN, BAND_BLACK, BAND_RED, BAND_GOLD},
                 QStringLiteral("R1"), QPointF(380, 104));
    drawResistor(p, {392, 120}, {422, 120}, {BAND_YELLOW, BAND_VIOLET, BAND_RED, BAND_GOLD},
                 QStringLiteral("R2"), QPointF(380, 120));
    drawResistor(p, {92, 128}, {122, 128}, {BAND_BROWN, BAND_BLACK, BAND_ORANGE, BAND_GOLD},
                 QStringLiteral("R3"), QPointF(134, 128));
    drawResistor(p, {92, 146}, {122, 146}, {BAND_BROWN, BAND_BLACK, BAND_ORANGE, BAND_GOLD},
                 QStringLiteral("R4"), QPointF(134, 146));
    drawResistor(p, {430, 300}, {460, 300}, {BAND_RED, BAND_RED, BAND_BROWN, BAND_GOLD},
                 QStringLiteral("R5"), QPointF(445, 290));
    drawResistor(p, {232, 284}, {232, 314}, {BAND_BROWN, BAND_BLACK, BAND_YELLOW, BAND_GOLD},
                 QStringLiteral("R6"), QPointF(232, 325));
    drawResistor(p, {250, 284}, {250, 314}, {BAND_BROWN, BAND_BLACK, BAND_YELLOW, BAND_GOLD},
                 QStringLiteral("R7"), QPointF(250, 325));
    drawAxial(p, {468, 150}, {498, 150}, QColor(30, 30, 32), {QColor(200, 200, 200)}, 16, 6);
    drawCentredText(p, QPointF(512, 150), QStringLiteral("D1"), font(SANS, 9, true), SILK);
    drawTransistor(p, QPointF(446, 154), QStringLiteral("Q1"), QPointF(446, 166));

    drawLed(p, QPointF(512, 300));
    drawCentredText(p, QPointF(512, 316), QStringLiteral("RUN"), font(SANS, 9, true), SILK);
    drawCentredText(p, QPointF(496, 300), QStringLiteral("D2"), font(SANS, 9, true), SILK);

    // Bracket screw through the angle piece at the top of the board.
    p.save();
    QRadialGradient head(QPointF(538, 106), 7);
    head.setColorAt(0, QColor(240, 240, 240));
    head.setColorAt(1, QColor(120, 124, 128));
    drawShadow(p, QRectF(533, 104, 12, 12), 6, 2);
    p.setPen(QPen(QColor(90, 94, 98), 0.8));
    p.setBrush(head);
    p.drawEllipse(QPointF(539, 110), 6, 6);
    p.setPen(QPen(QColor(70, 74, 78), 1.4));
    p.drawLine(QPointF(535.5, 110), QPointF(542.5, 110));
    p.drawLine(QPointF(539, 106.5), QPointF(539, 113.5));
    p.restore();
}

// Photographic grain and a gentle fall-off of the light towards the corners.
void addGrain(QImage &image)
{
    Grain grain(0x00C4A2D5u);
    const double cx = IMAGE_WIDTH * 0.42;
    const double cy = IMAGE_HEIGHT * 0.38;
    const double reach = 1.0 / (IMAGE_WIDTH * IMAGE_WIDTH * 0.55);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double d2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) * reach;
            const double light = 1.04 - 0.12 * d2;
            const int n = grain.Below(5) - 2;
            auto channel = [&](int v) { return qBound(0, int(v * light + 0.5) + n, 255); };
            row[x] = qRgb(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])));
        }
    }
}

QImage drawCard()
{
    QImage image(IMAGE_WIDTH, IMAGE_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    drawBackdrop(p);
    drawBoard(p);
    drawTraces(p);
    drawEdgeConnector(p);
    drawParts(p);
    drawBracket(p);
    p.end();
    addGrain(image);
    return image;
}

// libjpeg must not longjmp through our frames: its fatal errors become a C++ exception.
[[noreturn]] void throwJpegError(j_common_ptr info)
{
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(std::string("JPEG compression failed: ") + message);
}

std::vector<unsigned char> encodeJpeg(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = throwJpegError;

    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_create_compress(&info);
    struct Cleanup
    {
        jpeg_compress_struct *Info;
        unsigned char **Buffer;
        ~Cleanup()
        {
            jpeg_destroy_compress(Info);
            std::free(*Buffer); // allocated by libjpeg's memory destination with malloc
        }
    } cleanup{&info, &buffer};

    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_YCbCr);
    jpeg_set_quality(&info, JPEG_QUALITY, TRUE);
    info.data_precision = 8;
    info.write_JFIF_header = TRUE;
    info.JFIF_major_version = 1;
    info.JFIF_minor_version = 1;
    info.density_unit = 1; // dots per inch
    info.X_density = DENSITY_DPI;
    info.Y_density = DENSITY_DPI;
    // Luma at full resolution in a 2x2 block, both chroma planes halved each way.
    info.comp_info[0].h_samp_factor = 2;
    info.comp_info[0].v_samp_factor = 2;
    for (int i = 1; i < 3; ++i) {
        info.comp_info[i].h_samp_factor = 1;
        info.comp_info[i].v_samp_factor = 1;
    }
    // Must follow the colour space: the scan script depends on the components.
    jpeg_simple_progression(&info);

    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return std::vector<unsigned char>(buffer, buffer + size);
}

void requireFont(const char *family)
{
    if (!QFontDatabase::hasFamily(QString::fromLatin1(family)))
        throw std::runtime_error(std::string("font \"") + family +
                                 "\" is not installed (Debian: fonts-dejavu-core); the "
                                 "picture would not be reproducible");
}

void writeFile(const QString &path, const std::vector<unsigned char> &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot open " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    const qint64 written =
        file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    if (written != qint64(bytes.size()) || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gencard OUTPUT.jpg\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);

    // Fonts need a platform plugin; no display is wanted or needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    try {
        requireFont(SANS);
        writeFile(output, encodeJpeg(drawCard()));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "gencard: %s\n", e.what());
        return 1;
    }
    return 0;
}
