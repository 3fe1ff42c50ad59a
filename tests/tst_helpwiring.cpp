// The main window with its supporter: the build at the first idle moment, the
// help window opening by itself, and the Help menu showing the two windows.

#include "application.h"
#include "messages.h"
#include "template.h"

#include <QMenuBar>
#include <QtTest>

namespace {

// Runs the event loop, so that idle moments and timer ticks come, until `done`
// holds or a generous number of rounds has passed.
bool RunLoopUntil(const std::function<bool()> &done)
{
    for (int round = 0; round < 250 && !done(); ++round) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// Counts the tour's start messages that reach a widget.
struct TTourCounter : QObject
{
    int Tours = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Type(WM_STARTTOUR))
            ++Tours;
        return false;
    }
};

} // namespace

class TestHelpWiring : public QObject
{
    Q_OBJECT
private slots:
    void supporterCarriesTheCardsSettings();
    void menuBeforeTheBuildDoesNothing();
    void startUpBuildsAndOpensTheHelp();
    void helpMenuShowsTheWindowsAgain();
    void windowGoneBeforeTheFirstIdleMoment();
};

void TestHelpWiring::supporterCarriesTheCardsSettings()
{
    TMainForm form;
    TSetupSupporter *sup = form.SetSup;
    QVERIFY(sup);
    QCOMPARE(sup->parent(), &form);
    QCOMPARE(sup->CompanyName(), QStringLiteral("Norvale"));
    QCOMPARE(sup->CardNameA(), QStringLiteral("GRD-KTX"));
    QCOMPARE(sup->CardNameB(), QStringLiteral("KTR810-L"));
    QVERIFY(sup->CallHow().contains(QStringLiteral("(555) 010-4470")));
    QVERIFY(sup->ChangeButtons());
    QVERIFY(!sup->UseCardNameB() && !sup->MultiPort() && sup->bSeries());
    QCOMPARE(sup->Channels(), quint8(8));
    QVERIFY(!sup->OnGetCardString() && !sup->OnGetCalibString() && !sup->OnBeginCalib() &&
            !sup->OnStartButtonClick() && !sup->OnStopButtonClick());
    // The creation handler handed the idle hook over.
    QVERIFY(TApplication::Instance()->OnIdle());
}

void TestHelpWiring::menuBeforeTheBuildDoesNothing()
{
    TMainForm form;
    form.Howtousethisprogram1->trigger();
    form.TechnicalSupport1->trigger();
    QVERIFY(!form.SetSup->HelpForm() && !form.SetSup->TechForm());
    TApplication::Instance()->SetOnIdle(nullptr);
}

void TestHelpWiring::startUpBuildsAndOpensTheHelp()
{
    auto form = std::make_unique<TMainForm>();
    form->show();
    QVERIFY(RunLoopUntil([&] { return form->SetSup->HelpForm() && form->SetSup->HelpForm()->isVisible(); }));
    QVERIFY(!TApplication::Instance()->OnIdle());
    QCOMPARE(form->SetSup->HeaderLabel()->text(), QStringLiteral("GRD-KTX Series Settings Program"));
    QCOMPARE(form->SetSup->HeaderLabel()->parentWidget(), form->Client());
    QVERIFY(!form->SetSup->PCIForm());
    QCOMPARE(form->File1->actions().size(), 1); // no installed-cards entry
    QVERIFY(!form->SetSup->TechForm()->isVisible());
    QVERIFY(!form->SetSup->TimerActive());

    // Start hides the help and starts the tour on the board image.
    TTourCounter counter;
    form->BoardImage1->installEventFilter(&counter);
    form->SetSup->HelpForm()->StartButton->click();
    QVERIFY(!form->SetSup->HelpForm()->isVisible());
    QCOMPARE(counter.Tours, 1);

}

void TestHelpWiring::windowGoneBeforeTheFirstIdleMoment()
{
    auto form = std::make_unique<TMainForm>();
    QVERIFY(TApplication::Instance()->OnIdle());
    form.reset();
    // The hook finds no supporter and removes itself.
    QVERIFY(RunLoopUntil([] { return !TApplication::Instance()->OnIdle(); }));
}

void TestHelpWiring::helpMenuShowsTheWindowsAgain()
{
    TMainForm form;
    form.show();
    QVERIFY(RunLoopUntil([&] { return form.SetSup->HelpForm() && form.SetSup->HelpForm()->isVisible(); }));
    THelpForm *help = form.SetSup->HelpForm();
    const QSize size = help->size();
    const QString text = help->HelpRich->toPlainText();
    help->StartButton->click();
    QVERIFY(!help->isVisible());
    form.Howtousethisprogram1->trigger();
    QVERIFY(help->isVisible());
    QCOMPARE(help->size(), size);
    QCOMPARE(help->HelpRich->toPlainText(), text);

    TTechForm *tech = form.SetSup->TechForm();
    form.TechnicalSupport1->trigger();
    QVERIFY(tech->isVisible());
    const QRect place = tech->geometry();
    form.TechnicalSupport1->trigger();
    QVERIFY(tech->isVisible());
    QCOMPARE(tech->geometry(), place);
    QCOMPARE(form.findChildren<TTechForm *>().size(), 1);
    QVERIFY(tech->TechMemo->toPlainText().contains(QStringLiteral("Norvale stands ready")));
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestHelpWiring test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_helpwiring.moc"
