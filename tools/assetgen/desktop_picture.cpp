// The sample desktop: a landscape wallpaper, a column of icons, two windows
// and a taskbar. Shapes are kept large because the viewer magnifies the
// picture strongly when it lies on the ground under the aircraft.
//
// It stands in for the saver's capture of the screen, which is stored mirrored
// left to right and reads the right way round once laid on the ground; so the
// file holds the desktop mirrored too.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "noise.h"
#include "pictures.h"

namespace {

constexpr int kWidth = 1280, kHeight = 1024, kTaskbarHeight = 48;
const Rgb kWhite{1, 1, 1}, kBlack{0, 0, 0};
const Rgb kTitleBlue{0.10, 0.30, 0.70}, kFace{0.86, 0.87, 0.90}, kShadow{0.35, 0.36, 0.40};

// Height of a hill layer at column x: rolling noise around base.
double HillLine(int x, double base, double amplitude, double scale, uint32_t seed) {
  return base - amplitude * FractalNoise(x / scale, 0.5, 4, seed);
}

// Evening sky, a low sun, three layers of hills and a lake.
void DrawWallpaper(Picture& p) {
  const int horizon = 600;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      double t = static_cast<double>(y) / horizon;
      Rgb sky = t < 0.6 ? Mix(Rgb{0.16, 0.30, 0.62}, Rgb{0.45, 0.55, 0.80}, t / 0.6)
                        : Mix(Rgb{0.45, 0.55, 0.80}, Rgb{0.98, 0.76, 0.55}, (t - 0.6) / 0.4);
      BlendPixel(p, x, y, sky);
    }
  for (int r = 160; r > 0; r -= 4) FillDisc(p, 1120, 330, r, Rgb{1.0, 0.85, 0.55}, 0.05);
  FillDisc(p, 1120, 330, 46, Rgb{1.0, 0.95, 0.80});
  struct Layer { double base, amplitude, scale; uint32_t seed; Rgb top, bottom; };
  const Layer layers[] = {
      {560, 220, 260, 3u, Rgb{0.45, 0.42, 0.62}, Rgb{0.55, 0.52, 0.70}},  // far mountains
      {660, 150, 180, 4u, Rgb{0.24, 0.42, 0.38}, Rgb{0.20, 0.34, 0.30}},  // middle hills
      {820, 170, 300, 5u, Rgb{0.30, 0.55, 0.22}, Rgb{0.16, 0.36, 0.14}},  // near meadows
  };
  for (const Layer& layer : layers)
    for (int x = 0; x < kWidth; ++x) {
      int top = static_cast<int>(HillLine(x, layer.base, layer.amplitude, layer.scale, layer.seed));
      for (int y = std::max(top, 0); y < kHeight; ++y) {
        double depth = std::min(1.0, (y - top) / 240.0);
        double speckle = FractalNoise(x / 9.0, y / 9.0, 2, layer.seed + 40) * 0.08 - 0.04;
        Rgb c = Mix(layer.top, layer.bottom, depth);
        BlendPixel(p, x, y, Rgb{c.r + speckle, c.g + speckle, c.b + speckle});
      }
    }
  // A lake in the meadows, reflecting the sky.
  for (int y = 880; y < 960; ++y) {
    double half = 260 * std::sqrt(std::max(0.0, 1 - std::pow((y - 920) / 40.0, 2)));
    for (int x = static_cast<int>(760 - half); x < static_cast<int>(760 + half); ++x)
      BlendPixel(p, x, y, Mix(Rgb{0.55, 0.66, 0.88}, Rgb{0.30, 0.45, 0.75}, (y - 880) / 80.0));
  }
}

// A label centred under an icon, white with a dark shadow.
void DrawLabel(Picture& p, int centre_x, int y, const std::string& text) {
  int x = centre_x - TextWidth(text, 2) / 2;
  DrawText(p, x + 2, y + 2, text, 2, Rgb{0.05, 0.05, 0.10});
  DrawText(p, x, y, text, 2, kWhite);
}

