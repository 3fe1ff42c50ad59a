// The setup supporter: the texts it builds, the help, support and header it puts
// on its main window, its timer, and the calibration cycle.

#include "application.h"
#include "boardhighlight.h"
#include "boardimage.h"
#include "helpform.h"
#include "messagebox.h"
#include "messages.h"
#include "setupsupporter.h"
#include "techform.h"
#include "timerowner.h"

#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

namespace {

const QString MainHelpText = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
    "Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64"
    "\\blue255;\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0\r\n"
    "{\\b Norvale GRD-KTX Series Settings Program}\\par\\par\\fs24\r\n"
    "This program will help you configure the option jumpers and settings associated with this "
    "product. You should have the product in-hand when first using this program.\\par\\par\r\n"
    "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and "
    "switches.\\par\\par\r\n"
    "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on standard "
    "and optional features of the product family.\\par\\par\r\n"
    "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that require "
    "actually controlling the hardware device. Run this settings program again once the card is "
    "installed. Repeat the {\\cf1 setup circles} (using the same settings) to configure this "
    "program, then perform the {\\cf3 calibration circles}.\\par\\par\r\n"
    "Mouse over the highlight circles to see configuration or information popups for {\\cf1 "
    "setup}, {\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its "
    "popup remain on-screen. You can have all or as many of these popups onscreen at the same "
    "time as you desire.\\par\\par\r\n"
    "}");

const QString NoteParagraph = QStringLiteral(
    "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the "
    "configuration options for each port are handled identically; this program only shows the "
    "setup once, but you need to perform this setup for each group of options on your "
    "device.\\par\\par\r\n");

QString CardsSentence(const QString &card)
{
    return QStringLiteral("To see a list of ") + card +
           QStringLiteral(" cards installed, click \"Display ") + card +
           QStringLiteral(" Cards Installed\" under the File menu.\\par\\par\r\n");
}

// A board image that counts the tour's start messages it receives.
class TCountingBoard : public TBoardImage
{
public:
    using TBoardImage::TBoardImage;
    int Tours = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::Type(WM_STARTTOUR)) {
            const auto *message = static_cast<TMessageEvent *>(event);
            if (message->WParam == 0 && message->LParam == 0)
                ++Tours;
            return true;
        }
        return TBoardImage::event(event);
    }
};

// A main window with a File menu and a client area, and its supporter.
struct TFixture
{
    QMainWindow Main;
    QMenu *File = nullptr;
    TSetupSupporter *Sup = nullptr;

    TFixture()
    {
        Main.setCentralWidget(new QWidget);
        Main.centralWidget()->resize(700, 500);
        File = Main.menuBar()->addMenu(QStringLiteral("&File"));
        File->addAction(QStringLiteral("&Exit"));
        Sup = new TSetupSupporter(&Main);
        Sup->SetCompanyName(QStringLiteral("Norvale"));
        Sup->SetCardNameA(QStringLiteral("GRD-KTX"));
        Sup->SetCardNameB(QStringLiteral("KTR810-L"));
        Sup->SetCallHow(QStringLiteral("at (555) 010-4470"));
    }
};

struct TBoxCall
{
    QString Text;
    QString Caption;
    unsigned Flags;
    bool TimerActive;
    bool Calibrating;
};

// Answers message boxes without a window and records what they asked.
struct TBoxRecorder
{
    QList<TBoxCall> Calls;
    int Answer = IDCANCEL;

    explicit TBoxRecorder(TSetupSupporter *sup)
    {
        SetMessageBoxHook([this, sup](const QString &text, const QString &caption, unsigned flags) {
            Calls.append({text, caption, flags, sup->TimerActive(), sup->Calibrating()});
            return Answer;
        });
    }
    ~TBoxRecorder() { SetMessageBoxHook(nullptr); }
};

// A calibration set-up: eight channels, displays with eight lines each.
struct TCalibrationFixture : TFixture
{
    QWidget Panel;
    QListWidget *List = nullptr;
    QPlainTextEdit *Memo = nullptr;
    QPushButton *Button = nullptr;
    QLabel *Hidden = nullptr;
    int StopClicks = 0;
    int StartClicks = 0;

