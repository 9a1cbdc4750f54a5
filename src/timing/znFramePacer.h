// Precise frame pacing on an absolute schedule: at a rate of r frames per second, frame k is
// due at origin + k / r seconds. A frame that comes late starts at once, and the schedule goes
// on from its first deadline after that moment, so a late frame neither shifts the deadlines
// after it nor causes a burst of frames to catch up.
#pragma once

#include "platform/win32api.h"

class znFramePacer {
  public:
    // Asks the system for a 1 ms timer period and opens a waitable timer, a high-resolution one
    // where the system has it.
    znFramePacer();
    // Gives the period back and closes the timer.
    ~znFramePacer();
    znFramePacer(const znFramePacer&) = delete;
    znFramePacer& operator=(const znFramePacer&) = delete;

    // Waits for the next frame's deadline at `rate` frames per second on a counter running at
    // `frequency` counts per second. The first frame is due at once; after a change of rate the
    // schedule goes on from the last deadline. A rate of 0 waits for nothing; without a counter
    // (frequency 0) the wait is one frame interval in whole milliseconds.
    void awaitFrame(unsigned int rate, long long frequency);

  private:
    long long deadline(long long slot) const;
    // Waits on the high-resolution timer until `due`; without one, sleeps in whole
    // milliseconds until shortly before it, then waits out the rest on the timer.
    void waitUntil(long long due);
    void finalWait(long long remaining);

    bool highResolution; // whether the timer is a high-resolution one
    HANDLE timer;
    bool periodAsked;
    bool started;
    unsigned int rate;
    long long frequency;
    long long origin;       // the reading of deadline 0; moved on a second at a time
    long long slot;         // the index of the next frame's deadline
    long long lastDeadline; // the deadline of the last frame
};
