// The card's option groups on the main window, driven as a user drives them: the
// relay mode, the interrupt level and the base address, each with its picture.

#include "application.h"
#include "template.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

const QStringList IrqNumbers = {"2", "3", "4", "5", "6", "7", "10", "11", "12", "14", "15"};

QStringList ClosedJumpers(const TMainForm &form)
{
    QStringList closed;
    for (int k = 1; k <= 11; ++k) {
        if (form.IRQJumpers[k] && form.IRQJumpers[k]->Closed())
            closed << IrqNumbers[k - 1];
    }
    return closed;
}

TTwoJumper *JumperLabelled(const TMainForm &form, const QString &number)
{
    return form.IRQJumpers[IrqNumbers.indexOf(number) + 1];
}

void TypeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!text.isEmpty())
        QTest::keyClicks(edit, text);
}

// The jumper's picture as it stands on screen.
QImage Picture(QWidget *widget)
{
    return widget->grab().toImage();
}

} // namespace

class TestOptionGroups : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpState();
    void settingsMenuHoldsThreeEntriesInOrder();
    void choosingAnInterruptClosesOnlyItsJumper();
    void clickingJumpersChoosesTheirInterrupt();
    void typedTextThatNamesNoItem();
    void enteringTheInterruptPanelAgainResetsIt();
    void relayJumperCyclesWithItsList();
    void baseAddressFeedback_data();
    void baseAddressFeedback();
    void unusableAddressMarksTheEditUntilTheNextUsableText();

private:
    // Opens and pins the popup of `highlight` as its menu entry does, and waits
    // until the popup is active with its panel entered.
    QWidget *Open(TBoardHighlight *highlight);

    std::unique_ptr<TMainForm> form;
};

void TestOptionGroups::init()
{
    form = std::make_unique<TMainForm>();
    form->resize(TMainForm::NormalOuterSize);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_VERIFY(form->EnableHighlight->ImagesReady());
}

void TestOptionGroups::cleanup()
{
    form.reset();
}

QWidget *TestOptionGroups::Open(TBoardHighlight *highlight)
{
    highlight->MenuItemClick(highlight);
    QWidget *popup = highlight->RadioPanel()->window();
    QWidget *panel = highlight->RadioPanel();
    const bool entered = QTest::qWaitFor([panel] {
        QWidget *focus = QApplication::focusWidget();
        return focus && (focus == panel || panel->isAncestorOf(focus));
    });
    return popup != form.get() && entered ? popup : nullptr;
}

void TestOptionGroups::startUpState()
{
    QCOMPARE(form->EnableBox->currentIndex(), -1);
    QCOMPARE(form->IRQBox->currentIndex(), -1);
    QCOMPARE(form->EnableBox->count(), 3);
    QCOMPARE(form->IRQBox->count(), 12);
    QCOMPARE(form->BaseEdit->text(), QString("200"));
    QCOMPARE(form->BaseFeedbackLabel->text(), QString());
    QCOMPARE(form->EnableJumper->JumperState(), jsLeft);
    QCOMPARE(form->BaseBA->BaseAddressStr(), QString("200"));
    QCOMPARE(form->IRQJumpers[1], nullptr);
    QVERIFY(!form->IRQPanel->isVisible());
    QCOMPARE(form->BaseBA->Orientation(), otRight);
    QCOMPARE(form->BaseBA->size(), QSize(61, 102));
}

void TestOptionGroups::settingsMenuHoldsThreeEntriesInOrder()
{
    QStringList bar;
    QMenu *settings = nullptr;
    for (QAction *action : form->MainMenu1->actions()) {
        bar << action->text();
        if (action->text() == "&Settings")
            settings = action->menu();
    }
    QCOMPARE(bar, (QStringList{"&File", "&Settings", "&Help"}));
    QVERIFY(settings);
    QStringList entries;
    for (QAction *action : settings->actions())
        entries << action->text();
    QCOMPARE(entries, (QStringList{"&Base Address", "&IRQ Level", "Relay &Enabling"}));
}

