// The popup windows of the highlights: when they open, stay, close, where they stand
// and how they are laid out, and the guided tour through them.

#include "application.h"
#include "messages.h"
#include "template.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QtTest>

namespace {

QPoint CentreOf(const QWidget *w)
{
    return w->mapToGlobal(w->rect().center());
}

// Moves the pointer as a user would; Qt delivers the enter and leave events.
void PointerTo(const QPoint &global)
{
    QCursor::setPos(global);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The pointer leaves the popup window to `global`. The offscreen platform routes the
// pointer to the first window under it, so the popup's own leave is sent here.
void PointerOutOfPopup(TPopupForm *popup, const QPoint &global)
{
    PointerTo(global);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(popup, &leave);
}

// Captions of the popups on screen, comma-separated.
QString VisiblePopups()
{
    QStringList open;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<TPopupForm *>(w) && w->isVisible())
            open << w->windowTitle();
    }
    open.sort();
    return open.join(',');
}

int PopupsCaptioned(const QString &caption)
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<TPopupForm *>(w) && w->windowTitle() == caption;
    return n;
}

// The real main window, shown, with every ring painted and its menu entry made.
struct Form
{
    TMainForm form;
    // Shown, and every ring has painted once (images and menu entries made).
    Form()
    {
        // A pointer left on a ring by the previous test would be over the new window
        // without ever having moved onto it.
        QCursor::setPos(QPoint(0, 0));
        QCoreApplication::processEvents();
        form.show();
        Painted = QTest::qWaitForWindowExposed(&form) &&
                  QTest::qWaitFor([this] { return form.EnableHighlight->ImagesReady(); });
    }
    bool Painted = false;
    QAction *Entry(const char *name)
    {
        return qobject_cast<QAction *>(Vcl::FindComponent(&form, QString::fromLatin1(name)));
    }
    // A place on the board, on the screen, that neither a ring nor a popup covers.
    QPoint Elsewhere() const
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        for (QPoint p : {QPoint(20, 380), QPoint(580, 400), QPoint(400, 20), QPoint(20, 20)}) {
            const QPoint global = form.BoardImage1->mapToGlobal(p);
            bool covered = !screen.contains(global);
            for (QWidget *w : QApplication::topLevelWidgets())
                covered = covered ||
                          (qobject_cast<TPopupForm *>(w) && w->frameGeometry().contains(global));
            if (!covered)
                return global;
        }
        return {};
    }
};

// A board image in a main window of its own, with a small plain picture.
struct Board
{
    QMainWindow window;
    TBoardImage *board = nullptr;
    Board()
    {
        window.resize(500, 400);
        auto *client = new QWidget(&window);
        window.setCentralWidget(client);
        board = new TBoardImage(client);
        board->setObjectName(QStringLiteral("Board"));
        board->SetCenterOnForm(false);
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(qRgb(40, 120, 60));
        board->Picture().SetGraphic(std::make_unique<TBitmapGraphic>(picture));
        board->move(10, 20);
        board->SetMenu(window.menuBar());
        window.menuBar()->addMenu(QStringLiteral("&Help"));
    }
    TBoardHighlight *Add(const QString &title, TRadioPanel *panel = nullptr)
    {
        auto *h = new TBoardHighlight(board);
        h->setObjectName(QStringLiteral("Ring") + QString::number(board->children().size()));
        h->SetTitle(title);
        h->SetRadioPanel(panel);
        return h;
    }
    TRadioPanel *Panel(QRect designBounds)
    {
        auto *p = new TRadioPanel(window.centralWidget());
        p->setGeometry(designBounds);
        SetAnchors(p, Anchors(p)); // a hidden control's new place, as the main window does
        return p;
    }
    bool Show()
    {
        QCursor::setPos(QPoint(0, 0));
        QCoreApplication::processEvents();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        const auto rings = board->findChildren<TBoardHighlight *>();
        return QTest::qWaitFor([&] {
            return std::all_of(rings.begin(), rings.end(),
                               [](TBoardHighlight *h) { return h->ImagesReady(); });
        });
    }
};

} // namespace

