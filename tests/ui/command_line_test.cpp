#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/case_name.h"

namespace tollwen {
namespace {

struct SplitCase {
  const char* name;
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
    ::testing::Values(SplitCase{"ProgramOnly", {"editor"}, {"editor"}, {}},
                      SplitCase{"NoSeparator", {"editor", "a.jpg"}, {"editor", "a.jpg"}, {}},
                      SplitCase{"SeparatorLast", {"editor", "--"}, {"editor"}, {}},
                      SplitCase{"DashName", {"editor", "--", "-x.jpg"}, {"editor"}, {"-x.jpg"}},
                      SplitCase{"QtOptions",
                                {"editor", "-style", "fusion", "--", "-style=a.jpg"},
                                {"editor", "-style", "fusion"},
                                {"-style=a.jpg"}},
                      // Only the first "--" separates; a later one is a file name.
                      SplitCase{"TwoSeparators", {"editor", "--", "--"}, {"editor"}, {"--"}},
                      // The program's name is never taken for the separator.
                      SplitCase{"ProgramNamedSeparator", {"--", "a.jpg"}, {"--", "a.jpg"}, {}},
                      SplitCase{"Empty", {}, {}, {}}),
    test::CaseName());

struct ParseCase {
  const char* name;
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

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseEditorArgumentsTest,
    ::testing::Values(ParseCase{"Nothing", {}, {}, std::nullopt},
                      ParseCase{"Picture", {"a.jpg"}, {}, "a.jpg"},
                      ParseCase{"DashNameAfterSeparator", {}, {"-x.jpg"}, "-x.jpg"},
                      ParseCase{"SeparatorAfterSeparator", {}, {"--"}, "--"},
                      ParseCase{"UnknownOption", {"-x.jpg"}, {}, std::nullopt, true},
                      ParseCase{"LoneDash", {"-"}, {}, std::nullopt, true},
                      ParseCase{"TwoPictures", {"a.jpg", "b.jpg"}, {}, std::nullopt, true},
                      ParseCase{"OneEachSide", {"a.jpg"}, {"b.jpg"}, std::nullopt, true},
                      ParseCase{"TwoAfterSeparator", {}, {"a.jpg", "b.jpg"}, std::nullopt, true}),
    test::CaseName());

}  // namespace
}  // namespace tollwen
