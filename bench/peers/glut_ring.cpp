// The ring's frame in a freeglut window (RGBA, double buffer, depth), unpaced.
#include <GL/freeglut.h>

#include "peer_loop.h"

int main(int argc, char** argv) {
    const double seconds = peerSeconds(argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutCreateWindow("freeglut ring");
    glutDisplayFunc([] {}); // freeglut insists on one; the loop below draws
    glutMainLoopEvent(); // maps the window
    runPeerLoop(seconds, 640, 480, [] { glutSwapBuffers(); });
    return 0;
}
