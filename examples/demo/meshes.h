// The demo's models: lists of triangles with normals and colours, ready for one draw call.
#pragma once

#include <vector>

// Interleaved so that one buffer object holds everything and the arrays point into it at fixed
// offsets.
struct Vertex {
    float position[3];
    float normal[3];
    float colour[3];
};

enum class Model { torus, knot, cube };

// The model after the given one, wrapping around.
Model nextModel(Model model);
const char* modelName(Model model);
// Triangles (three vertices each) around the origin, within a radius of about 1.
std::vector<Vertex> buildModel(Model model);
