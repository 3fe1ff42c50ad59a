// Entry events of containers: focus moving in from outside enters, focus moving
// inside does not, and a window coming back to the front is no new entry.

#include "focusentry.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

class TestFocusEntry : public QObject
{
    Q_OBJECT
private slots:
    void entersOnlyFromOutside();
    void reactivatingTheWindowIsNoEntry();
    void firstFocusByActivationEnters();
};

namespace {

struct Fixture
{
    QWidget window;
    QLineEdit *outside;
    QWidget *panel;
    QLineEdit *first;
    QLineEdit *second;
    int entries = 0;

    Fixture()
    {
        auto *layout = new QVBoxLayout(&window);
        outside = new QLineEdit(&window);
        panel = new QWidget(&window);
        auto *inner = new QVBoxLayout(panel);
        first = new QLineEdit(panel);
        second = new QLineEdit(panel);
        inner->addWidget(first);
        inner->addWidget(second);
        layout->addWidget(outside);
        layout->addWidget(panel);
        SetOnEnter(panel, [this] { ++entries; });
    }
};

} // namespace

void TestFocusEntry::entersOnlyFromOutside()
{
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.outside->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(f.outside->hasFocus());
    const int before = f.entries;
    f.first->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.entries, before + 1);
    f.second->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f.entries, before + 1);
    f.outside->setFocus(Qt::TabFocusReason);
    f.second->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.entries, before + 2);
}

void TestFocusEntry::reactivatingTheWindowIsNoEntry()
{
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.outside->setFocus(Qt::TabFocusReason);
    f.first->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.entries, 1);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTRY_VERIFY(f.first->hasFocus());
    QCOMPARE(f.entries, 1);
}

void TestFocusEntry::firstFocusByActivationEnters()
{
    Fixture f;
    // Focus set before the window is shown arrives with the activation.
    f.first->setFocus();
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTRY_VERIFY(f.first->hasFocus());
    QCOMPARE(f.entries, 1);
}

QTEST_MAIN(TestFocusEntry)
#include "tst_focusentry.moc"
