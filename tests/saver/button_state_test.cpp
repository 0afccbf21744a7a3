#include "button_state.h"

#include <gtest/gtest.h>

namespace {

using S = ButtonState;
using K = ButtonSkin;
using E = ButtonEventKind;

ButtonEvent Ev(E kind, MouseButton button = MouseButton::kLeft) { return {kind, button, false, false}; }
ButtonEvent TimerOutside() { return {E::kTimerTick, MouseButton::kLeft, true, false}; }
ButtonEvent TimerInside() { return {E::kTimerTick, MouseButton::kLeft, false, false}; }
ButtonEvent Right(E kind) { return Ev(kind, MouseButton::kRight); }

ButtonModel Enabled(S state, bool mouse_is_down = false) {
  ButtonModel model;
  model.state = state;
  model.enabled = true;
  model.first_run = 1;
  model.mouse_is_down = mouse_is_down;
  return model;
}

const S kAllStates[] = {S::kUninitialized, S::kNormal, S::kHighLight, S::kSelected, S::kHighLightSelect};

}  // namespace

TEST(ButtonState, FollowsTheTransitionTable) {
  const struct {
    S from;
    bool mouse_is_down;
    ButtonEvent event;
    S to;
    K skin;
    bool click;
  } cases[] = {
      {S::kUninitialized, false, Ev(E::kInitialize), S::kNormal, K::kNone, false},
      // Hover and the hover timer.
      {S::kNormal, false, Ev(E::kMouseMove), S::kHighLight, K::kHighLight, false},
      {S::kHighLight, false, Ev(E::kMouseMove), S::kHighLight, K::kNone, false},
      {S::kUninitialized, false, Ev(E::kMouseMove), S::kUninitialized, K::kNone, false},
      {S::kSelected, false, Ev(E::kMouseMove), S::kHighLightSelect, K::kHighLightSelect, false},
      {S::kSelected, true, Ev(E::kMouseMove), S::kSelected, K::kNone, false},
      {S::kHighLight, false, TimerOutside(), S::kNormal, K::kNormal, false},
      {S::kHighLight, false, TimerInside(), S::kHighLight, K::kNone, false},
      {S::kNormal, false, TimerOutside(), S::kNormal, K::kNone, false},
      {S::kHighLightSelect, true, TimerOutside(), S::kSelected, K::kSelected, false},
      // Focus: gained from hover shows pressed, otherwise selected; lost, normal.
      {S::kHighLight, false, Ev(E::kFocusGained), S::kHighLightSelect, K::kPressed, false},
      {S::kUninitialized, false, Ev(E::kFocusGained), S::kSelected, K::kSelected, false},
      {S::kNormal, false, Ev(E::kFocusGained), S::kSelected, K::kSelected, false},
      {S::kSelected, false, Ev(E::kFocusGained), S::kSelected, K::kSelected, false},
      {S::kHighLightSelect, false, Ev(E::kFocusGained), S::kSelected, K::kSelected, false},
      {S::kHighLight, false, Ev(E::kFocusLost), S::kNormal, K::kNormal, false},
      {S::kSelected, false, Ev(E::kFocusLost), S::kNormal, K::kNormal, false},
      {S::kHighLightSelect, false, Ev(E::kFocusLost), S::kNormal, K::kNormal, false},
      {S::kUninitialized, false, Ev(E::kFocusLost), S::kNormal, K::kNormal, false},
      {S::kNormal, false, Ev(E::kFocusLost), S::kNormal, K::kNone, false},
      // Press and release: a release clicks unless the press was dragged out.
      {S::kNormal, false, Ev(E::kMouseDown), S::kNormal, K::kPressed, false},
      {S::kSelected, false, Ev(E::kMouseDown), S::kSelected, K::kPressed, false},
      {S::kHighLightSelect, false, Ev(E::kMouseDown), S::kHighLightSelect, K::kPressed, false},
      {S::kHighLight, false, Ev(E::kMouseUp), S::kHighLight, K::kNormal, true},
      {S::kHighLightSelect, false, Ev(E::kMouseUp), S::kHighLightSelect, K::kHighLightSelect, true},
      {S::kNormal, false, Ev(E::kMouseUp), S::kNormal, K::kNone, true},
      {S::kUninitialized, false, Ev(E::kMouseUp), S::kUninitialized, K::kNone, true},
      {S::kSelected, true, Ev(E::kMouseUp), S::kSelected, K::kNone, false},
      {S::kNormal, false, Right(E::kMouseDown), S::kNormal, K::kNone, false},
      {S::kSelected, false, Right(E::kMouseUp), S::kSelected, K::kNone, false},
      {S::kHighLight, false, Ev(E::kResize), S::kHighLight, K::kNormal, false},
  };
  for (const auto& c : cases) {
    const ButtonResult result = ApplyButtonEvent(Enabled(c.from, c.mouse_is_down), c.event);
    const auto where = ::testing::Message() << "from " << int(c.from) << " event " << int(c.event.kind);
    EXPECT_EQ(result.model.state, c.to) << where;
    EXPECT_EQ(result.skin, c.skin) << where;
    EXPECT_EQ(result.click, c.click) << where;
  }
}

