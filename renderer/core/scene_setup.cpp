#include "scene_setup.h"

#include <cmath>

#include "display_plan.h"
#include "flight_host.h"
#include "mesh_model.h"
#include "textures.h"

int InitScene(FlightScene& scene, FlightHost& host, ScenePictures* prepared) {
  if (!LoadSceneTextures(host, &scene.sky_texture, &scene.ground_texture, prepared)) return 0;
  scene.InitGroundGrid();
  scene.InitFlight();
  if (scene.model) scene.model->CreateMaterialTextures(host);  // the context is current now
  host.MarkPhase("material textures built");

  glShadeModel(GL_SMOOTH);
  glClearColor(0, 0, 0, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(kSceneDepthFunc);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

  // Given under the identity and never again, so the light sits at (1, 140, 1)
  // in eye coordinates and travels with the camera. Lighting itself stays off
  // until the aircraft is drawn.
  static const GLfloat kLightPosition[4] = {1.0f, 140.0f, 1.0f, 1.0f};
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
  glEnable(GL_LIGHT0);

  if (scene.quadric) gluDeleteQuadric(scene.quadric);
  scene.quadric = gluNewQuadric();
  if (!scene.quadric) return 0;  // out of memory: the sky could not be drawn
  gluQuadricNormals(scene.quadric, GLU_SMOOTH);
  gluQuadricTexture(scene.quadric, GL_TRUE);
  return 1;
}

namespace {

// The single-precision 0.1 the projection was first given, and its far plane.
constexpr double kNearPlane = 0.1f;
constexpr double kFarPlane = 2000.0;

}  // namespace

void ResizeViewport(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void ResizeViewport(int width, int height, const FlightProjection& view) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The near plane's extent per window pixel; window rows run downwards.
  const double unit = kNearPlane * std::tan(22.5 * 3.14159265358979323846 / 180) / view.half_field;
  glFrustum(-view.center_x * unit, (width - view.center_x) * unit, (view.center_y - height) * unit,
            view.center_y * unit, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}
