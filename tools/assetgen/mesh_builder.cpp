#include "mesh_builder.h"

#include <algorithm>
#include <utility>

int MeshBuilder::AddMaterial(const Ms3dMaterial& material) {
  mesh_.materials.push_back(material);
  return static_cast<int>(mesh_.materials.size()) - 1;
}

int MeshBuilder::AddGroup(const std::string& name, int material) {
  Ms3dGroup group;
  group.name = name;
  group.material = material;
  mesh_.groups.push_back(group);
  return static_cast<int>(mesh_.groups.size()) - 1;
}

// Index of the stored vertex at this (already mirrored) point, adding it if new.
int MeshBuilder::VertexIndex(Vec3 point) {
  std::array<float, 3> key = {static_cast<float>(point.x * scale_), static_cast<float>(point.y * scale_),
                              static_cast<float>(point.z * scale_)};
  auto found = vertex_lookup_.find(key);
  if (found != vertex_lookup_.end()) return found->second;
  int index = static_cast<int>(mesh_.positions.size() / 3);
  mesh_.positions.insert(mesh_.positions.end(), key.begin(), key.end());
  vertex_lookup_.emplace(key, index);
  return index;
}

void MeshBuilder::AddTriangle(int group, const Vec3 (&corners)[3], const Vec3 (&normals)[3]) {
  Ms3dTriangle triangle;
  const int order[3] = {0, mirror_ ? 2 : 1, mirror_ ? 1 : 2};  // mirroring reverses the winding
  for (int k = 0; k < 3; ++k) {
    Vec3 point = corners[order[k]];
    Vec3 normal = Normalized(normals[order[k]]);
    if (mirror_) {
      point.x = -point.x;
      normal.x = -normal.x;
    }
    triangle.vertex_indices[k] = VertexIndex(point);
    triangle.normals[k][0] = static_cast<float>(normal.x);
    triangle.normals[k][1] = static_cast<float>(normal.y);
    triangle.normals[k][2] = static_cast<float>(normal.z);
  }
  const int* v = triangle.vertex_indices;
  if (v[0] == v[1] || v[1] == v[2] || v[0] == v[2]) return;  // collapsed at a pole
  triangle.group = group;
  mesh_.groups[group].triangles.push_back(static_cast<int>(mesh_.triangles.size()));
  mesh_.triangles.push_back(triangle);
}

void MeshBuilder::AddGrid(const Grid& grid, bool wrap_columns, bool smooth, int group,
                          const InsidePoint& inside) {
  AddGrid(grid, wrap_columns, smooth, [group](int, int) { return group; }, inside);
}

void MeshBuilder::AddGrid(const Grid& grid, bool wrap_columns, bool smooth, const GroupChooser& group_of,
                          const InsidePoint& inside) {
  const int rows = static_cast<int>(grid.size());
  const int cols = static_cast<int>(grid[0].size());
  const int quad_cols = wrap_columns ? cols : cols - 1;
  auto at = [&](int i, int j) { return grid[i][j % cols]; };

  // Area vectors of the quads (a = (i, j), b = (i, j+1), c = (i+1, j+1), d = (i+1, j)).
  std::vector<std::vector<Vec3>> quad_area(rows - 1, std::vector<Vec3>(quad_cols));
  double outwardness = 0;
  for (int i = 0; i + 1 < rows; ++i)
    for (int j = 0; j < quad_cols; ++j) {
      Vec3 a = at(i, j), b = at(i, j + 1), c = at(i + 1, j + 1), d = at(i + 1, j);
      quad_area[i][j] = Cross(c - a, d - b) * 0.5;
      Vec3 centre = (a + b + c + d) * 0.25;
      outwardness += Dot(quad_area[i][j], Normalized(centre - inside(centre)));
    }
  const double sign = outwardness < 0 ? -1.0 : 1.0;

  // Corner normals: the sum of the neighbouring quads' area vectors; a row that
  // has shrunk to one point (a pole) takes the sum over the whole row.
  std::vector<std::vector<Vec3>> vertex_normal(rows, std::vector<Vec3>(cols));
  for (int i = 0; i < rows; ++i) {
    bool pole = true;
    for (int j = 1; j < cols; ++j) pole = pole && Length(grid[i][j] - grid[i][0]) < 1e-9;
    Vec3 row_sum;
    for (int j = 0; j < cols; ++j) {
      Vec3 sum;
      for (int qi = i - 1; qi <= i; ++qi) {
        if (qi < 0 || qi + 1 >= rows) continue;
        for (int qj : {j - 1, j}) {
          int wrapped = wrap_columns ? (qj + quad_cols) % quad_cols : qj;
          if (wrapped < 0 || wrapped >= quad_cols) continue;
          sum = sum + quad_area[qi][wrapped];
        }
      }
      vertex_normal[i][j] = sum * sign;
      row_sum = row_sum + sum * sign;
    }
    if (pole)
      for (int j = 0; j < cols; ++j) vertex_normal[i][j] = row_sum;
  }

  EmitGrid(grid, vertex_normal, wrap_columns, sign, group_of, smooth ? nullptr : &quad_area);
}

