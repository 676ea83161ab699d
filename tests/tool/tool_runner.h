#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

namespace tollwen::testing {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the built tollwen-level-tool with `args` in the directory `workDir`.
inline ToolRun RunTool(const QStringList& args, const std::string& workDir) {
  QProcess process;
  process.setWorkingDirectory(QString::fromStdString(workDir));
  process.start(QStringLiteral(TOLLWEN_LEVEL_TOOL), args);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

}  // namespace tollwen::testing
