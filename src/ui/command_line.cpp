#include "ui/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <string_view>

#include "program_info.h"

namespace tollwen {

CommandLineParts SplitAtEndOfOptions(int argc, char** argv) {
  CommandLineParts parts;
  char** const end = argv + argc;
  char** const separator = std::find_if(
      argv + std::min(argc, 1), end, [](const char* arg) { return arg == std::string_view("--"); });
  parts.forQt.assign(argv, separator);
  parts.forQt.push_back(nullptr);
  if (separator != end) parts.names.assign(separator + 1, end);
  return parts;
}

namespace {

// Each byte of an argument as one character, so that a name that is not UTF-8 comes back from
// the parser unchanged (QString::toLatin1).
QString EveryByte(const std::string& argument) {
  return QString::fromLatin1(argument.data(), static_cast<qsizetype>(argument.size()));
}

// The editor's options and its argument, described for QCommandLineParser.
struct EditorOptions {
  QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
  QCommandLineOption version{{"v", "version"}, "Show the version and exit."};

  explicit EditorOptions(QCommandLineParser& parser) {
    // One dash or two, as Qt's own options (-style, -platform) take one.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        "Paints the tiles of a Tollwen level over its level picture and saves its data file.\n"
        "Qt's own options (-platform, -style, -reverse, ...) are taken too. Everything after\n"
        "\"--\" is a file name, also when it starts with '-'.");
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument("PICTURE.jpg",
                                 "The level picture (a 640 x 447 JPEG) to open with its data file.",
                                 "[--] [PICTURE.jpg]");
  }
};

}  // namespace

EditorArguments ParseEditorArguments(const std::vector<std::string>& options,
                                     const std::vector<std::string>& names) {
  QCommandLineParser parser;
  const EditorOptions editorOptions(parser);
  QStringList arguments{QString()};  // the program's name, which the parser passes over
  for (const std::string& option : options) arguments.append(EveryByte(option));
  const bool known = parser.parse(arguments);

  EditorArguments parsed;
  if (parser.isSet(editorOptions.help)) {
    parsed.request = EditorRequest::kHelp;
    return parsed;
  }
  if (parser.isSet(editorOptions.version)) {
    parsed.request = EditorRequest::kVersion;
    return parsed;
  }
  // The parser takes a lone "-" for a name; the editor refuses it as it refuses other options.
  const QStringList pictures = parser.positionalArguments();
  const bool unknownOption =
      !known || std::any_of(pictures.begin(), pictures.end(),
                            [](const QString& arg) { return arg.startsWith('-'); });
  if (unknownOption || pictures.size() + names.size() > 1) {
    parsed.request = EditorRequest::kWrongUsage;
  } else if (!pictures.empty()) {
    parsed.picture = pictures.front().toLatin1().toStdString();
  } else if (!names.empty()) {
    parsed.picture = names.front();
  }
  return parsed;
}

std::string EditorHelp() {
  QCommandLineParser parser;
  const EditorOptions editorOptions(parser);
  return parser.helpText().toStdString();
}

std::string EditorVersion() {
  return std::string("tollwen-level-editor ") + kProgramVersion + "\n";
}

}  // namespace tollwen
