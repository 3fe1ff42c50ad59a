// The RTF reader: the formatting the help text uses, the escapes, and input of
// any shape read to its end without a crash or a hang.

#include "rtfreader.h"
#include "setupsupporter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {

// The character format in effect at the first occurrence of `text` in `doc`.
QTextCharFormat FormatOf(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text);
    if (found.isNull())
        return {};
    QTextCursor inside(found);
    inside.setPosition(found.selectionStart() + 1);
    return inside.charFormat();
}

QString Plain(const QByteArray &rtf)
{
    QTextDocument doc;
    ReadRtf(rtf, doc);
    return doc.toPlainText();
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT
private slots:
    void helpTextShowsTitleCirclesAndSizes();
    void helpTextHasNoMarkupLeft();
    void escapesAndSymbols_data();
    void escapesAndSymbols();
    void skippedDestinations_data();
    void skippedDestinations();
    void groupsRestoreFormatting();
    void malformedInputIsReadToTheEnd_data();
    void malformedInputIsReadToTheEnd();
    void readingReplacesTheOldContent();
};

void TestRtfReader::helpTextShowsTitleCirclesAndSizes()
{
    const QString text = TSetupSupporter::HelpText(QStringLiteral("Norvale"),
                                                   QStringLiteral("GRD-KTX"), true, true, true);
    QTextDocument doc;
    ReadRtf(text.toLatin1(), doc);

    const QTextCharFormat title = FormatOf(doc, QStringLiteral("Norvale GRD-KTX Series Settings Program"));
    QVERIFY(title.isValid());
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    QCOMPARE(title.fontPointSize(), 16.0);
    QCOMPARE(title.foreground().color(), QColor(0x40, 0x40, 0x40));
    QCOMPARE(title.fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});

    const QTextCharFormat body = FormatOf(doc, QStringLiteral("This program will help"));
    QCOMPARE(body.fontWeight(), int(QFont::Normal));
    QCOMPARE(body.fontPointSize(), 12.0);
    QCOMPARE(body.foreground().color(), QColor(0x40, 0x40, 0x40));

    struct TCircle
    {
        const char *Words;
        QColor Color;
    };
    const TCircle circles[] = {{"Yellow circles", QColor(0xFF, 0xFF, 0x40)},
                               {"Blue circles", QColor(0x40, 0x40, 0xFF)},
                               {"Red circles", QColor(0xFF, 0x40, 0x40)}};
    for (const TCircle &circle : circles) {
        const QTextCharFormat format = FormatOf(doc, QString::fromLatin1(circle.Words));
        QVERIFY2(format.isValid(), circle.Words);
        QCOMPARE(format.foreground().color(), circle.Color);
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
        QCOMPARE(format.fontPointSize(), 12.0);
    }
    // After each coloured group the text goes on in the body's colour, not bold.
    const QTextCharFormat after = FormatOf(doc, QStringLiteral("provide information on configuring"));
    QCOMPARE(after.foreground().color(), QColor(0x40, 0x40, 0x40));
    QCOMPARE(after.fontWeight(), int(QFont::Normal));

    QCOMPARE(FormatOf(doc, QStringLiteral("features,")).foreground().color(), QColor(0x40, 0x40, 0xFF));
    const QTextCharFormat note = FormatOf(doc, QStringLiteral("Note:"));
    QCOMPARE(note.fontPointSize(), 16.0);
    QCOMPARE(note.fontWeight(), int(QFont::Bold));
}

void TestRtfReader::helpTextHasNoMarkupLeft()
{
    const QString text = TSetupSupporter::HelpText(QStringLiteral("Norvale"),
                                                   QStringLiteral("GRD-KTX"), true, true, true);
    QTextDocument doc;
    ReadRtf(text.toLatin1(), doc);
    const QString plain = doc.toPlainText();
    QVERIFY2(!plain.contains(QChar('\\')) && !plain.contains(QChar('{')) &&
                 !plain.contains(QChar('}')) && !plain.contains(QStringLiteral("Verdana")),
             qPrintable(plain));
    // Title, empty line, then the first paragraph.
    QCOMPARE(doc.findBlockByNumber(0).text(), QStringLiteral("Norvale GRD-KTX Series Settings Program"));
    QCOMPARE(doc.findBlockByNumber(1).text(), QString());
    QVERIFY(doc.findBlockByNumber(2).text().startsWith(QStringLiteral("This program will help")));
    QVERIFY(plain.contains(QStringLiteral("option group \u2014 the configuration")));
    QVERIFY(plain.contains(QStringLiteral("click \"Display GRD-KTX Cards Installed\" under")));
}

