#include "tool/check_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

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

}  // namespace

std::string ProblemLine(const LevelProblem& problem) {
  std::string line = problem.file;
  if (problem.problem.line > 0) {
    line += ":" + std::to_string(problem.problem.line);
    if (problem.problem.column > 0) line += ":" + std::to_string(problem.problem.column);
  }
  return line + ": " + SeverityName(problem.problem.severity) + ": " + problem.problem.message;
}

std::string SummaryLine(int levels, int errors, int warnings) {
  return Counted(levels, "level") + ", " + Counted(errors, "error") + ", " +
         Counted(warnings, "warning");
}

std::string LevelJson(const LevelReport& report) {
  QJsonArray problems;
  for (const LevelProblem& p : report.problems) {
    QJsonObject problem{{"file", Text(p.file)},
                        {"severity", SeverityName(p.problem.severity)},
                        {"message", Text(p.problem.message)}};
    if (p.problem.line > 0) problem.insert("line", static_cast<qint64>(p.problem.line));
    if (p.problem.column > 0) problem.insert("column", static_cast<qint64>(p.problem.column));
    problems.append(problem);
  }
  const QJsonObject level{{"picture", Text(report.picture)},
                          {"dataFile", Text(report.dataFile)},
                          {"problems", problems}};
  return QJsonDocument(level).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace tollwen
