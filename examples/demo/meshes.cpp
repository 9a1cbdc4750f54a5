#include "meshes.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

struct Vec {
    double x, y, z;
};

Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(double s, Vec a) {
    return {s * a.x, s * a.y, s * a.z};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec normalised(Vec a) {
    return (1.0 / std::sqrt(dot(a, a))) * a;
}

Vertex vertex(Vec position, Vec normal, Vec colour) {
    return {{float(position.x), float(position.y), float(position.z)},
            {float(normal.x), float(normal.y), float(normal.z)},
            {float(colour.x), float(colour.y), float(colour.z)}};
}

// A smooth cycle of hues for t from 0 to 1.
Vec hue(double t) {
    const double a = 2 * kPi * t;
    return {0.5 + 0.5 * std::cos(a), 0.5 + 0.5 * std::cos(a - 2 * kPi / 3),
            0.5 + 0.5 * std::cos(a + 2 * kPi / 3)};
}

Vec torusCentre(double t) {
    const double a = 2 * kPi * t;
    return {0.7 * std::cos(a), 0.7 * std::sin(a), 0};
}

// The trefoil: the (2, 3) torus knot.
Vec knotCentre(double t) {
    const double a = 2 * kPi * t;
    const double r = 2 + std::cos(3 * a);
    return 0.3 * Vec{r * std::cos(2 * a), r * std::sin(2 * a), std::sin(3 * a)};
}

// A tube of the given radius around a closed curve whose curvature never vanishes, so the
// Frenet frame (taken by finite differences) turns smoothly all the way round.
std::vector<Vertex> tube(Vec (*centre)(double), double radius, int rings, int segments) {
    const double h = 1e-4;
    std::vector<Vec> points, normals, colours;
    for (int i = 0; i <= rings; ++i) {
        const double t = double(i) / rings;
        const Vec c = centre(t);
        const Vec tangent = normalised(centre(t + h) - centre(t - h));
        const Vec bend = centre(t + h) - 2.0 * c + centre(t - h);
        const Vec n = normalised(bend - dot(bend, tangent) * tangent);
        const Vec b = cross(tangent, n);
        for (int j = 0; j <= segments; ++j) {
            const double a = 2 * kPi * j / segments;
            const Vec out = std::cos(a) * n + std::sin(a) * b;
            points.push_back(c + radius * out);
            normals.push_back(out);
            colours.push_back(hue(t));
        }
    }
    std::vector<Vertex> triangles;
    const auto corner = [&](int i, int j) {
        const int k = i * (segments + 1) + j;
        triangles.push_back(vertex(points[k], normals[k], colours[k]));
    };
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            for (int k : {0, 1, 3, 0, 3, 2}) // counter-clockwise seen from outside
                corner(i + k / 2, j + k % 2);
        }
    return triangles;
}

std::vector<Vertex> cube() {
    struct Face {
        Vec normal, u, v, colour; // u x v = normal
    };
    const Face faces[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.9, 0.3, 0.2}},
        {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0.2, 0.7, 0.3}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}, {0.2, 0.4, 0.9}},
        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, {0.9, 0.8, 0.2}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0.8, 0.3, 0.8}},
        {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {0.9, 0.9, 0.9}},
    };
    const double corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    std::vector<Vertex> triangles;
    for (const Face& face : faces)
        for (const auto& c : corners) {
            const Vec p = 0.6 * (face.normal + c[0] * face.u + c[1] * face.v);
            triangles.push_back(vertex(p, face.normal, face.colour));
        }
    return triangles;
}

} // namespace

Model nextModel(Model model) {
    switch (model) {
    case Model::torus:
        return Model::knot;
    case Model::knot:
        return Model::cube;
    default:
        return Model::torus;
    }
}

const char* modelName(Model model) {
    switch (model) {
    case Model::torus:
        return "torus";
    case Model::knot:
        return "trefoil knot";
    default:
        return "cube";
    }
}

std::vector<Vertex> buildModel(Model model) {
    switch (model) {
    case Model::torus:
        return tube(torusCentre, 0.28, 96, 32);
    case Model::knot:
        return tube(knotCentre, 0.12, 256, 20);
    default:
        return cube();
    }
}