class TestPopup : public QObject
{
    Q_OBJECT

private slots:
    void hoveringEitherIrqRingOpensOnePopup();
    void popupActivationBrightensTheGroup();
    void pointerStates_data();
    void pointerStates();
    void reshownPopupIsNotPinnedUntilEntered();
    void clickingAgainAfterClosingShowsThePopupPinned();
    void captionTakenByAnotherWindowGivesNoPopup();
    void focusEntersThePanelOnceAtCreation();
    void deletedRingLeavesNoDanglingMenuHandler();
    void entryOfLinkedRingsWorksWhicheverRingOwnsThePopup();

    void baseAddressPopupLayout();
    void popupWithoutPanel();
    void popupIsKeptOnTheScreen_data();
    void popupIsKeptOnTheScreen();
    void onScreenPosition_data();
    void onScreenPosition();
    void enlargingKeepsTheLayoutAnchored();

    void tourStartsPinnedAtTheFirstRing();
    void tourWalksTheSettingsMenuBothWays();
    void tourInAOneEntryGroupReopensTheSamePopup();
    void tourSkipsEntriesWithoutHandler();
    void tourWithoutMenuLeavesThePopupOpen();
};

void TestPopup::hoveringEitherIrqRingOpensOnePopup()
{
    Form f;
    QVERIFY(f.Painted);
    PointerTo(CentreOf(f.form.IRQHighlight1));
    QVERIFY(f.form.IRQHighlight1->Lit());
    QVERIFY(f.form.IRQHighlight0->Lit());
    QVERIFY(!f.form.BaseHighlight->Lit());
    QCOMPARE(PopupsCaptioned(QStringLiteral("IRQ Level")), 1);
    TPopupForm *popup = f.form.IRQHighlight1->Popup();
    QVERIFY(popup && popup->isVisible());
    QVERIFY(f.form.IRQHighlight0->Popup() == nullptr);
    QCOMPARE(f.form.IRQPanel->parentWidget(), popup);

    // Over the other ring of the group: still the one popup.
    PointerTo(f.Elsewhere());
    PointerTo(CentreOf(f.form.IRQHighlight0));
    QCOMPARE(PopupsCaptioned(QStringLiteral("IRQ Level")), 1);
    QVERIFY(popup->isVisible());

    PointerTo(f.Elsewhere());
    QVERIFY(!popup->isVisible());
    QVERIFY(!f.form.IRQHighlight0->Lit());
    QVERIFY(!f.form.IRQHighlight1->Lit());
}

void TestPopup::popupActivationBrightensTheGroup()
{
    Form f;
    QVERIFY(f.Painted);
    PointerTo(CentreOf(f.form.IRQHighlight0));
    TPopupForm *popup = f.form.IRQHighlight0->Popup();
    QVERIFY(popup);
    QTRY_VERIFY(popup->isActiveWindow());
    QTRY_VERIFY(f.form.IRQHighlight0->PopupActive());
    QVERIFY(f.form.IRQHighlight1->PopupActive());
    QCOMPARE(f.form.IRQHighlight1->CurrentImage(), f.form.IRQHighlight1->BrightImage());
    QVERIFY(!f.form.BaseHighlight->PopupActive());
    // The focus went into the panel (it has no controls yet, so the panel itself).
    QTRY_VERIFY(f.form.IRQPanel->hasFocus() ||
                f.form.IRQPanel->isAncestorOf(QApplication::focusWidget()));

    f.form.activateWindow();
    QTRY_VERIFY(!f.form.IRQHighlight0->PopupActive());
    QVERIFY(!f.form.IRQHighlight1->PopupActive());
    QCOMPARE(f.form.IRQHighlight1->CurrentImage(), f.form.IRQHighlight1->MediumImage());
}

