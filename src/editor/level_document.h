#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QUndoStack>
#include <string>

#include "level/cell_change.h"
#include "level/level_grid.h"
#include "storage/data_file_stamp.h"

namespace tollwen {

// How the grid shows the level.
enum class LevelDisplay {
  kClosed,   // no level yet, or closed: the grid is disabled and shows plain cells
  kShown,    // the grid is enabled and shows the picture and the tiles
  kStopped,  // a cell could not be drawn: the grid is enabled, shows plain cells, and still
             // takes edits
};

// The level being edited: its cells, music name, picture and paths, how the grid shows it,
// and the history of its edits. Every change is announced, so views repaint from here and
// commands never ask for a repaint themselves.
class LevelDocument : public QObject {
  Q_OBJECT

 public:
  explicit LevelDocument(QObject* parent = nullptr);

  const LevelGrid& Grid() const { return grid_; }
  const std::string& MusicName() const { return musicName_; }
  // The level picture's path; empty until a picture has been opened.
  const std::string& PicturePath() const { return picturePath_; }
  // The data file that Save writes; empty when Save must ask for one.
  const std::string& DataPath() const { return dataPath_; }
  // What the data file was when it was last read or written, so that Save can tell whether
  // it changed on disk meanwhile.
  const DataFileStamp& DataStamp() const { return dataStamp_; }
  // The decoded picture: empty until the first Open, 640 x 447 afterwards.
  const QImage& Picture() const { return picture_; }

  LevelDisplay Display() const { return display_; }
  // The grid takes edits (New or Open, and not closed since).
  bool Editable() const { return display_ != LevelDisplay::kClosed; }
  // The grid shows the cells, and Save writes straight to the data path.
  bool Shown() const { return display_ == LevelDisplay::kShown; }

  QUndoStack& History() { return history_; }
  // The level differs from what was last read or written.
  bool Modified() const { return !history_.isClean(); }

  // Gives each cell its code as one undoable step named `name` ("Fill" makes "Undo Fill").
  // Cells that already hold their code are left out; an edit that changes nothing makes no
  // step. Edits with the same non-zero `strokeKey` in a row make one step, as long as no undo
  // or redo came between them.
  void Edit(const QString& name, const CellChanges& changes, int strokeKey = 0);
  // A key for Edit that no earlier edit used.
  int NewStrokeKey() { return ++lastStrokeKey_; }
  // The music name as an undoable step; choosing the name the level has makes no step.
  void ChooseMusicName(const std::string& name);
  void Undo();
  void Redo();

  // Not undoable: how the level is shown, opened and saved.
  void SetDisplay(LevelDisplay display);
  // A new picture for the level, laid over the whole grid until the level is shown with it.
  void LayPicture(const std::string& picturePath, QImage picture);
  // The level as read or started: its cells, music name and data file (as it was read), shown
  // as `display`. The history starts afresh and the level is unmodified.
  void Start(const LevelGrid& grid, const std::string& musicName, const std::string& dataPath,
             const DataFileStamp& dataStamp, LevelDisplay display);
  void SetDataPath(const std::string& dataPath, const DataFileStamp& dataStamp = {});
  void SetMusicName(const std::string& name);
  // What is on screen is now what the data file holds.
  void MarkSaved() { history_.setClean(); }
  // What is on screen differs from the data file, and no step of the history leads back to it
  // (a level restored after a crash).
  void MarkUnsaved() { history_.resetClean(); }
  void ClearHistory();
  // Frees the picture when the window closes.
  void ReleasePicture() { picture_ = QImage(); }

  // For the undo commands: writes the codes and announces the cells.
  void WriteCells(const CellChanges& changes);

 signals:
  // Level cells (a rectangle of column and row numbers) hold other codes.
  void cellsChanged(const QRect& cells);
  // The display, the picture or every cell changed: the grid shows the level anew.
  void displayChanged();
  // A new picture lies over the whole grid, lines and all, until displayChanged.
  void pictureLaidOver();
  void modifiedChanged(bool modified);
  // The picture path, the data path or the music name changed.
  void detailsChanged();

 private:
  LevelGrid grid_;
  std::string musicName_;
  std::string picturePath_;
  std::string dataPath_;
  DataFileStamp dataStamp_;
  QImage picture_;
  LevelDisplay display_ = LevelDisplay::kClosed;
  QUndoStack history_;
  int lastStrokeKey_ = 0;
  // The stroke whose step is the top of the history and may take more cells (0: none), and
  // the key that step merges by.
  int openStroke_ = 0;
  int openStepKey_ = 0;
};

}  // namespace tollwen
