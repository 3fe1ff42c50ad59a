// Decoding the card photograph: the program's decoder against a plain libjpeg
// decode of the same bytes in the same process. Prints medians in microseconds.

#include "jpegpicture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct PlainError
{
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void PlainErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<PlainError *>(cinfo->err)->jump, 1);
}

// The floor: libjpeg's simplest full decode to 24-bit rows.
bool PlainDecode(const QByteArray &data, std::vector<unsigned char> &pixels)
{
    jpeg_decompress_struct cinfo;
    PlainError error;
    cinfo.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = PlainErrorExit;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * 3;
    pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

template <typename F> double MedianMicroseconds(int runs, F &&work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QFile file(QStringLiteral(GRD_SOURCE_DIR "/resources/card.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read card.jpg\n");
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 101;

    std::vector<unsigned char> pixels;
    // Warm both paths up once before measuring, alternating so neither gains from
    // the other's caches.
    PlainDecode(bytes, pixels);
    DecodeJpeg(bytes, jf24Bit);
    const double plain = MedianMicroseconds(runs, [&] { PlainDecode(bytes, pixels); });
    const double ours = MedianMicroseconds(runs, [&] { DecodeJpeg(bytes, jf24Bit); });
    std::printf("decode card.jpg       %9.0f us   floor (plain libjpeg) %9.0f us   ratio %.3f\n",
                ours, plain, ours / plain);
    return 0;
}
