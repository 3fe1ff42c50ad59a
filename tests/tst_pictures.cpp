// The card pictures as they are drawn: geometry of pins, caps and switch slots,
// the pixels at the designed sizes, turning and the size exchange, and a sheet of
// every picture for a person to look at.

#include "SetupCtrls.h"
#include "fonts.h"

#include <QDir>
#include <QPainter>
#include <QTest>

namespace {

const QRgb BLACK = qRgb(0, 0, 0);
const QRgb WHITE = qRgb(0xFF, 0xFF, 0xFF);
const QRgb GREY = qRgb(0x80, 0x80, 0x80);
const QRgb YELLOW = qRgb(0xFF, 0xFF, 0x00);
const QRgb DARK_RED = qRgb(0x80, 0x00, 0x00);
const QRgb GREEN = qRgb(0x00, 0x80, 0x00);

QImage Shot(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The smallest rectangle holding every pixel of `color`; empty when there is none.
QRect BoundsOf(const QImage &image, QRgb color)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QString Hex(QRgb rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// Compares one pixel and names it on failure.
#define COMPARE_PIXEL(image, x, y, expected)                                                       \
    QVERIFY2((image).pixel((x), (y)) == (expected),                                                \
             qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")                        \
                            .arg(x)                                                                \
                            .arg(y)                                                                \
                            .arg(Hex((image).pixel((x), (y))))                                     \
                            .arg(Hex(expected))))

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void roundingGoesToTheEvenNeighbour_data();
    void roundingGoesToTheEvenNeighbour();
    void turningMovesEveryPixelWhereTheTableSays_data();
    void turningMovesEveryPixelWhereTheTableSays();
    void pinIsAFilledCircleInsideItsBox();
    void twoJumperGeometryAtDefaultSize();
    void threeJumperGeometry_data();
    void threeJumperGeometry();
    void switchGeometryOfTheMainWindowSwitch();

    void defaultTwoJumperPinsAreCentredAt11And23();
    void twoJumperCapReplacesTheHousing_data();
    void twoJumperCapReplacesTheHousing();
    void jumperBackgroundTakesOnlyARadioPanelsColour_data();
    void jumperBackgroundTakesOnlyARadioPanelsColour();
    void threeJumperCapBoxes_data();
    void threeJumperCapBoxes();
    void threeJumperHousingOutlineFollowsBorderStyleButCapStaysBlack();
    void uprightLeftEndGoesWhereTheOrientationSays_data();
    void uprightLeftEndGoesWhereTheOrientationSays();

    void mainWindowSwitchShowsAddress200TurnedClockwise();
    void switchLevers_data();
    void switchLevers();
    void switchLabelsHangFromTheirTopLeftCorners_data();
    void switchLabelsHangFromTheirTopLeftCorners();

    void turningBetweenPairsExchangesSizeOnlyOnScreen_data();
    void turningBetweenPairsExchangesSizeOnlyOnScreen();
    void shownJumperTurnedClockwiseDrawsItsPinsOneAboveTheOther();

    void anySizeGivesAWholePicture_data();
    void anySizeGivesAWholePicture();

    void sheetOfEveryPicture();
};

void TestPictures::initTestCase()
{
    RegisterFontSubstitutions();
}

void TestPictures::roundingGoesToTheEvenNeighbour_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("4.5 down to 4") << 4.5 << 4;
    QTest::newRow("5.5 up to 6") << 5.5 << 6;
    QTest::newRow("9.71 to 10") << 34 / 3.5 << 10;
    QTest::newRow("9.11 to 9") << 41 / 4.5 << 9;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("-0.44 to 0") << -2 / 4.5 << 0;
}

void TestPictures::roundingGoesToTheEvenNeighbour()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(RoundEven(value), rounded);
}

// A 3 x 2 upright image with the pixels a b c / d e f.
void TestPictures::turningMovesEveryPixelWhereTheTableSays_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("otUp as drawn") << int(otUp) << QStringList{"abc", "def"};
    QTest::newRow("otDown half a turn") << int(otDown) << QStringList{"fed", "cba"};
    QTest::newRow("otLeft counter-clockwise") << int(otLeft) << QStringList{"cf", "be", "ad"};
    QTest::newRow("otRight clockwise") << int(otRight) << QStringList{"da", "eb", "fc"};
}