    TCalibrationFixture()
    {
        List = new QListWidget(&Panel);
        Memo = new QPlainTextEdit(&Panel);
        for (int line = 0; line < 8; ++line) {
            List->addItem(QStringLiteral("old %1").arg(line));
            Memo->appendPlainText(QStringLiteral("old %1").arg(line));
        }
        Button = new QPushButton(QStringLiteral("Stop"), &Panel);
        Hidden = new QLabel(&Panel);
        Panel.show();
        Sup->SetOnStartButtonClick([this](QObject *) { ++StartClicks; });
        Sup->AddChannelDisplay(List, Button, Hidden, [this](QObject *) { ++StopClicks; });
        Sup->AddChannelDisplay(Memo, nullptr, nullptr);
    }
};

// Runs the event loop (so that the application's idle moments come) until
// `done` holds or a generous number of rounds has passed.
bool RunLoopUntil(const std::function<bool()> &done, int rounds = 250)
{
    for (int round = 0; round < rounds && !done(); ++round) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

} // namespace

class TestSetupSupporter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Texts.
    void helpTextOfTheMainWindowIsExact();
    void helpTextVariants_data();
    void helpTextVariants();
    void supportAndHeaderTexts();
    void scaledClientSize_data();
    void scaledClientSize();

    // Build.
    void initialValues();
    void idleHandlerRemovesItselfAndBuildsOnce();
    void buildsHeaderAndWindows();
    void helpWindowFollowsItsAnchors();
    void helpWindowOpensCentredOverTheMainWindow();
    void startSendsTheTourToTheFirstDirectBoardImage();
    void startWithoutBoardImageOnlyHides();
    void keysPressTheButtons_data();
    void keysPressTheButtons();
    void firstTickShowsTheHelpAndStopsTheTimer();
    void refusedTimerIsReported();
    void errorInATickGoesToTheErrorDisplay();
    void passDoesNotRunInsideAnotherPass();
    void buildRunsOnce();

    // Calibration.
    void passWritesEveryChannelLine();
    void flagSharedAcrossChannels();
    void totalFailureAnswers_data();
    void totalFailureAnswers();
    void noChannelsMeansTotalFailure();
    void emptyDisplayListStillDecides();
    void unassignedHandlerEndsTheCycle();
    void unchangedButtonsWhenChangeButtonsIsFalse();
    void helpPendingTickComesBeforeThePass();
    void putChannelLineLeavesMissingLinesAlone();
    void channelDisplaysAreCapped();
};

void TestSetupSupporter::init()
{
    TTimerOwner::SetRefuseTimers(false);
    TApplication::Instance()->SetErrorDisplay(nullptr);
}

void TestSetupSupporter::cleanup()
{
    TTimerOwner::SetRefuseTimers(false);
    SetMessageBoxHook(nullptr);
    TApplication::Instance()->SetErrorDisplay(nullptr);
}

void TestSetupSupporter::helpTextOfTheMainWindowIsExact()
{
    const QString text = TSetupSupporter::HelpText(QStringLiteral("Norvale"),
                                                   QStringLiteral("GRD-KTX"), true, false, false);
    QCOMPARE(text, MainHelpText);
}

void TestSetupSupporter::helpTextVariants_data()
{
    QTest::addColumn<bool>("useB");
    QTest::addColumn<bool>("series");
    QTest::addColumn<bool>("multiPort");
    QTest::addColumn<bool>("listsCards");
    QTest::addColumn<QString>("expected");

    const QString tail = QStringLiteral("}");
    const QString withoutTail = MainHelpText.chopped(1);
    QTest::newRow("multi-port note before the closing brace")
        << false << true << true << false << withoutTail + NoteParagraph + tail;
    QTest::newRow("card list sentence")
        << false << true << false << true
        << withoutTail + CardsSentence(QStringLiteral("GRD-KTX")) + tail;
    QTest::newRow("note stands before the card list sentence")
        << false << true << true << true
        << withoutTail + NoteParagraph + CardsSentence(QStringLiteral("GRD-KTX")) + tail;
    QString noSeries = MainHelpText;
    noSeries.replace(QStringLiteral("GRD-KTX Series Settings"), QStringLiteral("GRD-KTX Settings"));
    QTest::newRow("without Series") << false << false << false << false << noSeries;
    QString nameB = withoutTail + CardsSentence(QStringLiteral("KTR810-L")) + tail;
    nameB.replace(QStringLiteral("{\\b Norvale GRD-KTX Series"), QStringLiteral("{\\b Norvale KTR810-L Series"));
    QTest::newRow("card name B everywhere") << true << true << false << true << nameB;
}

