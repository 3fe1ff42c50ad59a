// Every input kept for the fuzz targets (tests/fuzz/<target>/ seeds and
// tests/fuzz/regressions/<target>/ inputs that once broke something) goes through
// the same rules the fuzzers check, so a fault found once stays fixed in the
// ordinary and sanitizer builds.

#include "fuzz/fuzzchecks.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestFuzzCorpus : public QObject
{
    Q_OBJECT
private slots:
    void keptInputsKeepEveryRule_data();
    void keptInputsKeepEveryRule();
};

void TestFuzzCorpus::keptInputsKeepEveryRule_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");

    const QDir fuzz(QStringLiteral(GRD_SOURCE_DIR "/tests/fuzz"));
    int seeds = 0;
    for (const QString target : {"baseaddress", "rtfreader", "jpeg"}) {
        for (const QString &folder : {target, QStringLiteral("regressions/") + target}) {
            const QDir dir(fuzz.filePath(folder));
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
                QTest::newRow(qPrintable(folder + QLatin1Char('/') + name))
                    << target << dir.filePath(name);
                if (folder == target)
                    ++seeds;
            }
        }
    }
    // The seed folders are committed; finding none means the path is wrong.
    QVERIFY(seeds > 0);
}

void TestFuzzCorpus::keptInputsKeepEveryRule()
{
    QFETCH(QString, target);
    QFETCH(QString, path);

    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray data = file.readAll();

    QString broken;
    if (target == QLatin1String("baseaddress"))
        broken = grdfuzz::CheckBaseAddressInput(data);
    else if (target == QLatin1String("rtfreader"))
        broken = grdfuzz::CheckRtfInput(data);
    else
        broken = grdfuzz::CheckJpegInput(data);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

QTEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
