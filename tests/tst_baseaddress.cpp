// The address switch as the holder of an address: parsing and masking of the
// assigned text, the conversion error, and the number of switches.

#include "SetupCtrls.h"
#include "converterror.h"

#include <QTest>

class TestBaseAddress : public QObject
{
    Q_OBJECT

private slots:
    void newSwitchHoldsZeroWithSevenSwitches();
    void assignedTextIsParsedMaskedAndNormalised_data();
    void assignedTextIsParsedMaskedAndNormalised();
    void maskCoversBitsTenMinusNUpToNine_data();
    void maskCoversBitsTenMinusNUpToNine();
    void switchCountOutsideOneToTenIsRefused_data();
    void switchCountOutsideOneToTenIsRefused();
    void newSwitchCountMasksOnlyTheNextAssignment();
};

void TestBaseAddress::newSwitchHoldsZeroWithSevenSwitches()
{
    TBaseAddress sw;
    QCOMPARE(sw.size(), QSize(102, 61));
    QCOMPARE(sw.BaseAddressStr(), QStringLiteral("0"));
    QCOMPARE(sw.AddressValue(), 0);
    QCOMPARE(sw.NumSwitches(), 7);
    QCOMPARE(sw.Orientation(), otUp);
    QCOMPARE(sw.OnIsOne(), false);
    QCOMPARE(sw.LeftToRight(), false);
    QCOMPARE(sw.SwitchColor(), QColor(0xFF, 0xFF, 0xFF));
}

// Each row starts from a new switch, or from one holding `stored` when given.
void TestBaseAddress::assignedTextIsParsedMaskedAndNormalised_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("repaint");
    QTest::addColumn<QString>("error");

    // clang-format off
    QTest::newRow("200") << "" << "200" << "200" << 0x200 << true << "";
    QTest::newRow("lower case 3f8") << "" << "3f8" << "3F8" << 0x3F8 << true << "";
    QTest::newRow("0x300 drops the X") << "" << "0x300" << "300" << 0x300 << true << "";
    QTest::newRow("blanks dropped") << "" << " 2 0  0 " << "200" << 0x200 << true << "";
    QTest::newRow("a-b keeps both digits") << "" << "a-b" << "A8" << 0xA8 << true << "";
    QTest::newRow("1FF loses bits below 3") << "" << "1FF" << "1F8" << 0x1F8 << true << "";
    QTest::newRow("FFFF loses bits above 9") << "" << "FFFF" << "3F8" << 0x3F8 << true << "";
    QTest::newRow("FFFFFFFF, negative as 32 bits")
        << "" << "FFFFFFFF" << "3F8" << 0x3F8 << true << "";
    QTest::newRow("80000000 masks to 0") << "200" << "80000000" << "0" << 0 << true << "";
    QTest::newRow("7 masks to 0") << "200" << "7" << "0" << 0 << true << "";
    QTest::newRow("7 on a new switch: same value") << "" << "7" << "0" << 0 << false << "";
    QTest::newRow("empty text ignored") << "200" << "" << "200" << 0x200 << false << "";
    QTest::newRow("xyz ignored") << "200" << "xyz" << "200" << 0x200 << false << "";
    QTest::newRow("G ignored") << "" << "G" << "0" << 0 << false << "";
    QTest::newRow("207 masks to the stored 200") << "200" << "207" << "200" << 0x200 << false
                                                 << "";
    QTest::newRow("0200 keeps the stored text") << "200" << "0200" << "200" << 0x200 << false
                                                << "";
    QTest::newRow("2f7 after 200") << "200" << "2f7" << "2F0" << 0x2F0 << true << "";
    QTest::newRow("twelve digits, leading zeros")
        << "" << "000000000200" << "200" << 0x200 << true << "";
    QTest::newRow("eight significant digits") << "" << "0012345678" << "278" << 0x278 << true
                                              << "";
    QTest::newRow("nine digits fail") << "200" << "123456789" << "200" << 0x200 << false
                                      << "'$123456789' is not a valid integer value";
    QTest::newRow("nine digits with blanks fail")
        << "200" << "1 2345 6789" << "200" << 0x200 << false
        << "'$123456789' is not a valid integer value";
    QTest::newRow("error names every remaining digit")
        << "" << "0x0000000123456789" << "0" << 0 << false
        << "'$00000000123456789' is not a valid integer value";
    // clang-format on
}

