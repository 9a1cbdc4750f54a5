// The frame every loop of the frame benchmark draws, the library's, the hand loop's and the
// peer programs': a lit ring from client-side vertex arrays.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "meshes.h"

class Ring {
  public:
    Ring() : vertices(buildModel(Model::torus)) {}

    void prepare() const {
        const GLfloat light[] = {1.0f, 1.0f, 1.0f, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_NORMALIZE);
    }

    void draw(float angle, int width, int height) const {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.8, 0.8, -0.6, 0.6, 1.0, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -3.0f);
        glRotatef(angle, 0.3f, 1.0f, 0.0f);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        const GLsizei stride = sizeof(Vertex);
        glVertexPointer(3, GL_FLOAT, stride, vertices[0].position);
        glNormalPointer(GL_FLOAT, stride, vertices[0].normal);
        glColorPointer(3, GL_FLOAT, stride, vertices[0].colour);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

  private:
    std::vector<Vertex> vertices;
};