void TestPopup::pointerStates_data()
{
    // Steps: r = pointer onto the ring, c = click the ring, p = pointer into the
    // popup, m = pointer onto a button of the popup (leaving the memo), o = pointer
    // out of the popup, e = pointer elsewhere on the board, d = Done.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("lit");
    QTest::addColumn<bool>("pinned");
    QTest::addColumn<bool>("entered");
    QTest::newRow("dark") << "" << false << false << false << false;
    QTest::newRow("lit") << "r" << true << true << false << false;
    QTest::newRow("left elsewhere") << "re" << false << false << false << false;
    QTest::newRow("left into popup") << "rp" << true << true << true << true;
    QTest::newRow("moving inside the popup") << "rpm" << true << true << true << true;
    QTest::newRow("entered, then out") << "rpo" << false << false << true << false;
    QTest::newRow("clicked") << "rc" << true << true << true << false;
    QTest::newRow("clicked, left elsewhere") << "rce" << true << true << true << false;
    QTest::newRow("clicked, in and out of popup") << "rcpo" << true << true << true << false;
    QTest::newRow("done") << "rcd" << false << false << true << false;
}

void TestPopup::pointerStates()
{
    QFETCH(QString, steps);
    QFETCH(bool, open);
    QFETCH(bool, lit);
    QFETCH(bool, pinned);
    QFETCH(bool, entered);
    Form f;
    QVERIFY(f.Painted);
    TBoardHighlight *ring = f.form.BaseHighlight;
    QAction *entry = f.Entry("BaseAddress1");
    for (QChar step : steps) {
        TPopupForm *popup = ring->Popup();
        switch (step.toLatin1()) {
        case 'r':
            PointerTo(CentreOf(ring));
            break;
        case 'c':
            QTest::mouseClick(ring, Qt::LeftButton);
            break;
        case 'p':
            PointerTo(popup->frameGeometry().topLeft() + QPoint(1, 1));
            break;
        case 'm':
            PointerTo(CentreOf(popup->DoneButton));
            {
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(popup->StatusMemo, &leave);
                QCoreApplication::sendEvent(popup, &leave);
            }
            break;
        case 'o':
            // The right edge is outside the window.
            PointerOutOfPopup(popup, QPoint(popup->frameGeometry().right() + 1,
                                            popup->frameGeometry().center().y()));
            PointerTo(f.Elsewhere());
            break;
        case 'e':
            PointerTo(f.Elsewhere());
            break;
        case 'd':
            popup->DoneButton->click();
            break;
        }
    }
    TPopupForm *popup = ring->Popup();
    QCOMPARE(popup && popup->isVisible(), open);
    QCOMPARE(ring->Lit(), lit);
    QCOMPARE(ring->Pinned(), pinned);
    QCOMPARE(popup && popup->EnteredByMouse(), entered);
    // The menu entry's mark shows a pinned, open popup.
    QCOMPARE(entry->isChecked(), open && pinned);
}

void TestPopup::reshownPopupIsNotPinnedUntilEntered()
{
    Form f;
    QVERIFY(f.Painted);
    TBoardHighlight *ring = f.form.EnableHighlight;
    PointerTo(CentreOf(ring));
    QTest::mouseClick(ring, Qt::LeftButton);
    PointerTo(f.Elsewhere());
    ring->Popup()->DoneButton->click();
    QVERIFY(!ring->Lit());
    QVERIFY(ring->Pinned()); // kept until the popup is shown again

    PointerTo(CentreOf(ring));
    QVERIFY(ring->Popup()->isVisible());
    QVERIFY(!ring->Pinned());
    QVERIFY(!f.Entry("RelayEnabling1")->isChecked());
    PointerTo(f.Elsewhere());
    QVERIFY(!ring->Popup()->isVisible());
}

void TestPopup::clickingAgainAfterClosingShowsThePopupPinned()
{
    Form f;
    QVERIFY(f.Painted);
    TBoardHighlight *ring = f.form.BaseHighlight;
    PointerTo(CentreOf(ring));
    ring->Popup()->close(); // closed from the keyboard while the pointer stays on the ring
    QVERIFY(!ring->Lit());
    QTest::mouseClick(ring, Qt::LeftButton);
    QVERIFY(ring->Popup()->isVisible());
    QVERIFY(ring->Lit());
    QVERIFY(ring->Pinned());
    QVERIFY(f.Entry("BaseAddress1")->isChecked());
}

