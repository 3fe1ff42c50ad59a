// The highlight circle: its ring images, its title texts, which highlights are
// linked, the radio panel rule and its entries in the group menus.

#include "application.h"
#include "jpegpicture.h"
#include "template.h"

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace {

QImage Uniform(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A board image with a plain picture in a window of its own, as the main window has
// it: the picture drawn at natural size from the panel's origin.
struct BoardFixture
{
    QWidget window;
    TBoardImage *board = nullptr;

    // The board goes into `host` when given (a main window with a menu bar).
    explicit BoardFixture(QWidget *host = nullptr, QRgb picture = qRgb(40, 120, 60))
    {
        window.resize(700, 500);
        board = new TBoardImage(host ? host : &window);
        board->setObjectName(QStringLiteral("Board"));
        board->SetCenterOnForm(false);
        board->Picture().SetGraphic(std::make_unique<TBitmapGraphic>(Uniform(600, 422, picture)));
        board->move(10, 10);
    }

    TBoardHighlight *Add(const QString &name, const QString &title, THighlightType type,
                         QRect bounds = QRect(0, 0, 65, 65))
    {
        auto *h = new TBoardHighlight(board);
        h->setObjectName(name);
        h->SetTitle(title);
        h->SetHighlightType(type);
        h->setGeometry(bounds);
        return h;
    }
};

// Shows the window and waits until every highlight has made its images (and its
// menu entry) at its first paint.
bool ShowAndPaint(QWidget *window, TBoardImage *board)
{
    window->resize(700, 560);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    const auto rings = board->findChildren<TBoardHighlight *>();
    return QTest::qWaitFor([&] {
        return std::all_of(rings.begin(), rings.end(),
                           [](TBoardHighlight *h) { return h->ImagesReady(); });
    });
}

bool HasName(const QList<TBoardHighlight *> &list, const char *name)
{
    for (auto *h : list) {
        if (h->objectName() == QLatin1String(name))
            return true;
    }
    return false;
}

// Answers the next message box with `button` and keeps its text.
void AnswerNextMessageBox(QString *text, QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [text, button] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (box && box->isVisible()) {
                *text = box->text();
                box->button(button)->click();
                return;
            }
        }
    });
}

} // namespace

class TestBoardHighlight : public QObject
{
    Q_OBJECT

private slots:
    void ringShadeFollowsTheRadius_data();
    void ringShadeFollowsTheRadius();
    void shadeCircleOnSquareImage_data();
    void shadeCircleOnSquareImage();
    void shadeCircleOnNonSquareImageIsSymmetricAndKeepsOutside();
    void shadeCircleIgnoresDegenerateSizes();

    void titleTexts_data();
    void titleTexts();
    void typeSetsColourAndLevels_data();
    void typeSetsColourAndLevels();

    void linking_data();
    void linking();
    void linkingNeedsExactClasses();

    void ringImagesAreMadeOnceFromWhatLiesBeneath();
    void preparedImagesAreTheShadedPicture();
    void laterRingCapturesTheRingPaintedBeforeIt();
    void ringOnAPlainParentCapturesTheParent();

    void conflictingRadioPanelIsRefusedSilentlyAtRunTime();
    void conflictingRadioPanelIsReportedInDesignMode();
    void linkedPanelsAreOfferedForSynchronisingInDesignMode();

    void mainWindowSettingsMenu();
    void groupMenusStandInTheirOrderBeforeHelp();
    void menuNamesSkipTakenNamesAndAppendWithoutHelp();
    void titleWithoutLettersGetsAUsableEntryName();
    void emptyTitleMakesAnEmptyGroup();
    void pickingACheckedEntryClosesThePopup();
};

void TestBoardHighlight::ringShadeFollowsTheRadius_data()
{
    QTest::addColumn<float>("d");
    QTest::addColumn<bool>("bright");
    QTest::addColumn<float>("strength");
    QTest::addColumn<bool>("white");
    QTest::newRow("centre") << 0.0f << false << 0.16f << false;
    QTest::newRow("centre, bright: not doubled") << 0.0f << true << 0.16f << false;
    QTest::newRow("peak") << 0.765625f << false << 1.0f << false;
    QTest::newRow("peak, bright: white core") << 0.765625f << true << 0.0f << true;
    // Radius 0.9375: half way from the peak to the rim.
    QTest::newRow("outer flank") << 0.87890625f << false << 0.5f << false;
    QTest::newRow("outer flank, bright") << 0.87890625f << true << 1.0f << false;
    QTest::newRow("rim") << 0.99999f << false << 0.0f << false;
}

