#include "ZIZERIRAV.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

TGetNumCards GetNumCards = nullptr;
TDriverEntry QueryCardInfo = nullptr;
TDriverEntry QueryBARBase = nullptr;
TDriverEntry WaitForIRQ = nullptr;
TDriverEntry COSWaitForIRQ = nullptr;
TDriverEntry GRDHandleIRQ = nullptr;
TDriverEntry AbortRequest = nullptr;
TDriverEntry CloseCard = nullptr;
TDriverEntry GRDInit = nullptr;
TDriverEntry GRDSetTimeout = nullptr;
TDriverEntry GRDSetResetDuration = nullptr;
TDriverEntry GRDPet = nullptr;
TDriverEntry GRDReadTemp = nullptr;
TDriverEntry GRDReadStatus = nullptr;
TDriverEntry GRDStart = nullptr;
TDriverEntry GRDStop = nullptr;
TDriverEntry EmergencyReboot = nullptr;
TDriverEntry InPortB = nullptr;
TDriverEntry OutPortB = nullptr;
TDriverEntry InPort = nullptr;
TDriverEntry OutPort = nullptr;
TDriverEntry InPortL = nullptr;
TDriverEntry OutPortL = nullptr;
TDriverEntry InPortDWord = nullptr;
TDriverEntry OutPortDWord = nullptr;
TDriverEntry RelInPortB = nullptr;
TDriverEntry RelOutPortB = nullptr;
TDriverEntry RelInPort = nullptr;
TDriverEntry RelOutPort = nullptr;
TDriverEntry RelInPortL = nullptr;
TDriverEntry RelOutPortL = nullptr;
TDriverEntry RelInPortDWord = nullptr;
TDriverEntry RelOutPortDWord = nullptr;

bool DriverLoaded = false;

namespace {

#ifdef _WIN32
using TLibraryHandle = HMODULE;

TLibraryHandle OpenLibrary()
{
    return LoadLibraryA(DriverLibraryName());
}

void *Lookup(TLibraryHandle library, const char *name)
{
    return reinterpret_cast<void *>(GetProcAddress(library, name));
}
#else
using TLibraryHandle = void *;

TLibraryHandle OpenLibrary()
{
    return dlopen(DriverLibraryName(), RTLD_NOW | RTLD_LOCAL);
}

void *Lookup(TLibraryHandle library, const char *name)
{
    return dlsym(library, name);
}
#endif

// Stores the export `name` into `entry`; true when it was found.
template <typename Entry>
bool Bind(TLibraryHandle library, const char *name, Entry &entry)
{
    entry = reinterpret_cast<Entry>(Lookup(library, name));
    return entry != nullptr;
}

} // namespace

const char *DriverLibraryName()
{
#ifdef _WIN32
    return "DEDIDO.dll";
#else
    return "libDEDIDO.so";
#endif
}

void LoadDriverLibrary()
{
    if (DriverLoaded)
        return;
    // The handle is deliberately not kept: the library stays loaded for the run.
    const TLibraryHandle library = OpenLibrary();
    if (!library)
        return;

    // Every lookup runs, in the library's export order, even after a miss, so that
    // the entries the library does have are all stored.
    bool all = true;
#define GRD_BIND(entry) all = Bind(library, #entry, entry) && all
    GRD_BIND(GetNumCards);
    GRD_BIND(QueryCardInfo);
    GRD_BIND(QueryBARBase);
    GRD_BIND(WaitForIRQ);
    GRD_BIND(COSWaitForIRQ);
    GRD_BIND(GRDHandleIRQ);
    GRD_BIND(AbortRequest);
    GRD_BIND(CloseCard);
    GRD_BIND(GRDInit);
    GRD_BIND(GRDSetTimeout);
    GRD_BIND(GRDSetResetDuration);
    GRD_BIND(GRDPet);
    GRD_BIND(GRDReadTemp);
    GRD_BIND(GRDReadStatus);
    GRD_BIND(GRDStart);
    GRD_BIND(GRDStop);
    GRD_BIND(EmergencyReboot);
    GRD_BIND(InPortB);
    GRD_BIND(OutPortB);
    GRD_BIND(InPort);
    GRD_BIND(OutPort);
    GRD_BIND(InPortL);
    GRD_BIND(OutPortL);
    GRD_BIND(InPortDWord);
    GRD_BIND(OutPortDWord);
    GRD_BIND(RelInPortB);
    GRD_BIND(RelOutPortB);
    GRD_BIND(RelInPort);
    GRD_BIND(RelOutPort);
    GRD_BIND(RelInPortL);
    GRD_BIND(RelOutPortL);
    GRD_BIND(RelInPortDWord);
    GRD_BIND(RelOutPortDWord);
#undef GRD_BIND
    DriverLoaded = all;
}