void TestPictures::turningMovesEveryPixelWhereTheTableSays()
{
    QFETCH(int, orientation);
    QFETCH(QStringList, rows);
    const QString upright = QStringLiteral("abcdef");
    QImage image(3, 2, QImage::Format_RGB32);
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, qRgb(upright[i].unicode(), 0, 0));

    const QImage turned = OrientImage(image, TOrientationType(orientation));
    QCOMPARE(turned.height(), rows.size());
    QCOMPARE(turned.width(), rows[0].size());
    QStringList seen;
    for (int y = 0; y < turned.height(); ++y) {
        QString row;
        for (int x = 0; x < turned.width(); ++x)
            row += QChar(qRed(turned.pixel(x, y)));
        seen << row;
    }
    QCOMPARE(seen, rows);
}

// The 6 x 6 pin of the default jumper: rows of 4, 6, 6, 6, 6, 4 pixels, symmetric.
void TestPictures::pinIsAFilledCircleInsideItsBox()
{
    const TBox box{8, 6, 14, 12};
    QStringList rows;
    for (int y = 5; y <= 12; ++y) {
        QString row;
        for (int x = 7; x <= 14; ++x)
            row += EllipseCovers(box, x, y) ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    const QStringList expected{"........", "..####..", ".######.", ".######.",
                               ".######.", ".######.", "..####..", "........"};
    QCOMPARE(rows, expected);
    QVERIFY(!EllipseCovers({5, 5, 5, 9}, 5, 6)); // an empty box covers nothing
}

void TestPictures::twoJumperGeometryAtDefaultSize()
{
    // R(34 / 3.5) = 10, so c = 11; R(4.5) = 4 loses to 10 div 3 = 3.
    const TTwoJumperGeometry g = TwoJumperGeometry(34, 18);
    QCOMPARE(g.C, 11);
    QCOMPARE(g.R, 3);
    QCOMPARE(g.Cy, 9);
    QCOMPARE(g.LeftPin, (TBox{8, 6, 14, 12}));
    QCOMPARE(g.RightPin, (TBox{20, 6, 26, 12}));
}

void TestPictures::threeJumperGeometry_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("reach");
    QTest::addColumn<int>("leftCapRight");
    QTest::addColumn<int>("rightCapLeft");
    QTest::newRow("default 43 x 18") << 43 << 18 << 10 << 3 << 21 << 6 << 27 << 15;
    // c = R(78 / 4.5) + 1 = 18; the radius is min(17 div 3, R((H - 2) / 4)).
    QTest::newRow("80 x 22, R(5) = 5") << 80 << 22 << 18 << 5 << 40 << 12 << 52 << 28;
    QTest::newRow("80 x 20, R(4.5) = 4 limits the radius")
        << 80 << 20 << 18 << 4 << 40 << 12 << 52 << 28;
}

void TestPictures::threeJumperGeometry()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, c);
    QFETCH(int, r);
    QFETCH(int, m);
    QFETCH(int, reach);
    QFETCH(int, leftCapRight);
    QFETCH(int, rightCapLeft);
    const TThreeJumperGeometry g = ThreeJumperGeometry(width, height);
    QCOMPARE(g.C, c);
    QCOMPARE(g.R, r);
    QCOMPARE(g.Cy, height / 2);
    QCOMPARE(g.M, m);
    QCOMPARE(g.Reach, reach);
    QCOMPARE(g.LeftCap, (TBox{0, 0, leftCapRight, height}));
    QCOMPARE(g.RightCap, (TBox{rightCapLeft, 0, width, height}));
    QCOMPARE(g.Pins[2].X1 + g.Pins[2].X2, 2 * (width - c));
}

void TestPictures::switchGeometryOfTheMainWindowSwitch()
{
    // 61 x 102 at otRight is drawn upright at 102 x 61 with an 11-pixel font.
    const TSwitchGeometry g = SwitchGeometry(102, 61, 7, 11);
    QCOMPARE(g.Body, 38);
    QCOMPARE(g.SlotTop, 13);
    QCOMPARE(g.SlotBottom, 35);
    QCOMPARE(g.SlotWidth, 12);
    QCOMPARE(g.Gap, 3);
    QCOMPARE(g.Pitch, 14);
    QCOMPARE(g.LeverLength, 9);
    QCOMPARE(g.SlotX, (std::vector<int>{3, 17, 31, 45, 59, 73, 87}));
    QCOMPARE(TBaseAddress::LabelFont().pixelSize(), 11);
}