void TestBoardHighlight::ringShadeFollowsTheRadius()
{
    QFETCH(float, d);
    QFETCH(bool, bright);
    QFETCH(float, strength);
    QFETCH(bool, white);
    const TRingShade shade = RingShade(d, bright);
    QVERIFY2(std::fabs(shade.Strength - strength) < 1e-4f,
             qPrintable(QString::number(shade.Strength)));
    QCOMPARE(shade.White, white);
}

void TestBoardHighlight::shadeCircleOnSquareImage_data()
{
    QTest::addColumn<bool>("bright");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("expected");
    // 65 x 65 over grey 98, yellow, level 0.5 (bright 1.0). Column 32, row 32 is the
    // centre; column 60 on row 32 lies on the ring's peak (X = 0.875).
    QTest::newRow("corner untouched") << false << 0 << 0 << qRgb(98, 98, 98);
    QTest::newRow("rim untouched (D = 1)") << false << 0 << 32 << qRgb(98, 98, 98);
    // 0.92 x 98 + 0.08 x 255 = 110.56
    QTest::newRow("inner disc") << false << 32 << 32 << qRgb(111, 111, 90);
    // 0.5 x 98 + 0.5 x 255 = 176.5: halves go to the even neighbour
    QTest::newRow("ring peak, half to even") << false << 60 << 32 << qRgb(176, 176, 49);
    QTest::newRow("bright ring peak is white") << true << 60 << 32 << qRgb(255, 255, 255);
    // 0.84 x 98 + 0.16 x 255 = 123.12: the disc is not doubled in the bright image
    QTest::newRow("bright inner disc") << true << 32 << 32 << qRgb(123, 123, 82);
    QTest::newRow("bright corner untouched") << true << 64 << 64 << qRgb(98, 98, 98);
}

void TestBoardHighlight::shadeCircleOnSquareImage()
{
    QFETCH(bool, bright);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QRgb, expected);
    QImage image = Uniform(65, 65, qRgb(98, 98, 98));
    ShadeCircle(image, 65, 65, bright, QColor(255, 255, 0), bright ? 1.0f : 0.5f);
    QCOMPARE(QColor(image.pixel(column, row)), QColor(expected));
}

void TestBoardHighlight::shadeCircleOnNonSquareImageIsSymmetricAndKeepsOutside()
{
    const QRgb grey = qRgb(98, 98, 98);
    QImage image = Uniform(56, 86, grey);
    ShadeCircle(image, 56, 86, true, QColor(0, 0, 255), 1.0f);
    int changed = 0;
    int white = 0;
    for (int r = 0; r < 86; ++r) {
        for (int c = 0; c < 56; ++c) {
            const float x = c * (2.0f / 55) - 1, y = r * (2.0f / 85) - 1;
            if (x * x + y * y >= 1.0f)
                QCOMPARE(image.pixel(c, r), grey);
            changed += image.pixel(c, r) != grey;
            // Only the white core line of a blue ring over grey gets a red this high.
            white += qRed(image.pixel(c, r)) > 200;
            QCOMPARE(image.pixel(c, r), image.pixel(55 - c, r));
            QCOMPARE(image.pixel(c, r), image.pixel(c, 85 - r));
        }
    }
    QVERIFY(changed > 56 * 86 / 2);
    QVERIFY(white > 0);
    // Near the centre: the faint disc, 0.84 x 98 + 0.16 x 255 in blue.
    QCOMPARE(QColor(image.pixel(27, 42)), QColor(qRgb(82, 82, 123)));
}

void TestBoardHighlight::shadeCircleIgnoresDegenerateSizes()
{
    const QRgb grey = qRgb(98, 98, 98);
    for (QSize size : {QSize(1, 40), QSize(40, 1), QSize(0, 0), QSize(-5, 10)}) {
        QImage image = Uniform(40, 40, grey);
        ShadeCircle(image, size.width(), size.height(), true, Qt::red, 1.0f);
        QCOMPARE(image, Uniform(40, 40, grey));
    }
    // Sizes beyond the image are clipped to it; the visible quarter is shaded.
    QImage small = Uniform(20, 20, grey);
    ShadeCircle(small, 200, 200, false, Qt::red, 1.0f);
    QCOMPARE(small.pixel(0, 0), grey);
    QImage null;
    ShadeCircle(null, 10, 10, false, Qt::red, 1.0f);
    QVERIFY(null.isNull());
    // Levels out of range: nothing that is not a number reaches a pixel, and strong
    // levels saturate instead of wrapping around.
    QImage nan = Uniform(40, 40, grey);
    ShadeCircle(nan, 40, 40, false, Qt::red, std::numeric_limits<float>::quiet_NaN());
    QCOMPARE(nan, Uniform(40, 40, grey));
    QImage strong = Uniform(65, 65, grey);
    ShadeCircle(strong, 65, 65, false, QColor(255, 255, 0), 4.0f);
    QCOMPARE(QColor(strong.pixel(60, 32)), QColor(255, 255, 0));  // 4 x 255 - 3 x 98 clamps
    QCOMPARE(QColor(strong.pixel(32, 32)), QColor(198, 198, 35)); // 0.36 x 98 + 0.64 x 255
}