void TestPopup::captionTakenByAnotherWindowGivesNoPopup()
{
    Form f;
    QVERIFY(f.Painted);
    // The main window is captioned "Setup" and has tag 0, the ordinal of htOptions.
    auto *setup = new TBoardHighlight(f.form.BoardImage1);
    setup->SetTitle(QStringLiteral("&Setup"));
    setup->SetHighlightType(htOptions);
    setup->MouseEnter(0);
    QVERIFY(setup->Lit());
    QVERIFY(setup->Popup() == nullptr);
    // The same caption with another kind does get one.
    setup->Unlight();
    setup->SetHighlightType(htCalibration);
    setup->MouseEnter(0);
    QVERIFY(setup->Popup() != nullptr);
}

namespace {
// Records the reasons of the focus arriving in a panel from outside it.
struct EntryRecorder : QObject
{
    QWidget *Panel;
    QList<Qt::FocusReason> Entries;
    explicit EntryRecorder(QWidget *panel) : Panel(panel)
    {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
            const auto inside = [this](QWidget *w) {
                return w && (w == Panel || Panel->isAncestorOf(w));
            };
            if (inside(now) && !inside(old))
                Entries << LastReason;
        });
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            LastReason = static_cast<QFocusEvent *>(event)->reason();
        return false;
    }
    Qt::FocusReason LastReason = Qt::OtherFocusReason;
};
} // namespace

void TestPopup::focusEntersThePanelOnceAtCreation()
{
    Form f;
    QVERIFY(f.Painted);
    EntryRecorder recorder(f.form.EnablePanel);
    PointerTo(CentreOf(f.form.EnableHighlight));
    QTRY_COMPARE(recorder.Entries.size(), 1);
    // A real entry, not the focus handed back when a window is activated.
    QVERIFY(recorder.Entries.first() != Qt::ActiveWindowFocusReason);

    // Shown again: no focus is moved into the panel by the program.
    PointerTo(f.Elsewhere());
    QVERIFY(!f.form.EnableHighlight->Popup()->isVisible());
    f.form.activateWindow();
    QTRY_VERIFY(f.form.isActiveWindow());
    PointerTo(CentreOf(f.form.EnableHighlight));
    QTest::qWait(50);
    for (int i = 1; i < recorder.Entries.size(); ++i)
        QCOMPARE(recorder.Entries.at(i), Qt::ActiveWindowFocusReason);
}

void TestPopup::deletedRingLeavesNoDanglingMenuHandler()
{
    Form f;
    QVERIFY(f.Painted);
    QAction *irq = f.Entry("IRQLevel1");
    PointerTo(CentreOf(f.form.IRQHighlight0)); // IRQHighlight0 made the entry and the popup
    PointerTo(f.Elsewhere());
    delete f.form.IRQHighlight0;
    irq->trigger(); // its handler is gone: nothing happens
    QCOMPARE(VisiblePopups(), QString());
    // The tour steps over the entry that lost its handler.
    f.Entry("BaseAddress1")->trigger();
    f.form.BaseHighlight->Popup()->NextButton->click();
    QCOMPARE(VisiblePopups(), QStringLiteral("Relay Enabling"));
    // The remaining IRQ ring still opens a popup of its own (its panel went with the
    // deleted ring's popup).
    PointerTo(f.Elsewhere());
    f.form.EnableHighlight->DoneClick();
    PointerTo(CentreOf(f.form.IRQHighlight1));
    QCOMPARE(VisiblePopups(), QStringLiteral("IRQ Level"));
}

void TestPopup::entryOfLinkedRingsWorksWhicheverRingOwnsThePopup()
{
    Form f;
    QVERIFY(f.Painted);
    QAction *irq = f.Entry("IRQLevel1");
    // The entry was made by IRQHighlight0, which painted first; hovering
    // IRQHighlight1 first makes that one the popup's owner.
    PointerTo(CentreOf(f.form.IRQHighlight1));
    PointerTo(f.Elsewhere());
    QVERIFY(f.form.IRQHighlight1->Popup() && !f.form.IRQHighlight0->Popup());

    irq->trigger();
    QCOMPARE(VisiblePopups(), QStringLiteral("IRQ Level"));
    QVERIFY(f.form.IRQHighlight1->Pinned());
    QVERIFY(irq->isChecked());
    irq->trigger();
    QCOMPARE(VisiblePopups(), QString());
    QVERIFY(!irq->isChecked());
    QVERIFY(!f.form.IRQHighlight0->Lit() && !f.form.IRQHighlight1->Lit());
}

