// The option panel: its defaults, its anchors once in a popup, and its two-pin
// jumpers acting as a radio group (or not) when the user clicks them.

#include "SetupCtrls.h"

#include <QTest>

namespace {

// A two-pin jumper of another class: the radio group leaves it alone.
class TLabelledJumper : public TTwoJumper
{
    Q_OBJECT
public:
    using TTwoJumper::TTwoJumper;
};

// A panel with the two-pin jumpers A, B and C in child order, a three-pin jumper
// and a jumper subclass (closed) among them.
struct TPanelFixture
{
    TRadioPanel panel;
    QList<TTwoJumper *> jumpers; // A, B, C
    TThreeJumper *three = nullptr;
    TLabelledJumper *other = nullptr;
    QStringList events;

    explicit TPanelFixture(const QString &closed)
    {
        panel.resize(200, 60);
        for (int i = 0; i < 3; ++i) {
            auto *jumper = new TTwoJumper(&panel);
            jumper->setObjectName(QString(QChar('A' + i)));
            jumper->move(10 + 40 * i, 10);
            jumper->SetClosed(closed.contains(QChar('A' + i)));
            jumper->SetOnClick([this](QObject *sender) {
                const auto *j = static_cast<TTwoJumper *>(sender);
                events << QStringLiteral("click %1 %2")
                              .arg(j->objectName(), j->Closed() ? "closed" : "open");
            });
            jumpers << jumper;
            if (i == 0) {
                three = new TThreeJumper(&panel);
                three->SetJumperState(jsLeft);
                other = new TLabelledJumper(&panel);
                other->SetClosed(true);
            }
        }
        panel.SetOnRadioChange(
            [this](QObject *sender) { events << "radio " + sender->objectName(); });
    }

    QString Closed() const
    {
        QString names;
        for (const TTwoJumper *j : jumpers)
            if (j->Closed())
                names += j->objectName();
        return names;
    }
};

} // namespace

class TestRadioPanel : public QObject
{
    Q_OBJECT

private slots:
    void newPanelIsHiddenAndEmpty();
    void finalAnchorsTakeEffectOnlyInThePopup();
    void selectJumperClosesOnlyTheChosenOne_data();
    void selectJumperClosesOnlyTheChosenOne();
    void clickingAJumperOfARadioPanelSelectsIt_data();
    void clickingAJumperOfARadioPanelSelectsIt();
};

void TestRadioPanel::newPanelIsHiddenAndEmpty()
{
    TRadioPanel panel;
    QVERIFY(panel.isHidden());
    QCOMPARE(panel.size(), QSize(194, 100));
    QVERIFY(panel.Lines().isEmpty());
    QCOMPARE(panel.MemoHeight(), 58);
    QCOMPARE(panel.FinalAnchors(), DefaultAnchors);
    QCOMPARE(Anchors(&panel), DefaultAnchors);
    QCOMPARE(panel.RadioEnabled(), false);
    QCOMPARE(panel.InPopup(), false);
    QCOMPARE(panel.Color(), Vcl::ButtonFaceColor());
    QVERIFY(!panel.OnRadioChange());

    // The panel keeps its own copy of the lines.
    QStringList lines{"first", "second"};
    panel.SetLines(lines);
    lines[0] = "changed";
    lines << "third";
    QCOMPARE(panel.Lines(), (QStringList{"first", "second"}));
}

void TestRadioPanel::finalAnchorsTakeEffectOnlyInThePopup()
{
    TRadioPanel panel;
    panel.SetFinalAnchors(AllAnchors);
    QCOMPARE(panel.FinalAnchors(), AllAnchors);
    QCOMPARE(Anchors(&panel), DefaultAnchors);

    panel.SetInPopup(true);
    panel.SetFinalAnchors(AllAnchors);
    QCOMPARE(Anchors(&panel), AllAnchors);
}

void TestRadioPanel::selectJumperClosesOnlyTheChosenOne_data()
{
    QTest::addColumn<QString>("closed"); // closed before, among A, B and C
    QTest::addColumn<bool>("handler");   // OnRadioChange assigned
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("repainted"); // jumpers that asked for a repaint
    QTest::newRow("A closed, B open: B takes over")
        << "A" << true << QStringList{"radio B"} << "AB";
    QTest::newRow("B already closed: nothing happens") << "B" << true << QStringList{} << "";
    QTest::newRow("none closed: B closes") << "" << true << QStringList{"radio B"} << "B";
    QTest::newRow("A and C closed: both open") << "AC" << true << QStringList{"radio B"} << "ABC";
    QTest::newRow("handler unassigned: jumpers still change")
        << "A" << false << QStringList{} << "AB";
}

void TestRadioPanel::selectJumperClosesOnlyTheChosenOne()
{
    QFETCH(QString, closed);
    QFETCH(bool, handler);
    QFETCH(QStringList, events);
    QFETCH(QString, repainted);

    TPanelFixture f(closed);
    if (!handler)
        f.panel.SetOnRadioChange({});
    QList<int> before;
    for (const TTwoJumper *j : f.jumpers)
        before << j->UpdateRequests();
    const int threeBefore = f.three->UpdateRequests();
    const int otherBefore = f.other->UpdateRequests();

    f.panel.SelectJumper(f.jumpers[1]);

    QCOMPARE(f.Closed(), QStringLiteral("B"));
    QCOMPARE(f.events, events);
    QString asked;
    for (int i = 0; i < 3; ++i)
        if (f.jumpers[i]->UpdateRequests() != before[i])
            asked += f.jumpers[i]->objectName();
    QCOMPARE(asked, repainted);
    // Other classes stay as they were.
    QCOMPARE(f.three->JumperState(), jsLeft);
    QCOMPARE(f.three->UpdateRequests(), threeBefore);
    QCOMPARE(f.other->Closed(), true);
    QCOMPARE(f.other->UpdateRequests(), otherBefore);
}

// The user clicks jumper B of a shown panel.
void TestRadioPanel::clickingAJumperOfARadioPanelSelectsIt_data()
{
    QTest::addColumn<bool>("radio");
    QTest::addColumn<QString>("closed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("events");
    // clang-format off
    QTest::newRow("radio: open B closes, A opens, change before click")
        << true << "A" << "B" << QStringList{"radio B", "click B closed"};
    QTest::newRow("radio: closed B stays, only the click is reported")
        << true << "B" << "B" << QStringList{"click B closed"};
    QTest::newRow("no radio: B closes beside A")
        << false << "A" << "AB" << QStringList{"click B closed"};
    QTest::newRow("no radio: closed B opens") << false << "B" << ""
                                              << QStringList{"click B open"};
    // clang-format on
}

void TestRadioPanel::clickingAJumperOfARadioPanelSelectsIt()
{
    QFETCH(bool, radio);
    QFETCH(QString, closed);
    QFETCH(QString, after);
    QFETCH(QStringList, events);

    TPanelFixture f(closed);
    f.panel.SetRadioEnabled(radio);
    f.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.panel));

    QTest::mouseClick(f.jumpers[1], Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f.Closed(), after);
    QCOMPARE(f.events, events);
    QCOMPARE(f.other->Closed(), true);
}

QTEST_MAIN(TestRadioPanel)
#include "tst_radiopanel.moc"
