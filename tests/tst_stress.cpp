// The real main window driven for a long time: many thousands of hovers over the
// rings and a thousand guided tours leave the same windows, menu entries, jumpers
// and live objects behind as one warm-up round did.

#include "application.h"
#include "messages.h"
#include "template.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QtTest>
#include <atomic>

// Qt's table of debugging hooks (exported by QtCore, declared only in a private
// header): entries 3 and 4 are called from every QObject constructor and destructor.
QT_BEGIN_NAMESPACE
extern Q_CORE_EXPORT quintptr qtHookData[];
QT_END_NAMESPACE

namespace {

constexpr int HOOK_DATA_SIZE = 1;
constexpr int HOOK_ADD_QOBJECT = 3;
constexpr int HOOK_REMOVE_QOBJECT = 4;

constexpr int HOVER_CYCLES = 10000;
constexpr int TOUR_ROUNDS = 1000;
// Every this many hover cycles the pointer really moves onto the ring (Qt sends the
// enter and leave events); the other cycles call the notifications directly.
constexpr int REAL_POINTER_EVERY = 10;
// Every this many hover cycles the pointer leaves the ring into the popup, which pins
// it, and the popup is then closed with Done.
constexpr int INTO_POPUP_EVERY = 25;

using TObjectHook = void (*)(QObject *);

// Every QObject made and not yet destroyed since the hooks were installed, whether
// or not anything can reach it (a leaked object without parent counts too).
std::atomic<long long> LiveObjects{0};
TObjectHook PreviousAdd = nullptr;
TObjectHook PreviousRemove = nullptr;

void ObjectAdded(QObject *object)
{
    ++LiveObjects;
    if (PreviousAdd)
        PreviousAdd(object);
}

void ObjectRemoved(QObject *object)
{
    --LiveObjects;
    if (PreviousRemove)
        PreviousRemove(object);
}

bool InstallObjectHooks()
{
    if (qtHookData[HOOK_DATA_SIZE] <= quintptr(HOOK_REMOVE_QOBJECT))
        return false;
    PreviousAdd = reinterpret_cast<TObjectHook>(qtHookData[HOOK_ADD_QOBJECT]);
    PreviousRemove = reinterpret_cast<TObjectHook>(qtHookData[HOOK_REMOVE_QOBJECT]);
    qtHookData[HOOK_ADD_QOBJECT] = reinterpret_cast<quintptr>(&ObjectAdded);
    qtHookData[HOOK_REMOVE_QOBJECT] = reinterpret_cast<quintptr>(&ObjectRemoved);
    return true;
}

bool HooksInstalled = false;
QtMessageHandler PreviousHandler = nullptr;

// The objects reachable from the application: every widget, every top-level window
// with all its descendants (actions, timers, layouts ...), and the application's own
// children. Each object is counted once.
qsizetype ReachableObjects()
{
    QSet<QObject *> seen;
    for (QWidget *w : QApplication::allWidgets())
        seen.insert(w);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        seen.insert(w);
        for (QObject *child : w->findChildren<QObject *>())
            seen.insert(child);
    }
    for (QObject *child : qApp->findChildren<QObject *>())
        seen.insert(child);
    return seen.size();
}

// Runs the event loop itself (not just queued events) until `done`, so that the
// application's idle moments come too; false after five seconds without it.
bool RunLoopUntil(const std::function<bool()> &done)
{
    for (int round = 0; round < 250 && !done(); ++round) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// Lets the event loop run for a moment (timers fire, queued and deferred deletions
// are done) before objects are counted.
void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QPoint CentreOf(const QWidget *w)
{
    return w->mapToGlobal(w->rect().center());
}

void PointerTo(const QPoint &global)
{
    QCursor::setPos(global);
    QCoreApplication::processEvents();
}

QList<TPopupForm *> AllPopups()
{
    QList<TPopupForm *> popups;
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *popup = qobject_cast<TPopupForm *>(w))
            popups.append(popup);
    }
    return popups;
}

// Captions of the popups on screen, comma-separated.
QString VisiblePopups()
{
    QStringList open;
    for (TPopupForm *popup : AllPopups()) {
        if (popup->isVisible())
            open << popup->windowTitle();
    }
    open.sort();
    return open.join(',');
}

TPopupForm *GroupPopup(TBoardHighlight *ring)
{
    for (TBoardHighlight *h : ring->LinkedHighlights()) {
        if (h->Popup())
            return h->Popup();
    }
    return nullptr;
}

QStringList Texts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (QAction *action : actions)
        texts << action->text();
    return texts;
}

} // namespace

class TestStress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void hoveringThousandsOfTimesKeepsOneWindowSet();
    void touringAThousandTimesKeepsOneWindowSet();

