// Which opened working files the renderer reads, and that a file the platform's
// opener refuses is read as missing: no model, no picture, no message.
#include <gtest/gtest.h>

#include <cstdio>

#include "bmp_builder.h"
#include "fake_host.h"
#include "file_trust.h"
#include "mesh_model.h"
#include "ms3d_builder.h"
#include "test_temp.h"

TEST(FileTrust, OnlyTheUsersOwnPlainFilesAreTrusted) {
  const struct {
    OpenedFileFacts facts;  // known, reparse point, owner is the user
    bool trusted;
  } cases[] = {
      {{true, false, true}, true},
      {{true, false, false}, false},  // another account's file, the Administrators group's too
      {{true, true, true}, false},    // a link, even one of our own
      {{true, true, false}, false},
      {{false, false, true}, false},  // the platform could not say
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsTrustedFile(c.facts), c.trusted) << c.facts.known << c.facts.reparse_point << c.facts.owner_is_user;
}

TEST(FileTrust, AFileTheOpenerRefusesIsReadAsMissing) {
  const std::string model_path = TestTempPath("model.data"), picture_path = TestTempPath("picture.bmp");
  ASSERT_TRUE(WriteTestFile(model_path, Ms3dBuilder::OneTriangle("").Bytes()));
  ASSERT_TRUE(WriteTestFile(picture_path, bmp::Plain24(1, 1, bmp::PackRows({{0x102030}}, 24))));
  bmp::Reported().clear();
  FakeHost host;
  host.model = model_path;
  host.refuse_files = true;
  Ms3dModel model;
  EXPECT_FALSE(model.Load(host));
  EXPECT_EQ(host.ReadPicture(picture_path.c_str(), true), nullptr);
  EXPECT_TRUE(host.read.empty());
  EXPECT_TRUE(bmp::Reported().empty());
  host.refuse_files = false;  // the same files, opened by fopen, are read
  EXPECT_TRUE(model.Load(host));
  std::remove(model_path.c_str());
  std::remove(picture_path.c_str());
}
