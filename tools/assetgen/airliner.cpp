#include "airliner.h"

#include "airliner_parts.h"

namespace {

// Span 35.2 m to about 12 units.
constexpr double kUnitsPerMetre = 0.34;

// A material of the given base colour for the scene's single white light near
// the camera: the emissive and ambient terms keep the shadow side readable.
Ms3dMaterial Paint(const char* name, float r, float g, float b, float specular, float shininess) {
  Ms3dMaterial m;
  m.name = name;
  const float colour[3] = {r, g, b};
  for (int c = 0; c < 3; ++c) {
    m.ambient[c] = colour[c];
    m.diffuse[c] = colour[c] * 0.72f;
    m.emissive[c] = colour[c] * 0.36f;
    m.specular[c] = specular;
  }
  m.ambient[3] = m.diffuse[3] = m.specular[3] = m.emissive[3] = 1.0f;
  m.shininess = shininess;
  return m;
}

}  // namespace

Ms3dMesh BuildAirliner() {
  MeshBuilder builder(kUnitsPerMetre);
  int white = builder.AddMaterial(Paint("skin white", 0.95f, 0.95f, 0.96f, 0.35f, 40));
  int navy = builder.AddMaterial(Paint("livery blue", 0.07f, 0.16f, 0.50f, 0.4f, 30));
  int grey = builder.AddMaterial(Paint("belly grey", 0.74f, 0.76f, 0.80f, 0.25f, 30));
  int wing = builder.AddMaterial(Paint("wing grey", 0.58f, 0.61f, 0.66f, 0.3f, 25));
  int gold = builder.AddMaterial(Paint("emblem gold", 1.0f, 0.74f, 0.18f, 0.5f, 40));
  int silver = builder.AddMaterial(Paint("nacelle silver", 0.80f, 0.81f, 0.84f, 0.7f, 60));
  int glass = builder.AddMaterial(Paint("window glass", 0.05f, 0.07f, 0.15f, 0.8f, 80));
  int metal = builder.AddMaterial(Paint("dark metal", 0.16f, 0.16f, 0.18f, 0.3f, 20));

  AirlinerGroups g;
  g.fuselage = builder.AddGroup("fuselage", white);
  g.cheatline = builder.AddGroup("cheatline", navy);
  g.belly = builder.AddGroup("belly", grey);
  g.wings = builder.AddGroup("wings", wing);
  g.tailplane = builder.AddGroup("tailplane", wing);
  g.fin = builder.AddGroup("fin", navy);
  g.emblem = builder.AddGroup("fin emblem", gold);
  g.emblem_ring = builder.AddGroup("fin emblem ring", white);
  g.winglets = builder.AddGroup("winglets", navy);
  g.nacelles = builder.AddGroup("nacelles", silver);
  g.intakes = builder.AddGroup("intakes", metal);
  g.pylons = builder.AddGroup("pylons", wing);
  g.exhaust = builder.AddGroup("exhausts", metal);
  g.cabin_windows = builder.AddGroup("cabin windows", glass);
  g.cockpit_windows = builder.AddGroup("cockpit windows", glass);
  g.doors = builder.AddGroup("doors", grey);

  AddFuselage(builder, g);
  AddWingsAndTail(builder, g);
  AddFin(builder, g);
  AddEngines(builder, g);
  AddCabinDetails(builder, g);
  return builder.Mesh();
}
