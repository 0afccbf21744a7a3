#include "saver_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings.h"

TEST(ChooseMusic, KindAndFileEndingSelectThePlayer) {
  const struct {
    int16_t kind;
    const char* file;
    MusicChoice choice;
  } cases[] = {
      {0, "C:\\a.mp3", MusicChoice::kNone},   {1, "", MusicChoice::kCd},
      {1, "C:\\a.mp3", MusicChoice::kCd},     {2, "C:\\a.mp3", MusicChoice::kMp3},
      {2, "C:\\a.MP3", MusicChoice::kMp3},    {2, "C:\\a.wav", MusicChoice::kWav},
      {2, "C:\\a.Wav", MusicChoice::kWav},    {2, "C:\\a.ogg", MusicChoice::kNone},
      {2, "C:\\a.mp3x", MusicChoice::kNone},  {2, "mp3", MusicChoice::kMp3},
      {2, "p3", MusicChoice::kNone},          {2, "", MusicChoice::kNone},
      {7, "C:\\a.wav", MusicChoice::kNone},   {-1, "C:\\a.wav", MusicChoice::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseMusic(c.kind, c.file), c.choice) << c.kind << " " << c.file;
  }
}

TEST(RendererWatch, EndsWhenTheWindowIsGoneOrNeverComes) {
  struct Tick {
    bool window_found;
    bool renderer_running;
    bool ends;
  };
  const struct {
    const char* story;
    std::vector<Tick> ticks;
  } cases[] = {
      {"window shown, then closed", {{true, true, false}, {true, true, false}, {false, false, true}}},
      {"window closed, process still ending", {{true, true, false}, {false, true, true}}},
      {"slow start", {{false, true, false}, {false, true, false}, {true, true, false}, {false, true, true}}},
      {"renderer failed before its window", {{false, true, false}, {false, false, true}}},
      {"renderer never started", {{false, false, true}}},
  };
  for (const auto& c : cases) {
    RendererWatch watch;
    for (size_t i = 0; i < c.ticks.size(); ++i) {
      const Tick& t = c.ticks[i];
      EXPECT_EQ(watch.Tick(t.window_found, t.renderer_running), t.ends) << c.story << ", tick " << i;
    }
  }
}

TEST(DisplayWay, EveryMonitorCapturesTheVirtualScreenAndTellsTheRenderer) {
  const CaptureArea primary = {0, 0, 1280, 1024};
  const CaptureArea all = {-1024, 0, 2304, 1024};
  const struct {
    int16_t display;
    int left, width;
    const char* argument;
  } cases[] = {
      {kDisplayClassic, 0, 1280, ""}, {kDisplayEveryMonitor, -1024, 2304, "/everymonitor"}, {7, 0, 1280, ""}};
  for (const auto& c : cases) {
    const CaptureArea area = ChooseCaptureArea(c.display, primary, all);
    EXPECT_EQ(area.left, c.left) << c.display;
    EXPECT_EQ(area.width, c.width) << c.display;
    EXPECT_EQ(RendererArgument(c.display), c.argument) << c.display;
  }
}
