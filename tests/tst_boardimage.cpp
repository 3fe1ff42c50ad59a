// The board image panel: where it draws its picture, how it sizes and centres
// itself, and what it remembers of its first paint.

#include "boardimage.h"
#include "messages.h"

#include <QPainter>
#include <QtTest>

namespace {

std::unique_ptr<TGraphic> Solid(int w, int h, QColor color = Qt::darkGreen)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return std::make_unique<TBitmapGraphic>(image);
}

class TThrowingGraphic : public TBitmapGraphic
{
public:
    using TBitmapGraphic::TBitmapGraphic;
    void Draw(QPainter &, const QRect &) override { throw std::runtime_error("cannot draw"); }
};

// Paints the panel once, into an image, through Qt's ordinary paint path.
void PaintOnce(QWidget &widget)
{
    QImage target(std::max(1, widget.width()), std::max(1, widget.height()),
                  QImage::Format_RGB32);
    widget.render(&target);
}

} // namespace

class TestBoardImage : public QObject
{
    Q_OBJECT
private slots:
    void newPanelDefaults();
    void pictureRect_data();
    void pictureRect();
    void autoSizeTakesThePicturesSize();
    void emptyPictureChangesNothingButOpacity();
    void opaqueOnlyWhenThePictureCoversThePanel();
    void sameValueRequestsNoRepaint();
    void centresOnTheParentAtEveryPaint();
    void designPositionIsTakenAtTheFirstPaintOnly();
    void designModeScalesHeightWithHalvesToEven_data();
    void designModeScalesHeightWithHalvesToEven();
    void canAutoSizeFollowsTheAlignment_data();
    void canAutoSizeFollowsTheAlignment();
    void drawingFlagIsRestoredWhenDrawingFails();
    void startTourWithoutFirstIsIgnored();
    void assigningAPictureCopiesIt();
};

void TestBoardImage::newPanelDefaults()
{
    TBoardImage panel;
    QCOMPARE(panel.size(), QSize(105, 105));
    QVERIFY(panel.AutoSize());
    QVERIFY(panel.Scale());
    QVERIFY(panel.CenterOnForm());
    QVERIFY(!panel.Stretch());
    QVERIFY(!panel.Center());
    QVERIFY(!panel.Transparent());
    QVERIFY(!panel.Menu());
    QVERIFY(!panel.First());
    QVERIFY(!panel.Picture().Graphic());
}

void TestBoardImage::pictureRect_data()
{
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("center");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("expected");

    // The panel is 103 x 97 in every row.
    QTest::newRow("stretch fills the panel") << true << false << QSize(40, 30) << QRect(0, 0, 103, 97);
    QTest::newRow("stretch wins over center") << true << true << QSize(40, 30) << QRect(0, 0, 103, 97);
    QTest::newRow("natural size at the origin") << false << false << QSize(40, 30) << QRect(0, 0, 40, 30);
    QTest::newRow("centred, difference +3 gives 1") << false << true << QSize(100, 94) << QRect(1, 1, 100, 94);
    QTest::newRow("centred, difference -3 gives -1") << false << true << QSize(106, 100) << QRect(-1, -1, 106, 100);
    QTest::newRow("centred, larger picture") << false << true << QSize(200, 150) << QRect(-48, -26, 200, 150);
}

void TestBoardImage::pictureRect()
{
    QFETCH(bool, stretch);
    QFETCH(bool, center);
    QFETCH(QSize, picture);
    QFETCH(QRect, expected);

    TBoardImage panel;
    panel.SetAutoSize(false);
    panel.resize(103, 97);
    panel.Picture().SetGraphic(Solid(picture.width(), picture.height()));
    panel.SetStretch(stretch);
    panel.SetCenter(center);
    QCOMPARE(panel.PictureRect(), expected);
}

