// The start-up's outcomes, each what happened, and the flight's one release path.
#include <gtest/gtest.h>

#include "fake_gl.h"
#include "fake_host.h"
#include "flight_start.h"
#include "ms3d_builder.h"
#include "test_temp.h"

namespace {

TEST(StartFlight, EachOutcomeIsWhatHappenedAndReleaseFreesWhatWasMadeOnce) {
  const struct {
    const char* name;
    bool model, view, pictures;
    FlightStart outcome;
    std::vector<std::string> phases;
    int released;  // textures deleted, and the quadric with them
  } cases[] = {
      {"model refused", false, true, true, FlightStart::kModelRefused, {}, 0},
      {"no context", true, false, true, FlightStart::kNoContext, {"model read"}, 0},
      {"no pictures", true, true, false, FlightStart::kNoPictures,
       {"model read", "sky picture read", "ground picture read"}, 0},
      {"ready", true, true, true, FlightStart::kReady,
       {"model read", "sky picture read", "sky mipmaps computed", "sky mipmaps uploaded", "ground picture read",
        "ground mipmaps computed", "ground mipmaps uploaded", "material textures built"}, 2},
  };
  ASSERT_TRUE(WriteTestFile(TestTempPath("model.data"), Ms3dBuilder::OneTriangle("").Bytes()));
  ASSERT_TRUE(WriteTestFile(TestTempPath("picture.bmp"), bmp::Plain24(1, 1, bmp::PackRows({{0x102030}}, 24))));
  for (const auto& c : cases) {
    FakeHost host;
    host.model = TestTempPath(c.model ? "model.data" : "absent.data");
    host.view_opens = c.view;
    if (c.pictures) host.sky = host.ground = TestTempPath("picture.bmp");
    const auto flight = std::make_unique<Flight>();
    EXPECT_EQ(StartFlight(host, *flight, {FlightSeed::kFixed, 5}), c.outcome) << c.name;
    EXPECT_EQ(host.phases, c.phases) << c.name;
    const double sky = flight->scene.sky_texture;
    fakegl::Reset();
    flight->Release();
    flight->Release();
    EXPECT_EQ(fakegl::Count("glDeleteTextures"), c.released) << c.name;
    EXPECT_EQ(fakegl::Count("gluDeleteQuadric"), c.released ? 1 : 0) << c.name;
    if (c.released) {
      EXPECT_NE(fakegl::FindCall("glDeleteTextures", {sky}), -1) << fakegl::Trace();
    }
  }
}

}  // namespace
