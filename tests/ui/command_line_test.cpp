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

constexpr EditorRequest kOpen = EditorRequest::kOpenWindow;
constexpr EditorRequest kWrong = EditorRequest::kWrongUsage;
constexpr EditorRequest kHelp = EditorRequest::kHelp;
constexpr EditorRequest kVersion = EditorRequest::kVersion;

struct ParseCase {
  const char* name;
  std::vector<std::string> options;
  std::vector<std::string> names;
  std::optional<std::string> picture;  // nothing: no picture, or no window as below
  EditorRequest request = kOpen;
};

class ParseEditorArgumentsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseEditorArgumentsTest, NamesAtMostOnePicture) {
  const EditorArguments parsed = ParseEditorArguments(GetParam().options, GetParam().names);
  EXPECT_EQ(parsed.request, GetParam().request);
  EXPECT_EQ(parsed.picture, GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseEditorArgumentsTest,
    ::testing::Values(ParseCase{"Nothing", {}, {}, std::nullopt},
                      ParseCase{"Picture", {"a.jpg"}, {}, "a.jpg"},
                      ParseCase{"DashNameAfterSeparator", {}, {"-x.jpg"}, "-x.jpg"},
                      ParseCase{"SeparatorAfterSeparator", {}, {"--"}, "--"},
                      ParseCase{"UnknownOption", {"-x.jpg"}, {}, std::nullopt, kWrong},
                      ParseCase{"LoneDash", {"-"}, {}, std::nullopt, kWrong},
                      ParseCase{"TwoPictures", {"a.jpg", "b.jpg"}, {}, std::nullopt, kWrong},
                      ParseCase{"OneEachSide", {"a.jpg"}, {"b.jpg"}, std::nullopt, kWrong},
                      ParseCase{"TwoAfterSeparator", {}, {"a.jpg", "b.jpg"}, std::nullopt, kWrong},
                      // A name that is not UTF-8 keeps its bytes.
                      ParseCase{"NotUtf8", {"niveau \xe9\xff.jpg"}, {}, "niveau \xe9\xff.jpg"},
                      // Help and version wherever they stand, also among Qt's options not yet taken
                      // out; after "--" they are file names.
                      ParseCase{"Help", {"--help"}, {}, std::nullopt, kHelp},
                      ParseCase{"ShortHelp", {"-h"}, {}, std::nullopt, kHelp},
                      ParseCase{"HelpAmongQtOptions",
                                {"-platform", "offscreen", "a.jpg", "--help"},
                                {},
                                std::nullopt,
                                kHelp},
                      ParseCase{"Version", {"--version"}, {}, std::nullopt, kVersion},
                      ParseCase{
                          "ShortVersionWithPicture", {"-v"}, {"a.jpg"}, std::nullopt, kVersion},
                      ParseCase{"VersionAfterSeparator", {}, {"--version"}, "--version"},
                      ParseCase{"HelpfulIsUnknown", {"--helpful"}, {}, std::nullopt, kWrong}),
    test::CaseName());

}  // namespace
}  // namespace tollwen