void TestOptionGroups::choosingAnInterruptClosesOnlyItsJumper()
{
    QVERIFY(Open(form->IRQHighlight0));
    QCOMPARE(form->IRQBox->currentText(), QString("None"));
    QCOMPARE(ClosedJumpers(*form), QStringList());

    // Down four times from "None" with the keyboard: IRQ2, IRQ3, IRQ4, IRQ5.
    form->IRQBox->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(form->IRQBox, Qt::Key_Down);
    QCOMPARE(form->IRQBox->currentText(), QString("IRQ5"));
    QCOMPARE(ClosedJumpers(*form), QStringList{"5"});

    for (int i = 0; i < 4; ++i)
        QTest::keyClick(form->IRQBox, Qt::Key_Up);
    QCOMPARE(form->IRQBox->currentText(), QString("None"));
    QCOMPARE(ClosedJumpers(*form), QStringList());
}

void TestOptionGroups::clickingJumpersChoosesTheirInterrupt()
{
    QVERIFY(Open(form->IRQHighlight1));
    TypeInto(form->IRQBox->lineEdit(), "IRQ5");
    QCOMPARE(form->IRQBox->currentIndex(), 4);
    QCOMPARE(ClosedJumpers(*form), QStringList{"5"});

    TTwoJumper *twelve = JumperLabelled(*form, "12");
    QVERIFY(twelve->isVisible());
    QTest::mouseClick(twelve, Qt::LeftButton);
    QCOMPARE(form->IRQBox->currentText(), QString("IRQ12"));
    QCOMPARE(ClosedJumpers(*form), QStringList{"12"});

    QTest::mouseClick(twelve, Qt::LeftButton);
    QCOMPARE(form->IRQBox->currentText(), QString("None"));
    QCOMPARE(ClosedJumpers(*form), QStringList());
}

void TestOptionGroups::typedTextThatNamesNoItem()
{
    QVERIFY(Open(form->IRQHighlight0));
    TypeInto(form->IRQBox->lineEdit(), "IRQ7");
    QCOMPARE(ClosedJumpers(*form), QStringList{"7"});
    TypeInto(form->IRQBox->lineEdit(), "irq7");
    QCOMPARE(form->IRQBox->currentIndex(), -1);
    QCOMPARE(form->IRQBox->currentText(), QString("irq7"));
    QCOMPARE(ClosedJumpers(*form), QStringList());

    QVERIFY(Open(form->EnableHighlight));
    TypeInto(form->EnableBox->lineEdit(), "Always Energized");
    QCOMPARE(form->EnableJumper->JumperState(), jsRight);
    TypeInto(form->EnableBox->lineEdit(), "sometimes");
    QCOMPARE(form->EnableBox->currentIndex(), -1);
    QCOMPARE(form->EnableJumper->JumperState(), jsRight);
}

void TestOptionGroups::enteringTheInterruptPanelAgainResetsIt()
{
    QWidget *popup = Open(form->IRQHighlight0);
    QVERIFY(popup);
    TypeInto(form->IRQBox->lineEdit(), "IRQ10");
    QCOMPARE(ClosedJumpers(*form), QStringList{"10"});

    // Focus to the popup's text box and back into the list: a new entry.
    auto *memo = popup->findChild<QPlainTextEdit *>("StatusMemo");
    QVERIFY(memo);
    memo->setFocus(Qt::TabFocusReason);
    form->IRQBox->setFocus(Qt::TabFocusReason);
    QCOMPARE(form->IRQBox->currentText(), QString("None"));
    QCOMPARE(ClosedJumpers(*form), QStringList());
    QCOMPARE(form->IRQPanel->findChildren<TTwoJumper *>().size(), 11);

    // Moving between controls inside the panel is no entry.
    TypeInto(form->IRQBox->lineEdit(), "IRQ3");
    QTest::mouseClick(JumperLabelled(*form, "14"), Qt::LeftButton);
    form->IRQBox->setFocus(Qt::MouseFocusReason);
    QCOMPARE(ClosedJumpers(*form), QStringList{"14"});
}

