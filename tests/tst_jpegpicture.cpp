// Decoding the card photograph with libjpeg, and refusing damaged data.

#include "jpegpicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtTest>

namespace {

QByteArray CardBytes()
{
    QFile file(QStringLiteral(":/card.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("card.jpg is not in the resources");
    return file.readAll();
}

// Offset of the first byte after the first start-of-scan segment.
qsizetype FirstScanData(const QByteArray &jpeg)
{
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    const int length = (uchar(jpeg[sos + 2]) << 8) | uchar(jpeg[sos + 3]);
    return sos + 2 + length;
}

} // namespace

class TestJpegPicture : public QObject
{
    Q_OBJECT
private slots:
    void decodesTheCardAsQtsOwnReaderDoes();
    void readsTheHeaderWithoutDecoding();
    void quantisedPathMakesAPaletteThatStaysCloseToTheColours();
    void damagedDataIsRefusedWithTheLibrarysMessage_data();
    void damagedDataIsRefusedWithTheLibrarysMessage();
    void failedDecodeLeavesNoImage();
    void drawingScalesIntoTheRectangle();
};

void TestJpegPicture::decodesTheCardAsQtsOwnReaderDoes()
{
    const QByteArray bytes = CardBytes();
    int scans = 0;
    const QImage image = DecodeJpeg(bytes, jf24Bit, &scans);
    QCOMPARE(image.size(), QSize(600, 422));
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(scans, 10);

    // Qt's reader uses the same library with the same defaults: every pixel agrees.
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpeg");
    const QImage reference = reader.read().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!reference.isNull());
    for (const QPoint p : {QPoint(0, 0), QPoint(599, 421), QPoint(255, 215), QPoint(320, 290),
                           QPoint(100, 300), QPoint(517, 44)})
        QCOMPARE(QColor(image.pixel(p)), QColor(reference.pixel(p)));
    QCOMPARE(image, reference);
}

void TestJpegPicture::readsTheHeaderWithoutDecoding()
{
    TJpegPicture picture;
    picture.LoadFromData(CardBytes());
    QCOMPARE(picture.Width(), 600);
    QCOMPARE(picture.Height(), 422);
    QVERIFY(picture.Progressive());
    QVERIFY(!picture.Decoded());
    picture.Decode();
    QVERIFY(picture.Decoded());
    QCOMPARE(picture.ScanCount(), 10);
}

void TestJpegPicture::quantisedPathMakesAPaletteThatStaysCloseToTheColours()
{
    TJpegPicture picture;
    picture.LoadFromData(CardBytes());
    picture.SetPixelFormat(jf8Bit);
    picture.Decode();
    const QImage indexed = picture.Image();
    QCOMPARE(indexed.format(), QImage::Format_Indexed8);
    QCOMPARE(indexed.size(), QSize(600, 422));
    QVERIFY(picture.HasPalette());
    QVERIFY(picture.PaletteModified());
    QVERIFY(indexed.colorCount() > 16);
    QVERIFY(indexed.colorCount() <= 256);

    // Dithered, so compare averages over blocks rather than single pixels.
    const QImage full = DecodeJpeg(CardBytes(), jf24Bit);
    const QImage fromPalette = indexed.convertToFormat(QImage::Format_RGB32);
    double worst = 0;
    for (int by = 0; by + 8 <= full.height(); by += 8) {
        for (int bx = 0; bx + 8 <= full.width(); bx += 8) {
            double diff[3] = {0, 0, 0};
            for (int y = by; y < by + 8; ++y) {
                for (int x = bx; x < bx + 8; ++x) {
                    const QRgb a = full.pixel(x, y), b = fromPalette.pixel(x, y);
                    diff[0] += qRed(a) - qRed(b);
                    diff[1] += qGreen(a) - qGreen(b);
                    diff[2] += qBlue(a) - qBlue(b);
                }
            }
            for (double d : diff)
                worst = std::max(worst, std::abs(d) / 64);
        }
    }
    QVERIFY2(worst < 24, qPrintable(QString("block colour error %1").arg(worst)));

    // Switching back drops the indexed image and decodes in full colour again.
    picture.SetPixelFormat(jf24Bit);
    QVERIFY(!picture.Decoded());
    picture.Decode();
    QCOMPARE(picture.Image().format(), QImage::Format_RGB32);
}

void TestJpegPicture::damagedDataIsRefusedWithTheLibrarysMessage_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("message");

    const QByteArray card = CardBytes();
    QTest::newRow("empty") << QByteArray() << "Empty input file";
    QTest::newRow("not a JPEG") << QByteArray("\x89PNG\r\n\x1a\n0000000000000000", 24)
                                << "Not a JPEG file";
    QTest::newRow("header only") << card.left(FirstScanData(card)) << "Premature end of JPEG file";
    QTest::newRow("truncated in the middle") << card.left(card.size() / 2)
                                             << "Premature end of JPEG file";
    QByteArray corrupt = card;
    const qsizetype scan = FirstScanData(card);
    // A stray marker inside the entropy-coded data of the first scan.
    corrupt[scan + 40] = char(0xFF);
    corrupt[scan + 41] = char(0xD4);
    QTest::newRow("corrupt scan") << corrupt << "Corrupt JPEG data";
    QByteArray huge = card;
    const qsizetype sof = card.indexOf(QByteArray("\xFF\xC2", 2));
    huge[sof + 5] = char(0xFF); // height 65 xxx
    huge[sof + 7] = char(0xFF); // width 65 xxx
    QTest::newRow("absurd size") << huge << "JPEG image too large";
}

void TestJpegPicture::damagedDataIsRefusedWithTheLibrarysMessage()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, message);
    for (TJpegPixelFormat format : {jf24Bit, jf8Bit}) {
        try {
            DecodeJpeg(data, format);
            QFAIL("damaged data decoded without an error");
        } catch (const EJpegError &error) {
            QVERIFY2(QString::fromLatin1(error.what()).startsWith(message), error.what());
        }
    }
}

void TestJpegPicture::failedDecodeLeavesNoImage()
{
    const QByteArray card = CardBytes();
    TJpegPicture picture;
    // The header is whole, so loading succeeds; the scans are not.
    picture.LoadFromData(card.left(card.size() / 2));
    QVERIFY_THROWS_EXCEPTION(EJpegError, picture.Decode());
    QVERIFY(!picture.Decoded());
    QVERIFY(picture.Image().isNull());

    // A failed load keeps what the picture held before.
    TJpegPicture good;
    good.LoadFromData(card);
    QVERIFY_THROWS_EXCEPTION(EJpegError, good.LoadFromData(QByteArray("garbage")));
    QCOMPARE(good.Width(), 600);
    QCOMPARE(good.Data(), card);
}

void TestJpegPicture::drawingScalesIntoTheRectangle()
{
    TJpegPicture picture;
    picture.LoadFromData(CardBytes());
    QImage target(300, 211, QImage::Format_RGB32);
    target.fill(Qt::magenta);
    QPainter painter(&target);
    picture.Draw(painter, QRect(0, 0, 300, 211));
    painter.end();
    QVERIFY(picture.Decoded());
    QVERIFY(target.pixel(0, 0) != QColor(Qt::magenta).rgb());
    QVERIFY(target.pixel(299, 210) != QColor(Qt::magenta).rgb());
}

QTEST_MAIN(TestJpegPicture)
#include "tst_jpegpicture.moc"
