#include "storage/asset_folder.h"

#include <QCoreApplication>
#include <filesystem>
#include <system_error>

#include "level/path_parts.h"
#include "program_info.h"
#include "storage/state_folder.h"

namespace tollwen {

namespace {

bool HoldsAssets(const std::string& folder) {
  std::error_code error;
  return std::filesystem::exists(folder + "start.bmp", error);
}

}  // namespace

std::string FindAssetFolder(const std::string& executableDir) {
  if (executableDir.empty() || HoldsAssets(executableDir)) return executableDir;
  // The executable's folder comes from the system with every link resolved, so ".." in it can
  // be taken away by the letters alone.
  const std::string installed =
      std::filesystem::path(executableDir + kInstalledAssetFolder).lexically_normal().string();
  return HoldsAssets(installed) ? installed : executableDir;
}

std::string AssetFolder() {
  // Qt's answer passes through QString, which cannot hold file-name bytes that are not UTF-8
  // (it comes back empty for such a folder), so the system's own name is taken first.
  std::string executableDir = ExecutableDirectory();
  if (executableDir.empty() && QCoreApplication::instance() != nullptr) {
    executableDir = WithTrailingSeparator(QCoreApplication::applicationDirPath().toStdString());
  }
  return FindAssetFolder(executableDir);
}

}  // namespace tollwen
