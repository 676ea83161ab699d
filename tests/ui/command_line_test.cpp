#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tollwen {
namespace {

struct SplitCase {
  std::vector<std::string> argv;
  std::vector<std::string> forQt;
  std::vector<std::string> names;
};

class SplitAtEndOfOptionsTest : public ::testing::TestWithParam<SplitCase> {};

// Qt is given nothing from the first "--" on, so it cannot take a file name for its option.
TEST_P(SplitAtEndOfOptionsTest, QtSeesOnlyTheArgumentsBeforeTheFirstSeparator) {
  std::vector<std::string> storage = GetParam().argv;
  std::vector<char*> argv;
  for (std::string& arg : storage) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const CommandLineParts parts = SplitAtEndOfOptions(static_cast<int>(storage.size()), argv.data());
  ASSERT_FALSE(parts.forQt.empty());
  EXPECT_EQ(parts.forQt.back(), nullptr);
  EXPECT_EQ(std::vector<std::string>(parts.forQt.begin(), parts.forQt.end() - 1), GetParam().forQt);
  EXPECT_EQ(parts.names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SplitAtEndOfOptionsTest,
    ::testing::Values(SplitCase{{"editor"}, {"editor"}, {}},
                      SplitCase{{"editor", "a.jpg"}, {"editor", "a.jpg"}, {}},
                      SplitCase{{"editor", "--"}, {"editor"}, {}},
                      SplitCase{{"editor", "--", "-x.jpg"}, {"editor"}, {"-x.jpg"}},
                      SplitCase{{"editor", "-style", "fusion", "--", "-style=a.jpg"},
                                {"editor", "-style", "fusion"},
                                {"-style=a.jpg"}},
                      // Only the first "--" separates; a later one is a file name.
                      SplitCase{{"editor", "--", "--"}, {"editor"}, {"--"}},
                      // The program's name is never taken for the separator.
                      SplitCase{{"--", "a.jpg"}, {"--", "a.jpg"}, {}}, SplitCase{{}, {}, {}}));

struct ParseCase {
  std::vector<std::string> options;
  std::vector<std::string> names;
  std::optional<std::string> picture;  // nothing: no picture, or wrong usage as below
  bool wrongUsage = false;
};

class ParseEditorArgumentsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseEditorArgumentsTest, NamesAtMostOnePicture) {
  const EditorArguments parsed = ParseEditorArguments(GetParam().options, GetParam().names);
  EXPECT_EQ(parsed.wrongUsage, GetParam().wrongUsage);
  EXPECT_EQ(parsed.picture, GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ParseEditorArgumentsTest,
                         ::testing::Values(ParseCase{{}, {}, std::nullopt},
                                           ParseCase{{"a.jpg"}, {}, "a.jpg"},
                                           ParseCase{{}, {"-x.jpg"}, "-x.jpg"},
                                           ParseCase{{}, {"--"}, "--"},
                                           ParseCase{{"-x.jpg"}, {}, std::nullopt, true},
                                           ParseCase{{"-"}, {}, std::nullopt, true},
                                           ParseCase{{"a.jpg", "b.jpg"}, {}, std::nullopt, true},
                                           ParseCase{{"a.jpg"}, {"b.jpg"}, std::nullopt, true},
                                           ParseCase{{}, {"a.jpg", "b.jpg"}, std::nullopt, true}));

}  // namespace
}  // namespace tollwen
