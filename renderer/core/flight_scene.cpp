#include "flight_scene.h"

#include <cmath>

#include "mesh_model.h"
#include "rand.h"

namespace {

constexpr double kCellSize = 256;
constexpr float kWrapLimit = 4000;
constexpr float kJumpDistance = 400;    // a fixed camera farther than this jumps
constexpr double kJumpRadius = 150;     // ... to this far from the aircraft
constexpr float kChaseRadius = 30;
constexpr int kBankGrowFrames = 200;    // the roll grows this long, then shrinks
constexpr int kFixedCameraFrom = 1000;  // schedule: chase until here, fixed until
constexpr int kChaseAgainAt = 1100;     // here, then chase again from 0
constexpr GLdouble kSkyRadius = 1000.0;
constexpr GLint kSkySlices = 32;  // and as many stacks
constexpr int kSkyStripVertices = 2 * (kSkySlices + 1);
// The sphere's lowest strips, stack 0 up, that lie wholly under the ground
// once rotated (its +z points down): the next one meets the ground at the horizon.
constexpr int kSkyFootStrips = 15;
// The least eye height for which the ground's nearest visible point stays far
// beyond the near plane (0.1), even at the edge of a wide view.
constexpr double kLowestEye = 1;

// One corner of a ground quad: its texture coordinate and its grid offset.
struct QuadCorner {
  GLfloat s, t;
  int dj, di;
};
// The corners in drawing order: point[j][i], [j][i+1], [j+1][i+1], [j+1][i].
constexpr QuadCorner kQuadCorners[4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {1, 1, 1, 1}, {1, 0, 1, 0}};

// Degrees to radians with the scene's 3.141, in double.
double Radians(double degrees) { return degrees * kPi / 180; }

// Puts a coordinate that left [-4000, 4000] back on the opposite edge.
float WrapAround(float v) {
  if (v < -kWrapLimit) v = kWrapLimit;
  if (v > kWrapLimit) v = -kWrapLimit;
  return v;
}

}  // namespace

void FlightScene::InitGroundGrid() {
  for (int j = 0; j < kGridPoints; ++j) {
    for (int i = 0; i < kGridPoints; ++i) {
      point[j][i][0] = (j - 32) * kCellSize;
      point[j][i][1] = 0;
      point[j][i][2] = (i - 32) * kCellSize;
    }
  }
  ground_array_.clear();  // rebuilt from the new grid when next drawn
}

void FlightScene::InitFlight() {
  // Four draws, in this order; the divisions are real ones.
  plane_x = static_cast<float>(Rand() % 1000) / 10 + 150;
  plane_z = static_cast<float>(Rand() % 10000) / 20 + 20;
  plane_y = 10;
  heading = static_cast<float>(Rand() % 45 + 90);
  target_heading = 0;
  turn_step = 0;
  speed = static_cast<float>(Rand() % 100) / 20 + 4;
  bank = 0;
  turning = 0;
  bank_frames = 0;
  eye_x = plane_x;
  eye_y = plane_y + 4;
  eye_z = plane_z;
  orbit_angle = 20;
}

bool FlightScene::DrawFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  UpdateCamera();
  if (path == DrawPath::kLiteral) {
    DrawSky();
    DrawGround();
  } else {
    // Ground first: the sky behind it then fails the depth test instead of
    // being painted and overdrawn. Where the two meet at equal depth (the
    // horizon), a strict test keeps the ground, as drawing it last would.
    DrawGround();
    glDepthFunc(GL_LESS);
    DrawSky();
    glDepthFunc(kSceneDepthFunc);
  }
  UpdateFlight();  // the camera above looked at the previous position
  DrawAircraft();
  return true;
}

void FlightScene::AdvanceCameraSchedule() {
  orbit_angle += 0.2f;
  schedule_counter += 1;
  if (schedule_counter == kFixedCameraFrom) camera_mode = 0;
  if (schedule_counter == kChaseAgainAt) {
    camera_mode = 1;
    schedule_counter = 0;
  }
}

void FlightScene::UpdateCamera() {
  if (camera_mode == 0) {
    const double dx = plane_x - eye_x;
    const double dz = plane_z - eye_z;
    const float distance = static_cast<float>(std::sqrt(dx * dx + dz * dz));
    if (distance > kJumpDistance) {
      // Each line draws its own number: x and z use independent angles.
      eye_x = plane_x + kJumpRadius * std::cos(Radians(Rand() % 180 + heading));
      eye_y = Rand() % 35 + 1;
      eye_z = plane_z + kJumpRadius * std::sin(Radians(Rand() % 180 + heading));
      speed = static_cast<float>(Rand() % 100) / 50 + 1;
    }
  } else {
    // The orbit is worked out in single precision, then widened.
    const float a = static_cast<float>(Radians(heading - 90 + orbit_angle));
    eye_x = plane_x + kChaseRadius * std::cos(a);
    eye_y = plane_y + 6;
    eye_z = plane_z + kChaseRadius * std::sin(a);
  }
  gluLookAt(eye_x, eye_y, eye_z, plane_x, plane_y, plane_z, 0, 1, 0);
}

void FlightScene::DrawSky() {
  glEnable(GL_TEXTURE_2D);
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, sky_texture);
  // The sphere follows the camera horizontally and stays at ground height.
  glTranslatef(static_cast<GLfloat>(eye_x), 0, static_cast<GLfloat>(eye_z));
  glRotatef(90, 1, 0, 0);
  glColor4f(1, 1, 1, 1);
  if (path == DrawPath::kLiteral) {
    if (quadric) gluSphere(quadric, kSkyRadius, kSkySlices, kSkySlices);
  } else {
    DrawSkyArray();
  }
  glPopMatrix();
  glDisable(GL_TEXTURE_2D);
}

