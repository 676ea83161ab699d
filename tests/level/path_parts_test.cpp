#include "level/path_parts.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/state_folder.h"
#include "support/case_name.h"

namespace tollwen {
namespace {

struct PictureNameCase {
  const char* name;
  std::string path;
  bool isPicture;
};

class LevelPictureNameTest : public ::testing::TestWithParam<PictureNameCase> {};

TEST_P(LevelPictureNameTest, EndsInJpgInAnyCase) {
  EXPECT_EQ(IsLevelPictureName(GetParam().path), GetParam().isPicture) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Names, LevelPictureNameTest,
    ::testing::Values(PictureNameCase{"InAFolder", "/levels/cave.jpg", true},
                      PictureNameCase{"UpperCase", "cave.JPG", true},
                      PictureNameCase{"ExtensionOnly", ".jpg", true},
                      // Any bytes before the extension, also ones that are not UTF-8.
                      PictureNameCase{"NotUtf8", "/levels/\xff\xfe c\xc3\xa4ve.jpg", true},
                      PictureNameCase{"NulByte", std::string("a\0b.jpg", 7), true},
                      PictureNameCase{"Empty", "", false}, PictureNameCase{"NoDot", "jpg", false},
                      PictureNameCase{"Jpeg", "cave.jpeg", false},
                      PictureNameCase{"JpgThenDat", "cave.jpg.dat", false},
                      PictureNameCase{"TrailingSlash", "cave.jpg/", false},
                      // Only ASCII letters fold: a look-alike is another name.
                      PictureNameCase{"DotlessI", "cave.\xc4\xb1pg", false}),
    test::CaseName());

}  // namespace
}  // namespace tollwen
