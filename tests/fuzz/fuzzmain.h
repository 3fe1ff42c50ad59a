#pragma once
// The pieces every fuzz target shares: libFuzzer's entry points call into a
// check from fuzzchecks.h and abort with its message when a rule broke.

#include <QApplication>
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace grdfuzz {

// One application for the whole run, on the offscreen platform: widgets and text
// documents need one, and the fuzzer runs without a display. Qt must not see
// libFuzzer's own arguments, so it gets a made-up command line.
inline void StartOffscreenApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

inline int Run(const uint8_t *data, size_t size, QString (*check)(const QByteArray &))
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const QString broken = check(bytes);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "Rule broken: %s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}

} // namespace grdfuzz
