// ReadJpegHeader and DecodeJpeg, in both pixel formats, on any bytes.

#include "fuzzchecks.h"
#include "fuzzmain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return grdfuzz::Run(data, size, grdfuzz::CheckJpegInput);
}
