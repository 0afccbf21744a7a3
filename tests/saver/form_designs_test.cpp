#include "form_designs.h"

#include <gtest/gtest.h>

#include <string>

TEST(TwipsToPixels, FifteenTwipsAPixelAt96Dpi) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {
      {2280, 96, 152}, {1680, 96, 112}, {480, 96, 32}, {7680, 96, 512}, {15, 96, 1},
      {7, 96, 0},      {8, 96, 1},      {0, 96, 0},    {-30, 96, -2},   {1440, 120, 120},
      {2280, 120, 190}, {2280, 144, 228}, {5475, 96, 365}, {4260, 96, 284},
  };
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

TEST(SaverFormDesign, IsTheHiddenBorderlessFormOfTheRun) {
  EXPECT_STREQ(kSaverFormDesign.name, "Jetscape_S");
  EXPECT_STREQ(kSaverFormDesign.caption, "Jetscape_Main");
  EXPECT_EQ(kSaverFormDesign.border, FormBorder::kNone);
  EXPECT_TRUE(kSaverFormDesign.background.window_colour);
  EXPECT_EQ(kSaverFormDesign.scale_unit, ScaleUnit::kPixels);
}

TEST(SaverFormDesign, TimersAndTheirStatesAtLoad) {
  const struct {
    const char* name;
    unsigned interval_ms;
    bool enabled;
  } cases[] = {{"Timer1", 1000, false}, {"Timer2", 200, false}, {"Timer3", 500, true}};
  for (const auto& c : cases) {
    const ElementDesign* timer = FindElementDesign(kSaverFormDesign, c.name);
    ASSERT_NE(timer, nullptr) << c.name;
    EXPECT_EQ(timer->kind, ElementKind::kTimer);
    EXPECT_EQ(timer->timer_interval_ms, c.interval_ms) << c.name;
    EXPECT_EQ(timer->timer_enabled, c.enabled) << c.name;
  }
}

TEST(SaverFormDesign, PictureStoresHaveTheirPicturesSizes) {
  const struct {
    const char* name;
    DesignPicture picture;
    int width_px, height_px;
    bool sized_to_picture;
  } cases[] = {
      {"Pic_2", DesignPicture::kPuff, 32, 32, true},
      {"Pic_3", DesignPicture::kSky, 512, 512, true},
      {"Pic_1", DesignPicture::kNone, 45, 41, false},
  };
  for (const auto& c : cases) {
    const ElementDesign* picture = FindElementDesign(kSaverFormDesign, c.name);
    ASSERT_NE(picture, nullptr) << c.name;
    EXPECT_EQ(picture->kind, ElementKind::kPictureBox);
    EXPECT_FALSE(picture->visible) << c.name;
    EXPECT_EQ(picture->picture, c.picture) << c.name;
    EXPECT_EQ(picture->sized_to_picture, c.sized_to_picture) << c.name;
    EXPECT_EQ(TwipsToPixels(picture->width, 96), c.width_px) << c.name;
    EXPECT_EQ(TwipsToPixels(picture->height, 96), c.height_px) << c.name;
    EXPECT_FALSE(picture->background.window_colour);
    EXPECT_EQ(picture->background.red + picture->background.green + picture->background.blue, 0);
  }
}

TEST(PreviewFormDesign, ImageIsThePreviewAreasSize) {
  EXPECT_STREQ(kPreviewFormDesign.caption, "Preview Window");
  EXPECT_EQ(kPreviewFormDesign.border, FormBorder::kNone);
  EXPECT_EQ(kPreviewFormDesign.start_position, FormStartPosition::kManual);
  EXPECT_EQ(kPreviewFormDesign.picture, DesignPicture::kPreviewBackground);
  EXPECT_FALSE(kPreviewFormDesign.background.window_colour);
  const ElementDesign* image = FindElementDesign(kPreviewFormDesign, "Img_Prev");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->kind, ElementKind::kImage);
  EXPECT_EQ(image->picture, DesignPicture::kPreview);
  EXPECT_EQ(image->left, 0);
  EXPECT_EQ(image->top, 0);
  EXPECT_EQ(TwipsToPixels(image->width, 96), 152);
  EXPECT_EQ(TwipsToPixels(image->height, 96), 112);
  EXPECT_TRUE(image->visible);
}