void TestPictures::defaultTwoJumperPinsAreCentredAt11And23()
{
    TTwoJumper jumper;
    const QImage image = Shot(jumper);
    QCOMPARE(image.size(), QSize(34, 18));
    QCOMPARE(BoundsOf(image, DARK_RED), QRect());
    for (int cx : {11, 23}) {
        // The pin box (cx - 3, 6, cx + 3, 12): six pixels across the middle rows,
        // nothing yellow one pixel further out, grey housing around it.
        for (int x = cx - 3; x < cx + 3; ++x)
            COMPARE_PIXEL(image, x, 9, YELLOW);
        for (int y = 6; y < 12; ++y)
            COMPARE_PIXEL(image, cx, y, YELLOW);
        COMPARE_PIXEL(image, cx - 4, 9, GREY);
        COMPARE_PIXEL(image, cx + 3, 9, GREY);
        COMPARE_PIXEL(image, cx, 5, GREY);
        COMPARE_PIXEL(image, cx, 12, GREY);
    }
    QCOMPARE(BoundsOf(image, YELLOW), QRect(QPoint(8, 6), QPoint(25, 11)));
    // The housing box (1, 1, 33, 17) outlined inside itself, rounded at the corners.
    COMPARE_PIXEL(image, 1, 9, BLACK);
    COMPARE_PIXEL(image, 32, 9, BLACK);
    COMPARE_PIXEL(image, 17, 1, BLACK);
    COMPARE_PIXEL(image, 17, 16, BLACK);
    COMPARE_PIXEL(image, 2, 9, GREY);
    const QRgb face = Vcl::ButtonFaceColor().rgb();
    COMPARE_PIXEL(image, 0, 9, face);
    COMPARE_PIXEL(image, 33, 9, face);
    COMPARE_PIXEL(image, 1, 1, face);
    COMPARE_PIXEL(image, 32, 16, face);
}

void TestPictures::twoJumperCapReplacesTheHousing_data()
{
    QTest::addColumn<int>("borderStyle");
    QTest::addColumn<QRgb>("outline");
    QTest::newRow("bsSingle outlines the cap in black") << int(bsSingle) << BLACK;
    QTest::newRow("bsNone shows no outline") << int(bsNone) << DARK_RED;
}

void TestPictures::twoJumperCapReplacesTheHousing()
{
    QFETCH(int, borderStyle);
    QFETCH(QRgb, outline);
    TTwoJumper jumper;
    jumper.SetBorderStyle(TBorderStyle(borderStyle));
    jumper.SetClosed(true);
    const QImage image = Shot(jumper);
    // The cap fills the whole control, corners included; no grey housing shows.
    for (const QPoint p :
         {QPoint(0, 0), QPoint(33, 0), QPoint(0, 17), QPoint(33, 17), QPoint(17, 0), QPoint(0, 9)})
        COMPARE_PIXEL(image, p.x(), p.y(), outline);
    COMPARE_PIXEL(image, 1, 1, DARK_RED);
    COMPARE_PIXEL(image, 17, 9, DARK_RED);
    QCOMPARE(BoundsOf(image, GREY), QRect());
    // The pins are drawn over the cap.
    QCOMPARE(BoundsOf(image, YELLOW), QRect(QPoint(8, 6), QPoint(25, 11)));

    if (borderStyle == bsNone) {
        jumper.SetClosed(false);
        const QImage open = Shot(jumper);
        QCOMPARE(BoundsOf(open, BLACK), QRect());
        COMPARE_PIXEL(open, 1, 9, GREY);
    }
}

// A subclass with its own meta-object, as every QObject subclass here has.
class TDerivedPanel : public TRadioPanel
{
    Q_OBJECT
public:
    using TRadioPanel::TRadioPanel;
};

void TestPictures::jumperBackgroundTakesOnlyARadioPanelsColour_data()
{
    QTest::addColumn<QString>("parentKind");
    QTest::addColumn<bool>("panelColour");
    QTest::newRow("radio panel") << "panel" << true;
    QTest::newRow("subclass of the radio panel") << "derived" << false;
    QTest::newRow("plain widget") << "widget" << false;
}

