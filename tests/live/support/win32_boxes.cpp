// A message box blocks the thread that shows it, so a watcher thread finds each box of this
// process, reads its caption and text, and presses OK.
#include <windows.h>

#include <atomic>
#include <iterator>
#include <mutex>
#include <set>
#include <thread>

#include "BoxWatcher.h"

struct BoxWatcher::System {
    std::thread thread;
    std::atomic<bool> running{true};
    std::mutex mutex;
    std::vector<std::string> seen;
    std::set<HWND> answered;
};

namespace {

const int kMessageTextId = 0xFFFF; // the static control that holds a message box's text

BOOL CALLBACK collectBox(HWND window, LPARAM boxes) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && std::string(className) == "#32770" &&
        IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

std::string textOf(HWND box) {
    char caption[256] = {};
    char text[1024] = {};
    GetWindowTextA(box, caption, sizeof caption);
    GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
    return std::string(caption) + ": " + text;
}

// A closed box's handle may come back for the next box.
void forgetClosed(std::set<HWND>& answered) {
    for (auto box = answered.begin(); box != answered.end();)
        box = IsWindow(*box) ? std::next(box) : answered.erase(box);
}

} // namespace

BoxWatcher::BoxWatcher() : system(new System) {
    System* watching = system.get();
    system->thread = std::thread([watching] {
        while (watching->running) {
            std::vector<HWND> boxes;
            EnumWindows(collectBox, reinterpret_cast<LPARAM>(&boxes));
            forgetClosed(watching->answered);
            for (HWND box : boxes) {
                std::lock_guard<std::mutex> lock(watching->mutex);
                if (!watching->answered.insert(box).second)
                    continue;
                watching->seen.push_back(textOf(box));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
    });
}

BoxWatcher::~BoxWatcher() {
    stop();
}

std::vector<std::string> BoxWatcher::stop() {
    if (system->thread.joinable()) {
        system->running = false;
        system->thread.join();
    }
    std::lock_guard<std::mutex> lock(system->mutex);
    return system->seen;
}