// The icons, each drawn in a 64 x 64 box at (x, y).
void DrawComputerIcon(Picture& p, int x, int y) {
  FillRect(p, x + 4, y + 6, 56, 40, Rgb{0.75, 0.76, 0.80});
  FillRect(p, x + 9, y + 11, 46, 30, Rgb{0.15, 0.45, 0.85});
  FillRect(p, x + 9, y + 11, 46, 10, Rgb{0.35, 0.65, 0.95});
  FillRect(p, x + 26, y + 46, 12, 8, Rgb{0.60, 0.61, 0.66});
  FillRect(p, x + 14, y + 54, 36, 6, Rgb{0.70, 0.71, 0.75});
}
void DrawFolderIcon(Picture& p, int x, int y) {
  FillRect(p, x + 6, y + 12, 22, 8, Rgb{0.90, 0.70, 0.20});
  FillRect(p, x + 6, y + 18, 52, 38, Rgb{0.98, 0.80, 0.30});
  FillRect(p, x + 6, y + 26, 52, 30, Rgb{1.00, 0.86, 0.42});
  FillRect(p, x + 14, y + 14, 40, 10, kWhite);
}
void DrawPictureIcon(Picture& p, int x, int y) {
  FillRect(p, x + 6, y + 8, 52, 46, Rgb{0.55, 0.38, 0.22});
  FillRect(p, x + 11, y + 13, 42, 36, Rgb{0.55, 0.75, 0.98});
  FillDisc(p, x + 42, y + 22, 5, Rgb{1.0, 0.9, 0.4});
  for (int k = 0; k < 20; ++k) FillRect(p, x + 11 + k, y + 49 - k, 42 - 2 * k > 0 ? 42 - 2 * k : 1, 1, Rgb{0.2, 0.55, 0.25});
}
void DrawGlobeIcon(Picture& p, int x, int y) {
  FillDisc(p, x + 32, y + 32, 26, Rgb{0.15, 0.45, 0.85});
  FillDisc(p, x + 24, y + 24, 9, Rgb{0.25, 0.70, 0.30});
  FillDisc(p, x + 40, y + 42, 8, Rgb{0.25, 0.70, 0.30});
  FillRect(p, x + 6, y + 31, 52, 2, Rgb{0.8, 0.9, 1.0});
  FillRect(p, x + 31, y + 6, 2, 52, Rgb{0.8, 0.9, 1.0});
}
void DrawMailIcon(Picture& p, int x, int y) {
  FillRect(p, x + 4, y + 14, 56, 38, Rgb{0.96, 0.96, 0.92});
  FrameRect(p, x + 4, y + 14, 56, 38, kShadow);
  for (int k = 0; k < 28; ++k) {
    BlendPixel(p, x + 4 + k, y + 14 + k * 2 / 3, kShadow);
    BlendPixel(p, x + 59 - k, y + 14 + k * 2 / 3, kShadow);
  }
  FillRect(p, x + 46, y + 18, 10, 12, Rgb{0.85, 0.25, 0.25});
}
void DrawNoteIcon(Picture& p, int x, int y) {
  FillRect(p, x + 12, y + 4, 40, 56, kWhite);
  FrameRect(p, x + 12, y + 4, 40, 56, kShadow);
  for (int line = 0; line < 6; ++line) FillRect(p, x + 18, y + 14 + line * 7, 28, 2, Rgb{0.3, 0.4, 0.7});
}
void DrawTrashIcon(Picture& p, int x, int y) {
  FillRect(p, x + 14, y + 8, 36, 6, Rgb{0.55, 0.60, 0.62});
  FillRect(p, x + 26, y + 4, 12, 5, Rgb{0.55, 0.60, 0.62});
  FillRect(p, x + 17, y + 16, 30, 42, Rgb{0.72, 0.78, 0.80});
  for (int k = 0; k < 3; ++k) FillRect(p, x + 23 + k * 8, y + 22, 3, 30, Rgb{0.50, 0.55, 0.58});
}

void DrawIcons(Picture& p) {
  using IconPainter = void (*)(Picture&, int, int);
  struct Icon { IconPainter paint; const char* label; };
  const Icon icons[] = {{DrawComputerIcon, "Computer"}, {DrawFolderIcon, "Documents"},
                        {DrawPictureIcon, "Pictures"},  {DrawGlobeIcon, "Internet"},
                        {DrawMailIcon, "Mail"},         {DrawNoteIcon, "Notes"},
                        {DrawTrashIcon, "Trash"}};
  int y = 28;
  for (const Icon& icon : icons) {
    icon.paint(p, 44, y);
    DrawLabel(p, 76, y + 70, icon.label);
    y += 122;
  }
}

// Window frame with a title bar and its three buttons; returns the client's top.
int DrawWindowFrame(Picture& p, int x, int y, int w, int h, const std::string& title) {
  FillRect(p, x + 8, y + 8, w, h, kBlack, 0.35);  // drop shadow
  FillRect(p, x, y, w, h, kFace);
  FrameRect(p, x, y, w, h, kShadow);
  for (int k = 0; k < 34; ++k)
    FillRect(p, x + 2, y + 2 + k, w - 4, 1, Mix(Rgb{0.25, 0.50, 0.90}, kTitleBlue, k / 33.0));
  DrawText(p, x + 12, y + 11, title, 2, kWhite);
  const Rgb button_colours[3] = {Rgb{0.85, 0.25, 0.20}, Rgb{0.35, 0.55, 0.90}, Rgb{0.35, 0.55, 0.90}};
  for (int b = 0; b < 3; ++b) {
    int bx = x + w - 36 - b * 32;
    FillRect(p, bx, y + 6, 28, 26, button_colours[b]);
    FrameRect(p, bx, y + 6, 28, 26, kWhite);
  }
  DrawText(p, x + w - 36 + 9, y + 12, "x", 2, kWhite);
  FillRect(p, x + w - 100 + 8, y + 24, 12, 3, kWhite);  // minimise
  FrameRect(p, x + w - 68 + 7, y + 12, 14, 13, kWhite);  // maximise
  return y + 36;
}