void TestSetupSupporter::helpTextVariants()
{
    QFETCH(bool, useB);
    QFETCH(bool, series);
    QFETCH(bool, multiPort);
    QFETCH(bool, listsCards);
    QFETCH(QString, expected);

    // Through the supporter as its build would see it.
    TFixture f;
    f.Sup->SetUseCardNameB(useB);
    f.Sup->SetbSeries(series);
    f.Sup->SetMultiPort(multiPort);
    if (listsCards)
        f.Sup->SetOnGetCardString([](QObject *, int) { return QString(); });
    const QString text = TSetupSupporter::HelpText(f.Sup->CompanyName(), f.Sup->CardName(),
                                                   f.Sup->bSeries(), f.Sup->MultiPort(),
                                                   bool(f.Sup->OnGetCardString()));
    QCOMPARE(text, expected);
}

void TestSetupSupporter::supportAndHeaderTexts()
{
    QCOMPARE(TSetupSupporter::SupportText(QStringLiteral("Norvale"), QStringLiteral("at 555")),
             QStringLiteral(
                 "There are several ways to get technical support. First and fastest is to skim "
                 "the relevant sections of the manual. However, some questions require personal "
                 "assistance, and Norvale stands ready to provide that help. You can call us at "
                 "555 for any of your product questions.\r\n\r\nIn order to provide the best and "
                 "fastest support possible, we ask that you be at your computer when you call, "
                 "and have the Norvale product manual and Software Master CD at hand."));
    const QString card = QStringLiteral("GRD-KTX");
    QCOMPARE(TSetupSupporter::HeaderText(card, true, true), QStringLiteral("GRD-KTX Series Settings Program"));
    QCOMPARE(TSetupSupporter::HeaderText(card, false, true), QStringLiteral("GRD-KTX Settings Program"));
    QCOMPARE(TSetupSupporter::HeaderText(card, true, false), QStringLiteral("No GRD-KTX Series Card Found"));
    QCOMPARE(TSetupSupporter::HeaderText(card, false, false), QStringLiteral("No GRD-KTX Found"));
}

void TestSetupSupporter::scaledClientSize_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("client");
    QTest::newRow("1024x768") << QSize(1024, 768) << QSize(390, 177);
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QSize(732, 331);
    QTest::newRow("1366x768") << QSize(1366, 768) << QSize(521, 236);
    QTest::newRow("1280x1024") << QSize(1280, 1024) << QSize(488, 221);
    QTest::newRow("800x600 never shrinks") << QSize(800, 600) << QSize(305, 138);
    QTest::newRow("640x480 never shrinks") << QSize(640, 480) << QSize(305, 138);
    QTest::newRow("wide but low") << QSize(4000, 450) << QSize(305, 138);
    QTest::newRow("no screen size") << QSize(0, 0) << QSize(305, 138);
}

void TestSetupSupporter::scaledClientSize()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, client);
    QCOMPARE(TSetupSupporter::ScaledClientSize(QSize(305, 138), screen), client);
}

void TestSetupSupporter::initialValues()
{
    QWidget owner;
    TSetupSupporter sup(&owner);
    QCOMPARE(sup.CompanyName(), QString());
    QCOMPARE(sup.CardNameA(), QString());
    QCOMPARE(sup.CardNameB(), QString());
    QCOMPARE(sup.UseCardNameB(), false);
    QCOMPARE(sup.CallHow(), QString());
    QCOMPARE(sup.MultiPort(), false);
    QCOMPARE(sup.Channels(), quint8(8));
    QCOMPARE(sup.ChangeButtons(), true);
    QCOMPARE(sup.bSeries(), true);
    QVERIFY(!sup.OnBeginCalib() && !sup.OnGetCardString() && !sup.OnGetCalibString() &&
            !sup.OnStopButtonClick() && !sup.OnStartButtonClick());
    QVERIFY(!sup.HelpPending() && !sup.Calibrating() && !sup.TimerActive());
    QVERIFY(!sup.HeaderLabel() && !sup.HelpForm() && !sup.TechForm() && !sup.PCIForm());
    QVERIFY(sup.ChannelDisplays().isEmpty());
    // Published as properties, so a stored description could set them.
    QVERIFY(sup.setProperty("Channels", QVariant::fromValue(quint8(3))));
    QCOMPARE(sup.Channels(), quint8(3));
    // Storing a begin handler does not start anything.
    sup.SetOnBeginCalib([](QObject *) {});
    QVERIFY(!sup.TimerActive());
}