void TestPopup::baseAddressPopupLayout()
{
    Form f;
    QVERIFY(f.Painted);
    const QPoint boardAt = f.form.BoardImage1->pos();
    f.form.BaseHighlight->MouseEnter(0);
    TPopupForm *popup = f.form.BaseHighlight->Popup();
    QVERIFY(popup);
    QCOMPARE(popup->windowTitle(), QStringLiteral("Base Address"));
    QCOMPARE(Vcl::Tag(popup), int(htSettings));
    QVERIFY(popup->windowFlags() & Qt::Tool);
    QVERIFY(popup->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(popup->isWindow());
    QCOMPARE(popup->parent(), f.form.BaseHighlight);

    // 161 x 225 (116 + 58 + 51) for the panel, widened to the smallest width.
    QCOMPARE(popup->size(), QSize(194, 225));
    QCOMPARE(popup->minimumSize(), QSize(194, 225));
    QCOMPARE(f.form.BasePanel->geometry(), QRect(0, 0, 161, 116));
    QVERIFY(f.form.BasePanel->isVisible());
    QVERIFY(f.form.BasePanel->InPopup());
    QCOMPARE(popup->StatusMemo->geometry(), QRect(6, 117, 182, 58));
    QVERIFY(popup->StatusMemo->isReadOnly());
    QCOMPARE(popup->StatusMemo->toPlainText(), f.form.BasePanel->Lines().join('\n'));
    QCOMPARE(popup->PreviousButton->geometry(), QRect(6, 181, 58, 25));
    QCOMPARE(popup->NextButton->geometry(), QRect(68, 181, 58, 25));
    QCOMPARE(popup->DoneButton->geometry(), QRect(130, 181, 58, 25));
    QCOMPARE(popup->PopupStatus->geometry(), QRect(0, 206, 194, 19));
    QCOMPARE(popup->PopupStatus->objectName(), QStringLiteral("PopupStatus"));
    QCOMPARE(popup->PreviousButton->text(), QStringLiteral("Previous"));
    QCOMPARE(popup->NextButton->text(), QStringLiteral("Next"));
    QCOMPARE(popup->DoneButton->text(), QStringLiteral("Done"));

    // Where the panel was laid out beside the board, moved with the board.
    const QPoint wanted = boardAt - QPoint(f.form.BoardImage1->DesignLeft() - 574,
                                           f.form.BoardImage1->DesignTop() - 264);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(popup->pos(),
             TPopupForm::OnScreenPosition(QRect(wanted, popup->frameGeometry().size()), screen));
}

void TestPopup::popupWithoutPanel()
{
    Board b;
    TBoardHighlight *ring = b.Add(QStringLiteral("&Notes"));
    QVERIFY(b.Show());
    ring->MouseEnter(0);
    TPopupForm *popup = ring->Popup();
    QVERIFY(popup);
    QCOMPARE(popup->size(), QSize(194, 141));
    // Left-aligned with the board, 38 below its bottom edge (the board is 200 high).
    QCOMPARE(popup->pos(), QPoint(10, 20 + 200 + 38));
    QCOMPARE(popup->StatusMemo->height(), 58);
    QCOMPARE(popup->StatusMemo->geometry().bottom() + 1 + 6, popup->DoneButton->y());
    QVERIFY(popup->StatusMemo->toPlainText().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), popup->DoneButton);
}

void TestPopup::popupIsKeptOnTheScreen_data()
{
    QTest::addColumn<int>("panelLeft");
    QTest::addColumn<QString>("expect");
    QTest::newRow("past the right edge") << 5000 << "right";
    QTest::newRow("negative left") << -3000 << "zero";
    QTest::newRow("fits") << 120 << "unchanged";
}

