#include "shell_args.h"

#include <gtest/gtest.h>

TEST(ArgumentsOf, TakesWhatFollowsTheProgramNameAndItsBlanks) {
  const struct {
    const char* command_line;
    const char* arguments;
  } cases[] = {
      {"Skyliner.scr /s", "/s"},
      {"Skyliner.scr", ""},
      {"Skyliner.scr   /c", "/c"},
      {"Skyliner.scr\t/p 1234", "/p 1234"},
      {"Skyliner.scr /s ", "/s "},
      {"\"C:\\My Savers\\Skyliner.scr\" /p 1234", "/p 1234"},
      {"\"C:\\My Savers\\Skyliner.scr\"", ""},
      {"\"C:\\My Savers\\Skyliner.scr\"/S", "/S"},
      {"\"C:\\unterminated /s", ""},
      {"C:\\WINDOWS\\SKYLIN~1.SCR /c:1234", "/c:1234"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentsOf(c.command_line), c.arguments) << c.command_line;
  EXPECT_EQ(ArgumentsOf(nullptr), "");
}

TEST(ModeLetter, IsTheSecondCharacterUpperCased) {
  const struct {
    const char* arguments;
    char letter;
  } cases[] = {
      {"/s", 'S'}, {"/S", 'S'}, {"-s", 'S'},     {"/p 1234", 'P'}, {"/P:1234", 'P'}, {"/c:1234", 'C'},
      {"/a 1234", 'A'}, {"", 0},  {"/", 0}, {"x1", '1'},
  };
  for (const auto& c : cases) EXPECT_EQ(ModeLetter(c.arguments), c.letter) << c.arguments;
}

TEST(LeadingNumber, ReadsUpToTheFirstCharacterThatCannotContinue) {
  const struct {
    const char* text;
    double number;
  } cases[] = {
      {"1234", 1234},         {"  \t42", 42},       {"-17", -17},       {"+8", 8},
      {"12.75xyz", 12.75},    {".5", 0.5},          {"7.", 7},          {"1e3", 1000},
      {"2.5E-1", 0.25},       {"1e", 1},            {"3e+", 3},         {"12 34", 12},
      {"0x1F", 0},            {"", 0},              {"abc", 0},         {"-", 0},
      {".", 0},               {"+.e5", 0},          {"--5", 0},         {"000123", 123},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.number) << c.text;
}

TEST(PreviewParentHandle, RoundsTheNumberFromTheFourthCharacter) {
  const struct {
    const char* arguments;
    int64_t handle;
  } cases[] = {
      {"/p 1234", 1234},
      {"/P:1234", 1234},
      {"/p 1234 5678", 1234},
      {"/p 12ab", 12},
      {"/p 2.5", 2},  // halves go to the even neighbour
      {"/p 3.5", 4},
      {"/p 2.51", 3},
      {"/p -2.5", -2},
      {"/p 2147483647", 2147483647},
      {"/p -2147483648", -2147483648LL},
      {"/p 2147483648", 0},  // beyond 32 bits
      {"/p -2147483649", 0},
      {"/p 1e400", 0},
      {"/p", 0},
      {"/p ", 0},
      {"/p x", 0},
      {"/p1234", 234},  // the fourth character is where the number is read
  };
  for (const auto& c : cases) EXPECT_EQ(PreviewParentHandle(c.arguments), c.handle) << c.arguments;
}
