// The world the renderer shows: one aircraft over a tiled ground inside a sky
// sphere, a chase or fixed camera, and the per-frame motion of both.
#pragma once

#include "gl.h"

class MeshModel;

// How the ground and sky are sent to OpenGL. Both give the same picture.
enum class DrawPath {
  kLiteral,  // immediate mode, sky then ground, as the scene was first written
  kFast,     // ground from a vertex array drawn first, so hidden sky fails the depth test
};

constexpr int kGridPoints = 64;
constexpr float kPi = 3.141f;  // the scene's own pi, used for every angle

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

  // The steps of DrawFrame, in call order.
  void UpdateCamera();
  void DrawSky();
  void DrawGround();
  void UpdateFlight();
  void DrawAircraft();

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
};

// Loads the scene textures, starts the flight, gives the model its textures and
// sets the GL state, light 0 and the sky quadric. 0 when neither picture loads.
int InitScene(FlightScene& scene);

// Viewport and 45-degree projection (near 0.1f, far 2000); height 0 counts as 1.
void ResizeViewport(int width, int height);