void TestPopup::popupIsKeptOnTheScreen()
{
    QFETCH(int, panelLeft);
    QFETCH(QString, expect);
    Board b;
    TRadioPanel *panel = b.Panel(QRect(panelLeft, 30, 150, 60));
    TBoardHighlight *ring = b.Add(QStringLiteral("&Wide"), panel);
    QVERIFY(b.Show());
    ring->MouseEnter(0);
    TPopupForm *popup = ring->Popup();
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    if (expect == "right")
        QCOMPARE(popup->frameGeometry().right() + 1, screenWidth);
    else if (expect == "zero")
        QCOMPARE(popup->x(), 0);
    else
        QCOMPARE(popup->x(), 10 - (b.board->DesignLeft() - panelLeft));
    QCOMPARE(popup->y(), 20 - (b.board->DesignTop() - 30));
}

void TestPopup::onScreenPosition_data()
{
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<QPoint>("expected");
    const QSize screen(800, 600);
    Q_UNUSED(screen);
    QTest::newRow("inside") << QRect(100, 100, 200, 100) << QPoint(100, 100);
    QTest::newRow("right edge exactly") << QRect(600, 0, 200, 100) << QPoint(600, 0);
    QTest::newRow("past right") << QRect(650, 0, 200, 100) << QPoint(600, 0);
    QTest::newRow("negative left and top") << QRect(-20, -5, 200, 100) << QPoint(0, 0);
    QTest::newRow("past bottom") << QRect(0, 550, 200, 100) << QPoint(0, 500);
    QTest::newRow("wider than the screen") << QRect(100, 0, 900, 100) << QPoint(-100, 0);
}

void TestPopup::onScreenPosition()
{
    QFETCH(QRect, outer);
    QFETCH(QPoint, expected);
    QCOMPARE(TPopupForm::OnScreenPosition(outer, QSize(800, 600)), expected);
}

void TestPopup::enlargingKeepsTheLayoutAnchored()
{
    Form f;
    QVERIFY(f.Painted);
    f.form.BaseHighlight->MouseEnter(0);
    TPopupForm *popup = f.form.BaseHighlight->Popup();
    popup->resize(294, 325);
    QCOMPARE(f.form.BasePanel->geometry(), QRect(0, 0, 161, 116));
    QCOMPARE(popup->StatusMemo->geometry(), QRect(6, 117, 282, 158));
    QCOMPARE(popup->PreviousButton->geometry(), QRect(6, 281, 58, 25));
    QCOMPARE(popup->DoneButton->geometry(), QRect(230, 281, 58, 25));
    QCOMPARE(popup->PopupStatus->geometry(), QRect(0, 306, 294, 19));
    // Anchored to the bottom only: the centre keeps its share of the width.
    QCOMPARE(popup->NextButton->x(), int(std::lround((68 + 58 / 2.0) * 294 / 194 - 58 / 2.0)));
}

void TestPopup::tourStartsPinnedAtTheFirstRing()
{
    Form f;
    QVERIFY(f.Painted);
    TMessageEvent start(WM_STARTTOUR);
    QCoreApplication::sendEvent(f.form.BoardImage1, &start);
    TPopupForm *popup = f.form.BaseHighlight->Popup();
    QVERIFY(popup && popup->isVisible());
    QVERIFY(f.form.BaseHighlight->Pinned());
    QVERIFY(f.Entry("BaseAddress1")->isChecked());
    // Pinned: the pointer elsewhere does not close it.
    PointerTo(f.Elsewhere());
    QVERIFY(popup->isVisible());
}

