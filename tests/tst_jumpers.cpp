// The jumpers as controls: their defaults, what a click does to them, the
// three-pin jumper's open-state rule, and which property changes repaint.

#include "SetupCtrls.h"

#include <QTest>

namespace {

// Records every OnClick with the state the handler saw.
struct TClickLog
{
    QList<QObject *> senders;
    QList<int> states;
};

} // namespace

class TestJumpers : public QObject
{
    Q_OBJECT

private slots:
    void newJumpersHaveTheirDefaults();
    void twoJumperClickTogglesThenReportsNewState();
    void threeJumperClicksStepTheCap_data();
    void threeJumperClicksStepTheCap();
    void forbiddingOpenMovesOnlyAnOpenCap_data();
    void forbiddingOpenMovesOnlyAnOpenCap();
    void openIsRefusedSilentlyWhileForbidden();
    void threeJumperNeverActsAsARadioButton();
    void onlyALeftPressAndReleaseOverTheJumperClicks_data();
    void onlyALeftPressAndReleaseOverTheJumperClicks();
    void valuesOutsideTheEnumerationsAreRefused();
    void settersRepaintOnlyOnChange_data();
    void settersRepaintOnlyOnChange();
};

void TestJumpers::newJumpersHaveTheirDefaults()
{
    TTwoJumper two;
    QCOMPARE(two.size(), QSize(34, 18));
    QCOMPARE(two.Closed(), false);
    QCOMPARE(two.Orientation(), otUp);
    QCOMPARE(two.BorderStyle(), bsSingle);
    QCOMPARE(two.BaseColor(), QColor(0x80, 0x80, 0x80));
    QCOMPARE(two.PinColor(), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(two.JumperColor(), QColor(0x80, 0x00, 0x00));
    QVERIFY(!two.OnClick());
    QVERIFY(!two.SwapPending());
    QVERIFY(!two.PaintedOnce());

    TThreeJumper three;
    QCOMPARE(three.size(), QSize(43, 18));
    QCOMPARE(three.JumperState(), jsOpen);
    QCOMPARE(three.AllowOpen(), true);
    QCOMPARE(three.Orientation(), otUp);
    QCOMPARE(three.BorderStyle(), bsSingle);
    QCOMPARE(three.BaseColor(), QColor(0x80, 0x80, 0x80));
    QCOMPARE(three.PinColor(), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(three.JumperColor(), QColor(0x80, 0x00, 0x00));
    QVERIFY(!three.OnClick());
}

void TestJumpers::twoJumperClickTogglesThenReportsNewState()
{
    QWidget parent;
    auto *jumper = new TTwoJumper(&parent);
    TClickLog log;
    jumper->SetOnClick([&](QObject *sender) {
        log.senders << sender;
        log.states << static_cast<TTwoJumper *>(sender)->Closed();
    });
    jumper->Click();
    jumper->Click();
    jumper->Click();
    QCOMPARE(log.senders, (QList<QObject *>{jumper, jumper, jumper}));
    QCOMPARE(log.states, (QList<int>{true, false, true}));
    QCOMPARE(jumper->Closed(), true);

    // Without a handler a click still toggles.
    jumper->SetOnClick({});
    jumper->Click();
    QCOMPARE(jumper->Closed(), false);
}

void TestJumpers::threeJumperClicksStepTheCap_data()
{
    QTest::addColumn<bool>("allowOpen");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("seen"); // the state OnClick sees after each click
    QTest::newRow("open allowed, from jsOpen")
        << true << int(jsOpen) << QList<int>{jsLeft, jsRight, jsOpen, jsLeft};
    QTest::newRow("open forbidden, from jsLeft")
        << false << int(jsLeft) << QList<int>{jsRight, jsLeft, jsRight};
}

void TestJumpers::threeJumperClicksStepTheCap()
{
    QFETCH(bool, allowOpen);
    QFETCH(int, start);
    QFETCH(QList<int>, seen);
    TThreeJumper jumper;
    jumper.SetJumperState(TJumperState(start));
    jumper.SetAllowOpen(allowOpen);
    QCOMPARE(jumper.JumperState(), TJumperState(start));

    QList<int> states;
    jumper.SetOnClick([&](QObject *sender) {
        QCOMPARE(sender, &jumper);
        states << static_cast<TThreeJumper *>(sender)->JumperState();
    });
    for (int i = 0; i < seen.size(); ++i)
        jumper.Click();
    QCOMPARE(states, seen);
}

void TestJumpers::forbiddingOpenMovesOnlyAnOpenCap_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("after");
    QTest::newRow("jsOpen moves to jsLeft") << int(jsOpen) << int(jsLeft);
    QTest::newRow("jsLeft stays") << int(jsLeft) << int(jsLeft);
    QTest::newRow("jsRight stays") << int(jsRight) << int(jsRight);
}

void TestJumpers::forbiddingOpenMovesOnlyAnOpenCap()
{
    QFETCH(int, state);
    QFETCH(int, after);
    TThreeJumper jumper;
    jumper.SetJumperState(TJumperState(state));
    const int before = jumper.UpdateRequests();
    jumper.SetAllowOpen(false);
    QCOMPARE(jumper.JumperState(), TJumperState(after));
    QCOMPARE(jumper.AllowOpen(), false);
    QCOMPARE(jumper.UpdateRequests(), before + 1);

    // Allowing it again leaves the cap where it is.
    jumper.SetAllowOpen(true);
    QCOMPARE(jumper.JumperState(), TJumperState(after));
}

void TestJumpers::openIsRefusedSilentlyWhileForbidden()
{
    TThreeJumper jumper;
    jumper.SetJumperState(jsRight);
    jumper.SetAllowOpen(false);
    const int before = jumper.UpdateRequests();
    jumper.SetJumperState(jsOpen);
    QCOMPARE(jumper.JumperState(), jsRight);
    QCOMPARE(jumper.UpdateRequests(), before);

    jumper.SetJumperState(jsLeft);
    QCOMPARE(jumper.JumperState(), jsLeft);
    QCOMPARE(jumper.UpdateRequests(), before + 1);
}

void TestJumpers::threeJumperNeverActsAsARadioButton()
{
    TRadioPanel panel;
    panel.SetRadioEnabled(true);
    auto *two = new TTwoJumper(&panel);
    two->SetClosed(true);
    auto *three = new TThreeJumper(&panel);
    int radioChanges = 0;
    panel.SetOnRadioChange([&](QObject *) { ++radioChanges; });

    three->Click();
    QCOMPARE(three->JumperState(), jsLeft);
    QCOMPARE(two->Closed(), true);
    QCOMPARE(radioChanges, 0);
}

// Gestures as a user makes them on a shown window.
void TestJumpers::onlyALeftPressAndReleaseOverTheJumperClicks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("clicks");
    for (const char *kind : {"two-pin", "three-pin"}) {
        QTest::addRow("%s left click", kind) << kind << "left" << 1;
        QTest::addRow("%s right click", kind) << kind << "right" << 0;
        QTest::addRow("%s released outside", kind) << kind << "dragged off" << 0;
        QTest::addRow("%s pressed outside, released over it", kind) << kind << "dragged on" << 0;
    }
}

