// Resident memory from /proc/self/statm, descriptors from /proc/self/fd, and the X server's
// resource count summed over all its clients (libXRes): the soak runs on a display of its own, so
// that sum is this process's connections, the library's among them.
#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdio>

#include "probes.h"

namespace {

long residentKiB() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

long openDescriptors() {
    DIR* directory = opendir("/proc/self/fd");
    if (!directory)
        return -1;
    long count = 0;
    while (const dirent* entry = readdir(directory))
        count += entry->d_name[0] != '.';
    closedir(directory);
    return count - 1; // the directory's own descriptor
}

long xResources() {
    // One connection for the whole run, so that the probe itself does not churn resources.
    static Display* display = XOpenDisplay(nullptr);
    int eventBase = 0, errorBase = 0;
    if (!display || !XResQueryExtension(display, &eventBase, &errorBase))
        return -1;
    int clientCount = 0;
    XResClient* clients = nullptr;
    if (!XResQueryClients(display, &clientCount, &clients))
        return -1;
    long total = 0;
    for (int i = 0; i < clientCount; ++i) {
        int typeCount = 0;
        XResType* types = nullptr;
        if (!XResQueryClientResources(display, clients[i].resource_base, &typeCount, &types))
            continue;
        for (int t = 0; t < typeCount; ++t)
            total += types[t].count;
        XFree(types);
    }
    XFree(clients);
    return total;
}

} // namespace

std::string systemObjectsName() {
    return "X resources";
}

ResourceProbe probeResources() {
    // First, so that the probe's own connection is open before the descriptors are counted.
    const long resources = xResources();
    return ResourceProbe{residentKiB(), openDescriptors(), resources};
}