void TestSetupSupporter::idleHandlerRemovesItselfAndBuildsOnce()
{
    TFixture f;
    TApplication *app = TApplication::Instance();
    int calls = 0;
    app->SetOnIdle([&](QObject *sender, bool &done) {
        ++calls;
        f.Sup->ApplicationIdle(sender, done);
    });
    f.Main.show();
    QVERIFY(RunLoopUntil([&] { return f.Sup->HelpForm() != nullptr; }));
    QVERIFY(!app->OnIdle());
    RunLoopUntil([] { return false; }, 5); // more idle moments
    QCOMPARE(calls, 1);
    QCOMPARE(f.Main.findChildren<THelpForm *>().size(), 1);
}

void TestSetupSupporter::buildsHeaderAndWindows()
{
    TFixture f;
    f.Main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.Main));
    f.Sup->BuildWindows();

    QLabel *header = f.Sup->HeaderLabel();
    QVERIFY(header);
    QCOMPARE(header->objectName(), QStringLiteral("HeaderLabel"));
    QCOMPARE(header->parentWidget(), f.Main.centralWidget());
    QCOMPARE(header->text(), QStringLiteral("GRD-KTX Series Settings Program"));
    QCOMPARE(header->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(header->width(), f.Main.centralWidget()->width());
    QVERIFY(header->alignment() & Qt::AlignHCenter);
    QCOMPARE(header->font().pixelSize(), 24);
    QVERIFY(header->font().bold());
    QCOMPARE(header->palette().color(QPalette::WindowText), QColor(Qt::black));
    const int before = f.Main.centralWidget()->width();
    f.Main.resize(f.Main.width() + 150, f.Main.height());
    QTRY_COMPARE(f.Main.centralWidget()->width(), before + 150);
    QCOMPARE(header->width(), before + 150); // keeps the full width

    THelpForm *help = f.Sup->HelpForm();
    QVERIFY(help && !help->isVisible());
    QCOMPARE(help->objectName(), QStringLiteral("HelpForm"));
    QCOMPARE(help->windowTitle(), QStringLiteral("Instructions for Settings utility"));
    QCOMPARE(help->parentWidget(), &f.Main);
    QVERIFY(help->isWindow() && (help->windowFlags() & Qt::WindowStaysOnTopHint));
    // The offscreen screen is 800 x 600: the window keeps its built size.
    QCOMPARE(help->size(), QSize(305, 138));
    QCOMPARE(help->HelpRich->objectName(), QStringLiteral("HelpRich"));
    QCOMPARE(help->HelpRich->geometry(), QRect(0, 24, 305, 73));
    QVERIFY(help->HelpRich->isReadOnly());
    QCOMPARE(help->HelpRich->palette().color(QPalette::Base), QColor(0xDD, 0xDD, 0xDD));
    QVERIFY(help->HelpRich->toPlainText().startsWith(QStringLiteral("Norvale GRD-KTX Series Settings Program\n")));
    QCOMPARE(help->HelpLabel->objectName(), QStringLiteral("HelpLabel"));
    QCOMPARE(help->HelpLabel->text(), QStringLiteral("How to use this program"));
    QCOMPARE(help->HelpLabel->font().pixelSize(), 16);
    QVERIFY(help->HelpLabel->font().bold());
    QCOMPARE(help->HelpLabel->y(), 0);
    QVERIFY(help->HelpLabel->height() <= 24);
    QCOMPARE(help->StartButton->objectName(), QStringLiteral("StartButton"));
    QCOMPARE(help->StartButton->text(), QStringLiteral("Start"));
    QCOMPARE(help->StartButton->geometry(), QRect(66, 105, 173, 25));
    QVERIFY(help->StartButton->isDefault());

    TTechForm *tech = f.Sup->TechForm();
    QVERIFY(tech && !tech->isVisible());
    QCOMPARE(tech->objectName(), QStringLiteral("TechForm"));
    QCOMPARE(tech->windowTitle(), QStringLiteral("Technical Support"));
    QVERIFY(tech->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(tech->size(), QSize(305, 122));
    QCOMPARE(tech->TechMemo->objectName(), QStringLiteral("TechMemo"));
    QCOMPARE(tech->TechMemo->geometry(), QRect(0, 0, 305, 89));
    QVERIFY(tech->TechMemo->isReadOnly());
    QCOMPARE(tech->TechMemo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(tech->TechMemo->toPlainText(),
             TSetupSupporter::SupportText(QStringLiteral("Norvale"), QStringLiteral("at (555) 010-4470"))
                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(tech->CloseButton->objectName(), QStringLiteral("CloseButton"));
    QCOMPARE(tech->CloseButton->text(), QStringLiteral("Close"));
    QCOMPARE(tech->CloseButton->geometry(), QRect(116, 97, 73, 25));

    // No card texts asked for: no installed-cards window, no menu entry.
    QVERIFY(!f.Sup->PCIForm());
    QCOMPARE(f.File->actions().size(), 1);
    QVERIFY(f.Sup->HelpPending());
    QVERIFY(f.Sup->TimerActive());

    // Close hides the window holding the button, and keeps it.
    tech->show();
    QVERIFY(QTest::qWaitForWindowExposed(tech));
    QTest::mouseClick(tech->CloseButton, Qt::LeftButton);
    QVERIFY(!tech->isVisible());
    QCOMPARE(f.Sup->TechForm(), tech);
}

void TestSetupSupporter::helpWindowFollowsItsAnchors()
{
    TFixture f;
    f.Sup->BuildWindows();
    THelpForm *help = f.Sup->HelpForm();
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    help->resize(390, 177);
    QTRY_COMPARE(help->HelpRich->geometry(), QRect(0, 24, 390, 112));
    // The button keeps its distance to the bottom and stays centred.
    QCOMPARE(help->StartButton->y(), 177 - 138 + 105);
    QVERIFY(qAbs(help->StartButton->x() - (390 - 173) / 2) <= 1);
    QCOMPARE(help->HelpLabel->width(), 390);
}

void TestSetupSupporter::helpWindowOpensCentredOverTheMainWindow()
{
    TFixture f;
    f.Main.setGeometry(40, 30, 700, 500);
    f.Main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.Main));
    f.Sup->BuildWindows();
    THelpForm *help = f.Sup->HelpForm();
    const QRect main = f.Main.frameGeometry();
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    const QPoint centre = help->frameGeometry().center();
    QVERIFY2(qAbs(centre.x() - main.center().x()) <= 1 && qAbs(centre.y() - main.center().y()) <= 1,
             qPrintable(QStringLiteral("help centre %1,%2, main centre %3,%4")
                            .arg(centre.x()).arg(centre.y()).arg(main.center().x()).arg(main.center().y())));
    // Later showings leave it where the user put it.
    help->hide();
    help->move(10, 10);
    help->show();
    QCOMPARE(help->pos(), QPoint(10, 10));
}

void TestSetupSupporter::startSendsTheTourToTheFirstDirectBoardImage()
{
    TFixture f;
    QWidget *client = f.Main.centralWidget();
    auto *inner = new QWidget(client); // holds a board image that is no direct child
    auto *nested = new TCountingBoard(inner);
    new QLabel(client);
    auto *first = new TCountingBoard(client);
    auto *second = new TCountingBoard(client);
    f.Sup->BuildWindows();
    THelpForm *help = f.Sup->HelpForm();
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));

    QTest::mouseClick(help->StartButton, Qt::LeftButton);
    QVERIFY(!help->isVisible());
    QCOMPARE(first->Tours, 1);
    QCOMPARE(second->Tours, 0);
    QCOMPARE(nested->Tours, 0);
}