TEST(FindElementDesign, RefusesUnknownNamesAndWrongIndexes) {
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, "Pic_4"), nullptr);
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, "pic_1"), nullptr);
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, "Pic_1", 0), nullptr);
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, nullptr), nullptr);
  EXPECT_EQ(FindElementDesign(kPreviewFormDesign, "Timer3"), nullptr);
}

TEST(DialogFormDesign, IsTheFixedDialogCaptionedForTheSingleCopyCheck) {
  EXPECT_STREQ(kDialogFormDesign.name, "Jetscape_P");
  EXPECT_STREQ(kDialogFormDesign.caption, "<Skyliner>");
  EXPECT_EQ(kDialogFormDesign.border, FormBorder::kFixedSingle);
  EXPECT_TRUE(kDialogFormDesign.icon);
  EXPECT_EQ(TwipsToPixels(kDialogFormDesign.client_width, 96), 492);
  EXPECT_EQ(TwipsToPixels(kDialogFormDesign.client_height, 96), 246);
  const DesignColour grey = kDialogFormDesign.background;
  EXPECT_EQ(grey.red + grey.green * 256 + grey.blue * 65536, 192 * 65793);
}

// Each element's kind, container and place in pixels at 96 dpi.
TEST(DialogFormDesign, ElementsLieWhereTheDesignPutsThem) {
  const struct {
    const char* name;
    int index;
    ElementKind kind;
    const char* container;
    int x, y, w, h;
    bool visible;
  } cases[] = {
      {"Cmd_Can", kNoIndex, ElementKind::kButton, nullptr, 400, 200, 81, 25, true},
      {"Cmd_Set", kNoIndex, ElementKind::kButton, nullptr, 316, 200, 81, 25, true},
      {"Pic_Mbl", kNoIndex, ElementKind::kPictureBox, nullptr, 8, 312, 556, 20, false},
      {"Pic_Dummy", kNoIndex, ElementKind::kPictureBox, nullptr, 532, 60, 57, 53, false},
      {"Pic_C", kNoIndex, ElementKind::kPictureBox, nullptr, 12, 16, 469, 165, true},
      {"lbl_URL", kNoIndex, ElementKind::kLabel, nullptr, 12, 208, 219, 13, true},
      {"Img_Ra", 0, ElementKind::kImage, nullptr, 536, 20, 12, 12, true},
      {"Img_Ra", 1, ElementKind::kImage, nullptr, 536, 40, 12, 12, true},
      {"Cmd_File", kNoIndex, ElementKind::kButton, "Pic_C", 28, 112, 41, 25, true},
      {"BGM_Repeat", kNoIndex, ElementKind::kComboBox, "Pic_C", 112, 52, 41, 20, true},
      {"Shape3", 3, ElementKind::kShape, "Pic_C", 20, 20, 113, 21, true},
      {"lbl", 15, ElementKind::kLabel, "Pic_C", 20, 24, 111, 13, true},
      {"Img_BGM", 1, ElementKind::kImage, "Pic_C", 28, 56, 13, 13, true},
      {"lbl_BGM", 1, ElementKind::kLabel, "Pic_C", 44, 56, 43, 13, true},
      {"lbl", 14, ElementKind::kLabel, "Pic_C", 156, 56, 66, 13, true},
      {"Img_BGM", 0, ElementKind::kImage, "Pic_C", 28, 76, 13, 13, true},
      {"lbl_BGM", 0, ElementKind::kLabel, "Pic_C", 44, 76, 22, 13, true},
      {"Img_BGM", 2, ElementKind::kImage, "Pic_C", 28, 96, 13, 13, true},
      {"lbl_BGM", 2, ElementKind::kLabel, "Pic_C", 44, 96, 60, 13, true},
      {"lbl_Fname", kNoIndex, ElementKind::kLabel, "Pic_C", 72, 116, 381, 33, true},
  };
  EXPECT_EQ(kDialogFormDesign.element_count, sizeof cases / sizeof cases[0]);
  for (const auto& c : cases) {
    const ElementDesign* e = FindElementDesign(kDialogFormDesign, c.name, c.index);
    ASSERT_NE(e, nullptr) << c.name << "(" << c.index << ")";
    EXPECT_EQ(e->kind, c.kind) << c.name;
    EXPECT_EQ(std::string(e->container ? e->container : ""), std::string(c.container ? c.container : "")) << c.name;
    EXPECT_EQ(TwipsToPixels(e->left, 96), c.x) << c.name << "(" << c.index << ")";
    EXPECT_EQ(TwipsToPixels(e->top, 96), c.y) << c.name << "(" << c.index << ")";
    EXPECT_EQ(TwipsToPixels(e->width, 96), c.w) << c.name << "(" << c.index << ")";
    EXPECT_EQ(TwipsToPixels(e->height, 96), c.h) << c.name << "(" << c.index << ")";
    EXPECT_EQ(e->visible, c.visible) << c.name;
  }
}

