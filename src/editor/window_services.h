#pragma once

#include <QColor>
#include <cstddef>
#include <optional>
#include <string>

namespace tollwen {

// The answers to the question asked before a modified level would be lost.
enum class SaveChangesAnswer { Save, Discard, Cancel };

// The answers to the question about unsaved changes an earlier session left: restore them,
// throw them away, or decide the next time (Escape).
enum class RestoreAnswer { Restore, Discard, Later };

// What the editor's commands need from the window: its dialogs, message boxes, clipboard and
// arrow-colour swatch. The main window implements it; tests implement it with a scripted fake.
// Level changes reach the window through the level document's signals, not through here.
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
  // A short note in the window that asks for nothing and blocks nothing ("Last level of this
  // folder"); the next note replaces it.
  virtual void ShowNote(const std::string& text) = 0;
  // A modal question with Save, Discard and Cancel buttons (Escape cancels).
  virtual SaveChangesAnswer AskSaveChanges(const std::string& question) = 0;
  // A modal question with Overwrite and Cancel buttons, Cancel the default and Escape: true
  // when the user chose Overwrite.
  virtual bool AskOverwrite(const std::string& question) = 0;
  // A modal question with Reload and Keep buttons, Keep the default and Escape: true when the
  // user chose Reload.
  virtual bool AskReload(const std::string& question) = 0;
  // A modal question with Restore (the default) and Discard buttons; Escape answers Later.
  virtual RestoreAnswer AskRestore(const std::string& question) = 0;

  // Repaints every cell of the grid now: the tile bitmaps changed, or the user asked for it.
  virtual void RepaintGrid() = 0;

  // The system clipboard's plain text, unless it is longer than `maxBytes`: then nothing, and
  // no more of it than that is decoded.
  virtual std::optional<std::string> ClipboardText(std::size_t maxBytes) const = 0;
  virtual void SetClipboardText(const std::string& text) = 0;

  // The arrow-colour swatch shows `colour`, the arrow colour the editor holds now.
  virtual void ShowArrowColour(QRgb colour) = 0;

  // Lets the window handle queued paint requests once, so it keeps repainting during a long
  // loop. User input waits until the running command has finished.
  virtual void ProcessPendingMessages() = 0;
};

}  // namespace tollwen