void TestBoardHighlight::titleTexts_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("ident");
    QTest::newRow("base") << "&Base Address"
                          << "Base Address"
                          << "BaseAddress";
    QTest::newRow("irq") << "&IRQ Level"
                         << "IRQ Level"
                         << "IRQLevel";
    QTest::newRow("relay") << "Relay &Enabling"
                           << "Relay Enabling"
                           << "RelayEnabling";
    QTest::newRow("doubled ampersand") << "A && B"
                                       << "A  B"
                                       << "AB";
    QTest::newRow("already an identifier") << "_Port2"
                                           << "_Port2"
                                           << "_Port2";
    QTest::newRow("leading digits dropped") << "12 Volt Range"
                                            << "12 Volt Range"
                                            << "VoltRange";
    QTest::newRow("non-ASCII letters dropped") << "Gr\u00f6\u00dfe"
                                               << "Gr\u00f6\u00dfe"
                                               << "Gre";
    QTest::newRow("no letter at all") << "&1-2"
                                      << "1-2"
                                      << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestBoardHighlight::titleTexts()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QFETCH(QString, ident);
    TBoardHighlight h;
    h.SetTitle(title);
    QCOMPARE(h.CaptionText(), caption);
    QCOMPARE(h.IdentText(), ident);
}

void TestBoardHighlight::typeSetsColourAndLevels_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<float>("normal");
    QTest::addColumn<float>("medium");
    QTest::newRow("options") << int(htOptions) << QColor(0, 0, 255) << 0.25f << 0.5f;
    QTest::newRow("settings") << int(htSettings) << QColor(255, 255, 0) << 0.5f << 0.75f;
    QTest::newRow("calibration") << int(htCalibration) << QColor(255, 0, 0) << 0.5f << 0.75f;
}

void TestBoardHighlight::typeSetsColourAndLevels()
{
    QFETCH(int, type);
    QFETCH(QColor, colour);
    QFETCH(float, normal);
    QFETCH(float, medium);
    TBoardHighlight h;
    QCOMPARE(h.HighlightType(), htSettings);
    QCOMPARE(h.size(), QSize(65, 65));
    QVERIFY(h.CreatePopup());
    // Back and forth, so that the setter's change test cannot hide a stale value.
    h.SetHighlightType(type == htOptions ? htCalibration : htOptions);
    h.SetHighlightType(THighlightType(type));
    QCOMPARE(h.RingColor(), colour);
    QCOMPARE(h.NormalLevel(), normal);
    QCOMPARE(h.MediumLevel(), medium);
    QCOMPARE(h.BrightLevel(), 1.0f);
}

void TestBoardHighlight::linking_data()
{
    QTest::addColumn<QString>("titleB");
    QTest::addColumn<int>("typeB");
    QTest::addColumn<bool>("linked");
    QTest::newRow("same title and type") << "&IRQ Level" << int(htSettings) << true;
    QTest::newRow("other type") << "&IRQ Level" << int(htOptions) << false;
    QTest::newRow("ampersand elsewhere") << "I&RQ Level" << int(htSettings) << false;
    QTest::newRow("other letter case") << "&IRQ level" << int(htSettings) << false;
    QTest::newRow("no ampersand") << "IRQ Level" << int(htSettings) << false;
}