private:
    QList<TBoardHighlight *> Rings() const;
    // One of each thing the stress loops do: afterwards every window, jumper and menu
    // entry that the program makes once exists.
    void WarmUp();
    void HoverCycle(int cycle);
    void TourRound(int round);
    void PressOnVisiblePopup(QPushButton *TPopupForm::*button);
    // Compares the windows, jumpers, menus and object counts with the warm-up state.
    void CheckSteadyState();

    std::unique_ptr<TMainForm> form;
    QPoint elsewhere;
    long long liveAfterWarmUp = 0;
    qsizetype reachableAfterWarmUp = 0;
};

QList<TBoardHighlight *> TestStress::Rings() const
{
    return {form->BaseHighlight, form->IRQHighlight0, form->IRQHighlight1, form->EnableHighlight};
}

void TestStress::initTestCase()
{
    // The offscreen platform warns at every raise of a popup; thousands of those
    // would bury the report. Everything else goes on to the test log.
    PreviousHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (message.startsWith(QLatin1String("This plugin does not support")))
                return;
            if (PreviousHandler)
                PreviousHandler(type, context, message);
        });
    QVERIFY2(HooksInstalled, "QtCore has no object hooks to count live objects with");
    QCursor::setPos(QPoint(0, 0));
    form = std::make_unique<TMainForm>();
    form->resize(TMainForm::NormalOuterSize);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    const auto rings = Rings();
    QTRY_VERIFY(std::all_of(rings.begin(), rings.end(),
                            [](TBoardHighlight *h) { return h->ImagesReady(); }));
    // The supporter builds its windows at the first idle moment and shows the help
    // window a moment later: close it, so that it stays out of the way.
    QVERIFY(RunLoopUntil(
        [this] { return form->SetSup->HelpForm() && form->SetSup->HelpForm()->isVisible(); }));
    form->SetSup->HelpForm()->close();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    WarmUp();
    if (QTest::currentTestFailed())
        return;
    Settle();
    liveAfterWarmUp = LiveObjects.load();
    reachableAfterWarmUp = ReachableObjects();
}

void TestStress::cleanupTestCase()
{
    form.reset();
}

void TestStress::WarmUp()
{
    // Every group's popup, shown once by a real pointer.
    for (TBoardHighlight *ring : Rings()) {
        PointerTo(CentreOf(ring));
        QVERIFY(ring->Lit());
        QVERIFY(GroupPopup(ring) && GroupPopup(ring)->isVisible());
        PointerTo(QPoint(0, 0));
        QVERIFY(!GroupPopup(ring)->isVisible());
    }
    // A place on the board that neither a ring nor a popup covers; the popups keep
    // their places from now on.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (QPoint p : {QPoint(20, 380), QPoint(580, 400), QPoint(400, 20), QPoint(20, 20)}) {
        const QPoint global = form->BoardImage1->mapToGlobal(p);
        bool covered = !screen.contains(global);
        for (TPopupForm *popup : AllPopups())
            covered = covered || popup->frameGeometry().contains(global);
        for (TBoardHighlight *ring : Rings())
            covered = covered || ring->rect().contains(ring->mapFromGlobal(global));
        if (!covered) {
            elsewhere = global;
            break;
        }
    }
    QVERIFY(!elsewhere.isNull());
    PointerTo(elsewhere);

    // The interrupt panel is entered once: its jumpers are made then.
    form->IRQHighlight0->MenuItemClick(form->IRQHighlight0);
    QTRY_VERIFY(form->IRQJumpers[11] != nullptr);
    form->IRQHighlight0->DoneClick();

    // One cycle of each kind per ring, and one tour.
    for (int cycle = 0; cycle < 4 * INTO_POPUP_EVERY && !QTest::currentTestFailed(); ++cycle)
        HoverCycle(cycle);
    if (!QTest::currentTestFailed())
        TourRound(0);
}