void TestBoardImage::autoSizeTakesThePicturesSize()
{
    TBoardImage panel;
    panel.move(7, 9);
    panel.Picture().SetGraphic(Solid(120, 80));
    QCOMPARE(panel.geometry(), QRect(7, 9, 120, 80));

    TBoardImage fixed;
    fixed.SetAutoSize(false);
    fixed.setGeometry(166, 122, 600, 422);
    fixed.Picture().SetGraphic(Solid(120, 80));
    QCOMPARE(fixed.geometry(), QRect(166, 122, 600, 422));
}

void TestBoardImage::emptyPictureChangesNothingButOpacity()
{
    TBoardImage panel;
    panel.SetAutoSize(false);
    panel.SetStretch(true);
    panel.setGeometry(3, 4, 50, 60);
    panel.Picture().SetGraphic(Solid(50, 60));
    QVERIFY(panel.testAttribute(Qt::WA_OpaquePaintEvent));

    panel.SetAutoSize(true);
    panel.setGeometry(3, 4, 70, 20);
    panel.Picture().SetGraphic(nullptr);
    QCOMPARE(panel.geometry(), QRect(3, 4, 70, 20));
    QVERIFY(!panel.testAttribute(Qt::WA_OpaquePaintEvent));

    // The aspect ratio kept from the last real picture (60 / 50) still scales the
    // height in design mode.
    Vcl::SetDesignMode(&panel, true);
    panel.SetAutoSize(false);
    panel.resize(100, 10);
    PaintOnce(panel);
    QCOMPARE(panel.height(), 120);
}

void TestBoardImage::opaqueOnlyWhenThePictureCoversThePanel()
{
    TBoardImage panel;
    panel.SetAutoSize(false);
    panel.resize(100, 100);
    panel.Picture().SetGraphic(Solid(50, 50));
    QVERIFY(!panel.testAttribute(Qt::WA_OpaquePaintEvent));
    panel.SetStretch(true);
    QVERIFY(panel.testAttribute(Qt::WA_OpaquePaintEvent));
    panel.SetTransparent(true);
    QVERIFY(panel.Picture().Graphic()->Transparent());
    QVERIFY(!panel.testAttribute(Qt::WA_OpaquePaintEvent));
}

void TestBoardImage::sameValueRequestsNoRepaint()
{
    TBoardImage panel;
    const int before = panel.UpdateRequests();
    panel.SetStretch(false);
    panel.SetCenter(false);
    panel.SetScale(true);
    panel.SetTransparent(false);
    QCOMPARE(panel.UpdateRequests(), before);
    panel.SetStretch(true);
    QCOMPARE(panel.UpdateRequests(), before + 1);
}

void TestBoardImage::centresOnTheParentAtEveryPaint()
{
    QWidget parent;
    parent.resize(300, 200);
    auto *panel = new TBoardImage(&parent);
    panel->SetAutoSize(false);
    panel->setGeometry(10, 10, 100, 50);
    PaintOnce(*panel);
    QCOMPARE(panel->pos(), QPoint(100, 75));

    // Larger than its parent: negative Left and Top.
    panel->resize(603, 421);
    PaintOnce(*panel);
    QCOMPARE(panel->pos(), QPoint(-151, -110));

    // It follows the parent only when it paints.
    parent.resize(400, 300);
    QCOMPARE(panel->pos(), QPoint(-151, -110));
    PaintOnce(*panel);
    QCOMPARE(panel->pos(), QPoint(-101, -60));

    panel->SetCenterOnForm(false);
    panel->move(5, 6);
    PaintOnce(*panel);
    QCOMPARE(panel->pos(), QPoint(5, 6));
}

void TestBoardImage::designPositionIsTakenAtTheFirstPaintOnly()
{
    QWidget parent;
    parent.resize(800, 600);
    auto *panel = new TBoardImage(&parent);
    panel->SetAutoSize(false);
    panel->setGeometry(166, 122, 600, 422);
    PaintOnce(*panel);
    QCOMPARE(panel->DesignLeft(), 166);
    QCOMPARE(panel->DesignTop(), 122);
    QCOMPARE(panel->pos(), QPoint(100, 89));

    panel->move(1, 2);
    PaintOnce(*panel);
    QCOMPARE(panel->DesignLeft(), 166);
    QCOMPARE(panel->DesignTop(), 122);
}

