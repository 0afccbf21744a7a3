#include "ui_texts.h"

#include <gtest/gtest.h>

#include "form_designs.h"

// The Japanese face is the design; every caption outside ASCII has its English,
// and an auto-sized caption may grow up to the next element on its row.
TEST(UiTexts, EnglishCoversEveryJapaneseCaptionWithinTheRoomOfTheDesign) {
  EXPECT_EQ(&UiTextsFor(0x0411), &kJapaneseTexts);
  EXPECT_EQ(&UiTextsFor(0x0409), &kEnglishTexts);
  for (size_t i = 0; i < kDialogFormDesign.element_count; ++i) {
    const ElementDesign& element = kDialogFormDesign.elements[i];
    EXPECT_EQ(CaptionOf(kJapaneseTexts, element), element.caption) << element.name;
    for (const char* c = CaptionOf(kEnglishTexts, element); c && *c; ++c) EXPECT_LT(*c & 0xFF, 0x80) << element.name;
  }
  const int rooms[] = {1215 - 120, 1665, 1680 - 660, 3960 - 2340, 7035 - 4200};  // frame; own; next on the row; edge
  const ElementDesign* elements[] = {
      FindElementDesign(kDialogFormDesign, "Cmd_Set"), FindElementDesign(kDialogFormDesign, "lbl", 15),
      FindElementDesign(kDialogFormDesign, "lbl_BGM", 1), FindElementDesign(kDialogFormDesign, "lbl", 14),
      FindElementDesign(kDialogFormDesign, "lbl_Display", 1)};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TextRoomTwips(kDialogFormDesign, *elements[i]), rooms[i]) << i;
}
