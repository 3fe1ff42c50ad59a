// ParseBaseAddress and TBaseAddress::SetBaseAddressStr on any text and switch count.

#include "fuzzchecks.h"
#include "fuzzmain.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    grdfuzz::StartOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return grdfuzz::Run(data, size, grdfuzz::CheckBaseAddressInput);
}