void TestSetupSupporter::startWithoutBoardImageOnlyHides()
{
    TFixture f;
    f.Sup->BuildWindows();
    THelpForm *help = f.Sup->HelpForm();
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    help->StartButtonClick(help->StartButton);
    QVERIFY(!help->isVisible());
    QCOMPARE(f.Sup->HelpForm(), help);
}

void TestSetupSupporter::keysPressTheButtons_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::newRow("Enter starts") << QStringLiteral("HelpForm") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter starts") << QStringLiteral("HelpForm") << int(Qt::Key_Enter);
    QTest::newRow("Esc starts") << QStringLiteral("HelpForm") << int(Qt::Key_Escape);
    QTest::newRow("Esc closes support") << QStringLiteral("TechForm") << int(Qt::Key_Escape);
}

void TestSetupSupporter::keysPressTheButtons()
{
    QFETCH(QString, window);
    QFETCH(int, key);
    TFixture f;
    auto *board = new TCountingBoard(f.Main.centralWidget());
    f.Sup->BuildWindows();
    QWidget *form = window == QStringLiteral("HelpForm") ? static_cast<QWidget *>(f.Sup->HelpForm())
                                                         : f.Sup->TechForm();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    // The key reaches the window wherever its focus is, also in the text box.
    QWidget *text = f.Sup->HelpForm() == form ? static_cast<QWidget *>(f.Sup->HelpForm()->HelpRich)
                                             : f.Sup->TechForm()->TechMemo;
    text->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(!form->isVisible());
    QCOMPARE(board->Tours, form == f.Sup->HelpForm() ? 1 : 0);
}

