// Two engine nacelles on short pylons under the wings.
#include <cmath>

#include "airliner_parts.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kNacelleSegments = 16;
constexpr double kEngineX = 5.9;       // about a third of the half-span
constexpr double kRadius = 1.1;
constexpr double kPylonHalfWidth = 0.16;

struct ProfilePoint {
  double dz;  // behind the intake lip (negative)
  double r;
};

// The ring of a surface of revolution about the nacelle's axis.
std::vector<Vec3> Ring(Vec3 lip_centre, ProfilePoint p) {
  std::vector<Vec3> ring;
  for (int j = 0; j < kNacelleSegments; ++j) {
    double a = 2 * kPi * j / kNacelleSegments;
    ring.push_back(lip_centre + Vec3{p.r * std::sin(a), p.r * std::cos(a), p.dz});
  }
  return ring;
}

// Surface of revolution through the profile points, facing away from the ring
// of radius inner_r (the inside of the wall) placed behind each point by lag.
void AddRevolution(MeshBuilder& builder, Vec3 lip_centre, const std::vector<ProfilePoint>& profile,
                   const GroupChooser& paint, double inner_r = 0, double lag = 0) {
  Grid grid;
  for (ProfilePoint p : profile) grid.push_back(Ring(lip_centre, p));
  auto inside = [lip_centre, inner_r, lag](Vec3 p) {
    Vec3 radial = Normalized(Vec3{p.x - lip_centre.x, p.y - lip_centre.y, 0});
    return Vec3{lip_centre.x, lip_centre.y, p.z - lag} + radial * inner_r;
  };
  builder.AddGrid(grid, true, true, paint, inside);
}

// A flat ring (or disc, when inner is 0) across the axis, facing along facing.
void AddAnnulus(MeshBuilder& builder, int group, Vec3 lip_centre, double dz, double inner, double outer,
                Vec3 facing) {
  if (inner <= 0) {
    builder.AddFlatPolygon(group, Ring(lip_centre, {dz, outer}), facing);
    return;
  }
  std::vector<Vec3> a = Ring(lip_centre, {dz, inner}), b = Ring(lip_centre, {dz, outer});
  for (int j = 0; j < kNacelleSegments; ++j) {
    int n = (j + 1) % kNacelleSegments;
    builder.AddFlatPolygon(group, {a[j], b[j], b[n], a[n]}, facing);
  }
}

}  // namespace

void AddEngines(MeshBuilder& builder, const AirlinerGroups& groups) {
  WingSection wing = WingSectionAt(kEngineX);
  const double lower_skin = wing.leading_edge.y - 0.02;
  const Vec3 lip{kEngineX, lower_skin - 0.5 - kRadius, wing.leading_edge.z + 2.3};

  for (int side = 0; side < 2; ++side) {
    builder.SetMirror(side == 1);
    // Intake duct, lip and outer cowling in one smooth sweep, ending at the
    // sharp edge of the fan exhaust.
    const std::vector<ProfilePoint> cowl = {{-0.6, 0.80}, {-0.2, 0.84}, {-0.02, 0.9},  {-0.03, 0.99},
                                            {-0.25, 1.07}, {-1.1, 1.12}, {-2.5, 1.07}, {-3.4, 0.95},
                                            {-4.1, 0.8}};
    auto cowl_paint = [&](int row, int) { return row < 2 ? groups.intakes : groups.nacelles; };
    AddRevolution(builder, lip, cowl, cowl_paint, 0.96, 0.3);
    AddAnnulus(builder, groups.intakes, lip, -0.6, 0.0, 0.8, {0, 0, 1});   // fan face
    AddRevolution(builder, lip, {{-0.6, 0.26}, {-0.45, 0.2}, {-0.3, 0.0}},  // spinner
                  [&](int, int) { return groups.nacelles; });
    AddAnnulus(builder, groups.exhaust, lip, -4.1, 0.56, 0.8, {0, 0, -1});
    // Core nozzle and its plug.
    AddRevolution(builder, lip, {{-3.9, 0.56}, {-4.7, 0.49}}, [&](int, int) { return groups.nacelles; });
    AddAnnulus(builder, groups.exhaust, lip, -4.7, 0.36, 0.49, {0, 0, -1});
    AddRevolution(builder, lip, {{-4.7, 0.36}, {-5.15, 0.24}, {-5.45, 0.0}},
                  [&](int, int) { return groups.nacelles; });

    // Pylon: a thin slab from the top of the cowling up into the wing.
    const double bottom = lip.y + kRadius - 0.1, top = wing.leading_edge.y + 0.02;
    const double front = lip.z - 1.0, rear = lip.z - 4.3;
    const double wing_front = wing.leading_edge.z - 0.25, wing_rear = wing.leading_edge.z - wing.chord * 0.82;
    std::vector<Vec3> outline = {{0, bottom, front}, {0, bottom, rear}, {0, top, wing_rear}, {0, top, wing_front}};
    std::vector<Vec3> left, right;
    for (Vec3 p : outline) {
      left.push_back(p + Vec3{kEngineX - kPylonHalfWidth, 0, 0});
      right.push_back(p + Vec3{kEngineX + kPylonHalfWidth, 0, 0});
    }
    builder.AddFlatPolygon(groups.pylons, left, {-1, 0, 0});
    builder.AddFlatPolygon(groups.pylons, right, {1, 0, 0});
    for (int k = 0; k < 4; ++k) {
      int n = (k + 1) % 4;
      Vec3 edge_mid = (outline[k] + outline[n]) * 0.5;
      Vec3 centre = (outline[0] + outline[1] + outline[2] + outline[3]) * 0.25;
      builder.AddFlatPolygon(groups.pylons, {left[k], left[n], right[n], right[k]}, edge_mid - centre);
    }
  }
  builder.SetMirror(false);
}