void TestOptionGroups::relayJumperCyclesWithItsList()
{
    QVERIFY(Open(form->EnableHighlight));
    QCOMPARE(form->EnableBox->currentText(), QString("Watchdog-Controlled"));
    QCOMPARE(form->EnableJumper->JumperState(), jsLeft);
    const QImage left = Picture(form->EnableJumper);

    const QStringList texts = {"Always Energized", "Always De-Energized", "Watchdog-Controlled"};
    const QList<TJumperState> states = {jsRight, jsOpen, jsLeft};
    QList<QImage> pictures;
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(form->EnableJumper, Qt::LeftButton);
        QCOMPARE(form->EnableBox->currentText(), texts[i]);
        QCOMPARE(form->EnableJumper->JumperState(), states[i]);
        pictures << Picture(form->EnableJumper);
    }
    // Right, open and left look different, and left looks as it did at the start.
    QVERIFY(pictures[0] != pictures[1]);
    QVERIFY(pictures[1] != pictures[2]);
    QCOMPARE(pictures[2], left);

    // The other way round: the list moves the jumper.
    form->EnableBox->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(form->EnableBox, Qt::Key_Down);
    QTest::keyClick(form->EnableBox, Qt::Key_Down);
    QCOMPARE(form->EnableBox->currentText(), QString("Always De-Energized"));
    QCOMPARE(form->EnableJumper->JumperState(), jsOpen);
}

void TestOptionGroups::baseAddressFeedback_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("switchShows");
    QTest::addColumn<QString>("label");

    QTest::newRow("200") << QStringList{"200"} << "200" << "";
    QTest::newRow("blanks around") << QStringList{" 200 "} << "200" << "";
    QTest::newRow("2f0 after 200") << QStringList{"200", "2f0"} << "2F0" << "";
    QTest::newRow("2F3") << QStringList{"2F3"} << "2F0" << "2F0";
    QTest::newRow("2f7") << QStringList{"2f7"} << "2F0" << "2F0";
    QTest::newRow("0200") << QStringList{"0200"} << "200" << "200";
    QTest::newRow("400: bit 10 is not on the switch") << QStringList{"400"} << "0" << "0";
    QTest::newRow("FFFFFFFF") << QStringList{"FFFFFFFF"} << "3F8" << "3F8";
    QTest::newRow("x") << QStringList{"x"} << "200" << "200";
    QTest::newRow("empty") << QStringList{""} << "200" << "200";
    QTest::newRow("3F8") << QStringList{"3F8"} << "3F8" << "";
}

void TestOptionGroups::baseAddressFeedback()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, switchShows);
    QFETCH(QString, label);
    QVERIFY(Open(form->BaseHighlight));
    for (const QString &text : typed)
        TypeInto(form->BaseEdit, text);
    QCOMPARE(form->BaseBA->BaseAddressStr(), switchShows);
    QCOMPARE(form->BaseFeedbackLabel->text(), label);
    QCOMPARE(form->BaseEdit->palette().color(QPalette::Base), Vcl::WindowColor());
}

void TestOptionGroups::unusableAddressMarksTheEditUntilTheNextUsableText()
{
    QVERIFY(Open(form->BaseHighlight));
    TypeInto(form->BaseEdit, "2F3");
    QCOMPARE(form->BaseFeedbackLabel->text(), QString("2F0"));
    const QImage before = Picture(form->BaseBA);

    // The ninth significant digit makes the text unusable.
    form->BaseEdit->setText("12345678");
    QTest::keyClick(form->BaseEdit, Qt::Key_9);
    QCOMPARE(form->BaseEdit->text(), QString("123456789"));
    QCOMPARE(form->BaseEdit->palette().color(QPalette::Base), form->BasePanel->Color());
    QCOMPARE(form->BaseBA->BaseAddressStr(), QString("2F0"));
    QCOMPARE(form->BaseFeedbackLabel->text(), QString("2F0"));
    QCOMPARE(Picture(form->BaseBA), before);

    QTest::keyClick(form->BaseEdit, Qt::Key_Backspace); // "12345678": usable again
    QCOMPARE(form->BaseEdit->palette().color(QPalette::Base), Vcl::WindowColor());
    QCOMPARE(form->BaseBA->BaseAddressStr(), QString("278"));
    QCOMPARE(form->BaseFeedbackLabel->text(), QString("278"));
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestOptionGroups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_optiongroups.moc"
