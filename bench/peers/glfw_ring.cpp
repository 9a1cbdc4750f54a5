// The ring's frame in a GLFW window with GLFW's default framebuffer hints, swap interval 0.
#include <GLFW/glfw3.h>

#include "peer_loop.h"

int main(int argc, char** argv) {
    const double seconds = peerSeconds(argc, argv);
    if (!glfwInit())
        return 1;
    GLFWwindow* window = glfwCreateWindow(640, 480, "GLFW ring", nullptr, nullptr);
    if (!window)
        return 1;
    glfwMakeContextCurrent(window);
    glfwSwapInterval(0);
    glfwPollEvents();
    runPeerLoop(seconds, 640, 480, [window] { glfwSwapBuffers(window); });
    glfwTerminate();
    return 0;
}
