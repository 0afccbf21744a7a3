// The sky sphere's geometry, vertex for vertex as gluSphere gives it with
// smooth outward normals and texture coordinates, so that a part of it can be
// drawn from an array with the same picture as the whole quadric.
#pragma once

#include <vector>

#include "gl.h"

// One sphere vertex, in the sphere's own axes (+z is stack 0).
struct SkyVertex {
  GLfloat s, t;
  GLfloat nx, ny, nz;
  GLfloat x, y, z;
};

// The sphere as `stacks` quad strips from +z to -z, each of 2 * (slices + 1)
// vertices in GLU's order (the upper ring's vertex, then the lower one's, for
// each slice and once more for the first). slices < 2 or stacks < 1: empty.
std::vector<SkyVertex> SphereQuadStrips(double radius, int slices, int stacks);
