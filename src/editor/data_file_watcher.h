#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>

namespace tollwen {

// Tells when the level's data file may have changed on disk. It watches the file and the folder
// that holds it, so that a file replaced by a rename (as version control replaces it), deleted,
// or created again is seen as well as one written in place. It reports once things have been
// quiet for a moment, so that a checkout writing many files is looked at once, and never while
// `busy` holds (a command runs or the user is painting).
class DataFileWatcher : public QObject {
  Q_OBJECT

 public:
  // How long after the last change on disk the watcher reports.
  static constexpr int kQuietMs = 200;

  explicit DataFileWatcher(std::function<bool()> busy);

  // Watches the file at `path` from now on; an empty path watches nothing.
  void Watch(const std::string& path);
  // Reports soon, whether or not anything changed: the window became active again.
  void CheckSoon();

 signals:
  // The data file may differ from what the level was read from or saved as.
  void mayHaveChanged();

 private:
  // A file or folder replaced or deleted is no longer watched; the one now at its path is.
  void FollowPaths();

  QFileSystemWatcher watcher_;
  QTimer quiet_;
  QString file_;
  QString folder_;
};

}  // namespace tollwen