void TestBoardHighlight::linking()
{
    QFETCH(QString, titleB);
    QFETCH(int, typeB);
    QFETCH(bool, linked);
    BoardFixture f;
    auto *a = f.Add("A", "&IRQ Level", htSettings);
    auto *b = f.Add("B", titleB, THighlightType(typeB), QRect(200, 0, 65, 65));
    f.Add("C", "&Base Address", htSettings, QRect(400, 0, 65, 65));
    QCOMPARE(HasName(a->LinkedHighlights(), "B"), linked);
    QCOMPARE(HasName(b->LinkedHighlights(), "A"), linked);
    QVERIFY(HasName(a->LinkedHighlights(), "A"));
    QVERIFY(!HasName(a->LinkedHighlights(), "C"));

    // Hovering one lights the other only when linked.
    a->SetCreatePopup(false);
    b->SetCreatePopup(false);
    a->MouseEnter(0);
    QVERIFY(a->Lit());
    QCOMPARE(b->Lit(), linked);
}

namespace {
class TDerivedHighlight : public TBoardHighlight
{
    Q_OBJECT
public:
    using TBoardHighlight::TBoardHighlight;
};
class TDerivedBoard : public TBoardImage
{
    Q_OBJECT
public:
    using TBoardImage::TBoardImage;
};
} // namespace

void TestBoardHighlight::linkingNeedsExactClasses()
{
    BoardFixture f;
    auto *a = f.Add("A", "&IRQ Level", htSettings);
    auto *derived = new TDerivedHighlight(f.board);
    derived->SetTitle(QStringLiteral("&IRQ Level"));
    QCOMPARE(a->LinkedHighlights().size(), 1);

    TDerivedBoard otherBoard;
    auto *x = new TBoardHighlight(&otherBoard);
    auto *y = new TBoardHighlight(&otherBoard);
    x->SetTitle(QStringLiteral("T"));
    y->SetTitle(QStringLiteral("T"));
    QCOMPARE(x->LinkedHighlights(), QList<TBoardHighlight *>{x});
}

void TestBoardHighlight::ringImagesAreMadeOnceFromWhatLiesBeneath()
{
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.EnableHighlight->ImagesReady());
    const auto *jpeg = static_cast<const TJpegPicture *>(form.BoardImage1->Picture().Graphic());
    for (TBoardHighlight *h :
         {form.BaseHighlight, form.IRQHighlight0, form.IRQHighlight1, form.EnableHighlight}) {
        QVERIFY(h->ImagesReady());
        QCOMPARE(h->NormalImage().size(), h->size());
        QCOMPARE(h->NormalImage().format(), QImage::Format_RGB32);
        // Corners are the photograph itself, the centre is tinted.
        const QPoint corner = h->geometry().topLeft();
        QCOMPARE(h->NormalImage().pixel(0, 0), jpeg->Image().pixel(corner));
        QCOMPARE(h->BrightImage().pixel(0, 0), jpeg->Image().pixel(corner));
        const QPoint mid(h->width() / 2, h->height() / 2);
        QVERIFY(h->NormalImage().pixel(mid) != jpeg->Image().pixel(corner + mid));
        QVERIFY(h->MediumImage() != h->NormalImage());
        QVERIFY(h->BrightImage() != h->MediumImage());
    }
    // Not made again: a later resize keeps the images of the first paint.
    const QImage before = form.BaseHighlight->NormalImage();
    form.BaseHighlight->resize(30, 30);
    form.BaseHighlight->repaint();
    QCOMPARE(form.BaseHighlight->NormalImage(), before);
}

void TestBoardHighlight::preparedImagesAreTheShadedPicture()
{
    BoardFixture f;
    QImage picture(600, 422, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (3 * x + y) % 256));
    f.board->Picture().SetGraphic(std::make_unique<TBitmapGraphic>(picture));
    auto *tall = f.Add("Tall", "A", htOptions, QRect(100, 50, 56, 86));
    auto *wide = f.Add("Wide", "B", htCalibration, QRect(300, 200, 70, 35));
    QVERIFY(ShowAndPaint(&f.window, f.board));
    for (TBoardHighlight *h : {tall, wide}) {
        QImage normal = picture.copy(h->geometry());
        QImage medium = normal.copy();
        QImage bright = normal.copy();
        ShadeCircle(normal, h->width(), h->height(), false, h->RingColor(), h->NormalLevel());
        ShadeCircle(medium, h->width(), h->height(), false, h->RingColor(), h->MediumLevel());
        ShadeCircle(bright, h->width(), h->height(), true, h->RingColor(), h->BrightLevel());
        QCOMPARE(h->NormalImage(), normal);
        QCOMPARE(h->MediumImage(), medium);
        QCOMPARE(h->BrightImage(), bright);
    }
}

