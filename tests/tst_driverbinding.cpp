// Binding of the driver library. Each run stands in one situation, named by
// GRD_FAKE_DRIVER: "complete" (the fake library with every entry on the search
// path), "incomplete" (the fake lacking RelOutPortDWord) or unset (no library).

#include "ZIZERIRAV.h"

#include <QtTest>
#include <dlfcn.h>

namespace {

struct TEntryRef
{
    const char *Name;
    void *(*Address)();
};

#define GRD_ENTRY(name) {#name, [] { return reinterpret_cast<void *>(name); }}
// The exports in the order the binding looks them up.
const TEntryRef Entries[] = {
    GRD_ENTRY(GetNumCards),     GRD_ENTRY(QueryCardInfo),  GRD_ENTRY(QueryBARBase),
    GRD_ENTRY(WaitForIRQ),      GRD_ENTRY(COSWaitForIRQ),  GRD_ENTRY(GRDHandleIRQ),
    GRD_ENTRY(AbortRequest),    GRD_ENTRY(CloseCard),      GRD_ENTRY(GRDInit),
    GRD_ENTRY(GRDSetTimeout),   GRD_ENTRY(GRDSetResetDuration), GRD_ENTRY(GRDPet),
    GRD_ENTRY(GRDReadTemp),     GRD_ENTRY(GRDReadStatus),  GRD_ENTRY(GRDStart),
    GRD_ENTRY(GRDStop),         GRD_ENTRY(EmergencyReboot), GRD_ENTRY(InPortB),
    GRD_ENTRY(OutPortB),        GRD_ENTRY(InPort),         GRD_ENTRY(OutPort),
    GRD_ENTRY(InPortL),         GRD_ENTRY(OutPortL),       GRD_ENTRY(InPortDWord),
    GRD_ENTRY(OutPortDWord),    GRD_ENTRY(RelInPortB),     GRD_ENTRY(RelOutPortB),
    GRD_ENTRY(RelInPort),       GRD_ENTRY(RelOutPort),     GRD_ENTRY(RelInPortL),
    GRD_ENTRY(RelOutPortL),     GRD_ENTRY(RelInPortDWord), GRD_ENTRY(RelOutPortDWord),
};
#undef GRD_ENTRY

QByteArray Situation()
{
    return qgetenv("GRD_FAKE_DRIVER");
}

// A handle on the library if the process has it loaded already, without loading it.
void *LoadedLibrary()
{
    return dlopen(DriverLibraryName(), RTLD_NOW | RTLD_NOLOAD);
}

// How many times the process holds the library open. Counting releases every
// reference, so the library is unloaded afterwards: the last step of a run only.
int ReleaseAllReferences()
{
    int references = 0;
    while (void *library = LoadedLibrary()) {
        dlclose(library); // the reference just taken for counting
        dlclose(library);
        ++references;
        if (references > 1000)
            break;
    }
    return references;
}

} // namespace

class TestDriverBinding : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyEntryIsNullBeforeTheFirstCall();
    void bindingMatchesTheLibrary();
    void furtherCallsLoadOnlyWhileUnbound();
};

void TestDriverBinding::initTestCase()
{
    QCOMPARE(sizeof(Entries) / sizeof(Entries[0]), size_t(33));
    QVERIFY2(!LoadedLibrary(), "the library must not be loaded before the binding asks for it");
}

void TestDriverBinding::everyEntryIsNullBeforeTheFirstCall()
{
    QVERIFY(!DriverLoaded);
    for (const TEntryRef &entry : Entries)
        QVERIFY2(!entry.Address(), entry.Name);
}

void TestDriverBinding::bindingMatchesTheLibrary()
{
    LoadDriverLibrary();
    void *library = LoadedLibrary();

    if (Situation().isEmpty()) {
        QVERIFY(!library);
        QVERIFY(!DriverLoaded);
        for (const TEntryRef &entry : Entries)
            QVERIFY2(!entry.Address(), entry.Name);
        return;
    }

    QVERIFY2(library, "the library was not found by its bare name on the search path");
    const bool complete = Situation() == "complete";
    QCOMPARE(DriverLoaded, complete);
    for (const TEntryRef &entry : Entries) {
        // Every entry holds exactly the library's export of that name, or null
        // where the library lacks it.
        QCOMPARE(entry.Address(), dlsym(library, entry.Name));
        if (complete || qstrcmp(entry.Name, "RelOutPortDWord") != 0)
            QVERIFY2(entry.Address(), entry.Name);
        else
            QVERIFY(!entry.Address());
    }
    dlclose(library);

    if (complete)
        QCOMPARE(GetNumCards(), std::int32_t(qEnvironmentVariableIntValue("FAKE_DEDIDO_CARDS")));
}

void TestDriverBinding::furtherCallsLoadOnlyWhileUnbound()
{
    // bindingMatchesTheLibrary made the first call; two more follow.
    LoadDriverLibrary();
    LoadDriverLibrary();
    const int references = ReleaseAllReferences();
    if (Situation() == "complete")
        QCOMPARE(references, 1); // bound at the first call, never loaded again
    else if (Situation() == "incomplete")
        QCOMPARE(references, 3); // each call tries the whole binding again
    else
        QCOMPARE(references, 0);
    QCOMPARE(DriverLoaded, Situation() == "complete");
}

QTEST_GUILESS_MAIN(TestDriverBinding)
#include "tst_driverbinding.moc"