void TestSetupSupporter::firstTickShowsTheHelpAndStopsTheTimer()
{
    TFixture f;
    f.Main.show();
    f.Sup->BuildWindows();
    QVERIFY(f.Sup->TimerActive());
    // The real timer fires about 100 ms later.
    QTRY_VERIFY(f.Sup->HelpForm()->isVisible());
    QVERIFY(!f.Sup->HelpPending());
    QVERIFY(!f.Sup->TimerActive());
    // Further ticks change nothing: the help is shown once.
    f.Sup->HelpForm()->hide();
    f.Sup->TimerTick();
    QVERIFY(!f.Sup->HelpForm()->isVisible());
}

void TestSetupSupporter::refusedTimerIsReported()
{
    TFixture f;
    TTimerOwner::SetRefuseTimers(true);
    QStringList errors;
    TApplication::Instance()->SetErrorDisplay([&](const QString &message) { errors << message; });
    TApplication::Instance()->SetOnIdle(
        [&](QObject *sender, bool &done) { f.Sup->ApplicationIdle(sender, done); });
    f.Main.show();
    QVERIFY(RunLoopUntil([&] { return !errors.isEmpty(); }));
    QCOMPARE(errors, QStringList{QStringLiteral("Not enough timers available")});
    // Everything exists, the header is set, but the help does not open by itself.
    QCOMPARE(f.Sup->HeaderLabel()->text(), QStringLiteral("GRD-KTX Series Settings Program"));
    QVERIFY(f.Sup->TechForm());
    QVERIFY(!f.Sup->TimerActive());
    QVERIFY(!f.Sup->HelpForm()->isVisible());
}

void TestSetupSupporter::errorInATickGoesToTheErrorDisplay()
{
    TFixture f;
    QStringList errors;
    bool armedWhileShown = true;
    TApplication::Instance()->SetErrorDisplay([&](const QString &message) {
        errors << message;
        armedWhileShown = f.Sup->TimerActive() || f.Sup->Calibrating();
        // The display is modal: ticks that arrive while it is up start nothing.
        QEventLoop loop;
        QTimer::singleShot(3 * TSetupSupporter::TimerInterval, &loop, &QEventLoop::quit);
        loop.exec();
    });
    f.Sup->SetOnGetCalibString([](QObject *, quint8, bool &) -> QString {
        throw std::runtime_error("reading failed");
    });
    f.Sup->StartCalibration();
    auto *timer = f.Sup->findChild<TTimerOwner *>();
    QVERIFY(timer && timer->Active());
    QTimerEvent tick(1);
    QCoreApplication::sendEvent(timer, &tick);
    QCOMPARE(errors, QStringList{QStringLiteral("reading failed")});
    // The failed pass ended the cycle before the error was shown.
    QVERIFY(!armedWhileShown);
    QVERIFY(!f.Sup->Calibrating() && !f.Sup->TimerActive());
}

void TestSetupSupporter::passDoesNotRunInsideAnotherPass()
{
    TFixture f;
    int passes = 0;
    f.Sup->SetOnBeginCalib([&](QObject *) {
        ++passes;
        f.Sup->TimerTick(); // a tick arriving while the owner's handler runs
    });
    f.Sup->SetOnGetCalibString([](QObject *, quint8, bool &itsAllBad) {
        itsAllBad = false;
        return QString();
    });
    f.Sup->StartCalibration();
    f.Sup->TimerTick();
    QCOMPARE(passes, 1);
    f.Sup->TimerTick();
    QCOMPARE(passes, 2);
}

void TestSetupSupporter::buildRunsOnce()
{
    TFixture f;
    f.Sup->BuildWindows();
    THelpForm *help = f.Sup->HelpForm();
    f.Sup->BuildWindows();
    QCOMPARE(f.Sup->HelpForm(), help);
    QCOMPARE(f.Main.centralWidget()->findChildren<QLabel *>().size(), 1);
    QCOMPARE(f.Main.findChildren<THelpForm *>().size(), 1);
}