// The sphere's strips from one array, from the first the ground may not hide.
// Drawn after the ground, the skipped ones would only fail the depth test.
void FlightScene::DrawSkyArray() {
  const std::vector<SkyVertex>& v = SkyArray();
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(SkyVertex), &v[0].s);
  glNormalPointer(GL_FLOAT, sizeof(SkyVertex), &v[0].nx);
  glVertexPointer(3, GL_FLOAT, sizeof(SkyVertex), &v[0].x);
  for (int strip = FirstShownSkyStrip(); strip < kSkySlices; ++strip)
    glDrawArrays(GL_QUAD_STRIP, strip * kSkyStripVertices, kSkyStripVertices);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

const std::vector<SkyVertex>& FlightScene::SkyArray() {
  if (sky_array_.empty()) sky_array_ = SphereQuadStrips(kSkyRadius, kSkySlices, kSkySlices);
  return sky_array_;
}

// Every point of the foot strips lies at least `depth` under the ground (the
// first kept strip's lower ring) and within the sphere's footprint, which is
// centred under the eye. From an eye at height h, kLowestEye <= h <= depth,
// over a ground that covers the footprint, the ray to such a point meets the
// ground inside the footprint and at most halfway there (h / (h + depth)), so
// the ground is nearer by a factor of two: at the sphere's distance that is
// still some six steps of a 16-bit depth buffer, and the point never shows.
int FlightScene::FirstShownSkyStrip() {
  const double depth = SkyArray()[kSkyFootStrips * kSkyStripVertices + 1].z;
  const double* low = point[0][0];
  const double* high = point[kGridPoints - 1][kGridPoints - 1];
  const bool covered = low[0] <= eye_x - kSkyRadius && eye_x + kSkyRadius <= high[0] &&
                       low[2] <= eye_z - kSkyRadius && eye_z + kSkyRadius <= high[2];
  return covered && kLowestEye <= eye_y && eye_y <= depth ? kSkyFootStrips : 0;
}

void FlightScene::DrawGround() {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, ground_texture);
  if (path == DrawPath::kLiteral) {
    DrawGroundQuads();
  } else {
    DrawGroundArray();
  }
  glDisable(GL_TEXTURE_2D);
}

// Immediate mode: one GL_QUADS primitive per cell, i outer, j inner.
void FlightScene::DrawGroundQuads() {
  for (int i = 0; i < kGroundCells; ++i) {
    for (int j = 0; j < kGroundCells; ++j) {
      glBegin(GL_QUADS);
      for (const QuadCorner& c : kQuadCorners) {
        const double* p = point[j + c.dj][i + c.di];
        glTexCoord2f(c.s, c.t);
        glVertex3f(static_cast<GLfloat>(p[0]), static_cast<GLfloat>(p[1]), static_cast<GLfloat>(p[2]));
      }
      glEnd();
    }
  }
}

// The same quads from one client-side array. The sky has not set the colour
// yet in this order, so white is set here as the sky would have left it.
void FlightScene::DrawGroundArray() {
  const std::vector<GroundVertex>& v = GroundArray();
  glColor4f(1, 1, 1, 1);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(GroundVertex), &v[0].s);
  glVertexPointer(3, GL_FLOAT, sizeof(GroundVertex), &v[0].x);
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(v.size()));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

const std::vector<GroundVertex>& FlightScene::GroundArray() {
  if (!ground_array_.empty()) return ground_array_;
  ground_array_.reserve(kGroundVertices);
  for (int i = 0; i < kGroundCells; ++i) {
    for (int j = 0; j < kGroundCells; ++j) {
      for (const QuadCorner& c : kQuadCorners) {
        const double* p = point[j + c.dj][i + c.di];
        ground_array_.push_back({c.s, c.t, static_cast<GLfloat>(p[0]), static_cast<GLfloat>(p[1]),
                                 static_cast<GLfloat>(p[2])});
      }
    }
  }
  return ground_array_;
}

void FlightScene::UpdateFlight() {
  // Each step is formed in double and rounded back into the float position.
  const double a = Radians(90 + heading);
  plane_x = static_cast<float>(plane_x + speed * std::cos(a));
  plane_z = static_cast<float>(plane_z + speed * std::sin(a));
  plane_x = WrapAround(plane_x);
  plane_z = WrapAround(plane_z);

  if (turning == 0) {
    if (Rand() % 100 != 0) return;  // a turn starts one frame in a hundred
    const int p = Rand() % 160;
    const int q = Rand() % 160;
    const int delta = p - q;
    target_heading = heading + delta;
    turn_step = static_cast<float>(delta) / 400;
    turning = 1;
    bank_frames = 0;
    bank = 0;
  } else {
    heading += turn_step;
    if (target_heading - 1 < heading && heading < target_heading + 1) turning = 0;
  }
}

void FlightScene::DrawAircraft() {
  glPushMatrix();
  glEnable(GL_LIGHTING);
  glTranslatef(plane_x, plane_y, plane_z);
  glRotatef(-heading, 0, 1, 0);  // the model's nose is its +z axis
  if (turning == 1) {
    glRotatef(turn_step * bank, 0, 0, 1);  // roll about the length axis
    if (bank_frames < kBankGrowFrames) {
      bank += 0.5f;
    } else {
      bank -= 0.5f;
    }
    bank_frames += 1;
  }
  if (model) {
    if (path == DrawPath::kLiteral)
      model->Draw();
    else
      model->DrawListed();
  }
  glDisable(GL_LIGHTING);
  glPopMatrix();
}
