#pragma once
// Run-time binding of the maker's card driver library (DEDIDO). The program does
// not link against it, so it starts and works on a computer without the driver.

#include <cstdint>

// Every entry is looked up by its export name. Only GetNumCards is ever called by
// this program; the others are bound so that the library counts as complete, and
// their signatures are left open (no arguments, no result).
using TDriverEntry = void (*)();
using TGetNumCards = std::int32_t (*)();

extern TGetNumCards GetNumCards;
extern TDriverEntry QueryCardInfo;
extern TDriverEntry QueryBARBase;
extern TDriverEntry WaitForIRQ;
extern TDriverEntry COSWaitForIRQ;
extern TDriverEntry GRDHandleIRQ;
extern TDriverEntry AbortRequest;
extern TDriverEntry CloseCard;
extern TDriverEntry GRDInit;
extern TDriverEntry GRDSetTimeout;
extern TDriverEntry GRDSetResetDuration;
extern TDriverEntry GRDPet;
extern TDriverEntry GRDReadTemp;
extern TDriverEntry GRDReadStatus;
extern TDriverEntry GRDStart;
extern TDriverEntry GRDStop;
extern TDriverEntry EmergencyReboot;
extern TDriverEntry InPortB;
extern TDriverEntry OutPortB;
extern TDriverEntry InPort;
extern TDriverEntry OutPort;
extern TDriverEntry InPortL;
extern TDriverEntry OutPortL;
extern TDriverEntry InPortDWord;
extern TDriverEntry OutPortDWord;
extern TDriverEntry RelInPortB;
extern TDriverEntry RelOutPortB;
extern TDriverEntry RelInPort;
extern TDriverEntry RelOutPort;
extern TDriverEntry RelInPortL;
extern TDriverEntry RelOutPortL;
extern TDriverEntry RelInPortDWord;
extern TDriverEntry RelOutPortDWord;

// True once a call of LoadDriverLibrary found the library and all 33 entries.
extern bool DriverLoaded;

// Loads the library by its bare file name, so the system's usual search decides
// where it comes from, and looks up every entry. Failures are silent and leave
// DriverLoaded false; a library lacking even one entry counts as unavailable,
// though the entries it has stay stored. Once bound, further calls do nothing;
// otherwise each call tries again (an earlier load is never released).
void LoadDriverLibrary();

// The file name the library is loaded by on this system.
const char *DriverLibraryName();
