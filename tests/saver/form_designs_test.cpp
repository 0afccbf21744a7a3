#include "form_designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>

namespace {

struct PixelBox {
  int left, top, right, bottom;
};

PixelBox PixelsOf(const ElementDesign& e) {
  const int left = TwipsToPixels(e.left, 96), top = TwipsToPixels(e.top, 96);
  return {left, top, left + TwipsToPixels(e.width, 96), top + TwipsToPixels(e.height, 96)};
}

}  // namespace

TEST(TwipsToPixels, FifteenTwipsAPixelAt96DpiRoundedToTheNearest) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {
      {2280, 96, 152}, {15, 96, 1},      {7, 96, 0},       {8, 96, 1},   {0, 96, 0},
      {-30, 96, -2},   {1440, 120, 120}, {2280, 120, 190}, {2280, 144, 228},
  };
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

// The single-copy check at start-up looks for these two captions.
TEST(FormDesigns, CaptionsTheStartUpCheckLooksFor) {
  EXPECT_STREQ(kSaverFormDesign.caption, "Jetscape_Main");
  EXPECT_STREQ(kDialogFormDesign.caption, "<Skyliner>");
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

// The run reads its pictures from hidden stores that take each picture's size.
TEST(SaverFormDesign, PictureStoresAreHiddenAndSizedToTheirPictures) {
  for (const char* name : {"Pic_2", "Pic_3"}) {
    const ElementDesign* store = FindElementDesign(kSaverFormDesign, name);
    ASSERT_NE(store, nullptr) << name;
    EXPECT_FALSE(store->visible) << name;
    EXPECT_TRUE(store->sized_to_picture) << name;
    EXPECT_NE(store->picture, DesignPicture::kNone) << name;
  }
}

TEST(PreviewFormDesign, ImageFillsThePreviewAreaOf152x112) {
  const ElementDesign* image = FindElementDesign(kPreviewFormDesign, "Img_Prev");
  ASSERT_NE(image, nullptr);
  const PixelBox box = PixelsOf(*image);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 152);
  EXPECT_EQ(box.bottom, 112);
}

TEST(FindElementDesign, RefusesUnknownNamesAndWrongIndexes) {
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, "Pic_4"), nullptr);
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, "pic_1"), nullptr);
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, "Pic_1", 0), nullptr);
  EXPECT_EQ(FindElementDesign(kSaverFormDesign, nullptr), nullptr);
  EXPECT_EQ(FindElementDesign(kPreviewFormDesign, "Timer3"), nullptr);
  EXPECT_NE(FindElementDesign(kDialogFormDesign, "Img_Ra", 1), nullptr);
}

// The dialog keeps its stores (the panel's strip, the marks, a spare picture)
// beyond its 492 x 246 client area; everything else shows inside it, and
// whatever lies in a panel lies inside that panel.
TEST(DialogFormDesign, StoresLieOutsideTheClientAreaAndTheRestInside) {
  EXPECT_EQ(TwipsToPixels(kDialogFormDesign.client_width, 96), 492);
  EXPECT_EQ(TwipsToPixels(kDialogFormDesign.client_height, 96), 246);
  const std::string stores[] = {"Pic_Mbl", "Pic_Dummy", "Img_Ra"};
  for (size_t i = 0; i < kDialogFormDesign.element_count; ++i) {
    const ElementDesign& e = kDialogFormDesign.elements[i];
    const PixelBox box = PixelsOf(e);
    const auto where = ::testing::Message() << e.name << "(" << e.index << ")";
    if (e.container) {
      const ElementDesign* panel = FindElementDesign(kDialogFormDesign, e.container);
      ASSERT_NE(panel, nullptr) << where;
      const PixelBox outer = PixelsOf(*panel);
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= outer.right - outer.left &&
                  box.bottom <= outer.bottom - outer.top) << where;
    } else if (std::find(std::begin(stores), std::end(stores), e.name) != std::end(stores)) {
      EXPECT_TRUE(box.left >= 492 || box.top >= 246) << where;
    } else {
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 492 && box.bottom <= 246) << where;
    }
  }
}

// In the panel an element overlaps another only as a heading's frame around it.
TEST(DialogFormDesign, PanelElementsOverlapOnlyTheFramesAroundTheirHeadings) {
  const ElementDesign* elements = kDialogFormDesign.elements;
  for (size_t i = 0; i < kDialogFormDesign.element_count; ++i) {
    for (size_t j = 0; j < kDialogFormDesign.element_count; ++j) {
      const ElementDesign &a = elements[i], &b = elements[j];
      if (i == j || !a.container || !b.container || a.kind == ElementKind::kShape) continue;
      const PixelBox p = PixelsOf(a), q = PixelsOf(b);
      const bool inside = b.kind == ElementKind::kShape && p.left >= q.left && p.top >= q.top &&
                          p.right <= q.right && p.bottom <= q.bottom;
      EXPECT_TRUE(inside || p.right <= q.left || q.right <= p.left || p.bottom <= q.top || q.bottom <= p.top)
          << a.name << "(" << a.index << ") and " << b.name << "(" << b.index << ")";
    }
  }
}

// The keyboard walks the music's controls, then the display rows, then Set and Cancel.
TEST(DialogFormDesign, WhatTakesTheFocusInTabOrder) {
  std::map<int, std::string> order;
  for (size_t i = 0; i < kDialogFormDesign.element_count; ++i) {
    const ElementDesign& e = kDialogFormDesign.elements[i];
    if (e.kind == ElementKind::kButton || e.kind == ElementKind::kComboBox || e.kind == ElementKind::kOptionGroup) {
      EXPECT_TRUE(order.emplace(e.tab_index, e.name).second) << e.name;  // one element to each index
    }
  }
  std::string names;
  for (const auto& entry : order) names += entry.second + " ";
  EXPECT_EQ(names, "BGM_Repeat Cmd_File Opt_Display Cmd_Set Cmd_Can ");
}

// The texts the dialog shows, byte for byte, and the fonts they show in.
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
