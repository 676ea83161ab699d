// The window's title names the level, the file Save writes and the music.
#include "editor/window_title.h"

#include <gtest/gtest.h>

namespace tollwen {
namespace {

TEST(WindowTitleTest, NamesTheLevelItsDataFileAndItsMusic) {
  struct Case {
    bool open;
    const char* picture;
    const char* data;
    const char* music;
    const char* title;
  };
  const Case cases[] = {
      {false, "/l/level3.jpg", "/l/level3.dat", "tune.mod", "Tollwen Level Editor"},
      {true, "/l/level3.jpg", "/l/level3.dat", "tune.mod",
       "level3.jpg[*] — tune.mod — Tollwen Level Editor"},
      {true, "/l/level3.jpg", "/l/copy.dat", "",
       "level3.jpg → copy.dat[*] — no music — Tollwen Level Editor"},
      {true, "/l/level3.jpg", "", "",
       "New level on level3.jpg[*] — no music — Tollwen Level Editor"},
      {true, "", "", "a.mid", "New level[*] — a.mid — Tollwen Level Editor"},
      {true, "", "/out/fresh.dat", "a.mid", "fresh.dat[*] — a.mid — Tollwen Level Editor"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowTitle(c.open, c.picture, c.data, c.music), c.title) << c.title;
  }
}

}  // namespace
}  // namespace tollwen