TEST(DialogFormDesign, CaptionsAndFontsAreTheDesigns) {
  const std::string gothic = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";
  const struct {
    const char* name;
    int index;
    const char* caption;
    bool underline;
  } cases[] = {
      {"Cmd_Can", kNoIndex, "\xEF\xBD\xB7\xEF\xBD\xAC\xEF\xBE\x9D\xEF\xBD\xBE\xEF\xBE\x99", false},
      {"Cmd_Set", kNoIndex, "\xE8\xA8\xAD\xE5\xAE\x9A", false},
      {"Cmd_File", kNoIndex, "...", false},
      {"lbl", 15, "BGM", false},
      {"lbl_BGM", 1, "\xE9\x9F\xB3\xE6\xA5\xBD" "CD", false},
      {"lbl", 14, "\xE6\x9B\xB2\xE7\x9B\xAE\xE3\x82\x92\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84", false},
      {"lbl_BGM", 0, "\xE3\x81\xAA\xE3\x81\x97", false},
      {"lbl_BGM", 2, "MP3\xE3\x80\x81WAV", false},
      {"lbl_Fname", kNoIndex, "", false},
      {"lbl_URL", kNoIndex, "", true},
  };
  for (const auto& c : cases) {
    const ElementDesign* e = FindElementDesign(kDialogFormDesign, c.name, c.index);
    ASSERT_NE(e, nullptr) << c.name;
    EXPECT_STREQ(e->caption, c.caption) << c.name;
    ASSERT_NE(e->font.face, nullptr) << c.name;
    EXPECT_EQ(e->font.face, gothic) << c.name;
    EXPECT_EQ(e->font.size_centipoints, 975) << c.name;
    EXPECT_EQ(e->font.charset, 128) << c.name;
    EXPECT_EQ(e->font.underline, c.underline) << c.name;
  }
  const ElementDesign* panel = FindElementDesign(kDialogFormDesign, "Pic_C");
  ASSERT_NE(panel, nullptr);
  EXPECT_STREQ(panel->font.face, "Tahoma");
  EXPECT_EQ(panel->font.size_centipoints, 825);
  EXPECT_EQ(panel->font.charset, 0);
  const ElementDesign* address = FindElementDesign(kDialogFormDesign, "lbl_URL");
  EXPECT_EQ(address->cursor, DesignCursor::kHand);
  EXPECT_EQ(address->foreground.red + address->foreground.green + address->foreground.blue, 765);
}
