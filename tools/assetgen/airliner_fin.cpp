// The fin: a swept aerofoil with a dorsal fillet, carrying a gold disc in a
// white ring. The emblem is part of the skin itself rather than a decal laid
// over it, so the far side's emblem can never show through the thin fin with
// a coarse depth buffer: above the fillet, each side is meshed in rings
// around the emblem's centre, out to the fin's outline.
#include <algorithm>
#include <cmath>

#include "airliner_parts.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kThickness = 0.10;

struct FinStation {
  double y, le_z, chord;
};
const FinStation kRoot{1.2, -6.6, 8.1};     // inside the fuselage
const FinStation kFillet{2.45, -9.3, 5.45}; // top of the dorsal fillet
const FinStation kTip{8.0, -13.2, 2.1};

struct FinCoord {
  double xi;  // chord fraction, 0 at the leading edge
  double y;
};

// Leading edge and chord at height y, linear between the stations.
FinStation SectionAt(double y) {
  const FinStation& a = y < kFillet.y ? kRoot : kFillet;
  const FinStation& b = y < kFillet.y ? kFillet : kTip;
  double t = (y - a.y) / (b.y - a.y);
  return {y, a.le_z + (b.le_z - a.le_z) * t, a.chord + (b.chord - a.chord) * t};
}

// Point of the fin's right side.
Vec3 FinPoint(FinCoord c) {
  FinStation s = SectionAt(c.y);
  return {AerofoilHalfThickness(c.xi, kThickness) * s.chord, c.y, s.le_z - c.xi * s.chord};
}

// Outward normal of the right side; at the leading edge it points straight ahead
// of the edge, so both sides meet there without a crease.
Vec3 FinNormal(FinCoord c) {
  const double h = 1e-6;
  double xi = std::clamp(c.xi, 1e-9, 1.0 - h);
  Vec3 along_chord = FinPoint({xi + h, c.y}) - FinPoint({xi, c.y});
  Vec3 up = FinPoint({xi, c.y + h}) - FinPoint({xi, c.y - h});
  return Normalized(Cross(along_chord, up));
}

// Fin coordinates of the side-view point (y, z) above the fillet.
FinCoord ToFin(double y, double z) {
  FinStation s = SectionAt(y);
  double xi = std::clamp((s.le_z - z) / s.chord, 0.0, 1.0);
  if (xi < 1e-9) xi = 0;
  if (xi > 1 - 1e-9) xi = 1;
  return {xi, y};
}

// Where the ray from (y0, z0) along (dy, dz) leaves the side view of the panel
// above the fillet (a convex quadrilateral).
FinCoord OutlineHit(double y0, double z0, double dy, double dz) {
  const FinStation lo = kFillet, hi = kTip;
  const double corners[4][2] = {{lo.y, lo.le_z}, {hi.y, hi.le_z}, {hi.y, hi.le_z - hi.chord},
                                {lo.y, lo.le_z - lo.chord}};
  double nearest = 1e9;
  for (int k = 0; k < 4; ++k) {
    const double* p = corners[k];
    const double* q = corners[(k + 1) % 4];
    double ey = q[0] - p[0], ez = q[1] - p[1];
    double denom = dy * ez - dz * ey;
    if (std::fabs(denom) < 1e-12) continue;
    double t = ((p[0] - y0) * ez - (p[1] - z0) * ey) / denom;     // along the ray
    double u = ((p[0] - y0) * dz - (p[1] - z0) * dy) / denom;     // along the edge
    if (t > 0 && u >= -1e-9 && u <= 1 + 1e-9) nearest = std::min(nearest, t);
  }
  double y = y0 + dy * nearest;
  if (std::fabs(y - lo.y) < 1e-9) y = lo.y;
  if (std::fabs(y - hi.y) < 1e-9) y = hi.y;
  return ToFin(y, z0 + dz * nearest);
}

// Directions (angles in the side view, from +y towards +z) of the rays from the
// emblem's centre: evenly spaced, plus ones aimed at the outline's corners and
// at points of the bottom and top edges where the aerofoil needs detail.
std::vector<double> RayAngles(double centre_y, double centre_z) {
  struct Ray {
    double angle;
    bool aimed;
  };
  std::vector<Ray> candidates;
  for (int k = 0; k < 16; ++k) candidates.push_back({2 * kPi * k / 16, false});
  std::vector<FinCoord> targets = {{0, kFillet.y}, {1, kFillet.y}, {0, kTip.y}, {1, kTip.y}};
  for (double xi : {0.03, 0.1, 0.22, 0.4, 0.65}) targets.push_back({xi, kFillet.y});
  for (double xi : {0.03, 0.1, 0.25, 0.55}) targets.push_back({xi, kTip.y});
  for (FinCoord t : targets) {
    Vec3 p = FinPoint(t);
    double a = std::atan2(p.z - centre_z, p.y - centre_y);
    candidates.push_back({a < 0 ? a + 2 * kPi : a, true});
  }
  std::sort(candidates.begin(), candidates.end(), [](Ray a, Ray b) { return a.angle < b.angle; });
  std::vector<double> angles;
  for (const Ray& ray : candidates) {
    bool crowded = false;  // an evenly spaced ray too close to an aimed one gives way to it
    for (const Ray& other : candidates)
      crowded = crowded || (other.aimed && &other != &ray && std::fabs(other.angle - ray.angle) < 0.03);
    if (ray.aimed || !crowded) angles.push_back(ray.angle);
  }
  return angles;
}