void TestRtfReader::escapesAndSymbols_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("plain");
    QTest::newRow("control symbols") << QByteArray(R"({\rtf1 a\\b\{c\}d})") << QStringLiteral("a\\b{c}d");
    QTest::newRow("cp1252 hex") << QByteArray(R"({\rtf1 \'80 \'e9\'93q\'94})")
                                << QStringLiteral("\u20AC \u00E9\u201Cq\u201D");
    QTest::newRow("unicode skips one fallback") << QByteArray(R"({\rtf1 \u8364?x})")
                                                << QStringLiteral("\u20ACx");
    QTest::newRow("negative unicode") << QByteArray(R"({\rtf1 \u-4064?})") << QStringLiteral("\uF020");
    QTest::newRow("uc2 skips two, hex counts as one")
        << QByteArray(R"({\rtf1\uc2 \u233\'65\'3fz})") << QStringLiteral("\u00E9z");
    QTest::newRow("uc0 skips nothing") << QByteArray(R"({\rtf1\uc0 \u233 e})") << QStringLiteral("\u00E9e");
    QTest::newRow("uc is scoped to its group")
        << QByteArray(R"({\rtf1{\uc3 \u233 abcX}\u233 bY})") << QStringLiteral("\u00E9X\u00E9Y");
    QTest::newRow("emdash and space rule") << QByteArray(R"({\rtf1 a\emdash  b})")
                                           << QStringLiteral("a\u2014 b");
    QTest::newRow("par makes paragraphs") << QByteArray("{\\rtf1 one\\par\r\ntwo}")
                                          << QStringLiteral("one\ntwo");
    QTest::newRow("unknown words ignored") << QByteArray(R"({\rtf1\frobnicate12 x\zz-3 y})")
                                           << QStringLiteral("xy");
}

void TestRtfReader::escapesAndSymbols()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, plain);
    QCOMPARE(Plain(rtf), plain);
}

void TestRtfReader::skippedDestinations_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("plain");
    QTest::newRow("optional destination") << QByteArray(R"({\rtf1 a{\*\generator Foo 1.0;}b})")
                                          << QStringLiteral("ab");
    QTest::newRow("unknown optional with groups")
        << QByteArray(R"({\rtf1 a{\*\xyz {\b hidden}{more}}b})") << QStringLiteral("ab");
    QTest::newRow("stylesheet") << QByteArray(R"({\rtf1{\stylesheet{\s0 Normal;}}x})")
                                << QStringLiteral("x");
    QTest::newRow("info") << QByteArray(R"({\rtf1{\info{\title T}{\author A}}x})") << QStringLiteral("x");
    QTest::newRow("bin data skipped") << QByteArray("{\\rtf1 a{\\bin3 }{\\}c}") << QStringLiteral("ac");
    QTest::newRow("font and colour tables") << QByteArray(
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red1\green2\blue3;}x})")
                                            << QStringLiteral("x");
}

void TestRtfReader::skippedDestinations()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, plain);
    QCOMPARE(Plain(rtf), plain);
}

void TestRtfReader::groupsRestoreFormatting()
{
    QTextDocument doc;
    ReadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red1\green2\blue3;})"
            R"(\fs20 A{\b\f1\cf1\fs40 B{\b0 C}D}E\b F\b0 G})",
            doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("ABCDEFG"));
    QCOMPARE(FormatOf(doc, "A").fontPointSize(), 10.0);
    QCOMPARE(FormatOf(doc, "A").fontFamilies().toStringList(), QStringList{"Arial"}); // \deff0
    QVERIFY(!FormatOf(doc, "A").hasProperty(QTextFormat::ForegroundBrush)); // auto colour
    QCOMPARE(FormatOf(doc, "B").fontPointSize(), 20.0);
    QCOMPARE(FormatOf(doc, "B").fontWeight(), int(QFont::Bold));
    QCOMPARE(FormatOf(doc, "B").fontFamilies().toStringList(), QStringList{"Courier New"});
    QCOMPARE(FormatOf(doc, "B").foreground().color(), QColor(1, 2, 3));
    QCOMPARE(FormatOf(doc, "C").fontWeight(), int(QFont::Normal));
    QCOMPARE(FormatOf(doc, "C").foreground().color(), QColor(1, 2, 3));
    QCOMPARE(FormatOf(doc, "D").fontWeight(), int(QFont::Bold));
    QCOMPARE(FormatOf(doc, "E").fontWeight(), int(QFont::Normal));
    QCOMPARE(FormatOf(doc, "E").fontPointSize(), 10.0);
    QCOMPARE(FormatOf(doc, "F").fontWeight(), int(QFont::Bold));
    QCOMPARE(FormatOf(doc, "G").fontWeight(), int(QFont::Normal));
}