void TestPictures::jumperBackgroundTakesOnlyARadioPanelsColour()
{
    QFETCH(QString, parentKind);
    QFETCH(bool, panelColour);
    const QColor teal(0x00, 0x80, 0x80);
    std::unique_ptr<QWidget> parent;
    if (parentKind == "panel")
        parent = std::make_unique<TRadioPanel>();
    else if (parentKind == "derived")
        parent = std::make_unique<TDerivedPanel>();
    else
        parent = std::make_unique<QWidget>();
    Vcl::SetBackgroundColor(parent.get(), teal);

    const QRgb expected = panelColour ? teal.rgb() : Vcl::ButtonFaceColor().rgb();
    QVERIFY(teal.rgb() != Vcl::ButtonFaceColor().rgb());
    auto *two = new TTwoJumper(parent.get());
    auto *three = new TThreeJumper(parent.get());
    COMPARE_PIXEL(Shot(*two), 0, 0, expected);
    COMPARE_PIXEL(Shot(*three), 0, 0, expected);
    COMPARE_PIXEL(Shot(*three), 42, 17, expected);
}

void TestPictures::threeJumperCapBoxes_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QRect>("capBox"); // inclusive pixels of the cap's box
    QTest::newRow("jsLeft (0, 0, 27, 18)") << int(jsLeft) << QRect(QPoint(0, 0), QPoint(26, 17));
    QTest::newRow("jsRight (15, 0, 43, 18)")
        << int(jsRight) << QRect(QPoint(15, 0), QPoint(42, 17));
    QTest::newRow("jsOpen has no cap") << int(jsOpen) << QRect();
}

void TestPictures::threeJumperCapBoxes()
{
    QFETCH(int, state);
    QFETCH(QRect, capBox);
    TThreeJumper jumper;
    jumper.SetJumperState(TJumperState(state));
    const QImage image = Shot(jumper);
    QCOMPARE(image.size(), QSize(43, 18));

    // Pins centred at x 10, 21 and 33, on top of everything.
    for (int cx : {10, 21, 33}) {
        COMPARE_PIXEL(image, cx - 3, 9, YELLOW);
        COMPARE_PIXEL(image, cx + 2, 9, YELLOW);
        COMPARE_PIXEL(image, cx, 6, YELLOW);
        COMPARE_PIXEL(image, cx, 11, YELLOW);
    }
    QCOMPARE(BoundsOf(image, YELLOW), QRect(QPoint(7, 6), QPoint(35, 11)));

    if (capBox.isNull()) {
        QCOMPARE(BoundsOf(image, DARK_RED), QRect());
        return;
    }
    // Fill inside a black outline that runs along the box's own edges.
    QCOMPARE(BoundsOf(image, DARK_RED), capBox.adjusted(1, 1, -1, -1));
    for (int y = 0; y < 18; ++y) {
        COMPARE_PIXEL(image, capBox.left(), y, BLACK);
        COMPARE_PIXEL(image, capBox.right(), y, BLACK);
    }
    for (int x = capBox.left(); x <= capBox.right(); ++x) {
        COMPARE_PIXEL(image, x, 0, BLACK);
        COMPARE_PIXEL(image, x, 17, BLACK);
    }
    // Just outside the cap the housing shows.
    const int outside = state == jsLeft ? capBox.right() + 1 : capBox.left() - 1;
    COMPARE_PIXEL(image, outside, 4, GREY);
}

void TestPictures::threeJumperHousingOutlineFollowsBorderStyleButCapStaysBlack()
{
    TThreeJumper jumper;
    jumper.SetBorderStyle(bsNone);
    QCOMPARE(BoundsOf(Shot(jumper), BLACK), QRect());

    jumper.SetJumperState(jsRight);
    const QImage image = Shot(jumper);
    QCOMPARE(BoundsOf(image, BLACK), QRect(QPoint(15, 0), QPoint(42, 17)));
    COMPARE_PIXEL(image, 1, 9, GREY); // the housing's edge, in its own colour
}

// A jsLeft cap marks the upright left end; the dark red cap interior shows where it
// went on screen.
void TestPictures::uprightLeftEndGoesWhereTheOrientationSays_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("capFill");
    QTest::newRow("otUp: left") << int(otUp) << QSize(43, 18) << QRect(1, 1, 25, 16);
    QTest::newRow("otDown: right") << int(otDown) << QSize(43, 18) << QRect(17, 1, 25, 16);
    QTest::newRow("otRight: top") << int(otRight) << QSize(18, 43) << QRect(1, 1, 16, 25);
    QTest::newRow("otLeft: bottom") << int(otLeft) << QSize(18, 43) << QRect(1, 17, 16, 25);
}

