#include "tool/check_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "tool/shown_name.h"

namespace tollwen {

namespace {

using Severity = DataFileProblem::Severity;

const char* SeverityName(Severity severity) {
  return severity == Severity::kError ? "error" : "warning";
}

std::string Counted(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

QString Text(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Adds the name under `key`, and its bytes under `key` + "Bytes" when it is not UTF-8.
void InsertName(QJsonObject& object, const QString& key, const std::string& name) {
  if (IsUtf8(name)) {
    object.insert(key, Text(name));
    return;
  }
  object.insert(key, Text(ShownName(name)));
  object.insert(key + "Bytes", Text(HexBytes(name)));
}

}  // namespace

std::string ProblemLine(const LevelProblem& problem) {
  std::string line = ShownName(problem.file);
  if (problem.problem.line > 0) {
    line += ":" + std::to_string(problem.problem.line);
    if (problem.problem.column > 0) line += ":" + std::to_string(problem.problem.column);
  }
  return line + ": " + SeverityName(problem.problem.severity) + ": " +
         ShownText(problem.problem.message);
}

std::string SummaryLine(int levels, int errors, int warnings) {
  return Counted(levels, "level") + ", " + Counted(errors, "error") + ", " +
         Counted(warnings, "warning");
}

std::string LevelJson(const LevelReport& report) {
  QJsonArray problems;
  for (const LevelProblem& p : report.problems) {
    QJsonObject problem{{"severity", SeverityName(p.problem.severity)},
                        {"message", Text(ShownText(p.problem.message))}};
    InsertName(problem, "file", p.file);
    if (p.problem.line > 0) problem.insert("line", static_cast<qint64>(p.problem.line));
    if (p.problem.column > 0) problem.insert("column", static_cast<qint64>(p.problem.column));
    problems.append(problem);
  }
  QJsonObject level{{"problems", problems}};
  if (!report.picture.empty()) InsertName(level, "picture", report.picture);
  if (!report.dataFile.empty()) InsertName(level, "dataFile", report.dataFile);
  return QJsonDocument(level).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace tollwen