void TestBoardImage::designModeScalesHeightWithHalvesToEven_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // Picture 200 x 100: the height is half the width.
    QTest::newRow("50.5 rounds down to even") << 101 << 50;
    QTest::newRow("51.5 rounds up to even") << 103 << 52;
    QTest::newRow("exact") << 120 << 60;
}

void TestBoardImage::designModeScalesHeightWithHalvesToEven()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QWidget form;
    Vcl::SetDesignMode(&form, true);
    auto *panel = new TBoardImage(&form);
    panel->Picture().SetGraphic(Solid(200, 100));
    panel->SetAutoSize(false);
    panel->setGeometry(20, 30, width, 7);
    PaintOnce(*panel);
    QCOMPARE(panel->size(), QSize(width, height));
    // Design mode does not centre the panel.
    QCOMPARE(panel->pos(), QPoint(20, 30));
}

void TestBoardImage::canAutoSizeFollowsTheAlignment_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("designing");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("none: both") << int(alNone) << false << QSize(40, 30) << QSize(40, 30);
    QTest::newRow("left: width") << int(alLeft) << false << QSize(40, 30) << QSize(40, 99);
    QTest::newRow("right: width") << int(alRight) << false << QSize(40, 30) << QSize(40, 99);
    QTest::newRow("top: height") << int(alTop) << false << QSize(40, 30) << QSize(77, 30);
    QTest::newRow("bottom: height") << int(alBottom) << false << QSize(40, 30) << QSize(77, 30);
    QTest::newRow("client: neither") << int(alClient) << false << QSize(40, 30) << QSize(77, 99);
    QTest::newRow("designing without picture") << int(alNone) << true << QSize(0, 0) << QSize(77, 99);
    QTest::newRow("running without picture") << int(alNone) << false << QSize(0, 0) << QSize(0, 0);
}

void TestBoardImage::canAutoSizeFollowsTheAlignment()
{
    QFETCH(int, align);
    QFETCH(bool, designing);
    QFETCH(QSize, picture);
    QFETCH(QSize, expected);
    TBoardImage panel;
    panel.SetAutoSize(false);
    Vcl::SetDesignMode(&panel, designing);
    panel.SetAlign(TAlign(align));
    if (!picture.isEmpty())
        panel.Picture().SetGraphic(Solid(picture.width(), picture.height()));
    int w = 77, h = 99;
    QVERIFY(panel.CanAutoSize(w, h));
    QCOMPARE(QSize(w, h), expected);
}

void TestBoardImage::drawingFlagIsRestoredWhenDrawingFails()
{
    TBoardImage panel;
    panel.SetCenterOnForm(false);
    panel.Picture().SetGraphic(std::make_unique<TThrowingGraphic>(QImage(10, 10, QImage::Format_RGB32)));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, PaintOnce(panel));
    QVERIFY(!panel.Drawing());
}

void TestBoardImage::startTourWithoutFirstIsIgnored()
{
    TBoardImage panel;
    TMessageEvent message(WM_STARTTOUR);
    QVERIFY(QCoreApplication::sendEvent(&panel, &message));
}

void TestBoardImage::assigningAPictureCopiesIt()
{
    TPicture source;
    source.SetGraphic(Solid(30, 20));
    TBoardImage panel;
    panel.SetPicture(source);
    source.SetGraphic(Solid(5, 5));
    QCOMPARE(panel.Picture().Width(), 30);
    QCOMPARE(panel.size(), QSize(30, 20));
}

QTEST_MAIN(TestBoardImage)
#include "tst_boardimage.moc"
