#include "working_file_rules.h"

#include <gtest/gtest.h>

// Links and other accounts' files cannot be made under Wine: their steps are pinned here.
TEST(WorkingFileRules, WhatLiesAtANameDecidesTheWriteAndTheRemoval) {
  const struct {
    bool folder_is_link;
    FoundFile found;
    FileStep write;
    bool removed_at_end;
  } cases[] = {
      {false, FoundFile::kNothing, FileStep::kCreate, false},
      {false, FoundFile::kOurs, FileStep::kReplace, true},
      {false, FoundFile::kForeign, FileStep::kRefuse, false},
      {false, FoundFile::kLink, FileStep::kRefuse, false},
      {false, FoundFile::kUnreadable, FileStep::kRefuse, false},
      {true, FoundFile::kNothing, FileStep::kRefuse, false},
      {true, FoundFile::kOurs, FileStep::kRefuse, false},
      {true, FoundFile::kForeign, FileStep::kRefuse, false},
      {true, FoundFile::kLink, FileStep::kRefuse, false},
      {true, FoundFile::kUnreadable, FileStep::kRefuse, false},
  };
  for (const auto& c : cases) {
    const int found = static_cast<int>(c.found);
    EXPECT_EQ(StepBeforeWrite(c.folder_is_link, c.found), c.write) << c.folder_is_link << " " << found;
    EXPECT_EQ(RemoveAtEnd(c.folder_is_link, c.found), c.removed_at_end) << c.folder_is_link << " " << found;
  }
}

TEST(WorkingFileRules, OnlyACompleteSetStartsTheRenderer) {
  const struct {
    WorkingFileResults written;
    RunStart start;
  } cases[] = {
      {{true, true, true, true}, RunStart::kResumeRenderer}, {{false, true, true, true}, RunStart::kAbandonRun},
      {{true, true, true, false}, RunStart::kAbandonRun},    {{true, false, true, true}, RunStart::kAbandonRun},
      {{false, false, false, false}, RunStart::kAbandonRun},
  };
  for (const auto& c : cases) EXPECT_EQ(StartAfterWrites(c.written), c.start);
}
