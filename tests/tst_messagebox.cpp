// Message boxes built from the old platform's style flags, and their answers.

#include "messagebox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void boxFollowsItsFlags_data();
    void boxFollowsItsFlags();
    void answersFollowTheButtons_data();
    void answersFollowTheButtons();
    void hookAnswersInsteadOfTheBox();
};

void TestMessageBox::boxFollowsItsFlags_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<bool>("topmost");

    QTest::newRow("warning with OK, topmost (0x50030)")
        << 0x50030u << int(QMessageBox::Warning) << int(QMessageBox::Ok) << int(QMessageBox::Ok)
        << int(QMessageBox::Ok) << true;
    QTest::newRow("Retry/Cancel, Cancel default (0x50135)")
        << 0x50135u << int(QMessageBox::Warning) << int(QMessageBox::Retry | QMessageBox::Cancel)
        << int(QMessageBox::Cancel) << int(QMessageBox::Cancel) << true;
    QTest::newRow("Retry/Cancel, Retry default")
        << unsigned(MB_RETRYCANCEL | MB_ICONERROR) << int(QMessageBox::Critical)
        << int(QMessageBox::Retry | QMessageBox::Cancel) << int(QMessageBox::Retry)
        << int(QMessageBox::Cancel) << false;
    QTest::newRow("second default on a one-button box")
        << unsigned(MB_OK | MB_DEFBUTTON2) << int(QMessageBox::NoIcon) << int(QMessageBox::Ok)
        << int(QMessageBox::Ok) << int(QMessageBox::Ok) << false;
}

void TestMessageBox::boxFollowsItsFlags()
{
    QFETCH(unsigned, flags);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, escapeButton);
    QFETCH(bool, topmost);

    std::unique_ptr<QMessageBox> box(CreateMessageBox(QStringLiteral("text"), QStringLiteral("caption"), flags));
    QCOMPARE(box->text(), QStringLiteral("text"));
    QCOMPARE(box->windowTitle(), QStringLiteral("caption"));
    QCOMPARE(int(box->icon()), icon);
    QCOMPARE(int(box->standardButtons()), buttons);
    QCOMPARE(int(box->standardButton(box->defaultButton())), defaultButton);
    QCOMPARE(int(box->standardButton(box->escapeButton())), escapeButton);
    QCOMPARE(bool(box->windowFlags() & Qt::WindowStaysOnTopHint), topmost);
}

void TestMessageBox::answersFollowTheButtons_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << unsigned(MB_OK) << int(QMessageBox::Ok) << int(IDOK);
    QTest::newRow("Retry") << unsigned(MB_RETRYCANCEL) << int(QMessageBox::Retry) << int(IDRETRY);
    QTest::newRow("Cancel") << unsigned(MB_RETRYCANCEL) << int(QMessageBox::Cancel) << int(IDCANCEL);
    QTest::newRow("Escape key") << unsigned(MB_RETRYCANCEL) << -1 << int(IDCANCEL);
}

void TestMessageBox::answersFollowTheButtons()
{
    QFETCH(unsigned, flags);
    QFETCH(int, button);
    QFETCH(int, answer);
    std::unique_ptr<QMessageBox> box(CreateMessageBox(QString(), QString(), flags));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    if (button >= 0)
        box->button(QMessageBox::StandardButton(button))->click();
    else
        QTest::keyClick(box.get(), Qt::Key_Escape);
    QCOMPARE(MessageBoxResult(*box), answer);
}

void TestMessageBox::hookAnswersInsteadOfTheBox()
{
    QString seen;
    SetMessageBoxHook([&](const QString &text, const QString &caption, unsigned flags) {
        seen = text + '|' + caption + '|' + QString::number(flags, 16);
        return int(IDRETRY);
    });
    QCOMPARE(ShowMessageBox(QStringLiteral("t"), QStringLiteral("c"), 0x50135), int(IDRETRY));
    QCOMPARE(seen, QStringLiteral("t|c|50135"));
    QVERIFY(SetMessageBoxHook(nullptr));
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
