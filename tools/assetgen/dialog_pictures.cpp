// The settings dialog's pictures. The skins are built ring by ring from the
// outer edge inwards; the control only ever copies their outer 4-pixel band.
#include "dialog_pictures.h"

#include <cmath>
#include <filesystem>

#include "icon_writer.h"
#include "noise.h"

namespace {

struct C8 {
  int r, g, b;
};

C8 Lerp(C8 a, C8 b, double t) {
  auto channel = [t](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * t)); };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void Put(Picture& picture, int x, int y, C8 colour) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
  unsigned char* pixel = picture.At(x, y);
  pixel[0] = static_cast<unsigned char>(colour.r);
  pixel[1] = static_cast<unsigned char>(colour.g);
  pixel[2] = static_cast<unsigned char>(colour.b);
}

// One ring of a skin: its top and bottom rows, and its sides shading from top to bottom.
struct Ring {
  C8 top, bottom, left_top, left_bottom, right_top, right_bottom;
};

Ring Flat(C8 colour) { return {colour, colour, colour, colour, colour, colour}; }
Ring Sides(C8 top, C8 side_top, C8 side_bottom, C8 bottom) {
  return {top, bottom, side_top, side_bottom, side_top, side_bottom};
}

void DrawRing(Picture& picture, int inset, const Ring& ring) {
  const int right = picture.width - 1 - inset, bottom = picture.height - 1 - inset;
  for (int x = inset; x <= right; ++x) {
    Put(picture, x, inset, ring.top);
    Put(picture, x, bottom, ring.bottom);
  }
  for (int y = inset + 1; y < bottom; ++y) {
    const double t = static_cast<double>(y - inset) / (bottom - inset);
    Put(picture, inset, y, Lerp(ring.left_top, ring.left_bottom, t));
    Put(picture, right, y, Lerp(ring.right_top, ring.right_bottom, t));
  }
}

C8 Get(Picture& picture, int x, int y) {
  const unsigned char* pixel = picture.At(x, y);
  return {pixel[0], pixel[1], pixel[2]};
}

// Rounds the border ring at inset (which lies inside another ring): each
// corner pixel takes the colour diagonally outside it, its two neighbours
// along the ring a light blend and the pixel diagonally inside a dark blend.
void RoundCorners(Picture& picture, int inset, C8 light, C8 dark) {
  const int right = picture.width - 1 - inset, bottom = picture.height - 1 - inset;
  const int corners[4][4] = {{inset, inset, 1, 1}, {right, inset, -1, 1}, {inset, bottom, 1, -1}, {right, bottom, -1, -1}};
  for (const auto& c : corners) {
    Put(picture, c[0], c[1], Get(picture, c[0] - c[2], c[1] - c[3]));
    Put(picture, c[0] + c[2], c[1], light);
    Put(picture, c[0], c[1] + c[3], light);
    Put(picture, c[0] + c[2], c[1] + c[3], dark);
  }
}

void FillFace(Picture& picture, int inset, C8 top, C8 bottom) {
  for (int y = inset; y < picture.height - inset; ++y) {
    const C8 colour = Lerp(top, bottom, static_cast<double>(y - inset) / (picture.height - 2 * inset - 1));
    for (int x = inset; x < picture.width - inset; ++x) Put(picture, x, y, colour);
  }
}

constexpr C8 kWhite = {255, 255, 255};
constexpr C8 kBorder = {0, 60, 116};
constexpr C8 kCornerLight = {122, 149, 168};
constexpr C8 kCornerDark = {37, 87, 131};
constexpr C8 kPaleTopLeft = {224, 220, 201};
constexpr C8 kPaleMiddle = {236, 233, 222};
constexpr C8 kPaleBottom = {248, 247, 240};
constexpr C8 kFaceTop = {252, 252, 251};
constexpr C8 kFaceBottom = {236, 235, 230};

const Ring kPaleRing = {kPaleTopLeft, kPaleBottom, kPaleTopLeft, kPaleMiddle, kPaleMiddle, kPaleBottom};

// The blue-bordered button with the two inner rings given, from the edge at inset.
Picture BorderedSkin(int inset, const Ring& inner_outer, const Ring& inner_inner, C8 face_top, C8 face_bottom) {
  Picture picture(kSkinWidth, kSkinHeight);
  FillFace(picture, 0, face_top, face_bottom);
  if (inset > 0) DrawRing(picture, 0, Flat({236, 233, 216}));
  DrawRing(picture, inset, kPaleRing);
  DrawRing(picture, inset + 1, Flat(kBorder));
  DrawRing(picture, inset + 2, inner_outer);
  DrawRing(picture, inset + 3, inner_inner);
  RoundCorners(picture, inset + 1, kCornerLight, kCornerDark);
  return picture;
}