void MeshBuilder::AddGridWithNormals(const Grid& grid, const Grid& normals, bool wrap_columns,
                                     const GroupChooser& group_of) {
  const int rows = static_cast<int>(grid.size());
  const int cols = static_cast<int>(grid[0].size());
  double agreement = 0;
  for (int i = 0; i + 1 < rows; ++i)
    for (int j = 0; j < (wrap_columns ? cols : cols - 1); ++j) {
      int jn = (j + 1) % cols;
      Vec3 area = Cross(grid[i + 1][jn] - grid[i][j], grid[i + 1][j] - grid[i][jn]);
      agreement += Dot(area, normals[i][j] + normals[i][jn] + normals[i + 1][jn] + normals[i + 1][j]);
    }
  EmitGrid(grid, normals, wrap_columns, agreement < 0 ? -1.0 : 1.0, group_of, nullptr);
}

void MeshBuilder::EmitGrid(const Grid& grid, const Grid& normals, bool wrap_columns, double sign,
                           const GroupChooser& group_of, const Grid* flat_normals) {
  const int rows = static_cast<int>(grid.size());
  const int cols = static_cast<int>(grid[0].size());
  for (int i = 0; i + 1 < rows; ++i)
    for (int j = 0; j < (wrap_columns ? cols : cols - 1); ++j) {
      int jn = (j + 1) % cols;
      Vec3 a = grid[i][j], b = grid[i][jn], c = grid[i + 1][jn], d = grid[i + 1][j];
      Vec3 na = normals[i][j], nb = normals[i][jn], nc = normals[i + 1][jn], nd = normals[i + 1][j];
      if (flat_normals) na = nb = nc = nd = (*flat_normals)[i][j] * sign;
      int group = group_of(i, j);
      if (sign > 0) {
        AddTriangle(group, {a, b, c}, {na, nb, nc});
        AddTriangle(group, {a, c, d}, {na, nc, nd});
      } else {
        AddTriangle(group, {a, c, b}, {na, nc, nb});
        AddTriangle(group, {a, d, c}, {na, nd, nc});
      }
    }
}

void MeshBuilder::AddFlatPolygon(int group, std::vector<Vec3> points, Vec3 outward) {
  Vec3 normal;  // Newell's method: robust for any simple planar polygon
  for (size_t k = 0; k < points.size(); ++k) {
    const Vec3& p = points[k];
    const Vec3& q = points[(k + 1) % points.size()];
    normal = normal + Vec3{(p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x), (p.x - q.x) * (p.y + q.y)};
  }
  if (Dot(normal, outward) < 0) {
    std::reverse(points.begin(), points.end());
    normal = normal * -1.0;
  }
  if (points.size() <= 4) {  // the quadrilaterals used here are convex
    for (size_t k = 1; k + 1 < points.size(); ++k)
      AddTriangle(group, {points[0], points[k], points[k + 1]}, {normal, normal, normal});
    return;
  }
  // Longer outlines (aerofoil tips) may be slightly concave near the trailing
  // edge, but they are star-shaped about their centroid.
  Vec3 centre;
  for (const Vec3& p : points) centre = centre + p * (1.0 / points.size());
  for (size_t k = 0; k < points.size(); ++k)
    AddTriangle(group, {centre, points[k], points[(k + 1) % points.size()]}, {normal, normal, normal});
}
