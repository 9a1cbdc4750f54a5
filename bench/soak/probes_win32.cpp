// Working set from GetProcessMemoryInfo, kernel handles from GetProcessHandleCount and GDI
// objects from GetGuiResources.
#include <windows.h>
#include <psapi.h>

#include "probes.h"

namespace {

bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// NOTE: Wine answers 0 for both the handle count and GetGuiResources. There the descriptors the
// Wine process holds (its X connections among them) stand in for handles, read through the
// drive Wine maps to the Unix root; GDI objects are not known (-1).
long wineDescriptors() {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\self\\fd\\*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    long count = 0;
    do
        count += entry.cFileName[0] != '.';
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return count - 1; // the search's own descriptor
}

} // namespace

std::string systemObjectsName() {
    return "GDI objects";
}

ResourceProbe probeResources() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    const long resident = GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)
                              ? static_cast<long>(memory.WorkingSetSize / 1024)
                              : -1;
    if (underWine())
        return ResourceProbe{resident, wineDescriptors(), -1};
    DWORD handles = 0;
    const long openHandles =
        GetProcessHandleCount(GetCurrentProcess(), &handles) ? static_cast<long>(handles) : -1;
    const long gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    return ResourceProbe{resident, openHandles, gdiObjects};
}