void TestPictures::uprightLeftEndGoesWhereTheOrientationSays()
{
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(QRect, capFill);
    TThreeJumper jumper;
    jumper.SetOrientation(TOrientationType(orientation));
    jumper.resize(size);
    jumper.SetJumperState(jsLeft);
    const QImage image = Shot(jumper);
    QCOMPARE(image.size(), size);
    QCOMPARE(jumper.UprightBitmap().size(), QSize(43, 18));
    QCOMPARE(BoundsOf(image, DARK_RED), capFill);
}

void TestPictures::mainWindowSwitchShowsAddress200TurnedClockwise()
{
    TBaseAddress sw;
    sw.SetOrientation(otRight);
    sw.resize(61, 102);
    sw.SetBaseAddressStr("200");
    const QImage image = Shot(sw);
    QCOMPARE(image.size(), QSize(61, 102));
    QCOMPARE(sw.UprightBitmap().size(), QSize(102, 61));

    // Upright (x, y) lands at (60 - y, x): the slots run down the screen, A3 at the
    // top, the "ON" end of each slot facing right.
    auto at = [&](int ux, int uy) { return image.pixel(60 - uy, ux); };
    const int slotX[7] = {3, 17, 31, 45, 59, 73, 87};
    for (int i = 0; i < 7; ++i) {
        const int x = slotX[i];
        const bool on = i < 6; // A3..A8 ON, A9 OFF
        const QString which = QStringLiteral("A%1").arg(3 + i);
        // Slot edges across: outline at x and x + 11, grey or white inside.
        QVERIFY2(at(x, 24) == BLACK && at(x + 11, 24) == BLACK, qPrintable(which));
        QVERIFY2(at(x + 1, 24) == GREY && at(x + 10, 24) == GREY, qPrintable(which));
        // ON lever: rows 13..21 with its outline on 13 and 21; OFF lever: 26..34.
        QVERIFY2(at(x + 6, 13) == BLACK && at(x + 6, 34) == BLACK, qPrintable(which));
        if (on) {
            QVERIFY2(at(x + 6, 14) == WHITE && at(x + 6, 20) == WHITE, qPrintable(which));
            QVERIFY2(at(x + 6, 21) == BLACK && at(x + 6, 22) == GREY, qPrintable(which));
            QVERIFY2(at(x + 6, 30) == GREY, qPrintable(which));
        } else {
            QVERIFY2(at(x + 6, 25) == GREY && at(x + 6, 26) == BLACK, qPrintable(which));
            QVERIFY2(at(x + 6, 27) == WHITE && at(x + 6, 33) == WHITE, qPrintable(which));
            QVERIFY2(at(x + 6, 17) == GREY, qPrintable(which));
        }
    }
    // Body rows 0..37 black, label strip from row 38 green; on screen the strip is
    // the left 23 columns.
    COMPARE_PIXEL(image, 60 - 37, 0, BLACK);
    COMPARE_PIXEL(image, 60 - 38, 0, GREEN);
    COMPARE_PIXEL(image, 0, 101, GREEN);
    // "ON" in white in the upright top-left corner, now at the top right.
    const QRect whiteOn = BoundsOf(image.copy(48, 0, 13, 16), WHITE);
    QVERIFY(!whiteOn.isNull());
    // Labels in white inside the strip beside each slot.
    for (int x : slotX)
        QVERIFY(!BoundsOf(image.copy(0, x, 23, 12), WHITE).isNull());
}

void TestPictures::switchLevers_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("onIsOne");
    QTest::addColumn<bool>("leftToRight");
    QTest::addColumn<int>("switches");
    QTest::addColumn<QString>("levers"); // from the upright left: O = ON, F = OFF
    QTest::newRow("new switch, all ON") << "0" << false << false << 7 << "OOOOOOO";
    QTest::newRow("200, A9 OFF on the right") << "200" << false << false << 7 << "OOOOOOF";
    QTest::newRow("3F8, all OFF") << "3F8" << false << false << 7 << "FFFFFFF";
    QTest::newRow("OnIsOne flips every lever") << "200" << true << false << 7 << "FFFFFFO";
    QTest::newRow("LeftToRight puts A9 on the left") << "200" << false << true << 7 << "FOOOOOO";
    QTest::newRow("28 = A3 and A5 set") << "28" << false << false << 7 << "FOFOOOO";
    QTest::newRow("five switches A5..A9") << "220" << false << false << 5 << "FOOOF";
    QTest::newRow("ten switches reach A0") << "201" << false << false << 10 << "FOOOOOOOOF";
}

