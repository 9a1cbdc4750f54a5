// A Linux host whose window comes from SDL2: SDL owns the window and its events, and hands over
// the X11 window and connection it made (SDL_GetWindowWMInfo), on which the library draws.
//   sdl2_host [FRAMES]
#include <cstdint>
#include <cstdio>
#include <string>

#include <SDL.h>
#include <SDL_syswm.h>

#include "TriangleScene.h"

int main(int argc, char** argv) {
    int frameLimit = 0;
    if (!readFrameLimit(argc, argv, frameLimit))
        return 2;
    // The library draws on X11 windows, so SDL must make one, under Wayland too.
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
    SDL_SysWMinfo system;
    SDL_VERSION(&system.version);
    if (!window || !SDL_GetWindowWMInfo(window, &system) || system.subsystem != SDL_SYSWM_X11) {
        std::fprintf(stderr, "sdl2_host: no X11 window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    // One connection for both, so the window SDL made is known to the library at once.
    znSetX11Display(system.info.x11.display);

    znVelmora manager(reinterpret_cast<HWND>(uintptr_t(system.info.x11.window)), &scene);
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
