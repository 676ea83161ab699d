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

constexpr EditorRequest kOpen = EditorRequest::kOpenWindow;
constexpr EditorRequest kWrong = EditorRequest::kWrongUsage;
constexpr EditorRequest kHelp = EditorRequest::kHelp;
constexpr EditorRequest kVersion = EditorRequest::kVersion;

struct ParseCase {
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
    ::testing::Values(
        ParseCase{{}, {}, std::nullopt}, ParseCase{{"a.jpg"}, {}, "a.jpg"},
        ParseCase{{}, {"-x.jpg"}, "-x.jpg"}, ParseCase{{}, {"--"}, "--"},
        ParseCase{{"-x.jpg"}, {}, std::nullopt, kWrong}, ParseCase{{"-"}, {}, std::nullopt, kWrong},
        ParseCase{{"a.jpg", "b.jpg"}, {}, std::nullopt, kWrong},
        ParseCase{{"a.jpg"}, {"b.jpg"}, std::nullopt, kWrong},
        ParseCase{{}, {"a.jpg", "b.jpg"}, std::nullopt, kWrong},
        // A name that is not UTF-8 keeps its bytes.
        ParseCase{{"niveau \xe9\xff.jpg"}, {}, "niveau \xe9\xff.jpg"},
        // Help and version wherever they stand, also among Qt's options not yet taken out;
        // after "--" they are file names.
        ParseCase{{"--help"}, {}, std::nullopt, kHelp}, ParseCase{{"-h"}, {}, std::nullopt, kHelp},
        ParseCase{{"-platform", "offscreen", "a.jpg", "--help"}, {}, std::nullopt, kHelp},
        ParseCase{{"--version"}, {}, std::nullopt, kVersion},
        ParseCase{{"-v"}, {"a.jpg"}, std::nullopt, kVersion},
        ParseCase{{}, {"--version"}, "--version"},
        ParseCase{{"--helpful"}, {}, std::nullopt, kWrong}));

}  // namespace
}  // namespace tollwen