void TestSetupSupporter::passWritesEveryChannelLine()
{
    TCalibrationFixture f;
    QStringList order;
    QList<QObject *> senders;
    bool hiddenBeforeChannels = true;
    f.Sup->SetOnBeginCalib([&](QObject *sender) {
        senders << sender;
        order << QStringLiteral("begin");
    });
    f.Sup->SetOnGetCalibString([&](QObject *sender, quint8 channel, bool &itsAllBad) {
        senders << sender;
        hiddenBeforeChannels = hiddenBeforeChannels && f.Hidden->isHidden();
        order << QString::number(channel);
        itsAllBad = false;
        return QStringLiteral("%1 mV").arg(channel * 10);
    });
    TBoxRecorder boxes(f.Sup);
    f.Sup->StartCalibration();
    QVERIFY(f.Sup->TimerActive());
    f.Sup->TimerTick();
    QCOMPARE(order, QString("begin 0 1 2 3 4 5 6 7").split(' '));
    QCOMPARE(senders, QList<QObject *>(9, f.Sup));
    QVERIFY(hiddenBeforeChannels);
    for (int channel = 0; channel < 8; ++channel) {
        const QString line = QStringLiteral("Channel %1\t%2 mV").arg(channel).arg(channel * 10);
        QCOMPARE(f.List->item(channel)->text(), line);
        QCOMPARE(f.Memo->document()->findBlockByNumber(channel).text(), line);
    }
    QCOMPARE(f.List->count(), 8);
    QCOMPARE(f.Memo->document()->blockCount(), 8);
    QVERIFY(boxes.Calls.isEmpty());
    QVERIFY(f.Sup->Calibrating() && f.Sup->TimerActive());
    // While the cycle runs the channel button does what its owner gave it.
    f.Button->click();
    QCOMPARE(f.StopClicks, 1);
    QCOMPARE(f.StartClicks, 0);
}

void TestSetupSupporter::flagSharedAcrossChannels()
{
    TCalibrationFixture f;
    QList<bool> seen;
    f.Sup->SetOnGetCalibString([&](QObject *, quint8 channel, bool &itsAllBad) {
        seen << itsAllBad;
        if (channel == 2)
            itsAllBad = false;
        return QString();
    });
    TBoxRecorder boxes(f.Sup);
    f.Sup->StartCalibration();
    f.Sup->TimerTick();
    QCOMPARE(seen, (QList<bool>{true, true, true, false, false, false, false, false}));
    QVERIFY(boxes.Calls.isEmpty());
    QVERIFY(f.Sup->Calibrating());
    QCOMPARE(f.List->item(0)->text(), QStringLiteral("Channel 0\t"));
}

void TestSetupSupporter::totalFailureAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("running");
    QTest::newRow("Retry keeps the cycle") << int(IDRETRY) << true;
    QTest::newRow("Cancel ends the cycle") << int(IDCANCEL) << false;
}

void TestSetupSupporter::totalFailureAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, running);
    TCalibrationFixture f;
    f.Sup->SetOnGetCalibString([](QObject *, quint8, bool &) { return QStringLiteral("bad"); });
    TBoxRecorder boxes(f.Sup);
    boxes.Answer = answer;
    f.Sup->StartCalibration();
    f.Sup->TimerTick();

    QCOMPARE(boxes.Calls.size(), 1);
    const TBoxCall &box = boxes.Calls.first();
    QCOMPARE(box.Text, QStringLiteral("Total A/D failure. The card may not be installed, or it may "
                                      "be installed at a different base address."));
    QCOMPARE(box.Caption, QStringLiteral("Total A/D failure"));
    QCOMPARE(box.Flags, 0x50135u);
    QVERIFY(!box.TimerActive && !box.Calibrating); // no pass runs while the box is up
    QCOMPARE(f.List->item(7)->text(), QStringLiteral("Channel 7\tbad"));

    QCOMPARE(f.Sup->Calibrating(), running);
    QCOMPARE(f.Sup->TimerActive(), running);
    QCOMPARE(f.Button->text(), running ? QStringLiteral("Stop") : QStringLiteral("Start"));
    f.Button->click();
    QCOMPARE(f.StopClicks, running ? 1 : 0);
    QCOMPARE(f.StartClicks, running ? 0 : 1);
}

void TestSetupSupporter::noChannelsMeansTotalFailure()
{
    TCalibrationFixture f;
    f.Sup->SetChannels(0);
    int calls = 0;
    f.Sup->SetOnGetCalibString([&](QObject *, quint8, bool &itsAllBad) {
        ++calls;
        itsAllBad = false;
        return QString();
    });
    TBoxRecorder boxes(f.Sup);
    f.Sup->StartCalibration();
    f.Sup->TimerTick();
    QCOMPARE(calls, 0);
    QCOMPARE(f.List->item(0)->text(), QStringLiteral("old 0"));
    QCOMPARE(boxes.Calls.size(), 1);
    QCOMPARE(boxes.Calls.first().Caption, QStringLiteral("Total A/D failure"));
    QVERIFY(!f.Sup->Calibrating());
}

