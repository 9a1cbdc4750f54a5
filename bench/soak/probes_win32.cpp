// Working set from GetProcessMemoryInfo, kernel handles from GetProcessHandleCount and GDI
// objects from GetGuiResources.
#include <windows.h>
#include <psapi.h>

#include "probes.h"

std::string systemObjectsName() {
    return "GDI objects";
}

ResourceProbe probeResources() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    const long resident = GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)
                              ? static_cast<long>(memory.WorkingSetSize / 1024)
                              : -1;
    DWORD handles = 0;
    const long openHandles =
        GetProcessHandleCount(GetCurrentProcess(), &handles) ? static_cast<long>(handles) : -1;
    // NOTE: Wine answers 0 here (GetGuiResources is a stub there); Windows counts for real.
    const long gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    return ResourceProbe{resident, openHandles, gdiObjects};
}