TEST(ButtonState, PressDragOutAndReleaseGivesNoClick) {
  ButtonModel model = Enabled(S::kNormal);
  const ButtonEvent steps[] = {Ev(E::kMouseMove), Ev(E::kMouseDown), Ev(E::kFocusGained), TimerOutside(),
                               Ev(E::kMouseMove), Ev(E::kMouseUp)};
  const S states[] = {S::kHighLight, S::kHighLight, S::kHighLightSelect, S::kSelected, S::kSelected, S::kSelected};
  for (size_t i = 0; i < 6; ++i) {
    const ButtonResult result = ApplyButtonEvent(model, steps[i]);
    EXPECT_EQ(result.model.state, states[i]) << "step " << i;
    EXPECT_FALSE(result.click) << "step " << i;
    model = result.model;
  }
  EXPECT_FALSE(model.mouse_is_down);
}

TEST(ButtonState, RightReleaseClicksInEveryStateButSelected) {
  for (const S state : kAllStates) {
    const ButtonResult result = ApplyButtonEvent(Enabled(state), Right(E::kMouseUp));
    EXPECT_EQ(result.click, state != S::kSelected) << int(state);
    EXPECT_EQ(result.skin, K::kNone);
  }
}

TEST(ButtonState, DisabledControlIgnoresMouseFocusAndTimer) {
  const ButtonEvent events[] = {Ev(E::kMouseDown), Ev(E::kMouseMove), Ev(E::kMouseUp),  Right(E::kMouseUp),
                                Ev(E::kFocusGained), Ev(E::kFocusLost), TimerOutside()};
  for (const S state : kAllStates) {
    ButtonModel model = Enabled(state, true);
    model.enabled = false;
    for (const ButtonEvent& event : events) {
      const ButtonResult result = ApplyButtonEvent(model, event);
      EXPECT_EQ(result.model.state, state);
      EXPECT_TRUE(result.model.mouse_is_down);
      EXPECT_EQ(result.skin, K::kNone);
      EXPECT_FALSE(result.click);
      EXPECT_EQ(result.label, LabelEnable::kUnchanged);
    }
  }
}

TEST(ButtonState, WritingEnabledShowsItsLookWhateverTheState) {
  for (const S state : kAllStates) {
    for (const bool value : {true, false}) {
      ButtonModel model = Enabled(state);
      model.enabled = !value;
      const ButtonResult result = ApplyButtonEvent(model, {E::kEnabledWritten, MouseButton::kLeft, false, value});
      EXPECT_EQ(result.model.state, state);
      EXPECT_EQ(result.model.enabled, value);
      EXPECT_EQ(result.skin, value ? K::kNormal : K::kDisable);
      EXPECT_EQ(result.label, value ? LabelEnable::kEnable : LabelEnable::kDisable);
      EXPECT_STREQ(result.changed_property, "Enabled");
    }
  }
}

TEST(ButtonState, FirstReadOfEnabledInitialisesTheControl) {
  const ButtonModel fresh;
  ASSERT_FALSE(fresh.enabled);
  const ButtonResult first = ApplyButtonEvent(fresh, Ev(E::kEnabledRead));
  EXPECT_TRUE(first.model.enabled);
  EXPECT_EQ(first.model.first_run, 1);
  EXPECT_EQ(first.model.state, S::kUninitialized);
  EXPECT_EQ(first.skin, K::kNormal);
  EXPECT_FALSE(first.label_colour_black);  // the refresh ran while still disabled

  // Restored enabled with FirstRun 0 stored: the refresh blackens the caption.
  ButtonModel restored = fresh;
  restored.enabled = true;
  EXPECT_TRUE(ApplyButtonEvent(restored, Ev(E::kEnabledRead)).label_colour_black);

  // Later reads only repaint; a hovered control shows Normal but stays in 2.
  const ButtonResult hovered = ApplyButtonEvent(Enabled(S::kHighLight), Ev(E::kEnabledRead));
  EXPECT_EQ(hovered.skin, K::kNormal);
  EXPECT_EQ(hovered.model.state, S::kHighLight);
  EXPECT_FALSE(hovered.label_colour_black);
  ButtonModel disabled = Enabled(S::kNormal);
  disabled.enabled = false;
  EXPECT_EQ(ApplyButtonEvent(disabled, Ev(E::kEnabledRead)).skin, K::kDisable);
}

TEST(ButtonState, InitializeStartsTheHoverTimerEvenWhileDisabled) {
  const ButtonResult result = ApplyButtonEvent(ButtonModel(), Ev(E::kInitialize));
  EXPECT_EQ(result.model.state, S::kNormal);
  EXPECT_TRUE(result.start_timer);
  EXPECT_EQ(result.skin, K::kNone);
}

