// The world the renderer shows: one aircraft over a tiled ground inside a sky
// sphere, a chase or fixed camera, and the per-frame motion of both.
#pragma once

#include <vector>

#include "gl.h"
#include "sky_sphere.h"

class MeshModel;

// How the ground and sky are sent to OpenGL. Both give the same picture.
enum class DrawPath {
  kLiteral,  // immediate mode, sky then ground, as the scene was first written
  kFast,     // ground from a vertex array drawn first, then only the sky it does not hide;
             // the aircraft from a display list
};

constexpr int kGridPoints = 64;
constexpr int kGroundCells = kGridPoints - 1;                   // 63 cells a side
constexpr int kGroundVertices = kGroundCells * kGroundCells * 4;  // four corners per quad
// The scene's own pi, used for every angle. A double like the C literal it
// stands for, so the angle sums are formed in double unless said otherwise.
constexpr double kPi = 3.141;
// The depth test InitScene sets; drawing returns to it after any change.
constexpr GLenum kSceneDepthFunc = GL_LEQUAL;

// One ground corner as the vertex array holds it: texture coordinate first.
struct GroundVertex {
  GLfloat s, t;
  GLfloat x, y, z;
};

class FlightScene {
 public:
  // Fills the 64 x 64 ground grid: point[j][i] = ((j - 32) * 256, 0, (i - 32) * 256).
  void InitGroundGrid();
  // Start values from four rand() calls, camera beside the aircraft.
  void InitFlight();
  // Draws one frame and advances the flight; always true.
  bool DrawFrame();
  // Called after every buffer swap: orbit, and the 1000/100-frame camera schedule.
  void AdvanceCameraSchedule();

  // The steps of DrawFrame, in call order (the fast path draws the ground
  // before the sky).
  void UpdateCamera();
  void DrawSky();
  void DrawGround();
  void UpdateFlight();
  void DrawAircraft();

  // The ground quads as the fast path sends them, built from the grid.
  const std::vector<GroundVertex>& GroundArray();
  // The sky sphere's quad strips, as gluSphere gives them.
  const std::vector<SkyVertex>& SkyArray();
  // The first strip of the sky the fast path draws: past the strips the
  // ground always hides from this camera, or 0 when it may not hide them.
  int FirstShownSkyStrip();

  // Flight.
  float plane_x = 0, plane_y = 0, plane_z = 0;
  float heading = 0;
  float target_heading = 0;
  float turn_step = 0;
  float speed = 0;
  int turning = 0;
  float bank = 0;
  int bank_frames = 0;

  // Camera.
  double eye_x = 0, eye_y = 0, eye_z = 0;
  int camera_mode = 1;  // 1 chase, 0 fixed
  float orbit_angle = 0;
  float schedule_counter = 0;

  // Ground grid, point[j][i] = {x, y, z}.
  double point[kGridPoints][kGridPoints][3] = {};

  // Resources made by InitScene.
  GLuint sky_texture = 0;
  GLuint ground_texture = 0;
  GLUquadric* quadric = nullptr;
  MeshModel* model = nullptr;
  DrawPath path = DrawPath::kFast;

 private:
  void DrawGroundQuads();
  void DrawGroundArray();
  void DrawSkyArray();

  std::vector<GroundVertex> ground_array_;  // empty until first needed
  std::vector<SkyVertex> sky_array_;        // the same
};