void TestPictures::switchLevers()
{
    QFETCH(QString, address);
    QFETCH(bool, onIsOne);
    QFETCH(bool, leftToRight);
    QFETCH(int, switches);
    QFETCH(QString, levers);
    TBaseAddress sw;
    sw.SetNumSwitches(switches);
    sw.SetBaseAddressStr(address);
    sw.SetOnIsOne(onIsOne);
    sw.SetLeftToRight(leftToRight);
    const QImage image = Shot(sw);

    const TSwitchGeometry g = SwitchGeometry(102, 61, switches, 11);
    const int onRow = g.SlotTop + g.LeverLength / 2;
    const int offRow = g.SlotBottom - g.LeverLength / 2;
    QString seen;
    for (int x : g.SlotX) {
        const QRgb top = image.pixel(x + g.SlotWidth / 2, onRow);
        const QRgb bottom = image.pixel(x + g.SlotWidth / 2, offRow);
        if (top == WHITE && bottom == GREY)
            seen += 'O';
        else if (top == GREY && bottom == WHITE)
            seen += 'F';
        else
            seen += '?';
    }
    QCOMPARE(seen, levers);
}

// "A" at (x + w div 2 - t div 2, b) and the bit number left-aligned below it at
// b + f - 1, each hanging from its top-left corner. The reference strip is drawn
// with top-aligned text boxes, a second way of placing text by its top.
void TestPictures::switchLabelsHangFromTheirTopLeftCorners_data()
{
    QTest::addColumn<bool>("leftToRight");
    QTest::addColumn<int>("switches");
    QTest::newRow("A3..A9") << false << 7;
    QTest::newRow("A9..A3") << true << 7;
    QTest::newRow("ten switches A0..A9") << false << 10;
}

void TestPictures::switchLabelsHangFromTheirTopLeftCorners()
{
    QFETCH(bool, leftToRight);
    QFETCH(int, switches);
    TBaseAddress sw;
    sw.SetNumSwitches(switches);
    sw.SetLeftToRight(leftToRight);
    Shot(sw);
    const QImage upright = sw.UprightBitmap();
    QCOMPARE(upright.size(), QSize(102, 61));

    const int f = 11;
    const int b = 61 - 2 * f - 1;
    const TSwitchGeometry g = SwitchGeometry(102, 61, switches, f);
    QImage expected(102, 61 - b, QImage::Format_RGB32);
    expected.fill(GREEN);
    QPainter painter(&expected);
    painter.setFont(TBaseAddress::LabelFont());
    painter.setPen(Qt::white);
    const int t = painter.fontMetrics().horizontalAdvance(QStringLiteral("A"));
    for (int i = 0; i < switches; ++i) {
        const int x = g.SlotX[i] + g.SlotWidth / 2 - t / 2;
        const int bit = leftToRight ? 9 - i : 10 - switches + i;
        painter.drawText(QRect(x, 0, 40, 40), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("A"));
        painter.drawText(QRect(x, f - 1, 40, 40), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(bit));
    }
    painter.end();
    QCOMPARE(upright.copy(0, b, 102, 61 - b), expected);
}

// Rows: where the jumper starts (turned and sized before its first paint or not),
// the turns made once it is on screen, and its size after the next paint.
void TestPictures::turningBetweenPairsExchangesSizeOnlyOnScreen_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<QSize>("initialSize");
    QTest::addColumn<QList<int>>("turns");
    QTest::addColumn<QSize>("after");
    QTest::newRow("on screen otUp to otRight")
        << int(otUp) << QSize(34, 18) << QList<int>{otRight} << QSize(18, 34);
    QTest::newRow("on screen otRight back to otUp")
        << int(otRight) << QSize(18, 34) << QList<int>{otUp} << QSize(34, 18);
    QTest::newRow("turned and sized before the first paint")
        << int(otRight) << QSize(18, 34) << QList<int>{} << QSize(18, 34);
    QTest::newRow("otUp to otRight and back: no exchange")
        << int(otUp) << QSize(34, 18) << QList<int>{otRight, otUp} << QSize(34, 18);
    QTest::newRow("otLeft to otRight, same pair: no exchange")
        << int(otLeft) << QSize(18, 34) << QList<int>{otRight} << QSize(18, 34);
    QTest::newRow("otUp to otDown, same pair: no exchange")
        << int(otUp) << QSize(34, 18) << QList<int>{otDown} << QSize(34, 18);
    QTest::newRow("otUp via otLeft to otRight: one exchange")
        << int(otUp) << QSize(34, 18) << QList<int>{otLeft, otRight} << QSize(18, 34);
}

