// The start-up's outcomes, each what happened, and the flight's one release path.
#include <gtest/gtest.h>

#include "fake_gl.h"
#include "fake_host.h"
#include "flight_start.h"
#include "ms3d_builder.h"
#include "test_temp.h"

namespace {

using Phases = std::vector<std::string>;

// A host with a one-triangle model and a 1 x 1 picture for sky and ground, or without them.
void UseFiles(FakeHost& host, bool model, bool pictures) {
  ASSERT_TRUE(WriteTestFile(TestTempPath("model.data"), Ms3dBuilder::OneTriangle("").Bytes()));
  ASSERT_TRUE(WriteTestFile(TestTempPath("picture.bmp"), bmp::Plain24(1, 1, bmp::PackRows({{0x102030}}, 24))));
  host.model = TestTempPath(model ? "model.data" : "absent.data");
  if (pictures) host.sky = host.ground = TestTempPath("picture.bmp");
}

TEST(StartFlight, EachOutcomeIsWhatHappenedAndMarksThePhasesReached) {
  const struct {
    const char* name;
    bool model, view, pictures;
    FlightStart outcome;
    Phases phases;
  } cases[] = {
      {"model refused", false, true, true, FlightStart::kModelRefused, {}},
      {"no context", true, false, true, FlightStart::kNoContext, {"model read"}},
      {"no pictures", true, true, false, FlightStart::kNoPictures,
       {"model read", "sky picture read", "ground picture read"}},
      {"ready", true, true, true, FlightStart::kReady,
       {"model read", "sky picture read", "sky mipmaps computed", "sky mipmaps uploaded", "ground picture read",
        "ground mipmaps computed", "ground mipmaps uploaded", "material textures built"}},
  };
  for (const auto& c : cases) {
    fakegl::Reset();
    FakeHost host;
    UseFiles(host, c.model, c.pictures);
    host.view_opens = c.view;
    const auto flight = std::make_unique<Flight>();
    EXPECT_EQ(StartFlight(host, *flight, {FlightSeed::kFixed, 5}), c.outcome) << c.name;
    EXPECT_EQ(host.phases, c.phases) << c.name;
  }
}

TEST(StartFlight, ReleaseDeletesTheTexturesAndTheQuadricOnce) {
  FakeHost host;
  UseFiles(host, true, true);
  const auto flight = std::make_unique<Flight>();
  ASSERT_EQ(StartFlight(host, *flight, {FlightSeed::kUnseeded, 0}), FlightStart::kReady);
  const double sky = flight->scene.sky_texture, ground = flight->scene.ground_texture;
  fakegl::Reset();
  flight->Release();
  flight->Release();
  EXPECT_EQ(fakegl::CallsNamed("glDeleteTextures").size(), 2u) << fakegl::Trace();
  EXPECT_NE(fakegl::FindCall("glDeleteTextures", {sky}), -1);
  EXPECT_NE(fakegl::FindCall("glDeleteTextures", {ground}), -1);
  EXPECT_EQ(fakegl::Count("gluDeleteQuadric"), 1);
  EXPECT_EQ(flight->scene.quadric, nullptr);
}

}  // namespace