void TestBoardHighlight::laterRingCapturesTheRingPaintedBeforeIt()
{
    BoardFixture f;
    auto *first = f.Add("First", "One", htOptions, QRect(0, 0, 65, 65));
    auto *second = f.Add("Second", "Two", htSettings, QRect(30, 0, 65, 65));
    QVERIFY(ShowAndPaint(&f.window, f.board));
    // Column 0 of the second ring is outside its ellipse: there it shows what the
    // first ring painted at column 30, its faint blue inner disc.
    QCOMPARE(second->NormalImage().pixel(0, 32), first->NormalImage().pixel(30, 32));
    QVERIFY(first->NormalImage().pixel(30, 32) != qRgb(40, 120, 60));
}

void TestBoardHighlight::ringOnAPlainParentCapturesTheParent()
{
    QWidget window;
    window.resize(200, 200);
    auto *plain = new QWidget(&window);
    plain->setGeometry(0, 0, 200, 200);
    Vcl::SetBackgroundColor(plain, QColor(10, 20, 30));
    auto *h = new TBoardHighlight(plain);
    h->move(20, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(h->ImagesReady());
    QCOMPARE(QColor(h->NormalImage().pixel(0, 0)), QColor(10, 20, 30));
    QVERIFY(h->Menu() == nullptr);
}

void TestBoardHighlight::conflictingRadioPanelIsRefusedSilentlyAtRunTime()
{
    TMainForm form;
    form.IRQHighlight0->SetRadioPanel(form.BasePanel);
    QCOMPARE(form.IRQHighlight0->RadioPanel(), form.IRQPanel);
    // Linked highlights may share; clearing is always allowed.
    form.IRQHighlight1->SetRadioPanel(nullptr);
    QVERIFY(form.IRQHighlight1->RadioPanel() == nullptr);
    form.IRQHighlight1->SetRadioPanel(form.IRQPanel);
    QCOMPARE(form.IRQHighlight1->RadioPanel(), form.IRQPanel);
}

void TestBoardHighlight::conflictingRadioPanelIsReportedInDesignMode()
{
    TMainForm form;
    Vcl::SetDesignMode(form.BoardImage1, true);
    QString text;
    AnswerNextMessageBox(&text, QMessageBox::Ok);
    form.IRQHighlight0->SetRadioPanel(form.BasePanel);
    QCOMPARE(text, QStringLiteral("BasePanel has already been assigned to BaseHighlight."));
    QCOMPARE(form.IRQHighlight0->RadioPanel(), form.IRQPanel);
}

void TestBoardHighlight::linkedPanelsAreOfferedForSynchronisingInDesignMode()
{
    TMainForm form;
    auto *spare = new TRadioPanel(form.Client());
    spare->setObjectName(QStringLiteral("SparePanel"));
    Vcl::SetDesignMode(form.BoardImage1, true);
    QString text;
    AnswerNextMessageBox(&text, QMessageBox::Yes);
    form.IRQHighlight0->SetRadioPanel(spare);
    QCOMPARE(text, QStringLiteral("IRQHighlight0's RadioPanel property changed. Synchronize "
                                  "linked component IRQHighlight1?"));
    QCOMPARE(form.IRQHighlight1->RadioPanel(), spare);

    AnswerNextMessageBox(&text, QMessageBox::No);
    form.IRQHighlight1->SetRadioPanel(form.IRQPanel);
    QCOMPARE(form.IRQHighlight0->RadioPanel(), spare);
}

void TestBoardHighlight::mainWindowSettingsMenu()
{
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.EnableHighlight->ImagesReady());
    QStringList bar;
    for (QAction *a : form.MainMenu1->actions())
        bar << a->text();
    QCOMPARE(bar, (QStringList{"&File", "&Settings", "&Help"}));
    QMenu *settings = form.MainMenu1->actions().at(1)->menu();
    QCOMPARE(settings->objectName(), QStringLiteral("Settings1"));
    QStringList entries, names;
    for (QAction *a : settings->actions()) {
        entries << a->text();
        names << a->objectName();
        QVERIFY(a->isCheckable());
        QVERIFY(!a->isChecked());
    }
    QCOMPARE(entries, (QStringList{"&Base Address", "&IRQ Level", "Relay &Enabling"}));
    QCOMPARE(names, (QStringList{"BaseAddress1", "IRQLevel1", "RelayEnabling1"}));
    // The entries and the group belong to the main window.
    QCOMPARE(Vcl::FindComponent(&form, QStringLiteral("irqlevel1")), settings->actions().at(1));
}

