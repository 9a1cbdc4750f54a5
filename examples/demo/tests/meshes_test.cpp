#include <gtest/gtest.h>

#include <cmath>

#include "meshes.h"

namespace {

const Model kModels[] = {Model::torus, Model::knot, Model::cube};

float length(const float* v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

// Lighting needs unit normals (the scene does not renormalise) that agree with the winding:
// counter-clockwise seen from the side the normals point to.
TEST(DemoMeshes, EveryModelIsTrianglesWoundOutwardWithUnitNormalsInView) {
    for (Model model : kModels) {
        const std::vector<Vertex> vertices = buildModel(model);
        ASSERT_FALSE(vertices.empty()) << modelName(model);
        ASSERT_EQ(vertices.size() % 3, 0u) << modelName(model);
        int misfacing = 0;
        for (size_t i = 0; i < vertices.size(); i += 3) {
            const float* a = vertices[i].position;
            const float* b = vertices[i + 1].position;
            const float* c = vertices[i + 2].position;
            const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const float face[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                   u[0] * v[1] - u[1] * v[0]};
            const float* n = vertices[i].normal;
            misfacing += face[0] * n[0] + face[1] * n[1] + face[2] * n[2] <= 0;
        }
        EXPECT_EQ(misfacing, 0) << modelName(model);
        for (const Vertex& vertex : vertices) {
            ASSERT_NEAR(length(vertex.normal), 1.0f, 1e-4f) << modelName(model);
            ASSERT_LE(length(vertex.position), 1.2f) << modelName(model);
            for (float channel : vertex.colour)
                ASSERT_TRUE(channel >= 0 && channel <= 1) << modelName(model);
        }
    }
}

TEST(DemoMeshes, SwitchingVisitsEveryModelAndComesBack) {
    Model model = Model::torus;
    for (Model expected : {Model::knot, Model::cube, Model::torus}) {
        model = nextModel(model);
        EXPECT_EQ(model, expected);
    }
}

} // namespace
