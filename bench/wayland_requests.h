// The requests a Wayland client sends its compositor, counted per frame from what libwayland
// writes on standard error under WAYLAND_DEBUG=client: every request as it is sent, after an
// arrow ("-> wl_surface@3.commit()"). A round trip is a wl_display.sync, whose answer the client
// waits for.
#pragma once

#include <string>
#include <vector>

// Marks on standard error where a loop's counted frames begin (its name) and end (null), in the
// run of the program that countRequests starts.
void markFrames(const char* loop);

// Runs `program` (a command line for the shell, to which the number of frames is added) under
// WAYLAND_DEBUG=client and prints, for each of `loops` it marked, its requests and round trips
// per frame and each kind of request per frame.
void countRequests(const std::string& program, int frames, const std::vector<std::string>& loops);