void TestJumpers::onlyALeftPressAndReleaseOverTheJumperClicks()
{
    QFETCH(QString, kind);
    QFETCH(QString, gesture);
    QFETCH(int, clicks);

    QWidget window;
    window.resize(120, 60);
    TOrientedPicture *picture;
    int seen = 0;
    if (kind == "two-pin") {
        auto *jumper = new TTwoJumper(&window);
        jumper->SetOnClick([&](QObject *) { ++seen; });
        picture = jumper;
    } else {
        auto *jumper = new TThreeJumper(&window);
        jumper->SetOnClick([&](QObject *) { ++seen; });
        picture = jumper;
    }
    picture->move(10, 10);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QPoint inside(5, 5);
    const QPoint outsideInWindow(100, 50);
    if (gesture == "left") {
        QTest::mouseClick(picture, Qt::LeftButton, {}, inside);
    } else if (gesture == "right") {
        QTest::mouseClick(picture, Qt::RightButton, {}, inside);
    } else if (gesture == "dragged off") {
        // The pressed jumper keeps the mouse: the release reaches it, outside its rect.
        const QPoint off = picture->mapFrom(&window, outsideInWindow);
        QTest::mousePress(picture, Qt::LeftButton, {}, inside);
        QTest::mouseMove(picture, off);
        QTest::mouseRelease(picture, Qt::LeftButton, {}, off);
    } else {
        QTest::mousePress(&window, Qt::LeftButton, {}, outsideInWindow);
        QTest::mouseMove(&window, picture->geometry().center());
        QTest::mouseRelease(picture, Qt::LeftButton, {}, inside);
    }
    QCOMPARE(seen, clicks);
}

