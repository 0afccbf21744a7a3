// The hack's command line and its choice of window.
#include <gtest/gtest.h>

#include <vector>

#include "hack_options.h"

namespace {

bool Parse(std::vector<const char*> args, HackOptions* options, std::string* error) {
  args.insert(args.begin(), "skyliner");
  return ParseHackOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(HackOptions, ReadsEveryOptionWithOneDashOrTwo) {
  const std::vector<std::vector<const char*>> spellings = {
      {"-window-id", "0x2a00007", "-root", "-fps", "-delay", "20000", "-ground", "g.png", "-seed", "7",
       "-sample-ground"},
      {"--window-id", "44040199", "--root", "--fps", "--delay", "20000", "--ground", "g.png", "--seed", "7",
       "--sample-ground"},
  };
  for (const auto& args : spellings) {
    HackOptions options;
    std::string error;
    ASSERT_TRUE(Parse(args, &options, &error)) << error;
    EXPECT_TRUE(options.window_id_given);
    EXPECT_EQ(options.window_id, 0x2a00007ul);
    EXPECT_TRUE(options.root);
    EXPECT_TRUE(options.show_rate);
    EXPECT_EQ(options.delay_us, 20000);
    EXPECT_EQ(options.ground, "g.png");
    EXPECT_TRUE(options.seed_given);
    EXPECT_EQ(options.seed, 7u);
    EXPECT_TRUE(options.sample_ground);
  }
}

TEST(HackOptions, RefusesUnknownOptionsAndBadValues) {
  const std::vector<std::vector<const char*>> refused = {
      {"-bogus"}, {"extra"}, {"-window-id", "0"}, {"-window-id", "xyz"}, {"-window-id", "-5"}, {"-window-id"},
      {"-delay", "-1"}, {"-delay", "10000001"}, {"-ground", ""}, {"-seed", "4294967296"}, {"-fps", "-nope"},
  };
  for (const auto& args : refused) {
    HackOptions options;
    std::string error;
    EXPECT_FALSE(Parse(args, &options, &error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

TEST(HackOptions, TheWindowComesFromTheIdThenTheDaemonThenRoot) {
  struct Case {
    const char* window_id;    // -window-id, or null
    const char* environment;  // $XSCREENSAVER_WINDOW, or null
    bool root;
    bool adopt;
    unsigned long id;  // 0: the root window
  };
  const Case cases[] = {
      {"0x10", "0x20", true, true, 0x10}, {nullptr, "0x20", true, true, 0x20}, {nullptr, "junk", true, true, 0},
      {nullptr, nullptr, true, true, 0},  {nullptr, "0x20", false, true, 0x20}, {nullptr, nullptr, false, false, 0},
  };
  for (const Case& c : cases) {
    std::vector<const char*> args;
    if (c.window_id) args = {"-window-id", c.window_id};
    if (c.root) args.push_back("--root");
    HackOptions options;
    std::string error;
    ASSERT_TRUE(Parse(args, &options, &error)) << error;
    EXPECT_EQ(options.delay_us, 16667);  // 60 frames a second unless told
    WindowFlightOptions flight;
    ChooseHackWindow(options, c.environment, &flight);
    EXPECT_EQ(flight.adopt, c.adopt) << (c.environment ? c.environment : "no environment");
    EXPECT_EQ(flight.window_id, c.id) << (c.environment ? c.environment : "no environment");
  }
}

}  // namespace