void TestRtfReader::malformedInputIsReadToTheEnd_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("plainStart"); // what the text must begin with

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("unclosed groups") << QByteArray(R"({\rtf1{\b bold{\i more)") << QStringLiteral("boldmore");
    QTest::newRow("stray closing braces") << QByteArray(R"(}}}a}}{b)") << QStringLiteral("ab");
    QTest::newRow("lone backslash at end") << QByteArray(R"({\rtf1 a\)") << QStringLiteral("a");
    QTest::newRow("truncated hex escape") << QByteArray(R"(a\')") << QStringLiteral("a");
    QTest::newRow("half hex escape") << QByteArray(R"(a\'4)") << QStringLiteral("a\u0004");
    QTest::newRow("truncated word") << QByteArray(R"(a\fs)") << QStringLiteral("a");
    QTest::newRow("truncated negative") << QByteArray(R"(a\fs-)") << QStringLiteral("a-");
    QTest::newRow("huge font size") << QByteArray("a\\fs" + QByteArray(400, '9') + " b")
                                    << QStringLiteral("ab");
    QTest::newRow("huge negative font size") << QByteArray("a\\fs-99999999999999999999 b")
                                             << QStringLiteral("ab");
    QTest::newRow("huge colour index") << QByteArray(R"({\colortbl;\red300\green-5\blue99999999999;}\cf4294967296 x)")
                                       << QStringLiteral("x");
    QTest::newRow("huge unicode") << QByteArray(R"(\u99999999999999?x)") << QStringLiteral("x");
    QTest::newRow("huge uc skip") << QByteArray(R"(\uc99999999 \u65 abc)") << QStringLiteral("A");
    QTest::newRow("huge bin") << QByteArray(R"(a\bin99999999999 secret)") << QStringLiteral("a");
    QTest::newRow("overlong control word")
        << QByteArray("a\\" + QByteArray(100000, 'x') + "12 b") << QStringLiteral("ab");
    QTest::newRow("deep nesting") << QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + "tail"
                                  << QStringLiteral("deeptail");
    QTest::newRow("deep nesting unclosed") << QByteArray(200000, '{') + "\\b x" << QStringLiteral("x");
    QTest::newRow("deep nesting then stray closers")
        << QByteArray(300, '{') + "a" + QByteArray(1000, '}') + "b" << QStringLiteral("ab");
    QTest::newRow("many destinations") << QByteArray(20000, '{') + "\\*" + "x" << QString();
    QTest::newRow("nul and high bytes") << QByteArray("a\0\xff\x81z", 5) << QStringLiteral("a");
    QTest::newRow("font table unclosed") << QByteArray(R"({\rtf1{\fonttbl{\f0\fnil Arial)") << QString();
    QTest::newRow("colour table without semicolons")
        << QByteArray(R"({\colortbl\red255\green0\blue0}\cf0 x)") << QStringLiteral("x");
}

void TestRtfReader::malformedInputIsReadToTheEnd()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, plainStart);
    QTextDocument doc;
    ReadRtf(rtf, doc);
    QVERIFY2(doc.toPlainText().startsWith(plainStart), qPrintable(doc.toPlainText().left(80)));
    QTextCursor all(&doc);
    all.movePosition(QTextCursor::End);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.hasProperty(QTextFormat::FontPointSize)) {
                QVERIFY(format.fontPointSize() >= 0.5);
                QVERIFY(format.fontPointSize() <= RtfMaxHalfPoints / 2.0);
            }
        }
    }
}

void TestRtfReader::readingReplacesTheOldContent()
{
    QTextDocument doc;
    ReadRtf(R"({\rtf1 first})", doc);
    ReadRtf(R"({\rtf1 second})", doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("second"));
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
