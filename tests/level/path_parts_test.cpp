#include "level/path_parts.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/state_folder.h"

namespace tollwen {
namespace {

struct PictureNameCase {
  std::string path;
  bool isPicture;
};

class LevelPictureNameTest : public ::testing::TestWithParam<PictureNameCase> {};

TEST_P(LevelPictureNameTest, EndsInJpgInAnyCase) {
  EXPECT_EQ(IsLevelPictureName(GetParam().path), GetParam().isPicture) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Names, LevelPictureNameTest,
    ::testing::Values(PictureNameCase{"/levels/cave.jpg", true}, PictureNameCase{"cave.JPG", true},
                      PictureNameCase{".jpg", true},
                      // Any bytes before the extension, also ones that are not UTF-8.
                      PictureNameCase{"/levels/\xff\xfe c\xc3\xa4ve.jpg", true},
                      PictureNameCase{std::string("a\0b.jpg", 7), true}, PictureNameCase{"", false},
                      PictureNameCase{"jpg", false}, PictureNameCase{"cave.jpeg", false},
                      PictureNameCase{"cave.jpg.dat", false}, PictureNameCase{"cave.jpg/", false},

                      // Only ASCII letters fold: a look-alike is another name.
                      PictureNameCase{"cave.\xc4\xb1pg", false}));

}  // namespace
}  // namespace tollwen