Picture DisabledSkin() {
  const C8 outer = {236, 233, 216}, border = {201, 199, 186}, face = {245, 244, 234};
  Picture picture(kSkinWidth, kSkinHeight);
  FillFace(picture, 0, face, face);
  DrawRing(picture, 0, Flat(outer));
  DrawRing(picture, 1, Flat(border));
  RoundCorners(picture, 1, Lerp(border, outer, 0.5), Lerp(border, face, 0.35));
  return picture;
}

}  // namespace

Picture MakeButtonSkin(ButtonSkin look) {
  switch (look) {
    case ButtonSkin::kNone:
      break;
    case ButtonSkin::kNormal:
      return BorderedSkin(0, Sides(kWhite, kWhite, {243, 243, 238}, {214, 208, 197}),
                          Sides(kWhite, kFaceTop, kFaceBottom, {226, 223, 214}), kFaceTop, kFaceBottom);
    case ButtonSkin::kHighLight:
    case ButtonSkin::kHighLightSelect:  // the same picture, pixel for pixel
      return BorderedSkin(0, Sides({255, 240, 207}, {252, 210, 121}, {249, 183, 59}, {229, 151, 0}),
                          Sides({253, 216, 137}, {252, 210, 121}, {249, 183, 59}, {248, 179, 48}), kFaceTop,
                          kFaceBottom);
    case ButtonSkin::kSelected:
      return BorderedSkin(0, Sides({206, 231, 255}, {183, 208, 244}, {139, 173, 228}, {105, 130, 238}),
                          Sides({206, 231, 255}, {183, 208, 244}, {139, 173, 228}, {139, 173, 228}), kFaceTop,
                          kFaceBottom);
    case ButtonSkin::kPressed: {
      const C8 shade = {209, 204, 193}, light = {243, 243, 238};
      const Ring bevel = {shade, light, shade, shade, light, light};
      return BorderedSkin(1, bevel, Flat({229, 228, 221}), {229, 228, 221}, {242, 241, 236});
    }
    case ButtonSkin::kDisable:
      return DisabledSkin();
  }
  return Picture(kSkinWidth, kSkinHeight);
}

Picture MakeMetalStrip() {
  constexpr int kW = 556, kH = 20;
  // Streaks along x; rows are lattice rows of the noise, so the wrap from the
  // last row to the first is no different from any other pair of rows.
  double value[kH][kW];
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const double coarse = ValueNoise(x / 37.0, y, 71) - 0.5;
      const double fine = ValueNoise(x / 6.0, y, 72) - 0.5;
      value[y][x] = coarse * 16 + fine * 10;
    }
  Picture picture(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const double streak = 0.25 * value[(y + kH - 1) % kH][x] + 0.5 * value[y][x] + 0.25 * value[(y + 1) % kH][x];
      const double base = 236 - 52.0 * x / (kW - 1);
      const int grey = static_cast<int>(std::lround(base + streak));
      Put(picture, x, y, {grey, grey, grey + 3 > 255 ? 255 : grey + 3});
    }
  return picture;
}

Picture MakeOptionMark(bool chosen) {
  Picture picture(12, 12);
  FillFace(picture, 0, {220, 220, 214}, kWhite);
  DrawRing(picture, 0, Flat({28, 81, 128}));
  if (chosen) {
    DrawRing(picture, 1, Flat(kWhite));
    FillFace(picture, 2, {96, 156, 240}, {24, 70, 190});
  }
  return picture;
}

