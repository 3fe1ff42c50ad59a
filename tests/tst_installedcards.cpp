// The installed-cards window, fed by the driver library. Each run stands in one
// situation of the library, named by GRD_FAKE_DRIVER ("complete", "incomplete",
// or unset for no library) with FAKE_DEDIDO_CARDS cards reported by the fake.

#include "ZIZERIRAV.h"
#include "application.h"
#include "pciform.h"
#include "setupsupporter.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Cards the library reports in this run; 0 when it is missing or incomplete.
int ReportedCards()
{
    if (qgetenv("GRD_FAKE_DRIVER") != "complete")
        return 0;
    return qMax(0, qEnvironmentVariableIntValue("FAKE_DEDIDO_CARDS"));
}

struct TFixture
{
    QMainWindow Main;
    QMenu *File = nullptr;
    TSetupSupporter *Sup = nullptr;
    QList<int> Asked;

    explicit TFixture(const QString &fileCaption = QStringLiteral("&File"))
    {
        Main.setCentralWidget(new QWidget);
        Main.menuBar()->addMenu(QStringLiteral("&Edit"))->addAction(QStringLiteral("&Copy"));
        File = Main.menuBar()->addMenu(fileCaption);
        File->addAction(QStringLiteral("&Open"));
        File->addAction(QStringLiteral("E&xit"));
        Sup = new TSetupSupporter(&Main);
        Sup->SetCompanyName(QStringLiteral("Norvale"));
        Sup->SetCardNameA(QStringLiteral("GRD-KTX"));
        Sup->SetCardNameB(QStringLiteral("KTR810-L"));
    }

    // Card texts by index; missing indices give an empty text.
    void Answer(const QStringList &texts)
    {
        Sup->SetOnGetCardString([this, texts](QObject *sender, int index) {
            Asked << (sender == Sup ? index : -1000);
            return index < texts.size() ? texts[index] : QString();
        });
    }
};

} // namespace

class TestInstalledCards : public QObject
{
    Q_OBJECT
private slots:
    void listsTheCardsTheDriverReports_data();
    void listsTheCardsTheDriverReports();
    void menuEntryComesFirstInTheFileMenu_data();
    void menuEntryComesFirstInTheFileMenu();
    void windowIsBuiltAndShownAtOnce();
    void errorFromTheOwnerStopsTheBuild();
};

void TestInstalledCards::listsTheCardsTheDriverReports_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("useB");
    QTest::addColumn<bool>("series");

    QTest::newRow("empty, text, empty") << QStringList{"", "GRD-KTX at 0x300", ""} << false << true;
    QTest::newRow("all empty") << QStringList{"", "", ""} << false << true;
    QTest::newRow("every card") << QStringList{"one", "two", "three"} << false << true;
    QTest::newRow("without Series") << QStringList{"one"} << false << false;
    QTest::newRow("card name B") << QStringList{"", "b"} << true << true;
}

void TestInstalledCards::listsTheCardsTheDriverReports()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, useB);
    QFETCH(bool, series);
    TFixture f;
    f.Sup->SetUseCardNameB(useB);
    f.Sup->SetbSeries(series);
    f.Answer(texts);
    f.Sup->BuildWindows();

    const int cards = ReportedCards();
    QList<int> expectedAsked;
    QStringList lines;
    for (int index = 0; index < cards; ++index) {
        expectedAsked << index;
        if (index < texts.size() && !texts[index].isEmpty())
            lines << texts[index];
    }
    QCOMPARE(f.Asked, expectedAsked);
    QCOMPARE(DriverLoaded, qgetenv("GRD_FAKE_DRIVER") == "complete");

    const QString card = useB ? QStringLiteral("KTR810-L") : QStringLiteral("GRD-KTX");
    TPCIForm *form = f.Sup->PCIForm();
    QVERIFY(form);
    const bool found = !lines.isEmpty();
    QCOMPARE(form->PCIMemo->toPlainText(),
             found ? lines.join(QChar('\n')) : QStringLiteral("No Card Found"));
    QCOMPARE(f.Sup->HeaderLabel()->text(), TSetupSupporter::HeaderText(card, series, found));
    if (!found)
        QCOMPARE(f.Sup->HeaderLabel()->text(),
                 series ? QStringLiteral("No %1 Series Card Found").arg(card)
                        : QStringLiteral("No %1 Found").arg(card));
    QCOMPARE(form->windowTitle(), card + QStringLiteral(" Cards installed"));
    // The help names the menu entry, and still opens by itself.
    QVERIFY(f.Sup->HelpForm()->HelpRich->toPlainText().contains(
        QStringLiteral("click \"Display %1 Cards Installed\" under the File menu.").arg(card)));
    QVERIFY(f.Sup->HelpPending() && f.Sup->TimerActive());
}

