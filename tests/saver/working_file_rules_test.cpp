#include "working_file_rules.h"

#include <gtest/gtest.h>

// Links and other accounts' files cannot be made under Wine: their steps are pinned here.
TEST(WorkingFileRules, WhatLiesAtANameDecidesTheWriteAndTheRemoval) {
  const struct {
    FoundFile found;
    FileStep write;
    bool removed_at_end;
  } cases[] = {
      {FoundFile::kNothing, FileStep::kCreate, false},    {FoundFile::kOurs, FileStep::kReplace, true},
      {FoundFile::kForeign, FileStep::kRefuse, false},    {FoundFile::kLink, FileStep::kRefuse, false},
      {FoundFile::kUnreadable, FileStep::kRefuse, false},
  };
  for (const auto& c : cases) {
    const int found = static_cast<int>(c.found);
    EXPECT_EQ(StepBeforeWrite(false, c.found), c.write) << found;
    EXPECT_EQ(RemoveAtEnd(false, c.found), c.removed_at_end) << found;
    // Through a folder that is a link, nothing is written or removed.
    EXPECT_EQ(StepBeforeWrite(true, c.found), FileStep::kRefuse) << found;
    EXPECT_FALSE(RemoveAtEnd(true, c.found)) << found;
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
