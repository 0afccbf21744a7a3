#include "ui_texts.h"

#include <cstring>

#include "dialog_rules.h"
#include "form_designs.h"
#include "startup.h"

namespace {

using namespace element_names;

constexpr uint16_t kLangJapanese = 0x11;
constexpr uint16_t kPrimaryLanguageMask = 0x3FF;

constexpr CaptionText kEnglishCaptions[] = {
    {kKindCaptions, 0, "None"},
    {kKindCaptions, 1, "Music CD"},
    {kKindCaptions, 2, "MP3, WAV"},
    {kLabels, kRepeatCaptionIndex, "Repeat track"},
    {kLabels, kDisplayHeadingIndex, "Display"},
    {kDisplayCaptions, 0, "Switch to 1024 x 768"},
    {kDisplayCaptions, 1, "Every monitor, as it is"},
    {kSetButton, kNoIndex, "Save"},
    {kCancelButton, kNoIndex, "Cancel"},
};

}  // namespace

// The designs carry the Japanese captions.
const UiTexts kJapaneseTexts = {
    nullptr, 0, kFileChooserTitle,
    "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99 (MP3 WAV)",  // "BGMﾌｧｲﾙ (MP3 WAV)"
    kMissingRendererText, kMissingModelText,
};

const UiTexts kEnglishTexts = {
    kEnglishCaptions, sizeof kEnglishCaptions / sizeof kEnglishCaptions[0], "Open File", "Music files (MP3 WAV)",
    "Skyliner.dll was not found in the same folder!", "Skyliner.data was not found in the same folder!",
};

const UiTexts& UiTextsFor(uint16_t language_id) {
  return (language_id & kPrimaryLanguageMask) == kLangJapanese ? kJapaneseTexts : kEnglishTexts;
}

const char* CaptionOf(const UiTexts& texts, const ElementDesign& element) {
  for (size_t i = 0; i < texts.caption_count; ++i) {
    const CaptionText& caption = texts.captions[i];
    if (caption.index == element.index && std::strcmp(caption.element, element.name) == 0) return caption.text;
  }
  return element.caption;
}