void TestInstalledCards::menuEntryComesFirstInTheFileMenu_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("entry");
    QTest::newRow("&File") << QStringLiteral("&File") << true;
    QTest::newRow("File without ampersand") << QStringLiteral("File") << false;
    QTest::newRow("&file in lower case") << QStringLiteral("&file") << false;
}

void TestInstalledCards::menuEntryComesFirstInTheFileMenu()
{
    QFETCH(QString, caption);
    QFETCH(bool, entry);
    TFixture f(caption);
    f.Answer({});
    f.Sup->BuildWindows();

    const QList<QAction *> items = f.File->actions();
    QCOMPARE(items.size(), entry ? 3 : 2);
    QVERIFY(f.Sup->PCIForm()); // built either way
    if (!entry)
        return;
    QAction *display = items.first();
    QCOMPARE(display->objectName(), QStringLiteral("DisplayPCI"));
    QCOMPARE(display->text(), QStringLiteral("Display GRD-KTX Cards Installed"));
    QCOMPARE(display->parent(), f.File);
    QCOMPARE(items[1]->text(), QStringLiteral("&Open"));

    // The entry shows the window again, with the list as it was.
    TPCIForm *form = f.Sup->PCIForm();
    const QString list = form->PCIMemo->toPlainText();
    form->CloseButton->click();
    QVERIFY(!form->isVisible());
    display->trigger();
    QVERIFY(form->isVisible());
    QCOMPARE(form->PCIMemo->toPlainText(), list);
}

void TestInstalledCards::windowIsBuiltAndShownAtOnce()
{
    TFixture f;
    f.Answer({QStringLiteral("x")});
    f.Sup->BuildWindows();
    TPCIForm *form = f.Sup->PCIForm();
    QVERIFY(form->isVisible());
    QCOMPARE(form->objectName(), QStringLiteral("PCIForm"));
    QCOMPARE(form->parentWidget(), &f.Main);
    QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(form->size(), QSize(305, 122));
    QCOMPARE(form->PCIMemo->objectName(), QStringLiteral("PCIMemo"));
    QCOMPARE(form->PCIMemo->geometry(), QRect(0, 0, 305, 89));
    QVERIFY(form->PCIMemo->isReadOnly());
    QCOMPARE(form->PCIMemo->font().pixelSize(), 13);
    QVERIFY(form->PCIMemo->font().bold());
    QCOMPARE(form->CloseButton->objectName(), QStringLiteral("CloseButton"));
    QCOMPARE(form->CloseButton->text(), QStringLiteral("Close"));
    QCOMPARE(form->CloseButton->geometry(), QRect(115, 97, 73, 25));

    // Esc hides it.
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keyClick(form, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
}

void TestInstalledCards::errorFromTheOwnerStopsTheBuild()
{
    if (ReportedCards() == 0)
        QSKIP("the owner is only asked when the driver reports cards");
    TFixture f;
    f.Sup->SetOnGetCardString([](QObject *, int) -> QString { throw std::runtime_error("no access"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.Sup->BuildWindows());
    // The window is up, but the header has no text and the help is not pending.
    QVERIFY(f.Sup->PCIForm()->isVisible());
    QCOMPARE(f.Sup->HeaderLabel()->text(), QString());
    QVERIFY(!f.Sup->HelpPending());
    QVERIFY(!f.Sup->TimerActive());
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestInstalledCards test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_installedcards.moc"
