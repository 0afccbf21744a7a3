// The fuselage skin with its cheatline and belly, and the windows and doors
// that sit just proud of it.
#include <algorithm>
#include <cmath>

#include "airliner_parts.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNoseTipZ = 18.8;     // the nose's tip
constexpr double kNoseEndZ = 14.6;     // where the full section begins
constexpr double kTailStartZ = -9.4;   // where the tail cone begins
constexpr double kTailTipZ = -18.8;
constexpr double kTop = 2.07, kBottom = -2.07, kHalfWidth = 1.975;
constexpr double kNoseTipY = -0.45;    // the nose droops a little
constexpr int kRingSegments = 28;      // around the fuselage, starting at the top

struct Section {
  double top, bottom, half_width;
};

// 1 at u = 0 falling to 0 at u = 1, flat at the start; a larger p keeps it full longer.
double Shoulder(double u, double p) { return std::sqrt(std::max(0.0, 1.0 - std::pow(u, p))); }

// Outline of the fuselage's cross-section at station z.
Section SectionAt(double z) {
  if (z > kNoseEndZ) {
    double u = std::min(1.0, (z - kNoseEndZ) / (kNoseTipZ - kNoseEndZ));
    return {kNoseTipY + (kTop - kNoseTipY) * Shoulder(u, 1.6),
            kNoseTipY + (kBottom - kNoseTipY) * Shoulder(u, 2.4), kHalfWidth * Shoulder(u, 2.0)};
  }
  if (z < kTailStartZ) {
    double v = std::min(1.0, (kTailStartZ - z) / (kTailStartZ - kTailTipZ));
    return {kTop - (kTop - 1.25) * std::pow(v, 1.8), kBottom + (0.55 - kBottom) * std::pow(v, 1.5),
            kHalfWidth - (kHalfWidth - 0.28) * std::pow(v, 1.5)};
  }
  return {kTop, kBottom, kHalfWidth};
}

// Point of the skin at station z and angle theta (0 on top, pi/2 on the right).
Vec3 SkinPoint(double z, double theta) {
  Section s = SectionAt(z);
  double centre = (s.top + s.bottom) / 2, half_height = (s.top - s.bottom) / 2;
  return {s.half_width * std::sin(theta), centre + half_height * std::cos(theta), z};
}

// The fuselage axis at the height of station z's centre.
Vec3 AxisPoint(Vec3 p) {
  Section s = SectionAt(p.z);
  return {0, (s.top + s.bottom) / 2, p.z};
}

// Outward unit normal of the skin at (z, theta), by finite differences.
Vec3 SkinNormal(double z, double theta) {
  const double h = 1e-4;
  Vec3 along = SkinPoint(z + h, theta) - SkinPoint(z - h, theta);
  Vec3 around = SkinPoint(z, theta + h) - SkinPoint(z, theta - h);
  Vec3 n = Normalized(Cross(around, along));
  Vec3 p = SkinPoint(z, theta);
  return Dot(n, p - AxisPoint(p)) < 0 ? n * -1.0 : n;
}

// Skin point at (z, theta) lifted along the normal by offset.
Vec3 ProudPoint(double z, double theta, double offset) {
  return SkinPoint(z, theta) + SkinNormal(z, theta) * offset;
}

// Angle (right side) at which the constant section reaches height y.
double ThetaAtHeight(double y) {
  double half_height = (kTop - kBottom) / 2, centre = (kTop + kBottom) / 2;
  return std::acos(std::clamp((y - centre) / half_height, -1.0, 1.0));
}

// Stations from the tail tip to the nose tip, denser where the outline bends.
std::vector<double> Stations() {
  std::vector<double> z;
  for (int i = 0; i <= 8; ++i) {
    double v = 1.0 - std::pow(i / 8.0, 1.15);
    z.push_back(kTailStartZ - (kTailStartZ - kTailTipZ) * v);
  }
  z.push_back(kNoseEndZ);
  for (int i = 1; i <= 8; ++i) {
    double u = std::sin(kPi / 2 * i / 8.0);
    z.push_back(kNoseEndZ + (kNoseTipZ - kNoseEndZ) * u);
  }
  return z;
}

