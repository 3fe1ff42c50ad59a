// The application object's error display and idle hook, and the main window's
// frame as the program starts it.

#include "application.h"
#include "anchors.h"
#include "template.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QtTest>

class TThrowingWidget : public QWidget
{
protected:
    void mousePressEvent(QMouseEvent *) override { throw std::runtime_error("handler failed"); }
};

// Runs a real event loop for `ms`, so that it blocks and goes idle.
static void RunLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void exceptionInAHandlerIsShownAndTheLoopGoesOn();
    void idleHookRunsWhenTheQueueIsEmptyAndMayRemoveItself();
    void idleHookErrorsReachTheErrorDisplay();
    void anchors_data();
    void anchors();
    void anchorsOfAHiddenControlPlacedAfterAnchoring();
    void mainWindowFrame();
    void exitClosesTheWindow();
    void restoringTheMaximisedWindowGivesItsNormalSizeCentred();
};

void TestApplication::exceptionInAHandlerIsShownAndTheLoopGoesOn()
{
    QStringList shown;
    TApplication::Instance()->SetErrorDisplay([&](const QString &m) { shown << m; });
    TThrowingWidget widget;
    widget.resize(50, 50);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(shown, QStringList{"handler failed"});

    bool ranLater = false;
    QTimer::singleShot(0, [&] { ranLater = true; });
    QTRY_VERIFY(ranLater);
    TApplication::Instance()->SetErrorDisplay(nullptr);
}

void TestApplication::idleHookRunsWhenTheQueueIsEmptyAndMayRemoveItself()
{
    TApplication *app = TApplication::Instance();
    int calls = 0;
    QObject *sender = nullptr;
    app->SetOnIdle([&](QObject *s, bool &) {
        ++calls;
        sender = s;
        app->SetOnIdle(nullptr); // the handler removes itself while it runs
    });
    RunLoop(50);
    QCOMPARE(calls, 1);
    QCOMPARE(sender, app);
    QVERIFY(!app->OnIdle());
}

void TestApplication::idleHookErrorsReachTheErrorDisplay()
{
    TApplication *app = TApplication::Instance();
    QStringList shown;
    app->SetErrorDisplay([&](const QString &m) { shown << m; });
    app->SetOnIdle([&](QObject *, bool &) {
        app->SetOnIdle(nullptr);
        throw std::runtime_error("Not enough timers available");
    });
    RunLoop(50);
    QCOMPARE(shown, QStringList{"Not enough timers available"});
    app->SetErrorDisplay(nullptr);
}

void TestApplication::anchors_data()
{
    QTest::addColumn<int>("anchors");
    QTest::addColumn<QRect>("expected");
    // A 20 x 10 control at (10, 30) in a 100 x 80 parent that grows to 200 x 120.
    QTest::newRow("left top") << int(DefaultAnchors) << QRect(10, 30, 20, 10);
    QTest::newRow("all four stretch") << int(AllAnchors) << QRect(10, 30, 120, 50);
    QTest::newRow("right bottom move") << int(akRight | akBottom) << QRect(110, 70, 20, 10);
    // Centre 20 of 100 becomes 40 of 200; the top keeps its distance to the bottom.
    QTest::newRow("bottom only") << int(akBottom) << QRect(30, 70, 20, 10);
}

void TestApplication::anchors()
{
    QFETCH(int, anchors);
    QFETCH(QRect, expected);
    QWidget parent;
    parent.resize(100, 80);
    auto *child = new QWidget(&parent);
    child->setGeometry(10, 30, 20, 10);
    SetAnchors(child, TAnchors(anchors));
    parent.resize(200, 120);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(child->geometry(), expected);
}

void TestApplication::anchorsOfAHiddenControlPlacedAfterAnchoring()
{
    // A hidden panel anchored at creation and placed afterwards must keep its
    // place when its parent grows, although Qt told nobody that it moved.
    QWidget parent;
    parent.resize(100, 80);
    auto *child = new QWidget(&parent);
    child->hide();
    SetAnchors(child, TAnchors(akRight) | akTop);
    child->setGeometry(10, 30, 20, 10);
    parent.resize(200, 120);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(child->geometry(), QRect(110, 30, 20, 10));
}

void TestApplication::mainWindowFrame()
{
    TMainForm form;
    QCOMPARE(form.objectName(), QString("MainForm"));
    QCOMPARE(form.windowTitle(), QString("Setup"));
    QCOMPARE(form.font().pixelSize(), 11);
    QCOMPARE(form.Client()->palette().color(QPalette::Window), QColor(Qt::white));

    QStringList menus;
    for (QAction *action : form.MainMenu1->actions())
        menus << action->text();
    QCOMPARE(menus.first(), QString("&File"));
    QCOMPARE(menus.last(), QString("&Help"));
    QCOMPARE(form.File1->actions().first()->text(), QString("&Exit"));
    QCOMPARE(form.Howtousethisprogram1->text(), QString("H&ow to use this program"));
    QCOMPARE(form.TechnicalSupport1->text(), QString("&Technical Support"));

    TBoardImage *board = form.BoardImage1;
    QCOMPARE(board->parentWidget(), form.Client());
    QCOMPARE(board->geometry(), QRect(166, 122, 600, 422));
    QVERIFY(board->Stretch());
    QVERIFY(!board->AutoSize());
    QCOMPARE(board->Menu(), form.MainMenu1);
    QCOMPARE(board->Picture().Width(), 600);
    QCOMPARE(board->Picture().Height(), 422);

    // Shown, the board centres itself on the window's outer size at its first paint.
    form.resize(TMainForm::NormalOuterSize);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize outer = form.frameGeometry().size();
    QTRY_COMPARE(board->pos(), QPoint((outer.width() - 600) / 2, (outer.height() - 422) / 2));
    QCOMPARE(board->DesignLeft(), 166);
    QCOMPARE(board->DesignTop(), 122);
}

void TestApplication::exitClosesTheWindow()
{
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Exit2->trigger();
    QVERIFY(!form.isVisible());
}

void TestApplication::restoringTheMaximisedWindowGivesItsNormalSizeCentred()
{
    TMainForm form;
    form.resize(TMainForm::NormalOuterSize);
    form.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.isMaximized());
    form.showNormal();
    QTRY_COMPARE(form.frameGeometry().size(), TMainForm::NormalOuterSize);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred along each direction in which the window fits on the screen (the
    // platform may push a wider window back onto the screen).
    const QSize normal = TMainForm::NormalOuterSize;
    if (screen.width() >= normal.width())
        QCOMPARE(form.frameGeometry().left(),
                 screen.left() + (screen.width() - normal.width()) / 2);
    if (screen.height() >= normal.height())
        QCOMPARE(form.frameGeometry().top(), screen.top() + (screen.height() - normal.height()) / 2);
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
