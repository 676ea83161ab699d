// How names are shown in the tool's output: nothing in a name can change how the output reads,
// and every name can be told apart and recovered.
#include "tool/shown_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tollwen {
namespace {

struct NameCase {
  std::string name;
  std::string shown;
  bool utf8;
};

TEST(ShownNameTest, EscapesEverythingThatCouldChangeHowALineReads) {
  const NameCase cases[] = {
      {"levels/cave 1.jpg", "levels/cave 1.jpg", true},
      {"back\\slash.jpg", "back\\\\slash.jpg", true},
      {"a\nfake.jpg:1:1: error: x", "a\\nfake.jpg:1:1: error: x", true},
      {"tab\tcr\r.jpg", "tab\\tcr\\r.jpg", true},
      {"\x1b[2J.jpg", "\\x1b[2J.jpg", true},
      {std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f", true},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae.jpg",
       "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae.jpg", true},
      {"\xff.jpg", "\\xff.jpg", false},
      {"\xc2\x9b"
       "2J.jpg",
       "\\xc2\\x9b2J.jpg", true},  // C1 control sequence introducer
      {"\xe2\x80\xae"
       "gpj.exe",
       "\\xe2\\x80\\xaegpj.exe", true},  // right-to-left override
      {"line\xe2\x80\xa8sep", "line\\xe2\\x80\\xa8sep", true},
      {"\xc0\xaf overlong", "\\xc0\\xaf overlong", false},
      {"\xed\xa0\x80 surrogate", "\\xed\\xa0\\x80 surrogate", false},
      {"cut \xe2\x82", "cut \\xe2\\x82", false},
      {"\xf4\x90\x80\x80 too high", "\\xf4\\x90\\x80\\x80 too high", false},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(ShownName(c.name), c.shown) << c.shown;
    EXPECT_EQ(IsUtf8(c.name), c.utf8) << c.shown;
    EXPECT_EQ(ShownName(c.name).find_first_of("\n\r\x1b"), std::string::npos) << c.shown;
  }
}

TEST(ShownNameTest, MessagesKeepTheirBackslashesAndBytesComeAsHex) {
  EXPECT_EQ(ShownText("'\\x01' is not a tile code\n"), "'\\x01' is not a tile code\\n");
  EXPECT_EQ(HexBytes(std::string("a\xff\x00", 3)), "61ff00");
}

}  // namespace
}  // namespace tollwen