void TestStress::HoverCycle(int cycle)
{
    const auto rings = Rings();
    TBoardHighlight *ring = rings.at(cycle % rings.size());
    const bool intoPopup = cycle % INTO_POPUP_EVERY == INTO_POPUP_EVERY - 1;
    const bool realPointer = cycle % REAL_POINTER_EVERY == 0;

    if (realPointer)
        PointerTo(CentreOf(ring));
    else
        ring->MouseEnter(0);
    TPopupForm *popup = GroupPopup(ring);
    QVERIFY2(ring->Lit() && popup && popup->isVisible(),
             qPrintable(QStringLiteral("cycle %1: no popup over %2").arg(cycle).arg(ring->objectName())));

    if (intoPopup) {
        // Leaving the ring into the popup pins it; Done closes it.
        QCursor::setPos(popup->frameGeometry().topLeft() + QPoint(1, 1));
        ring->MouseLeave(0);
        QVERIFY2(popup->Highlight()->Pinned() && popup->isVisible() && popup->EnteredByMouse(),
                 qPrintable(QStringLiteral("cycle %1: popup not pinned").arg(cycle)));
        popup->DoneButton->click();
        QCursor::setPos(elsewhere);
    } else if (realPointer) {
        PointerTo(elsewhere);
    } else {
        ring->MouseLeave(0);
    }
    QCoreApplication::processEvents();
    QVERIFY2(!popup->isVisible() && !ring->Lit(),
             qPrintable(QStringLiteral("cycle %1: popup of %2 still open").arg(cycle).arg(ring->objectName())));
}

void TestStress::PressOnVisiblePopup(QPushButton *TPopupForm::*button)
{
    for (TPopupForm *popup : AllPopups()) {
        if (popup->isVisible()) {
            (popup->*button)->click();
            return;
        }
    }
    QFAIL("no popup is open");
}

void TestStress::TourRound(int round)
{
    static const QStringList expected = {
        QStringLiteral("Base Address"), QStringLiteral("IRQ Level"),
        QStringLiteral("Relay Enabling"), QStringLiteral("Base Address"),
        QStringLiteral("Relay Enabling"), QString()};
    const auto where = [round](int step) {
        return QStringLiteral("tour round %1, step %2").arg(round).arg(step).toLocal8Bit();
    };

    TMessageEvent start(WM_STARTTOUR);
    QCoreApplication::sendEvent(form->BoardImage1, &start);
    QVERIFY2(VisiblePopups() == expected.at(0), where(0).constData());
    for (int step = 1; step <= 3; ++step) {
        PressOnVisiblePopup(&TPopupForm::NextButton);
        QCoreApplication::processEvents();
        QVERIFY2(VisiblePopups() == expected.at(step), where(step).constData());
    }
    PressOnVisiblePopup(&TPopupForm::PreviousButton);
    QCoreApplication::processEvents();
    QVERIFY2(VisiblePopups() == expected.at(4), where(4).constData());
    PressOnVisiblePopup(&TPopupForm::DoneButton);
    QCoreApplication::processEvents();
    QVERIFY2(VisiblePopups() == expected.at(5), where(5).constData());
}

void TestStress::CheckSteadyState()
{
    Settle();
    // One popup per group, each owned by a ring of its group.
    QCOMPARE(AllPopups().size(), 3);
    QStringList captions;
    for (TPopupForm *popup : AllPopups())
        captions << popup->windowTitle();
    captions.sort();
    QCOMPARE(captions, (QStringList{"Base Address", "IRQ Level", "Relay Enabling"}));
    QVERIFY(GroupPopup(form->IRQHighlight0) == GroupPopup(form->IRQHighlight1));

    // The eleven interrupt jumpers of the panel's first entry, and no more.
    for (int k = 1; k <= 11; ++k)
        QVERIFY(form->IRQJumpers[k]);
    QCOMPARE(form->IRQPanel->findChildren<TTwoJumper *>().size(), 11);

    // No menu or menu entry added.
    QCOMPARE(Texts(form->MainMenu1->actions()), (QStringList{"&File", "&Settings", "&Help"}));
    QMenu *settings = form->MainMenu1->actions().at(1)->menu();
    QVERIFY(settings);
    QCOMPARE(Texts(settings->actions()),
             (QStringList{"&Base Address", "&IRQ Level", "Relay &Enabling"}));
    QCOMPARE(form->findChildren<QMenu *>().size(), 3);

    QCOMPARE(ReachableObjects(), reachableAfterWarmUp);
    QCOMPARE(LiveObjects.load(), liveAfterWarmUp);
}

void TestStress::hoveringThousandsOfTimesKeepsOneWindowSet()
{
    for (int cycle = 0; cycle < HOVER_CYCLES && !QTest::currentTestFailed(); ++cycle)
        HoverCycle(cycle);
    if (QTest::currentTestFailed())
        return;
    CheckSteadyState();
}

void TestStress::touringAThousandTimesKeepsOneWindowSet()
{
    for (int round = 0; round < TOUR_ROUNDS && !QTest::currentTestFailed(); ++round)
        TourRound(round);
    if (QTest::currentTestFailed())
        return;
    CheckSteadyState();
}

int main(int argc, char **argv)
{
    // Before the application object: every QObject from here on is counted.
    HooksInstalled = InstallObjectHooks();
    TApplication app(argc, argv);
    TestStress test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stress.moc"
