// ReadRtf on any bytes, into a fresh text document.

#include "fuzzchecks.h"
#include "fuzzmain.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    grdfuzz::StartOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return grdfuzz::Run(data, size, grdfuzz::CheckRtfInput);
}
