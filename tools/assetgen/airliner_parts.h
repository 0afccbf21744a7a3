// The airliner's parts, shaped in metres (the builder scales them to units).
#pragma once

#include "mesh_builder.h"

// Mesh groups (and so drawing order) of the airliner; overlays such as the
// windows come after the skin they sit on.
struct AirlinerGroups {
  int fuselage, cheatline, belly;
  int wings, tailplane, fin, fin_stripe, fin_trim, winglets;
  int nacelles, intakes, pylons;
  int cabin_windows, cockpit_windows, doors, exhaust;
};

void AddFuselage(MeshBuilder& builder, const AirlinerGroups& groups);
void AddCabinDetails(MeshBuilder& builder, const AirlinerGroups& groups);
void AddWingsAndTail(MeshBuilder& builder, const AirlinerGroups& groups);
void AddEngines(MeshBuilder& builder, const AirlinerGroups& groups);

// Height of the wing's lower surface below the given span position's chord
// line at a chord fraction, and the wing geometry the engines hang from.
struct WingSection {
  Vec3 leading_edge;   // on the chord line
  double chord;
  double thickness;    // fraction of the chord
};
WingSection WingSectionAt(double span_x);