void TestPopup::tourWalksTheSettingsMenuBothWays()
{
    Form f;
    QVERIFY(f.Painted);
    TMessageEvent start(WM_STARTTOUR);
    QCoreApplication::sendEvent(f.form.BoardImage1, &start);
    auto visible = VisiblePopups;
    auto press = [&](const char *button) {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<TPopupForm *>(w) && w->isVisible()) {
                w->findChild<QPushButton *>(QString::fromLatin1(button))->click();
                return;
            }
        }
    };
    QCOMPARE(visible(), QStringLiteral("Base Address"));
    press("NextButton");
    QCOMPARE(visible(), QStringLiteral("IRQ Level"));
    QVERIFY(!f.Entry("BaseAddress1")->isChecked());
    QVERIFY(f.Entry("IRQLevel1")->isChecked());
    QVERIFY(f.form.IRQHighlight0->Lit() && f.form.IRQHighlight1->Lit());
    QVERIFY(!f.form.BaseHighlight->Lit());
    press("NextButton");
    QCOMPARE(visible(), QStringLiteral("Relay Enabling"));
    press("NextButton");
    QCOMPARE(visible(), QStringLiteral("Base Address"));
    QVERIFY(f.form.BaseHighlight->Pinned());
    press("PreviousButton");
    QCOMPARE(visible(), QStringLiteral("Relay Enabling"));
    press("PreviousButton");
    QCOMPARE(visible(), QStringLiteral("IRQ Level"));
    press("DoneButton");
    QCOMPARE(visible(), QString());
    QVERIFY(!f.Entry("IRQLevel1")->isChecked());
    QVERIFY(!f.form.IRQHighlight0->Lit());
}

void TestPopup::tourInAOneEntryGroupReopensTheSamePopup()
{
    Board b;
    TBoardHighlight *ring = b.Add(QStringLiteral("&Only"), b.Panel(QRect(100, 30, 150, 60)));
    QVERIFY(b.Show());
    b.board->SetFirst(ring);
    TMessageEvent start(WM_STARTTOUR);
    QCoreApplication::sendEvent(b.board, &start);
    TPopupForm *popup = ring->Popup();
    QVERIFY(popup->isVisible());
    popup->move(popup->pos() + QPoint(7, 3)); // a user's move is kept
    const QPoint movedTo = popup->pos();
    popup->NextButton->click();
    QCOMPARE(ring->Popup(), popup);
    QVERIFY(popup->isVisible());
    QVERIFY(ring->Pinned());
    QVERIFY(ring->Lit());
    QVERIFY(ring->MenuEntry()->isChecked());
    QCOMPARE(popup->pos(), movedTo);
    popup->PreviousButton->click();
    QVERIFY(popup->isVisible());
    QVERIFY(ring->Pinned());
}

void TestPopup::tourSkipsEntriesWithoutHandler()
{
    Form f;
    QVERIFY(f.Painted);
    QMenu *settings = f.form.MainMenu1->actions().at(1)->menu();
    // Someone else's entries: between the first two and at the end.
    settings->insertAction(settings->actions().at(1),
                           new QAction(QStringLiteral("Foreign"), &f.form));
    settings->addAction(new QAction(QStringLiteral("Last foreign"), &f.form));
    f.form.BaseHighlight->MenuItemClick(f.form.BaseHighlight);
    f.form.BaseHighlight->Popup()->NextButton->click();
    QCOMPARE(VisiblePopups(), QStringLiteral("IRQ Level"));
    f.form.IRQHighlight0->DoneClick();
    f.form.BaseHighlight->MenuItemClick(f.form.BaseHighlight);
    f.form.BaseHighlight->Popup()->PreviousButton->click();
    QCOMPARE(VisiblePopups(), QStringLiteral("Relay Enabling"));
}

void TestPopup::tourWithoutMenuLeavesThePopupOpen()
{
    Board b;
    b.board->SetMenu(nullptr);
    TBoardHighlight *ring = b.Add(QStringLiteral("&Alone"));
    QVERIFY(b.Show());
    ring->MenuItemClick(ring);
    ring->Popup()->NextButton->click();
    QVERIFY(ring->Popup()->isVisible());
    ring->Popup()->PreviousButton->click();
    QVERIFY(ring->Popup()->isVisible());
    // A title missing from the group menu: the same.
    Board c;
    TBoardHighlight *other = c.Add(QStringLiteral("&Renamed"));
    QVERIFY(c.Show());
    other->SetTitle(QStringLiteral("&New name"));
    other->MenuItemClick(other);
    other->Popup()->NextButton->click();
    QVERIFY(other->Popup()->isVisible());
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestPopup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_popup.moc"
