// A Linux host whose window comes from SDL2: SDL owns the window and its events, and hands over
// the window and connection it made (SDL_GetWindowWMInfo), on which the library draws: an X11
// window, or with SDL_VIDEODRIVER=wayland a Wayland surface.
//   sdl2_host [FRAMES]
#include <cstdint>
#include <cstdio>
#include <string>

#include <SDL.h>
#include <SDL_syswm.h>

#include "TriangleScene.h"

// Gives the library the connection SDL made, and returns the handle of SDL's window on it; null,
// with a message, for a window system the library does not draw on.
HWND handOverWindow(SDL_Window* window) {
    SDL_SysWMinfo system;
    SDL_VERSION(&system.version);
    if (!SDL_GetWindowWMInfo(window, &system)) {
        std::fprintf(stderr, "sdl2_host: no window information: %s\n", SDL_GetError());
        return nullptr;
    }
    switch (system.subsystem) {
    case SDL_SYSWM_X11:
        // One connection for both, so the window SDL made is known to the library at once.
        znSetX11Display(system.info.x11.display);
        return reinterpret_cast<HWND>(uintptr_t(system.info.x11.window));
    case SDL_SYSWM_WAYLAND:
        znSetWaylandDisplay(system.info.wl.display);
        return reinterpret_cast<HWND>(system.info.wl.surface);
    default:
        std::fprintf(stderr, "sdl2_host: neither an X11 nor a Wayland window\n");
        return nullptr;
    }
}

int main(int argc, char** argv) {
    int frameLimit = 0;
    if (!readFrameLimit(argc, argv, frameLimit))
        return 2;
    // X11 unless SDL_VIDEODRIVER says otherwise: the environment overrides a hint of normal
    // priority.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "sdl2_host: %s\n", SDL_GetError());
        return 1;
    }
    TriangleScene scene;
    scene.width = 320;
    scene.height = 240;
    SDL_Window* window =
        SDL_CreateWindow("znVelmora SDL2 host", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         scene.width, scene.height, SDL_WINDOW_RESIZABLE);
    if (!window)
        std::fprintf(stderr, "sdl2_host: no window: %s\n", SDL_GetError());
    const HWND handle = window ? handOverWindow(window) : nullptr;
    if (!handle) {
        SDL_Quit();
        return 1;
    }
    // The compositor may have chosen another size than the one asked for.
    SDL_GetWindowSize(window, &scene.width, &scene.height);

    znVelmora manager(handle, &scene);
    manager.setWindowSize(0, 0, scene.width, scene.height);
    if (!manager.initializeOpenGL()) { // the failure was reported; there is nothing to tear down
        SDL_Quit();
        return 1;
    }
    const std::string renderer = manager.getGLRenderer();
    bool open = true;
    while (open && (frameLimit == 0 || scene.frames < frameLimit)) {
        manager.enterRenderLoop();
        manager.renderFunc();
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT)
                open = false;
            if (event.type == SDL_WINDOWEVENT &&
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                scene.width = event.window.data1;
                scene.height = event.window.data2;
                manager.setWindowSize(0, 0, scene.width, scene.height);
            }
        }
    }
    manager.destroyOpenGL(); // while SDL's connection, which the library uses, is still open
    SDL_DestroyWindow(window);
    SDL_Quit();
    std::printf("sdl2_host: %d frames with %s\n", scene.frames, renderer.c_str());
    return 0;
}