void TestSetupSupporter::emptyDisplayListStillDecides()
{
    TFixture f;
    int calls = 0;
    f.Sup->SetOnGetCalibString([&](QObject *, quint8, bool &) {
        ++calls;
        return QStringLiteral("x");
    });
    TBoxRecorder boxes(f.Sup);
    f.Sup->StartCalibration();
    f.Sup->TimerTick();
    QCOMPARE(calls, 8);
    QCOMPARE(boxes.Calls.size(), 1);
    QVERIFY(!f.Sup->Calibrating());
}

void TestSetupSupporter::unassignedHandlerEndsTheCycle()
{
    TCalibrationFixture f;
    int begun = 0;
    f.Sup->SetOnBeginCalib([&](QObject *) { ++begun; });
    TBoxRecorder boxes(f.Sup);
    f.Sup->StartCalibration();
    f.Sup->TimerTick();
    QCOMPARE(begun, 1);
    QCOMPARE(boxes.Calls.size(), 1);
    const TBoxCall &box = boxes.Calls.first();
    QCOMPARE(box.Text, QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned."));
    QCOMPARE(box.Caption, QStringLiteral("OnGetCalibString Not Assigned"));
    QCOMPARE(box.Flags, 0x50030u);
    QVERIFY(!box.TimerActive);
    QVERIFY(!f.Sup->Calibrating() && !f.Sup->TimerActive());
    QVERIFY(!f.Hidden->isHidden()); // the pass ended before hiding anything
    QCOMPARE(f.Button->text(), QStringLiteral("Start"));
}

void TestSetupSupporter::unchangedButtonsWhenChangeButtonsIsFalse()
{
    TCalibrationFixture f;
    f.Sup->SetChangeButtons(false);
    f.Sup->StartCalibration();
    f.Sup->EndCalibration();
    QVERIFY(!f.Sup->Calibrating() && !f.Sup->TimerActive());
    QCOMPARE(f.Button->text(), QStringLiteral("Stop"));
    f.Button->click();
    QCOMPARE(f.StopClicks, 1);
    QCOMPARE(f.StartClicks, 0);
}

void TestSetupSupporter::helpPendingTickComesBeforeThePass()
{
    TCalibrationFixture f;
    int calls = 0;
    f.Sup->SetOnGetCalibString([&](QObject *, quint8, bool &itsAllBad) {
        ++calls;
        itsAllBad = false;
        return QString();
    });
    f.Sup->BuildWindows();
    f.Sup->StartCalibration();
    QVERIFY(f.Sup->HelpPending());
    f.Sup->TimerTick();
    QVERIFY(f.Sup->HelpForm()->isVisible());
    QCOMPARE(calls, 0);
    QVERIFY(!f.Sup->HelpPending());
    QVERIFY(f.Sup->TimerActive()); // still armed for the cycle
    f.Sup->TimerTick();
    QCOMPARE(calls, 8);
}

void TestSetupSupporter::putChannelLineLeavesMissingLinesAlone()
{
    TCalibrationFixture f;
    f.Sup->PutChannelLine(0, QStringLiteral("zero"));
    f.Sup->PutChannelLine(200, QStringLiteral("none"));
    QCOMPARE(f.List->item(0)->text(), QStringLiteral("Channel 0\tzero"));
    QCOMPARE(f.List->count(), 8);
    QCOMPARE(f.Memo->document()->blockCount(), 8);
    QCOMPARE(f.Memo->document()->findBlockByNumber(0).text(), QStringLiteral("Channel 0\tzero"));
    QCOMPARE(f.Memo->document()->findBlockByNumber(1).text(), QStringLiteral("old 1"));
}

void TestSetupSupporter::channelDisplaysAreCapped()
{
    TFixture f;
    QListWidget list;
    for (int n = 0; n < TSetupSupporter::MaxChannelDisplays; ++n)
        QVERIFY(f.Sup->AddChannelDisplay(&list, nullptr, nullptr));
    QVERIFY(!f.Sup->AddChannelDisplay(&list, nullptr, nullptr));
    QCOMPARE(f.Sup->ChannelDisplays().size(), 256);
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestSetupSupporter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_setupsupporter.moc"