// A patch of the skin between two stations and two angles, lifted by offset.
Grid ProudPatch(double z0, double z1, double theta0, double theta1, double offset, int steps) {
  Grid grid;
  for (int i = 0; i <= steps; ++i) {
    std::vector<Vec3> row;
    double z = z0 + (z1 - z0) * i / steps;
    for (int j = 0; j <= steps; ++j) row.push_back(ProudPoint(z, theta0 + (theta1 - theta0) * j / steps, offset));
    grid.push_back(row);
  }
  return grid;
}

}  // namespace

void AddFuselage(MeshBuilder& builder, const AirlinerGroups& groups) {
  std::vector<double> stations = Stations();
  Grid grid;
  for (double z : stations) {
    std::vector<Vec3> ring;
    for (int j = 0; j < kRingSegments; ++j) ring.push_back(SkinPoint(z, 2 * kPi * j / kRingSegments));
    grid.push_back(ring);
  }
  auto paint = [&](int row, int col) {
    double z = (stations[row] + stations[row + 1]) / 2;
    // The quads just below the waterline on each side, and the lowest quarter
    // behind the nose.
    if ((col == kRingSegments / 4 || col == kRingSegments * 3 / 4 - 1) && z < kNoseEndZ + 0.8)
      return groups.cheatline;
    if (col >= kRingSegments * 3 / 8 && col < kRingSegments * 5 / 8 && z < kNoseEndZ) return groups.belly;
    return groups.fuselage;
  };
  builder.AddGrid(grid, true, true, paint, AxisPoint);

  // The auxiliary power unit's exhaust closes the tail cone.
  std::vector<Vec3> cap;
  for (int j = 0; j < kRingSegments; ++j) cap.push_back(SkinPoint(kTailTipZ, 2 * kPi * j / kRingSegments));
  builder.AddFlatPolygon(groups.exhaust, cap, {0, 0, -1});
}

void AddCabinDetails(MeshBuilder& builder, const AirlinerGroups& groups) {
  const double lift = 0.03;
  struct Pane { double z0, z1, theta0, theta1; };  // a patch of the skin
  for (int side = 0; side < 2; ++side) {
    builder.SetMirror(side == 1);
    // One row of cabin windows, with a gap for the over-wing exits.
    double low = ThetaAtHeight(0.36), high = ThetaAtHeight(0.74);
    for (int k = 0; k < 34; ++k) {
      if (k == 14 || k == 15) continue;
      double z = 11.6 - 0.53 * k;
      std::vector<Vec3> window = {ProudPoint(z - 0.15, high, lift), ProudPoint(z + 0.15, high, lift),
                                  ProudPoint(z + 0.15, low, lift), ProudPoint(z - 0.15, low, lift)};
      builder.AddFlatPolygon(groups.cabin_windows, window, SkinNormal(z, (low + high) / 2));
    }
    // Outlines of the forward and aft doors and of the over-wing exits.
    struct Door { double z, width, bottom, top; };
    for (Door door : {Door{13.1, 0.85, -0.95, 0.95}, Door{-7.5, 0.85, -0.95, 0.95}, Door{3.9, 0.55, -0.2, 0.9}}) {
      const double line = 0.07, z0 = door.z - door.width / 2, z1 = door.z + door.width / 2;
      double t_top = ThetaAtHeight(door.top), t_bottom = ThetaAtHeight(door.bottom);
      double t_in_top = ThetaAtHeight(door.top - line), t_in_bottom = ThetaAtHeight(door.bottom + line);
      for (Pane edge : {Pane{z0, z1, t_top, t_in_top}, Pane{z0, z1, t_in_bottom, t_bottom},
                        Pane{z0, z0 + line, t_top, t_bottom}, Pane{z1 - line, z1, t_top, t_bottom}})
        builder.AddGrid(ProudPatch(edge.z0, edge.z1, edge.theta0, edge.theta1, lift * 0.5, 1), false, true,
                        groups.doors, AxisPoint);
    }
    // Cockpit windows: two windscreen panels and two side windows a side.
    for (Pane pane : {Pane{16.95, 17.5, 0.07, 0.58}, Pane{16.3, 16.88, 0.66, 0.98}, Pane{15.75, 16.22, 0.74, 1.05}}) {
      builder.AddGrid(ProudPatch(pane.z0, pane.z1, pane.theta0, pane.theta1, lift, 2), false, true,
                      groups.cockpit_windows, AxisPoint);
    }
  }
  builder.SetMirror(false);
}
