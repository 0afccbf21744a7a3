// The airliner's parts, shaped in metres (the builder scales them to units).
#pragma once

#include "mesh_builder.h"

// Mesh groups (and so drawing order) of the airliner; overlays such as the
// windows come after the skin they sit on.
struct AirlinerGroups {
  int fuselage, cheatline, belly;
  int wings, tailplane, fin, emblem, emblem_ring, winglets;
  int nacelles, intakes, pylons;
  int cabin_windows, cockpit_windows, doors, exhaust;
};

void AddFuselage(MeshBuilder& builder, const AirlinerGroups& groups);
void AddCabinDetails(MeshBuilder& builder, const AirlinerGroups& groups);
void AddWingsAndTail(MeshBuilder& builder, const AirlinerGroups& groups);
void AddFin(MeshBuilder& builder, const AirlinerGroups& groups);
void AddEngines(MeshBuilder& builder, const AirlinerGroups& groups);

// Half-thickness of a four-digit aerofoil at chord fraction x (0 at the
// leading edge), in chords, with a closed trailing edge.
double AerofoilHalfThickness(double x, double thickness);

// The wing's section at a span position, which the engines hang from.
struct WingSection {
  Vec3 leading_edge;   // on the chord line
  double chord;
  double thickness;    // fraction of the chord
};
WingSection WingSectionAt(double span_x);