void TestBaseAddress::assignedTextIsParsedMaskedAndNormalised()
{
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(int, value);
    QFETCH(bool, repaint);
    QFETCH(QString, error);

    TBaseAddress sw;
    if (!stored.isEmpty())
        sw.SetBaseAddressStr(stored);
    const int before = sw.UpdateRequests();

    QString raised;
    try {
        sw.SetBaseAddressStr(text);
    } catch (const EConvertError &e) {
        raised = e.Message();
        QCOMPARE(QString::fromStdString(e.what()), raised);
    }
    QCOMPARE(raised, error);
    QCOMPARE(sw.BaseAddressStr(), expected);
    QCOMPARE(sw.AddressValue(), value);
    QCOMPARE(sw.UpdateRequests() > before, repaint);
    QCOMPARE(sw.UpdateRequests() - before, repaint ? 1 : 0);
}

void TestBaseAddress::maskCoversBitsTenMinusNUpToNine_data()
{
    QTest::addColumn<int>("switches");
    QTest::addColumn<int>("mask");
    QTest::newRow("1 switch: A9 only") << 1 << 0x200;
    QTest::newRow("5 switches") << 5 << 0x3E0;
    QTest::newRow("7 switches") << 7 << 0x3F8;
    QTest::newRow("10 switches reach bit 0") << 10 << 0x3FF;
}

void TestBaseAddress::maskCoversBitsTenMinusNUpToNine()
{
    QFETCH(int, switches);
    QFETCH(int, mask);
    QCOMPARE(SwitchMask(switches), mask);
    QCOMPARE(ParseBaseAddress("FFFFFFFF", switches), std::optional<int>(mask));
    QCOMPARE(ParseBaseAddress("-", switches), std::optional<int>());
}

void TestBaseAddress::switchCountOutsideOneToTenIsRefused_data()
{
    QTest::addColumn<int>("switches");
    QTest::newRow("0 would divide by zero") << 0;
    QTest::newRow("11 would reach bit -1") << 11;
    QTest::newRow("negative") << -1;
    QTest::newRow("255") << 255;
}

void TestBaseAddress::switchCountOutsideOneToTenIsRefused()
{
    QFETCH(int, switches);
    TBaseAddress sw;
    sw.SetBaseAddressStr("200");
    const int before = sw.UpdateRequests();
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, sw.SetNumSwitches(switches));
    QCOMPARE(sw.NumSwitches(), 7);
    QCOMPARE(sw.UpdateRequests(), before);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ParseBaseAddress("200", switches));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SwitchGeometry(102, 61, switches, 11));

    // Still a whole picture afterwards.
    const QImage image = sw.grab().toImage();
    QCOMPARE(image.size(), QSize(102, 61));
}

void TestBaseAddress::newSwitchCountMasksOnlyTheNextAssignment()
{
    TBaseAddress sw;
    sw.SetBaseAddressStr("3F8");
    int before = sw.UpdateRequests();
    sw.SetNumSwitches(5);
    QCOMPARE(sw.UpdateRequests(), before + 1);
    QCOMPARE(sw.BaseAddressStr(), QStringLiteral("3F8"));
    QCOMPARE(sw.AddressValue(), 0x3F8);

    sw.SetBaseAddressStr("3F8");
    QCOMPARE(sw.BaseAddressStr(), QStringLiteral("3E0"));
    QCOMPARE(sw.AddressValue(), 0x3E0);

    before = sw.UpdateRequests();
    sw.SetNumSwitches(5);
    QCOMPARE(sw.UpdateRequests(), before);
}

QTEST_MAIN(TestBaseAddress)
#include "tst_baseaddress.moc"