void TestBoardHighlight::groupMenusStandInTheirOrderBeforeHelp()
{
    QMainWindow window;
    QMenuBar *bar = window.menuBar();
    bar->addMenu(QStringLiteral("&File"));
    bar->addMenu(QStringLiteral("&Help"));
    BoardFixture f(&window);
    f.board->SetMenu(bar);
    // Painted in this order; the group menus still stand Settings, Calibration, Options.
    f.Add("O", "&Same", htOptions);
    f.Add("C", "&Same", htCalibration);
    f.Add("S", "&Same", htSettings);
    f.Add("O2", "&Same", htOptions);
    // A linked pair makes one entry.
    f.Add("S2", "&Same", htSettings);
    QVERIFY(ShowAndPaint(&window, f.board));
    QStringList captions;
    for (QAction *a : bar->actions())
        captions << a->text() + QString::number(a->menu() ? a->menu()->actions().size() : -1);
    QCOMPARE(captions,
             (QStringList{"&File0", "&Settings1", "&Calibration1", "&Options1", "&Help0"}));
}

void TestBoardHighlight::menuNamesSkipTakenNamesAndAppendWithoutHelp()
{
    QMainWindow window;
    QMenuBar *bar = window.menuBar();
    bar->addMenu(QStringLiteral("&File"));
    auto *taken = new QObject(&window);
    taken->setObjectName(QStringLiteral("settings1"));
    auto *takenEntry = new QObject(&window);
    takenEntry->setObjectName(QStringLiteral("BASEADDRESS1"));
    BoardFixture f(&window);
    f.board->SetMenu(bar);
    auto *h = f.Add("H", "&Base Address", htSettings);
    QVERIFY(ShowAndPaint(&window, f.board));
    QCOMPARE(bar->actions().size(), 2);
    QCOMPARE(bar->actions().last()->text(), QStringLiteral("&Settings"));
    QCOMPARE(bar->actions().last()->menu()->objectName(), QStringLiteral("Settings2"));
    QCOMPARE(h->MenuEntry()->objectName(), QStringLiteral("BaseAddress2"));
    QCOMPARE(h->MenuEntry()->parent(), &window);
}

void TestBoardHighlight::titleWithoutLettersGetsAUsableEntryName()
{
    QMainWindow window;
    BoardFixture f(&window);
    f.board->SetMenu(window.menuBar());
    auto *h = f.Add("H", "&1", htSettings);
    QVERIFY(ShowAndPaint(&window, f.board));
    QVERIFY(h->MenuEntry());
    QCOMPARE(h->MenuEntry()->text(), QStringLiteral("&1"));
    QCOMPARE(h->MenuEntry()->objectName(), QStringLiteral("Item1"));
}

void TestBoardHighlight::emptyTitleMakesAnEmptyGroup()
{
    QMainWindow window;
    BoardFixture f(&window);
    f.board->SetMenu(window.menuBar());
    auto *h = f.Add("H", "", htCalibration);
    QVERIFY(ShowAndPaint(&window, f.board));
    QCOMPARE(window.menuBar()->actions().size(), 1);
    QCOMPARE(window.menuBar()->actions().first()->text(), QStringLiteral("&Calibration"));
    QVERIFY(window.menuBar()->actions().first()->menu()->actions().isEmpty());
    QVERIFY(h->MenuEntry() == nullptr);
}

void TestBoardHighlight::pickingACheckedEntryClosesThePopup()
{
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.EnableHighlight->ImagesReady());
    QAction *irq = qobject_cast<QAction *>(Vcl::FindComponent(&form, QStringLiteral("IRQLevel1")));
    QVERIFY(irq);

    irq->trigger();
    TPopupForm *popup = form.IRQHighlight0->Popup();
    QVERIFY(popup && popup->isVisible());
    QVERIFY(form.IRQHighlight0->Pinned());
    QVERIFY(form.IRQHighlight0->Lit() && form.IRQHighlight1->Lit());
    QVERIFY(irq->isChecked());

    irq->trigger();
    QVERIFY(!popup->isVisible());
    QVERIFY(!irq->isChecked());
    QVERIFY(!form.IRQHighlight0->Lit() && !form.IRQHighlight1->Lit());

    // An entry whose handler lights a ring that cannot make a popup keeps no mark.
    form.EnableHighlight->SetCreatePopup(false);
    QAction *relay =
        qobject_cast<QAction *>(Vcl::FindComponent(&form, QStringLiteral("RelayEnabling1")));
    relay->trigger();
    QVERIFY(form.EnableHighlight->Lit());
    QVERIFY(!relay->isChecked());
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestBoardHighlight test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_boardhighlight.moc"
