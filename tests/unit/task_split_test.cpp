// Work split over threads: ranges cover every item once, and the mipmap
// levels are the same bytes however many threads make them.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "mipmaps.h"
#include "task_runner.h"

namespace {

// Gives at most `threads` tasks; backwards, runs them on the calling thread,
// last first, recording how many there were; else on the portable threads.
struct CountedRunner : TaskRunner {
  CountedRunner(int threads, bool backwards) : threads(threads), backwards(backwards) {}
  int TaskThreads() const override { return threads; }
  void RunTasks(int count, const std::function<void(int)>& task) const override {
    if (!backwards) return TaskRunner::RunTasks(count, task);
    counts.push_back(count);
    for (int i = count - 1; i >= 0; --i) task(i);
  }
  int threads;
  bool backwards;
  mutable std::vector<int> counts;
};

TEST(TaskSplit, RangesCoverEachItemOnceInAtMostOneRangeAThread) {
  struct Case {
    int count, min_range, threads, ranges;
  };
  const Case cases[] = {{100, 10, 4, 4}, {100, 30, 4, 3}, {19, 10, 4, 1}, {7, 1, 16, 7}, {0, 1, 4, 0}, {5, 1, 1, 1}};
  for (const Case& c : cases) {
    const CountedRunner runner(c.threads, true);
    std::vector<std::pair<int, int>> ranges;
    ForEachRange(runner, c.count, c.min_range, [&](int begin, int end) { ranges.emplace_back(begin, end); });
    std::sort(ranges.begin(), ranges.end());
    ASSERT_EQ(static_cast<int>(ranges.size()), c.ranges) << c.count << " items, " << c.threads << " threads";
    for (size_t i = 0; i < ranges.size(); ++i) {
      EXPECT_EQ(ranges[i].first, i ? ranges[i - 1].second : 0);
      EXPECT_GE(ranges[i].second - ranges[i].first, std::min(c.count, c.min_range));
    }
    EXPECT_EQ(ranges.empty() ? 0 : ranges.back().second, c.count);
    EXPECT_EQ(runner.counts, c.ranges > 1 ? std::vector<int>{c.ranges} : std::vector<int>{});  // one range stays here
  }
}

TEST(TaskSplit, MipmapLevelsAreTheSameBytesOnAnyNumberOfThreads) {
  // Scaled both ways, across only, down only, an exact half, and odd sides.
  const int sides[][2] = {{1280, 1024}, {1920, 1080}, {600, 400}, {512, 700}, {1024, 512}, {333, 1031}, {2000, 3}};
  for (const auto& side : sides) {
    std::vector<unsigned char> picture(static_cast<size_t>(side[0]) * side[1] * 3);
    unsigned seed = 7;
    for (unsigned char& byte : picture) byte = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 23);
    const std::vector<MipmapLevel> alone =
        BuildMipmapChain(picture.data(), side[0], side[1], 0, 3, CountedRunner(1, false));
    for (const CountedRunner& runner : {CountedRunner(5, true), CountedRunner(3, false)}) {
      const std::vector<MipmapLevel> split = BuildMipmapChain(picture.data(), side[0], side[1], 0, 3, runner);
      ASSERT_EQ(split.size(), alone.size());
      for (size_t i = 0; i < alone.size(); ++i)
        ASSERT_EQ(split[i].rgb, alone[i].rgb) << side[0] << "x" << side[1] << " level " << i;
    }
  }
}

}  // namespace
