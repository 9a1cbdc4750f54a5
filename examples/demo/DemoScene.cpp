#include "DemoScene.h"

#include <cmath>
#include <cstddef>
#include <cstdio>

#include "znGL.h"

namespace {

// ARB_vertex_buffer_object's names, which OpenGL 1.1 headers lack.
const unsigned int kArrayBuffer = 0x8892; // GL_ARRAY_BUFFER_ARB
const unsigned int kStaticDraw = 0x88E4;  // GL_STATIC_DRAW_ARB

const float kDegreesPerSecond = 50.0f;
const double kHalfView = 0.42; // half the shorter side of the near plane, at distance 1

// With a buffer object bound, array pointers are offsets into it.
const GLvoid* bufferOffset(size_t bytes) {
    return reinterpret_cast<const GLvoid*>(bytes);
}

} // namespace

DemoScene::DemoScene(int width, int height) : width(width), height(height) {}

void DemoScene::resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
}

void DemoScene::switchModel() {
    model = nextModel(model);
}

void DemoScene::setTargetRate(unsigned int fps) {
    targetRate = fps;
}

void DemoScene::prepareEnvironment() {
    // One white light and shiny material whose colour follows the vertices'.
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1};
    const GLfloat white[] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glEnable(GL_LIGHT0);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 40);
    glShadeModel(GL_SMOOTH);
    useBuffer =
        znGL::hasGLContext() && znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject);
}

void DemoScene::initEnvironment() {
    captionFont.createFont("Arial", 16, 700, false, false);
    if (useBuffer)
        znGL::glGenBuffersARB(1, &buffer);
    // Without a buffer the array pointers below would be taken as addresses.
    useBuffer = buffer != 0;
}

void DemoScene::syncEnvironment() {
    vertices = buildModel(model);
    vertexCount = static_cast<GLsizei>(vertices.size());
    if (!useBuffer)
        return;
    znGL::glBindBufferARB(kArrayBuffer, buffer);
    znGL::glBufferDataARB(kArrayBuffer, static_cast<int>(vertices.size() * sizeof(Vertex)),
                          vertices.data(), kStaticDraw);
    znGL::glBindBufferARB(kArrayBuffer, 0);
    vertices = std::vector<Vertex>(); // the buffer holds them now
}

void DemoScene::animateEnvironment(float elapsedSeconds) {
    // Wrapped where both rotations (angle and 0.6 angle) complete whole turns.
    angle = std::fmod(angle + kDegreesPerSecond * elapsedSeconds, 360.0f * 5);
}

void DemoScene::renderEnvironment() {
    setUpCamera();
    drawModel();
    drawCaption();
    ++frames;
}

void DemoScene::destroyEnvironment() {
    captionFont.clearFont();
    // The buffer goes with the rendering context: the extension table has no glDeleteBuffersARB.
}

void DemoScene::setUpCamera() {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = double(width) / height;
    const double x = aspect >= 1 ? kHalfView * aspect : kHalfView;
    const double y = aspect >= 1 ? kHalfView : kHalfView / aspect;
    glFrustum(-x, x, -y, y, 1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Set under the identity, so the light stays above and left of the viewer.
    const GLfloat lightDirection[] = {-1, 1, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, lightDirection);
    glTranslatef(0, 0, -3.2f);
    glRotatef(angle, 0.2f, 1, 0.1f);
    glRotatef(angle * 0.6f, 1, 0, 0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void DemoScene::drawModel() {
    if (!useBuffer) {
        glBegin(GL_TRIANGLES);
        for (const Vertex& v : vertices) {
            glColor3fv(v.colour);
            glNormal3fv(v.normal);
            glVertex3fv(v.position);
        }
        glEnd();
        return;
    }
    znGL::glBindBufferARB(kArrayBuffer, buffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), bufferOffset(offsetof(Vertex, position)));
    glNormalPointer(GL_FLOAT, sizeof(Vertex), bufferOffset(offsetof(Vertex, normal)));
    glColorPointer(3, GL_FLOAT, sizeof(Vertex), bufferOffset(offsetof(Vertex, colour)));
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    znGL::glBindBufferARB(kArrayBuffer, 0);
}

void DemoScene::drawCaption() {
    // In window pixels, unlit so the glyphs take the caption's colour, and over the model.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    char line[128];
    std::snprintf(line, sizeof line, "%s, drawn from %s", modelName(model),
                  useBuffer ? "a vertex buffer object" : "immediate mode");
    captionFont.printString(line, 10, 30, 0, 1.0f, 0.85f, 0.4f, true);
    char rate[16] = "unpaced";
    if (targetRate)
        std::snprintf(rate, sizeof rate, "%u fps", targetRate);
    std::snprintf(line, sizeof line, "M model   F overlay   +/- rate (%s)   Esc quit", rate);
    captionFont.printString(line, 10, 10, 0, 0.85f, 0.85f, 0.85f, true);
}