void DrawEditorWindow(Picture& p) {
  const int x = 330, y = 110, w = 600, h = 420;
  int top = DrawWindowFrame(p, x, y, w, h, "Notes.txt - Editor");
  DrawText(p, x + 12, top + 8, "File  Edit  View  Help", 2, kBlack);
  FillRect(p, x + 6, top + 30, w - 12, h - (top - y) - 36, kWhite);
  const char* const lines[] = {"Saturday at the airfield", "",
                               "- Weather check at 7:00",  "- Pack camera and lenses",
                               "- Leave home at 8:30",     "- Meet Sam at gate B",
                               "",                         "Spotting list:",
                               "  twin jets, turboprops,", "  the evening arrivals",
                               "",                         "Remember the sunscreen!"};
  int ty = top + 42;
  for (const char* line : lines) {
    DrawText(p, x + 18, ty, line, 2, Rgb{0.1, 0.1, 0.15});
    ty += 26;
  }
  FillRect(p, x + w - 26, top + 30, 20, h - (top - y) - 36, Rgb{0.80, 0.81, 0.84});
  FillRect(p, x + w - 24, top + 40, 16, 80, Rgb{0.60, 0.62, 0.68});
}

void DrawDeparturesWindow(Picture& p) {
  const int x = 640, y = 430, w = 560, h = 400;
  int top = DrawWindowFrame(p, x, y, w, h, "Departures");
  FillRect(p, x + 6, top + 6, w - 12, h - (top - y) - 12, Rgb{0.08, 0.10, 0.18});
  const char* const header = "FLIGHT  TO          TIME   GATE";
  DrawText(p, x + 18, top + 18, header, 2, Rgb{1.0, 0.85, 0.3});
  FillRect(p, x + 14, top + 38, w - 28, 2, Rgb{1.0, 0.85, 0.3});
  const char* const rows[] = {"SK 101  HARBOUR CITY 08:15  A3", "SK 214  NORTH BAY    08:40  B1",
                              "SK 330  LAKESIDE     09:05  A7", "SK 412  HIGHLANDS    09:30  C2",
                              "SK 508  SOUTH COAST  10:10  B4", "SK 617  RIVERTON     10:45  A1",
                              "SK 720  OLD TOWN     11:20  C5", "SK 833  ISLAND PARK  12:00  B2"};
  int ty = top + 52;
  bool odd = false;
  for (const char* row : rows) {
    if (odd) FillRect(p, x + 10, ty - 6, w - 20, 30, Rgb{0.14, 0.17, 0.28});
    DrawText(p, x + 18, ty, row, 2, Rgb{0.92, 0.94, 1.0});
    ty += 32;
    odd = !odd;
  }
}

void DrawTaskbar(Picture& p) {
  const int top = kHeight - kTaskbarHeight;
  for (int k = 0; k < kTaskbarHeight; ++k)
    FillRect(p, 0, top + k, kWidth, 1, Mix(Rgb{0.30, 0.40, 0.62}, Rgb{0.14, 0.20, 0.36}, k / 47.0));
  FillRect(p, 0, top, kWidth, 2, Rgb{0.55, 0.65, 0.85});
  FillRect(p, 6, top + 6, 120, 36, Rgb{0.20, 0.60, 0.25});
  FrameRect(p, 6, top + 6, 120, 36, Rgb{0.50, 0.85, 0.50});
  FillDisc(p, 28, top + 24, 9, Rgb{1.0, 0.85, 0.3});
  DrawText(p, 44, top + 17, "Start", 2, kWhite);
  const char* const tasks[] = {"Notes.txt - Editor", "Departures"};
  int x = 140;
  for (const char* task : tasks) {
    FillRect(p, x, top + 6, 250, 36, Rgb{0.38, 0.48, 0.70});
    FrameRect(p, x, top + 6, 250, 36, Rgb{0.60, 0.70, 0.90});
    DrawText(p, x + 12, top + 17, task, 2, kWhite);
    x += 258;
  }
  FillRect(p, kWidth - 150, top + 6, 144, 36, Rgb{0.12, 0.17, 0.30});
  FillDisc(p, kWidth - 130, top + 24, 7, Rgb{0.4, 0.8, 0.4});
  FillDisc(p, kWidth - 108, top + 24, 7, Rgb{0.9, 0.9, 0.95});
  DrawText(p, kWidth - 86, top + 17, "12:34", 2, kWhite);
}

// Swaps each row's pixels end for end, as the saver's capture does.
void MirrorLeftToRight(Picture& p) {
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width / 2; ++x)
      for (int k = 0; k < 3; ++k) std::swap(p.At(x, y)[k], p.At(p.width - 1 - x, y)[k]);
}

}  // namespace

Picture MakeDesktopPicture() {
  Picture picture(kWidth, kHeight);
  DrawWallpaper(picture);
  DrawIcons(picture);
  DrawEditorWindow(picture);
  DrawDeparturesWindow(picture);
  DrawTaskbar(picture);
  MirrorLeftToRight(picture);
  return picture;
}
