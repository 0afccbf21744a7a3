#include "form_designs.h"

#include <cstring>

namespace {

constexpr DesignFont kFormFont = {nullptr, 0, 0, 0, false};

constexpr ElementDesign PictureBox(const char* name, int left, int top, int width, int height, DesignPicture picture,
                         bool sized_to_picture, int tab_index) {
  return {ElementKind::kPictureBox, name, kNoIndex, nullptr, left, top, width, height,
          false, kBlack, picture, sized_to_picture, 0, false, tab_index, nullptr, kFormFont};
}

constexpr ElementDesign Timer(const char* name, unsigned interval_ms, bool enabled) {
  return {ElementKind::kTimer, name, kNoIndex, nullptr, 0, 0, 0, 0,
          false, kBlack, DesignPicture::kNone, false, interval_ms, enabled, kNoTabIndex, nullptr, kFormFont};
}

constexpr ElementDesign Image(const char* name, int left, int top, int width, int height, DesignPicture picture) {
  return {ElementKind::kImage, name, kNoIndex, nullptr, left, top, width, height,
          true, kBlack, picture, false, 0, false, kNoTabIndex, nullptr, kFormFont};
}

// The hidden saver form: three picture stores and the three timers of the run.
constexpr ElementDesign kSaverElements[] = {
    PictureBox("Pic_3", 240, 2280, 7680, 7680, DesignPicture::kSky, true, 2),
    PictureBox("Pic_2", 240, 1740, 480, 480, DesignPicture::kPuff, true, 1),
    PictureBox("Pic_1", 240, 1080, 675, 615, DesignPicture::kNone, false, 0),
    Timer("Timer1", 1000, false),  // MP3 loop check
    Timer("Timer2", 200, false),   // audio-CD watch
    Timer("Timer3", 500, true),    // renderer watch
};

// The preview: one image that keeps its picture's size.
constexpr ElementDesign kPreviewElements[] = {
    Image("Img_Prev", 0, 0, 2280, 1680, DesignPicture::kPreview),
};

}  // namespace

int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = 720;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440));
}

const ElementDesign* FindElementDesign(const FormDesign& form, const char* name, int index) {
  if (!name) return nullptr;
  for (size_t i = 0; i < form.element_count; ++i) {
    const ElementDesign& element = form.elements[i];
    if (element.index == index && std::strcmp(element.name, name) == 0) return &element;
  }
  return nullptr;
}

const FormDesign kSaverFormDesign = {
    "Jetscape_S", "Jetscape_Main", FormBorder::kNone, kWindowColour, DesignPicture::kNone, 5475, 4260,
    ScaleUnit::kPixels, FormStartPosition::kDefault, kSaverElements, sizeof kSaverElements / sizeof kSaverElements[0],
};

const FormDesign kPreviewFormDesign = {
    "Jetscape_R", "Preview Window", FormBorder::kNone, kBlack, DesignPicture::kPreviewBackground, 2595, 1935,
    ScaleUnit::kPixels, FormStartPosition::kManual, kPreviewElements,
    sizeof kPreviewElements / sizeof kPreviewElements[0],
};
