#include "form_designs.h"

#include <cstring>

#include "shell_paths.h"

namespace {

using namespace element_names;

constexpr DesignFont kFormFont = {nullptr, 0, 0, 0, false};

constexpr ElementDesign PictureBox(const char* name, int left, int top, int width, int height, DesignPicture picture,
                         bool sized_to_picture, int tab_index) {
  return {ElementKind::kPictureBox, name, kNoIndex, nullptr, left, top, width, height,
          false, kBlack, picture, sized_to_picture, 0, false, tab_index, nullptr, kFormFont, kBlack, false, false, false, false, DesignCursor::kDefault};
}

constexpr ElementDesign Timer(const char* name, unsigned interval_ms, bool enabled) {
  return {ElementKind::kTimer, name, kNoIndex, nullptr, 0, 0, 0, 0,
          false, kBlack, DesignPicture::kNone, false, interval_ms, enabled, kNoTabIndex, nullptr, kFormFont, kBlack, false, false, false, false, DesignCursor::kDefault};
}

constexpr ElementDesign Image(const char* name, int left, int top, int width, int height, DesignPicture picture) {
  return {ElementKind::kImage, name, kNoIndex, nullptr, left, top, width, height,
          true, kBlack, picture, false, 0, false, kNoTabIndex, nullptr, kFormFont, kBlack, false, false, false, false, DesignCursor::kDefault};
}

// The hidden saver form: three picture stores and the three timers of the run.
constexpr ElementDesign kSaverElements[] = {
    PictureBox(kSkyPicture, 240, 2280, 7680, 7680, DesignPicture::kSky, true, 2),
    PictureBox(kPuffPicture, 240, 1740, 480, 480, DesignPicture::kPuff, true, 1),
    PictureBox(kDesktopPicture, 240, 1080, 675, 615, DesignPicture::kNone, false, 0),
    Timer(kMp3Timer, 1000, false),  // MP3 loop check
    Timer(kCdTimer, 200, false),   // audio-CD watch
    Timer(kRendererTimer, 500, true),    // renderer watch
};

// The preview: one image that keeps its picture's size.
constexpr ElementDesign kPreviewElements[] = {
    Image(kPreviewImage, 0, 0, 2280, 1680, DesignPicture::kPreview),
};

// --- The settings dialog ---------------------------------------------------

constexpr DesignFont kGothic = {"\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF",
                                975, 400, 128, false};  // "ＭＳ Ｐゴシック" 9.75, Shift-JIS
constexpr DesignFont kGothicUnderlined = {kGothic.face, 975, 400, 128, true};
constexpr DesignFont kTahoma = {"Tahoma", 825, 400, 0, false};
constexpr DesignColour kPanelGrey = {false, 224, 224, 224};
constexpr DesignColour kDialogGrey = {false, 192, 192, 192};

constexpr ElementDesign Button(const char* name, const char* container, int left, int top, int width, int height,
                               const char* caption, int tab_index) {
  return {ElementKind::kButton, name, kNoIndex, container, left, top, width, height,
          true, kBlack, DesignPicture::kNone, false, 0, false, tab_index, caption, kGothic,
          kBlack, false, false, false, false, DesignCursor::kDefault};
}

constexpr ElementDesign Panel(const char* name, int left, int top, int width, int height, bool visible,
                              DesignColour background, DesignPicture picture, bool sized_to_picture,
                              DesignFont font, int tab_index) {
  return {ElementKind::kPictureBox, name, kNoIndex, nullptr, left, top, width, height,
          visible, background, picture, sized_to_picture, 0, false, tab_index, nullptr, font,
          kBlack, false, false, false, false, DesignCursor::kDefault};
}

// Black text on a transparent background, as most of the panel's captions.
constexpr ElementDesign Label(const char* name, int index, const char* container, int left, int top, int width,
                              int height, const char* caption, bool auto_size, DesignCursor cursor, int tab_index) {
  return {ElementKind::kLabel, name, index, container, left, top, width, height,
          true, kBlack, DesignPicture::kNone, false, 0, false, tab_index, caption, kGothic,
          kBlack, false, true, false, auto_size, cursor};
}

constexpr ElementDesign Mark(const char* name, int index, const char* container, int left, int top, int size,
                             DesignPicture picture, DesignCursor cursor) {
  return {ElementKind::kImage, name, index, container, left, top, size, size,
          true, kBlack, picture, false, 0, false, kNoTabIndex, nullptr, kFormFont,
          kBlack, false, false, false, false, cursor};
}

constexpr ElementDesign kDialogElements[] = {
    Button(kCancelButton, nullptr, 6000, 3000, 1215, 375, "\xEF\xBD\xB7\xEF\xBD\xAC\xEF\xBE\x9D\xEF\xBD\xBE\xEF\xBE\x99", 15),  // "ｷｬﾝｾﾙ"
    Button(kSetButton, nullptr, 4740, 3000, 1215, 375, "\xE8\xA8\xAD\xE5\xAE\x9A", 14),  // "設定"
    Panel(kMetalStrip, 120, 4680, 8340, 300, false, kWindowColour, DesignPicture::kMetalStrip, true, kFormFont, 11),
    Panel("Pic_Dummy", 7980, 900, 855, 795, false, kWindowColour, DesignPicture::kNone, false, kFormFont, 9),
    Panel(kPanel, 180, 240, 7035, 2475, true, kPanelGrey, DesignPicture::kNone, false, kTahoma, 1),
    {ElementKind::kLabel, kAddress, kNoIndex, nullptr, 180, 3120, 3285, 195,
     true, kBlack, DesignPicture::kNone, false, 0, false, 10, "", kGothicUnderlined,
     kWhite, false, true, false, true, DesignCursor::kHand},
    Mark(kMarkPictures, 0, nullptr, 8040, 300, 180, DesignPicture::kMarkEmpty, DesignCursor::kDefault),
    Mark(kMarkPictures, 1, nullptr, 8040, 600, 180, DesignPicture::kMarkChosen, DesignCursor::kDefault),
    // Inside the panel.
    Button(kFileButton, kPanel, 420, 1680, 615, 375, "...", 12),
    {ElementKind::kComboBox, kRepeatBox, kNoIndex, kPanel, 1680, 780, 615, 300,
     true, kWhite, DesignPicture::kNone, false, 0, false, 2, "", {nullptr, 0, 0, 0, false},
     kBlack, false, false, false, false, DesignCursor::kCustomNone},
    {ElementKind::kShape, "Shape3", 3, kPanel, 300, 300, 1695, 315,
     true, kBlack, DesignPicture::kNone, false, 0, false, kNoTabIndex, nullptr, kFormFont,
     kBlack, false, true, true, false, DesignCursor::kDefault},
    {ElementKind::kLabel, kLabels, 15, kPanel, 300, 360, 1665, 195,
     true, kBlack, DesignPicture::kNone, false, 0, false, 8, "BGM", kGothic,
     kBlack, true, true, false, false, DesignCursor::kDefault},
    Mark(kKindMarks, 1, kPanel, 420, 840, 195, DesignPicture::kNone, DesignCursor::kCustomNone),
    Label(kKindCaptions, 1, kPanel, 660, 840, 645, 195, "\xE9\x9F\xB3\xE6\xA5\xBD" "CD", true,  // "音楽CD"
          DesignCursor::kCustomNone, 6),
    Label(kLabels, kRepeatCaptionIndex, kPanel, 2340, 840, 990, 195,
          "\xE6\x9B\xB2\xE7\x9B\xAE\xE3\x82\x92\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84",  // "曲目をﾘﾋﾟｰﾄ"
          true, DesignCursor::kDefault, 7),
    Mark(kKindMarks, 0, kPanel, 420, 1140, 195, DesignPicture::kNone, DesignCursor::kCustomNone),
    Label(kKindCaptions, 0, kPanel, 660, 1140, 330, 195, "\xE3\x81\xAA\xE3\x81\x97", true,  // "なし"
          DesignCursor::kCustomNone, 4),
    Mark(kKindMarks, 2, kPanel, 420, 1440, 195, DesignPicture::kNone, DesignCursor::kCustomNone),
    Label(kKindCaptions, 2, kPanel, 660, 1440, 900, 195, "MP3\xE3\x80\x81WAV", true,  // "MP3、WAV"
          DesignCursor::kCustomNone, 5),
    {ElementKind::kLabel, kFileName, kNoIndex, kPanel, 1080, 1740, 5715, 495,
     true, kBlack, DesignPicture::kNone, false, 0, false, 3, "", kGothic,
     kBlack, false, true, true, false, DesignCursor::kDefault},
    // The display way, in the panel's right half, drawn as the music kinds are.
    {ElementKind::kShape, "Shape3", 4, kPanel, 3840, 300, 1695, 315,
     true, kBlack, DesignPicture::kNone, false, 0, false, kNoTabIndex, nullptr, kFormFont,
     kBlack, false, true, true, false, DesignCursor::kDefault},
    {ElementKind::kLabel, kLabels, kDisplayHeadingIndex, kPanel, 3840, 360, 1665, 195,
     true, kBlack, DesignPicture::kNone, false, 0, false, kNoTabIndex, "\xE7\x94\xBB\xE9\x9D\xA2", kGothic,  // "画面"
     kBlack, true, true, false, false, DesignCursor::kDefault},
    Mark(kDisplayMarks, 0, kPanel, 3960, 840, 195, DesignPicture::kNone, DesignCursor::kCustomNone),
    Label(kDisplayCaptions, 0, kPanel, 4200, 840, 1575, 195,
          "1024\xC3\x97" "768\xE3\x81\xAB\xE5\x88\x87\xE6\x9B\xBF", true,  // "1024×768に切替"
          DesignCursor::kCustomNone, kNoTabIndex),
    Mark(kDisplayMarks, 1, kPanel, 3960, 1140, 195, DesignPicture::kNone, DesignCursor::kCustomNone),
    Label(kDisplayCaptions, 1, kPanel, 4200, 1140, 1695, 195,
          "\xE5\x85\xA8\xE3\x83\xA2\xE3\x83\x8B\xE3\x82\xBF\xE3\x83\xBC\xE3\x80\x81"
          "\xE3\x81\x9D\xE3\x81\xAE\xE3\x81\xBE\xE3\x81\xBE", true,  // "全モニター、そのまま"
          DesignCursor::kCustomNone, kNoTabIndex),
    {ElementKind::kOptionGroup, kDisplayKeys, kNoIndex, kPanel, 4200, 840, 0, 0,
     true, kBlack, DesignPicture::kNone, false, 0, false, 13, nullptr, kFormFont,
     kBlack, false, false, false, false, DesignCursor::kDefault},
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

int TextRoomTwips(const FormDesign& form, const ElementDesign& element) {
  if (element.kind == ElementKind::kButton) return element.width - 2 * kButtonFrameTwips;
  if (!element.auto_size) return element.width;
  const ElementDesign* container = element.container ? FindElementDesign(form, element.container) : nullptr;
  int right = container ? container->width : form.client_width;
  for (size_t i = 0; i < form.element_count; ++i) {
    const ElementDesign& other = form.elements[i];
    const bool same_container = (other.container == nullptr) == (element.container == nullptr) &&
                                (!other.container || std::strcmp(other.container, element.container) == 0);
    const bool on_row = other.top < element.top + element.height && element.top < other.top + other.height;
    if (&other != &element && other.visible && same_container && on_row && other.left > element.left &&
        other.left < right) {
      right = other.left;
    }
  }
  return right - element.left;
}

const FormDesign kSaverFormDesign = {
    "Jetscape_S", kSaverCaption, FormBorder::kNone, kWindowColour, DesignPicture::kNone, 5475, 4260,
    ScaleUnit::kPixels, FormStartPosition::kDefault, kSaverElements, sizeof kSaverElements / sizeof kSaverElements[0],
    false,
};

const FormDesign kPreviewFormDesign = {
    "Jetscape_R", "Preview Window", FormBorder::kNone, kBlack, DesignPicture::kPreviewBackground, 2595, 1935,
    ScaleUnit::kPixels, FormStartPosition::kManual, kPreviewElements,
    sizeof kPreviewElements / sizeof kPreviewElements[0], false,
};

const FormDesign kDialogFormDesign = {
    "Jetscape_P", kDialogCaption, FormBorder::kFixedSingle, kDialogGrey, DesignPicture::kNone, 7380, 3690,
    ScaleUnit::kPixels, FormStartPosition::kDefault, kDialogElements, sizeof kDialogElements / sizeof kDialogElements[0],
    true,
};