// The right side above the fillet, meshed in rings around the emblem.
struct EmblemMesh {
  Grid points, normals;  // rings: centre, disc edge, ring edge, most of the way out, outline
  std::vector<FinCoord> bottom_edge, top_edge;  // outline points on the fillet and the tip
};

// Rings from the emblem's centre out to the outline; the step before the
// outline lies close to it, where the leading edge curves.
EmblemMesh MeshAroundEmblem(double centre_y, double centre_z, double disc_radius, double ring_radius) {
  std::vector<double> angles = RayAngles(centre_y, centre_z);
  const int ring_count = 5;
  EmblemMesh mesh;
  mesh.points.assign(ring_count, std::vector<Vec3>(angles.size()));
  mesh.normals = mesh.points;
  for (size_t k = 0; k < angles.size(); ++k) {
    double dy = std::cos(angles[k]), dz = std::sin(angles[k]);
    FinCoord outline = OutlineHit(centre_y, centre_z, dy, dz);
    Vec3 out = FinPoint(outline);
    double outline_radius = std::hypot(out.y - centre_y, out.z - centre_z);
    const double radii[ring_count - 1] = {0, disc_radius, ring_radius,
                                          ring_radius + (outline_radius - ring_radius) * 0.8};
    for (int m = 0; m < ring_count; ++m) {
      FinCoord c = m == ring_count - 1 ? outline : ToFin(centre_y + dy * radii[m], centre_z + dz * radii[m]);
      mesh.points[m][k] = FinPoint(c);
      mesh.normals[m][k] = FinNormal(c);
    }
    if (outline.y == kFillet.y) mesh.bottom_edge.push_back(outline);
    if (outline.y == kTip.y) mesh.top_edge.push_back(outline);
  }
  auto by_chord = [](FinCoord a, FinCoord b) { return a.xi < b.xi; };
  std::sort(mesh.bottom_edge.begin(), mesh.bottom_edge.end(), by_chord);
  std::sort(mesh.top_edge.begin(), mesh.top_edge.end(), by_chord);
  return mesh;
}

// The dorsal fillet's right side, from the root up to the given edge points.
void FilletGrid(const std::vector<FinCoord>& top_edge, Grid& points, Grid& normals) {
  points.assign(2, {});
  normals.assign(2, {});
  for (FinCoord c : top_edge)
    for (int r = 0; r < 2; ++r) {
      FinCoord at{c.xi, r == 0 ? kRoot.y : kFillet.y};
      points[r].push_back(FinPoint(at));
      normals[r].push_back(FinNormal(at));
    }
}

}  // namespace

void AddFin(MeshBuilder& builder, const AirlinerGroups& groups) {
  const double centre_y = 5.2;
  const double centre_z = SectionAt(centre_y).le_z - 0.47 * SectionAt(centre_y).chord;
  EmblemMesh panel = MeshAroundEmblem(centre_y, centre_z, 1.0, 1.17);
  Grid fillet, fillet_normals;
  FilletGrid(panel.bottom_edge, fillet, fillet_normals);
  auto paint = [&](int row, int) { return row == 0 ? groups.emblem : row == 1 ? groups.emblem_ring : groups.fin; };
  for (int side = 0; side < 2; ++side) {
    builder.SetMirror(side == 1);
    builder.AddGridWithNormals(panel.points, panel.normals, true, paint);
    builder.AddGridWithNormals(fillet, fillet_normals, false, [&](int, int) { return groups.fin; });
  }
  builder.SetMirror(false);

  // The tip: a flat cap through the top edge of both sides (each edge runs
  // from the leading to the trailing edge, where the sides meet).
  std::vector<Vec3> cap;
  for (FinCoord c : panel.top_edge) cap.push_back(FinPoint(c));
  for (size_t k = panel.top_edge.size() - 1; k-- > 1;) {
    Vec3 p = FinPoint(panel.top_edge[k]);
    cap.push_back({-p.x, p.y, p.z});
  }
  builder.AddFlatPolygon(groups.fin, cap, {0, 1, 0});
}