void TestJumpers::valuesOutsideTheEnumerationsAreRefused()
{
    TThreeJumper jumper;
    jumper.SetJumperState(jsRight);
    const int before = jumper.UpdateRequests();
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, jumper.SetJumperState(TJumperState(3)));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, jumper.SetJumperState(TJumperState(-1)));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, jumper.SetOrientation(TOrientationType(4)));
    QCOMPARE(jumper.JumperState(), jsRight);
    QCOMPARE(jumper.Orientation(), otUp);
    QCOMPARE(jumper.SwapPending(), false);
    QCOMPARE(jumper.UpdateRequests(), before);
}

// Each row assigns a property its present value (no repaint) and then a new one
// (exactly one repaint).
void TestJumpers::settersRepaintOnlyOnChange_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("other");
    const QColor blue(Qt::blue);
    const char *jumpers[] = {"two-pin", "three-pin"};
    for (const char *kind : jumpers) {
        QTest::addRow("%s BaseColor", kind) << kind << QByteArray("BaseColor") << QVariant(blue);
        QTest::addRow("%s PinColor", kind) << kind << QByteArray("PinColor") << QVariant(blue);
        QTest::addRow("%s JumperColor", kind)
            << kind << QByteArray("JumperColor") << QVariant(blue);
        QTest::addRow("%s BorderStyle", kind)
            << kind << QByteArray("BorderStyle") << QVariant::fromValue(bsNone);
        QTest::addRow("%s Orientation", kind)
            << kind << QByteArray("Orientation") << QVariant::fromValue(otDown);
    }
    QTest::newRow("two-pin Closed") << "two-pin" << QByteArray("Closed") << QVariant(true);
    QTest::newRow("three-pin JumperState")
        << "three-pin" << QByteArray("JumperState") << QVariant::fromValue(jsRight);
    QTest::newRow("three-pin AllowOpen")
        << "three-pin" << QByteArray("AllowOpen") << QVariant(false);
    QTest::newRow("switch NumSwitches") << "switch" << QByteArray("NumSwitches") << QVariant(5);
    QTest::newRow("switch OnIsOne") << "switch" << QByteArray("OnIsOne") << QVariant(true);
    QTest::newRow("switch LeftToRight") << "switch" << QByteArray("LeftToRight") << QVariant(true);
    QTest::newRow("switch SwitchColor") << "switch" << QByteArray("SwitchColor") << QVariant(blue);
    QTest::newRow("switch Orientation")
        << "switch" << QByteArray("Orientation") << QVariant::fromValue(otLeft);
}

void TestJumpers::settersRepaintOnlyOnChange()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, other);
    std::unique_ptr<TOrientedPicture> picture;
    if (kind == "two-pin")
        picture = std::make_unique<TTwoJumper>();
    else if (kind == "three-pin")
        picture = std::make_unique<TThreeJumper>();
    else
        picture = std::make_unique<TBaseAddress>();

    const QVariant present = picture->property(property.constData());
    QVERIFY(present.isValid());
    QVERIFY(present != other);
    const int before = picture->UpdateRequests();
    QVERIFY(picture->setProperty(property.constData(), present));
    QCOMPARE(picture->UpdateRequests(), before);
    QVERIFY(picture->setProperty(property.constData(), other));
    QCOMPARE(picture->property(property.constData()), other);
    QCOMPARE(picture->UpdateRequests(), before + 1);
}

QTEST_MAIN(TestJumpers)
#include "tst_jumpers.moc"
