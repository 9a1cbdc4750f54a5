// What the soak program reads of its own process and of the window system.
#pragma once

#include <string>

struct ResourceProbe {
    long residentKiB;   // resident memory of the process
    long openHandles;   // open file descriptors (POSIX) or kernel handles (Windows)
    long systemObjects; // X client resources of every client, or GDI objects; -1: not known
};

// Where systemObjects comes from, for the report.
std::string systemObjectsName();
ResourceProbe probeResources();
