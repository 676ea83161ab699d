#include "editor/data_file_watcher.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "editor/idle_timer.h"

namespace tollwen {

DataFileWatcher::DataFileWatcher(std::function<bool()> busy) {
  FireWhenIdle(quiet_, kQuietMs, std::move(busy), [this] { emit mayHaveChanged(); });
  const auto noticed = [this] {
    FollowPaths();
    quiet_.start();
  };
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, noticed);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, noticed);
}

void DataFileWatcher::Watch(const std::string& path) {
  const QString file =
      path.empty() ? QString() : QFile::decodeName(QByteArray::fromStdString(path));
  if (file == file_) return;
  for (const QStringList& watched : {watcher_.files(), watcher_.directories()}) {
    if (!watched.isEmpty()) watcher_.removePaths(watched);
  }
  file_ = file;
  folder_ = file_.isEmpty() ? QString() : QFileInfo(file_).absolutePath();
  FollowPaths();
}

void DataFileWatcher::CheckSoon() {
  // A folder deleted and made again is watched anew from here, as nothing else tells of it.
  FollowPaths();
  if (!quiet_.isActive()) quiet_.start();
}

void DataFileWatcher::FollowPaths() {
  for (const QString& path : {folder_, file_}) {
    if (path.isEmpty() || !QFileInfo::exists(path)) continue;
    if (!watcher_.files().contains(path) && !watcher_.directories().contains(path))
      watcher_.addPath(path);
  }
}

}  // namespace tollwen
