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
