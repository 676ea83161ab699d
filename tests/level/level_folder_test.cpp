// The level pictures of a folder in natural order, and the next and previous one.
#include "storage/level_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace tollwen {
namespace {

TEST(NaturalOrderTest, NumbersByValueLettersWithoutCase) {
  // Each name comes before the next one.
  const std::vector<std::string> ordered = {
      "Level1.jpg",   "level2.jpg",    "level02b.jpg", "level10.jpg", "level10a.jpg",
      "level10b.jpg", "Level010c.jpg", "level100.jpg", "levelx.jpg",  "zz.jpg",
  };
  for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_TRUE(NaturalLess(ordered[i], ordered[i + 1])) << ordered[i] << " < " << ordered[i + 1];
    EXPECT_FALSE(NaturalLess(ordered[i + 1], ordered[i])) << ordered[i + 1];
  }
  // Names that only differ in case or leading zeros still have one order.
  EXPECT_NE(NaturalLess("a.jpg", "A.jpg"), NaturalLess("A.jpg", "a.jpg"));
  EXPECT_NE(NaturalLess("l01.jpg", "l1.jpg"), NaturalLess("l1.jpg", "l01.jpg"));
}

TEST(NeighbourPictureTest, StepsThroughTheFoldersPicturesAndStopsAtTheEnds) {
  QTemporaryDir temp;
  const std::string dir = temp.path().toStdString() + "/";
  for (const char* name : {"level1.jpg", "level2.JPG", "level10.jpg", "level3.jpeg", "notes.txt"}) {
    std::ofstream(dir + name) << "x";
  }
  ::mkdir((dir + "folder.jpg").c_str(), 0755);
  // A link to a picture counts; one that leads nowhere does not.
  ASSERT_EQ(::symlink("level1.jpg", (dir + "level7.jpg").c_str()), 0);
  ASSERT_EQ(::symlink("gone.jpg", (dir + "level8.jpg").c_str()), 0);

  EXPECT_EQ(LevelPicturesIn(dir),
            (std::vector<std::string>{dir + "level1.jpg", dir + "level2.JPG", dir + "level7.jpg",
                                      dir + "level10.jpg"}));
  struct Case {
    const char* from;
    int step;
    const char* to;  // "" for nothing
  };
  const Case cases[] = {
      {"level1.jpg", 1, "level2.JPG"},   {"level2.JPG", 1, "level7.jpg"},
      {"level7.jpg", 1, "level10.jpg"},  {"level10.jpg", 1, ""},
      {"level10.jpg", -1, "level7.jpg"}, {"level1.jpg", -1, ""},
      {"level5.jpg", 1, "level7.jpg"},  // no longer there
      {"level5.jpg", -1, "level2.JPG"},  {"level1.jpg", 3, "level10.jpg"},
      {"level10.jpg", -3, "level1.jpg"}, {"level2.JPG", 3, ""},
  };
  for (const Case& c : cases) {
    const auto found = NeighbourPicture(dir + c.from, c.step);
    EXPECT_EQ(found.value_or(dir), dir + c.to) << c.from << " " << c.step;
  }
}

}  // namespace
}  // namespace tollwen