namespace {

struct Point {
  double x, y;
};

bool Inside(const std::vector<Point>& polygon, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// An airliner from above, nose up, in a frame of about -14..14 each way.
std::vector<std::vector<Point>> AirlinerShapes() {
  return {
      {{0, -14}, {1.4, -11}, {1.5, 10}, {0.6, 14}, {-0.6, 14}, {-1.5, 10}, {-1.4, -11}},  // fuselage
      {{1.2, -2}, {13, 4.5}, {13, 6}, {1.2, 3}, {-1.2, 3}, {-13, 6}, {-13, 4.5}, {-1.2, -2}},  // wings
      {{1, 9}, {5.5, 12.5}, {5.5, 13.5}, {1, 12.5}, {-1, 12.5}, {-5.5, 13.5}, {-5.5, 12.5}, {-1, 9}},  // tail
  };
}

}  // namespace

double AirlinerCover(int px, int py, double cx, double cy, double scale, double degrees) {
  const double radians = degrees * 3.14159265358979 / 180.0;
  const double c = std::cos(radians), s = std::sin(radians);
  static const std::vector<std::vector<Point>> shapes = AirlinerShapes();
  int hits = 0;
  constexpr int kSamples = 4;
  for (int j = 0; j < kSamples; ++j)
    for (int i = 0; i < kSamples; ++i) {
      const double dx = (px + (i + 0.5) / kSamples - cx) / scale, dy = (py + (j + 0.5) / kSamples - cy) / scale;
      const double u = dx * c + dy * s, v = -dx * s + dy * c;  // into the plane's own frame
      for (const auto& shape : shapes)
        if (Inside(shape, u, v)) {
          ++hits;
          break;
        }
    }
  return static_cast<double>(hits) / (kSamples * kSamples);
}

Picture MakeDialogIcon(std::vector<bool>* transparent) {
  constexpr int kSide = 32;
  Picture picture(kSide, kSide);
  transparent->assign(kSide * kSide, false);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      // A rounded square: corners cut by a radius of 4.
      const int cx = x < 4 ? 4 - x : (x > 27 ? x - 27 : 0), cy = y < 4 ? 4 - y : (y > 27 ? y - 27 : 0);
      const double corner = std::sqrt(static_cast<double>(cx * cx + cy * cy));
      if (corner > 4.2) {
        (*transparent)[static_cast<size_t>(y) * kSide + x] = true;
        continue;
      }
      C8 colour = Lerp({51, 102, 204}, {153, 204, 255}, y / 31.0);
      const double shadow = AirlinerCover(x, y, 18.5, 19.5, 0.95, 45);
      colour = Lerp(colour, {51, 102, 153}, shadow * 0.8);
      const double plane = AirlinerCover(x, y, 15.5, 15.5, 0.95, 45);
      colour = Lerp(colour, kWhite, plane);
      if (corner > 3.2 || x == 0 || y == 0 || x == 31 || y == 31) colour = {0, 51, 102};
      Put(picture, x, y, colour);
    }
  return picture;
}

std::vector<std::string> HandCursorRows() {
  // The index finger's tip is the hot spot, (12, 10).
  const char* const hand[] = {
      "....XX...........",
      "...XooX..........",
      "...XooX..........",
      "...XooX..........",
      "...XooX..........",
      "...XooXXX........",
      "...XooXooXXX.....",
      "...XooXooXooXX...",
      "...XooXooXooXoX..",
      "XX.XooooooooXooX.",
      "XooXoooooooooooX.",
      "XoooXooooooooooX.",
      ".XooXooooooooooX.",
      ".XoooooooooooooX.",
      "..XooooooooooooX.",
      "..XoooooooooooX..",
      "...XooooooooooX..",
      "...XoooooooooX...",
      "....XooooooooX...",
      "....XooooooooX...",
      "....XXXXXXXXXX...",
  };
  constexpr int kLeft = kHandHotX - 4, kTop = kHandHotY;
  std::vector<std::string> rows(32, std::string(32, '.'));
  for (int y = 0; y < static_cast<int>(sizeof hand / sizeof hand[0]); ++y)
    for (int x = 0; hand[y][x] != '\0'; ++x)
      if (kTop + y < 32) rows[static_cast<size_t>(kTop + y)][static_cast<size_t>(kLeft + x)] = hand[y][x];
  return rows;
}

bool WriteDialogPictures(const std::string& folder) {
  const struct {
    ButtonSkin look;
    const char* name;
  } skins[] = {{ButtonSkin::kNormal, "button-normal.bmp"},       {ButtonSkin::kHighLight, "button-highlight.bmp"},
               {ButtonSkin::kHighLightSelect, "button-highlight-select.bmp"},
               {ButtonSkin::kSelected, "button-selected.bmp"},   {ButtonSkin::kPressed, "button-pressed.bmp"},
               {ButtonSkin::kDisable, "button-disable.bmp"}};
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  bool ok = true;
  for (const auto& skin : skins) ok = WriteBmp24(folder + skin.name, MakeButtonSkin(skin.look)) && ok;
  ok = WriteBmp24(folder + "metal-strip.bmp", MakeMetalStrip()) && ok;
  ok = WriteBmp24(folder + "mark-empty.bmp", MakeOptionMark(false)) && ok;
  ok = WriteBmp24(folder + "mark-chosen.bmp", MakeOptionMark(true)) && ok;
  std::vector<bool> transparent;
  const Picture icon = MakeDialogIcon(&transparent);
  ok = WriteIcon256(folder + "dialog.ico", icon, transparent) && ok;
  ok = WriteMonochromeCursor(folder + "hand.cur", HandCursorRows(), kHandHotX, kHandHotY) && ok;
  return ok;
}
