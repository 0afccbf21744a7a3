// Wings with winglets and the tailplane, built as lofted aerofoils.
#include <cmath>

#include "airliner_parts.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kChordPoints = 8;  // per surface, from the leading to the trailing edge

struct Station {
  Vec3 leading_edge;  // chord line, at the front
  double chord;
  double thickness;   // fraction of the chord
  double camber;      // fraction of the chord
};

// A lifting surface: stations from root to tip, with the chord running along
// -z and thickness_axis pointing to the upper (or right) side.
struct LiftingSurface {
  std::vector<Station> stations;
  Vec3 thickness_axis;
  Vec3 span_axis;
};

// Chord fractions of the grid columns: upper surface trailing edge to leading
// edge, then the lower surface back to the trailing edge (sign: +1 upper).
std::vector<std::pair<double, int>> ChordColumns() {
  std::vector<std::pair<double, int>> columns;
  for (int k = kChordPoints; k >= 0; --k) columns.push_back({(1 - std::cos(kPi * k / kChordPoints)) / 2, +1});
  for (int k = 1; k <= kChordPoints; ++k) columns.push_back({(1 - std::cos(kPi * k / kChordPoints)) / 2, -1});
  return columns;
}

// Point of a station's aerofoil at chord fraction x on the given side.
Vec3 AerofoilPoint(const Station& s, Vec3 thickness_axis, double x, int side) {
  double camber = s.camber * 4 * x * (1 - x);
  double offset = (camber + side * AerofoilHalfThickness(x, s.thickness)) * s.chord;
  return s.leading_edge + Vec3{0, 0, -x * s.chord} + thickness_axis * offset;
}

// Adds the lofted skin and a flat cap on the tip; paint picks each quad's group.
void AddLiftingSurface(MeshBuilder& builder, const LiftingSurface& surface, const GroupChooser& paint,
                       int cap_group) {
  auto columns = ChordColumns();
  Grid grid;
  for (const Station& s : surface.stations) {
    std::vector<Vec3> row;
    for (auto [x, side] : columns) row.push_back(AerofoilPoint(s, surface.thickness_axis, x, side));
    grid.push_back(row);
  }
  const Vec3 axis = surface.thickness_axis;
  const Vec3 origin = surface.stations[0].leading_edge;
  auto chord_plane = [axis, origin](Vec3 p) { return p - axis * Dot(p - origin, axis); };
  builder.AddGrid(grid, false, true, paint, chord_plane);
  std::vector<Vec3> tip(grid.back().begin(), grid.back().end() - 1);  // the trailing edge once
  builder.AddFlatPolygon(cap_group, tip, surface.span_axis);
}

// Rotates the unit vector (cos a, sin a, 0): the span axis of a surface with dihedral a.
Vec3 SpanAxis(double degrees) {
  double a = degrees * kPi / 180;
  return {std::cos(a), std::sin(a), 0};
}

// The wing's thickness axis: up, tilted inwards by the dihedral.
Vec3 UpAxis(double degrees) {
  double a = degrees * kPi / 180;
  return {-std::sin(a), std::cos(a), 0};
}

constexpr double kDihedral = 5.0;
constexpr double kRootX = 1.0, kKinkX = 6.4, kTipX = 17.5;
constexpr double kRootY = -1.25;

}  // namespace

double AerofoilHalfThickness(double x, double thickness) {
  return 5 * thickness *
         (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
}

WingSection WingSectionAt(double x) {
  const double lean = std::tan(kDihedral * kPi / 180);
  const double root_le = 3.9, kink_le = 1.15, tip_le = -4.51;
  const double root_te = -2.7, kink_te = -2.7, tip_te = -6.01;
  double le, te, thickness;
  if (x <= kKinkX) {
    double t = (x - kRootX) / (kKinkX - kRootX);
    le = root_le + (kink_le - root_le) * t;
    te = root_te + (kink_te - root_te) * t;
    thickness = 0.14 - 0.02 * t;
  } else {
    double t = (x - kKinkX) / (kTipX - kKinkX);
    le = kink_le + (tip_le - kink_le) * t;
    te = kink_te + (tip_te - kink_te) * t;
    thickness = 0.12 - 0.02 * t;
  }
  return {{x, kRootY + (x - kRootX) * lean, le}, le - te, thickness};
}

void AddWingsAndTail(MeshBuilder& builder, const AirlinerGroups& groups) {
  for (int side = 0; side < 2; ++side) {
    builder.SetMirror(side == 1);

    LiftingSurface wing{{}, UpAxis(kDihedral), SpanAxis(kDihedral)};
    for (double x : {kRootX, kKinkX, kTipX}) {
      WingSection s = WingSectionAt(x);
      wing.stations.push_back({s.leading_edge, s.chord, s.thickness, 0.02});
    }
    AddLiftingSurface(builder, wing, [&](int, int) { return groups.wings; }, groups.wings);

    // Winglet: canted outwards, standing on the tip's chord line.
    WingSection tip = WingSectionAt(kTipX);
    Vec3 cant = SpanAxis(80.0);
    LiftingSurface winglet{{}, {cant.y, -cant.x, 0}, cant};
    winglet.stations.push_back({tip.leading_edge + Vec3{0, 0, -0.05}, tip.chord - 0.1, 0.09, 0});
    winglet.stations.push_back({tip.leading_edge + cant * 1.7 + Vec3{0, 0, -1.25}, 0.6, 0.08, 0});
    AddLiftingSurface(builder, winglet, [&](int, int) { return groups.winglets; }, groups.winglets);

    const double tail_lean = std::tan(6.0 * kPi / 180), tail_sweep = std::tan(31.0 * kPi / 180);
    LiftingSurface tailplane{{}, UpAxis(6.0), SpanAxis(6.0)};
    tailplane.stations.push_back({{0.3, 0.35, -13.0}, 3.9, 0.10, 0});
    tailplane.stations.push_back({{6.25, 0.35 + 5.95 * tail_lean, -13.0 - 5.95 * tail_sweep}, 1.45, 0.09, 0});
    AddLiftingSurface(builder, tailplane, [&](int, int) { return groups.tailplane; }, groups.tailplane);
  }
  builder.SetMirror(false);
}
