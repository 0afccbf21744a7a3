// The shell's visible texts, one table per language: the dialog's captions
// that differ from its design, the file chooser's title and filter, and the
// two missing-file messages. The designs are the Japanese face; other UI
// languages get English. Window captions and the settings keys are not texts
// for people and never change.
#pragma once

#include <cstddef>
#include <cstdint>

struct CaptionText {
  const char* element;
  int index;         // kNoIndex outside a control array
  const char* text;  // UTF-8
};

struct UiTexts {
  const CaptionText* captions;  // shown instead of the design's captions
  size_t caption_count;
  const char* chooser_title;
  const char* chooser_filter_name;  // the filter's description; its pattern is fixed
  const char* missing_renderer;
  const char* missing_model;
};

extern const UiTexts kJapaneseTexts;
extern const UiTexts kEnglishTexts;

// The texts for a Windows language identifier (its low 10 bits are the
// primary language): Japanese for Japanese, English for every other.
const UiTexts& UiTextsFor(uint16_t language_id);

// The caption an element shows: the table's, else the design's (nullptr for none).
struct ElementDesign;
const char* CaptionOf(const UiTexts& texts, const ElementDesign& element);