void TestPictures::turningBetweenPairsExchangesSizeOnlyOnScreen()
{
    QFETCH(int, initial);
    QFETCH(QSize, initialSize);
    QFETCH(QList<int>, turns);
    QFETCH(QSize, after);

    QWidget host;
    host.resize(80, 80);
    auto *jumper = new TTwoJumper(&host);
    jumper->SetOrientation(TOrientationType(initial));
    jumper->resize(initialSize);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTRY_VERIFY(jumper->PaintedOnce());
    QCOMPARE(jumper->size(), initialSize);

    for (int turn : turns)
        jumper->SetOrientation(TOrientationType(turn));
    jumper->repaint();
    QCOMPARE(jumper->size(), after);
    QVERIFY(!jumper->SwapPending());

    // Whatever happened, the next paint draws the upright picture at 34 x 18.
    jumper->repaint();
    QCOMPARE(jumper->size(), after);
    QCOMPARE(jumper->UprightBitmap().size(), QSize(34, 18));
    QCOMPARE(jumper->OrientedBitmap().size(), after);
}

void TestPictures::shownJumperTurnedClockwiseDrawsItsPinsOneAboveTheOther()
{
    QWidget host;
    host.resize(80, 80);
    auto *jumper = new TTwoJumper(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTRY_VERIFY(jumper->PaintedOnce());

    jumper->SetOrientation(otRight);
    jumper->repaint();
    QCOMPARE(jumper->size(), QSize(18, 34));
    const QImage image = Shot(*jumper);
    // Upright pin boxes (8, 6, 14, 12) and (20, 6, 26, 12) turn to (6, 8, 12, 14)
    // and (6, 20, 12, 26).
    QCOMPARE(BoundsOf(image, YELLOW), QRect(QPoint(6, 8), QPoint(11, 25)));
    COMPARE_PIXEL(image, 9, 15, GREY);
    COMPARE_PIXEL(image, 9, 1, BLACK);  // housing top edge, from the upright left end
    COMPARE_PIXEL(image, 9, 32, BLACK); // and bottom edge
}

// Sizes far from the designed ones still give a picture of the control's size: the
// geometry goes negative or empty, but nothing is drawn outside the image.
void TestPictures::anySizeGivesAWholePicture_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    const QList<QSize> sizes{{0, 0}, {1, 1}, {2, 2}, {3, 7}, {7, 3}, {40, 5}, {5, 40}, {400, 300}};
    for (const char *kind : {"two-pin", "three-pin", "switch"})
        for (const QSize &size : sizes)
            QTest::addRow("%s %dx%d", kind, size.width(), size.height()) << kind << size;
}

void TestPictures::anySizeGivesAWholePicture()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    for (TOrientationType o : {otUp, otDown, otLeft, otRight}) {
        std::unique_ptr<TOrientedPicture> picture;
        if (kind == "two-pin") {
            auto *j = new TTwoJumper;
            j->SetClosed(size.width() % 2);
            picture.reset(j);
        } else if (kind == "three-pin") {
            auto *j = new TThreeJumper;
            j->SetJumperState(jsRight);
            picture.reset(j);
        } else {
            auto *sw = new TBaseAddress;
            sw->SetBaseAddressStr("2A8");
            picture.reset(sw);
        }
        picture->SetOrientation(o);
        picture->resize(size);
        const QImage image = Shot(*picture);
        QCOMPARE(picture->size(), size);
        QCOMPARE(picture->OrientedBitmap().size(), size.isEmpty() ? QSize(0, 0) : size);
        QCOMPARE(picture->UprightBitmap().size(),
                 size.isEmpty() ? QSize(0, 0) : UprightSize(o, size));
        if (!size.isEmpty())
            QCOMPARE(image, picture->OrientedBitmap());
    }
}

