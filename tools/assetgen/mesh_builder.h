// Collects the model's surfaces (grids and flat polygons) with their normals
// and turns them into a MilkShape mesh.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ms3d_writer.h"
#include "vec3.h"

using Grid = std::vector<std::vector<Vec3>>;               // rows[i][j]
using GroupChooser = std::function<int(int row, int col)>;  // group of quad (row, col)
using InsidePoint = std::function<Vec3(Vec3 surface_point)>;

class MeshBuilder {
 public:
  // Positions are multiplied by scale when they are stored.
  explicit MeshBuilder(double scale) : scale_(scale) {}

  int AddMaterial(const Ms3dMaterial& material);
  int AddGroup(const std::string& name, int material);

  // While on, everything added is mirrored in x (the left half of the aircraft);
  // the arguments are still given for the right half.
  void SetMirror(bool on) { mirror_ = on; }

  // Quads between neighbouring grid points (columns wrap around when asked).
  // The faces are turned so that they face away from inside(point); smooth
  // grids get averaged corner normals, flat grids one normal per quad.
  void AddGrid(const Grid& grid, bool wrap_columns, bool smooth, const GroupChooser& group_of,
               const InsidePoint& inside);
  void AddGrid(const Grid& grid, bool wrap_columns, bool smooth, int group, const InsidePoint& inside);
  // The same with the corner normals given (normals[i][j] for grid[i][j]); the
  // faces are turned to agree with them.
  void AddGridWithNormals(const Grid& grid, const Grid& normals, bool wrap_columns, const GroupChooser& group_of);
  // A planar polygon (convex, or star-shaped about its centroid) with one
  // normal, facing along outward.
  void AddFlatPolygon(int group, std::vector<Vec3> points, Vec3 outward);

  const Ms3dMesh& Mesh() const { return mesh_; }

 private:
  int VertexIndex(Vec3 point);
  void AddTriangle(int group, const Vec3 (&corners)[3], const Vec3 (&normals)[3]);
  // Emits the quads of a grid, both triangles of each, reversed when sign < 0;
  // flat_normals (one per quad) replace the corner normals when given.
  void EmitGrid(const Grid& grid, const Grid& normals, bool wrap_columns, double sign, const GroupChooser& group_of,
                const Grid* flat_normals);

  double scale_;
  bool mirror_ = false;
  Ms3dMesh mesh_;
  std::map<std::array<float, 3>, int> vertex_lookup_;
};