TEST(ButtonState, GradientDirectionFollowsTheStateWhenDrawn) {
  const struct {
    S state;
    bool before;
    bool after;
  } cases[] = {{S::kNormal, true, false}, {S::kHighLight, false, true}, {S::kSelected, true, false},
               {S::kHighLightSelect, true, true}, {S::kHighLightSelect, false, false},
               {S::kUninitialized, true, true}};
  for (const auto& c : cases) {
    ButtonModel model = Enabled(c.state);
    model.reverse_gradient = c.before;
    EXPECT_EQ(ApplyButtonEvent(model, Ev(E::kResize)).model.reverse_gradient, c.after) << int(c.state);
  }
}

TEST(ButtonProperties, StoresOnlyWhatDiffersFromDefaultsInOrder) {
  const FontDescription ambient = {"Ambient", 975, 400, 128, false, false, false};
  PropertyStore defaults;
  ButtonProperties plain;
  plain.font = ambient;
  WriteButtonProperties(plain, ambient, &defaults);
  EXPECT_TRUE(defaults.Entries().empty());

  ButtonProperties changed = FreshButtonProperties(ambient);  // Enabled False, FirstRun 0
  changed.caption = "Set";
  changed.font.underline = true;
  changed.font_colour = 0xFF;
  changed.visible = 0;
  PropertyStore store;
  WriteButtonProperties(changed, ambient, &store);
  const std::vector<PropertyStore::Entry> expected = {{"Enabled", "False"}, {"Caption", "Set"},
                                                      {"FirstRun", "0"},    {"Font", "975,400,128,2,Ambient"},
                                                      {"FontColour", "255"}, {"Visible", "0"}};
  EXPECT_EQ(store.Entries(), expected);

  PropertyStore reloaded;
  ASSERT_TRUE(PropertyStore::Parse(store.Serialise(), &reloaded));
  const ButtonProperties read = ReadButtonProperties(reloaded, ambient);
  EXPECT_FALSE(read.enabled);
  EXPECT_EQ(read.caption, "Set");
  EXPECT_EQ(read.first_run, 0);
  EXPECT_EQ(read.font, changed.font);
  EXPECT_EQ(read.font_colour, 0xFFu);
  EXPECT_EQ(read.visible, 0);
}

TEST(ButtonProperties, MissingOrUnreadableValuesGiveDefaults) {
  const FontDescription ambient = {"Ambient", 825, 400, 0, false, false, false};
  PropertyStore store;
  store.Write("FirstRun", "300");
  store.Write("FontColour", "-1");
  store.Write("Visible", "x");
  store.Write("Font", "12,bad");
  const ButtonProperties read = ReadButtonProperties(store, ambient);
  EXPECT_TRUE(read.enabled);
  EXPECT_EQ(read.caption, "Command");
  EXPECT_EQ(read.first_run, 1);
  EXPECT_EQ(read.font, ambient);
  EXPECT_EQ(read.font_colour, 0u);
  EXPECT_EQ(read.visible, 1);
}

TEST(PropertyStore, SerialisedTextKeepsAnyBytesAndRefusesMalformedText) {
  PropertyStore store;
  store.Write("Caption", "a=b\\c\r\nd");
  store.Write("k=ey", "");
  store.Write("Caption", "a=b\\c\r\nd!");  // rewriting keeps the place
  PropertyStore back;
  ASSERT_TRUE(PropertyStore::Parse(store.Serialise(), &back));
  EXPECT_EQ(back.Entries(), store.Entries());
  EXPECT_EQ(back.Entries().front().first, "Caption");
  for (const char* bad : {"novalue\n", "a=b=c\n", "a=b\\\n", "a=\\x\n"}) {
    PropertyStore untouched = store;
    EXPECT_FALSE(PropertyStore::Parse(bad, &untouched)) << bad;
    EXPECT_EQ(untouched.Entries(), store.Entries());
  }
}

TEST(ButtonGeometry, FramePiecesAndCaptionPlacement) {
  const auto pieces = SkinFramePieces(81, 25);  // a dialog button: 1215 x 375 twips
  const PixelRect expected[8][2] = {
      {{0, 0, 4, 4}, {0, 0, 4, 4}},      {{4, 0, 56, 4}, {4, 0, 73, 4}},    {{60, 0, 4, 4}, {77, 0, 4, 4}},
      {{60, 4, 4, 17}, {77, 4, 4, 17}},  {{60, 21, 4, 4}, {77, 21, 4, 4}},  {{4, 21, 56, 4}, {4, 21, 73, 4}},
      {{0, 21, 4, 4}, {0, 21, 4, 4}},    {{0, 4, 4, 17}, {0, 4, 4, 17}},
  };
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(pieces[i].source, expected[i][0]) << "piece " << i;
    EXPECT_EQ(pieces[i].destination, expected[i][1]) << "piece " << i;
  }
  const int heights[][3] = {{375, 195, 80}, {420, 195, 102}, {376, 195, 80}, {378, 195, 82}, {100, 195, -58}};
  for (const auto& h : heights) EXPECT_EQ(CaptionTopTwips(h[0], h[1]), h[2]) << h[0];
}
