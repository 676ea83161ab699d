#pragma once

#include <QColor>
#include <QRect>
#include <optional>
#include <string>

namespace tollwen {

// The answers to the question asked before a modified level would be lost.
enum class SaveChangesAnswer { Save, Discard, Cancel };

// What the editor's commands need from the window. The main window implements it with its
// dialogs, message boxes and grid; tests implement it with a scripted fake.
class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // File questions: the chosen full path, or nothing when the user cancels.
  virtual std::optional<std::string> AskPictureFile(const std::string& initialDir) = 0;
  virtual std::optional<std::string> AskSaveFile(const std::string& initialDir) = 0;
  virtual std::optional<std::string> AskMusicFile(const std::string& initialDir) = 0;
  // The arrow colour chooser, preset with `current`: the chosen colour or nothing.
  virtual std::optional<QRgb> AskArrowColour(QRgb current) = 0;

  // A modal message box with an OK button; the text is shown as it is.
  virtual void ShowMessage(const std::string& text) = 0;
  // A modal question with Save, Discard and Cancel buttons (Escape cancels).
  virtual SaveChangesAnswer AskSaveChanges(const std::string& question) = 0;

  virtual void SetGridEnabled(bool enabled) = 0;
  virtual bool GridEnabled() const = 0;
  // Repaints every cell of the grid now.
  virtual void RepaintGrid() = 0;
  // Paints the whole background picture onto the grid at its top-left corner at once.
  virtual void DrawPictureOnGrid() = 0;
  // The level cells in `cells` (a rectangle of column and row numbers, 1-based) changed; the
  // grid shows them anew.
  virtual void CellsChanged(const QRect& cells) = 0;

  // The arrow-colour swatch, which is the only store of the current arrow colour.
  virtual QRgb ArrowColour() const = 0;
  virtual void SetArrowColour(QRgb colour) = 0;

  // Lets the window handle queued paint requests once, so it keeps repainting during a long
  // loop. User input waits until the running command has finished.
  virtual void ProcessPendingMessages() = 0;
};

}  // namespace tollwen