namespace {

struct TSheetCell
{
    QString label;
    std::function<TOrientedPicture *(QWidget *parent)> make;
};

} // namespace

void TestPictures::sheetOfEveryPicture()
{
    const QList<TSheetCell> rows = {
        {"two-pin open", [](QWidget *p) { return new TTwoJumper(p); }},
        {"two-pin closed",
         [](QWidget *p) {
             auto *j = new TTwoJumper(p);
             j->SetClosed(true);
             return j;
         }},
        {"two-pin open bsNone",
         [](QWidget *p) {
             auto *j = new TTwoJumper(p);
             j->SetBorderStyle(bsNone);
             return j;
         }},
        {"two-pin closed bsNone",
         [](QWidget *p) {
             auto *j = new TTwoJumper(p);
             j->SetBorderStyle(bsNone);
             j->SetClosed(true);
             return j;
         }},
        {"three-pin jsOpen", [](QWidget *p) { return new TThreeJumper(p); }},
        {"three-pin jsLeft",
         [](QWidget *p) {
             auto *j = new TThreeJumper(p);
             j->SetJumperState(jsLeft);
             return j;
         }},
        {"three-pin jsRight",
         [](QWidget *p) {
             auto *j = new TThreeJumper(p);
             j->SetJumperState(jsRight);
             return j;
         }},
        {"three-pin jsLeft bsNone",
         [](QWidget *p) {
             auto *j = new TThreeJumper(p);
             j->SetJumperState(jsLeft);
             j->SetBorderStyle(bsNone);
             return j;
         }},
        {"switch 200",
         [](QWidget *p) {
             auto *s = new TBaseAddress(p);
             s->SetBaseAddressStr("200");
             return s;
         }},
        {"switch 200 OnIsOne",
         [](QWidget *p) {
             auto *s = new TBaseAddress(p);
             s->SetBaseAddressStr("200");
             s->SetOnIsOne(true);
             return s;
         }},
        {"switch 200 LeftToRight",
         [](QWidget *p) {
             auto *s = new TBaseAddress(p);
             s->SetBaseAddressStr("200");
             s->SetLeftToRight(true);
             return s;
         }},
        {"switch 200, 5 switches",
         [](QWidget *p) {
             auto *s = new TBaseAddress(p);
             s->SetNumSwitches(5);
             s->SetBaseAddressStr("200");
             return s;
         }},
    };
    const TOrientationType orientations[4] = {otUp, otDown, otLeft, otRight};
    const char *names[4] = {"otUp", "otDown", "otLeft", "otRight"};

    constexpr int LABEL_W = 150;
    constexpr int CELL = 112; // wider than the largest picture, 102
    constexpr int HEADER = 20;
    constexpr int GAP = 8;

    TRadioPanel panel;
    QImage sheet(LABEL_W + 4 * CELL, HEADER + rows.size() * CELL, QImage::Format_RGB32);
    sheet.fill(panel.Color());
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    for (int o = 0; o < 4; ++o)
        painter.drawText(QRect(LABEL_W + o * CELL, 0, CELL, HEADER), Qt::AlignCenter,
                         QString::fromLatin1(names[o]));

    for (int r = 0; r < rows.size(); ++r) {
        const int top = HEADER + r * CELL;
        painter.drawText(QRect(GAP, top, LABEL_W - GAP, CELL), Qt::AlignVCenter | Qt::AlignLeft,
                         rows[r].label);
        for (int o = 0; o < 4; ++o) {
            TOrientedPicture *picture = rows[r].make(&panel);
            const QSize upright = picture->size();
            picture->SetOrientation(orientations[o]);
            picture->resize(IsTurned(orientations[o]) ? upright.transposed() : upright);
            const QImage shot = Shot(*picture);
            QCOMPARE(shot.size(), picture->size());
            QCOMPARE(picture->UprightBitmap().size(), upright);
            painter.drawImage(LABEL_W + o * CELL + GAP / 2, top + GAP / 2, shot);
            delete picture;
        }
    }
    painter.end();

    QVERIFY(QDir().mkpath(QStringLiteral(GRD_SCREENSHOTS)));
    const QString path = QStringLiteral(GRD_SCREENSHOTS "/pictures.png");
    QVERIFY(sheet.save(path));
    qInfo("picture sheet: %s", qPrintable(path));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
