#pragma once

#include <QColor>
#include <QPointer>
#include <optional>
#include <string>

#include "editor/window_services.h"
#include "ui/file_dialogs.h"

class QColorDialog;
class QWidget;

namespace tollwen {

class ArrowSwatch;
class DialogRunner;
class LevelGridView;
class StatusLine;

// The widgets of the main window that show what the editor tells it.
struct EditorViews {
  LevelGridView* grid = nullptr;
  StatusLine* status = nullptr;
  ArrowSwatch* swatch = nullptr;
};

// What the editor asks of the main window, served by Qt: the picture, save and music questions
// (each dialog kept once made, and pre-filled with the name chosen last), the arrow colour
// chooser, the message, question and error boxes, captioned with the application's title, the
// system clipboard, and the grid, status line and swatch the window shows.
class QtWindowServices : public WindowServices {
 public:
  // Dialogs and boxes run through `runner`, over `parent`.
  QtWindowServices(DialogRunner& runner, QWidget* parent);
  ~QtWindowServices() override;
  QtWindowServices(const QtWindowServices&) = delete;
  QtWindowServices& operator=(const QtWindowServices&) = delete;

  // The widgets that repaint, take notes and show the arrow colour from now on. Until they are
  // given, and once the window closes them down with empty views (nothing paints after the
  // bitmaps are freed), those requests change nothing.
  void ShowIn(const EditorViews& views);

  // The error box of the top-level error handler, for a message that escaped a command.
  void ShowError(const std::string& message);

  std::optional<std::string> AskPictureFile(const std::string& initialDir) override;
  std::optional<std::string> AskSaveFile(const std::string& initialDir) override;
  std::optional<std::string> AskMusicFile(const std::string& initialDir) override;
  std::optional<QRgb> AskArrowColour(QRgb current) override;
  void ShowMessage(const std::string& text) override;
  void ShowNote(const std::string& text) override;
  SaveChangesAnswer AskSaveChanges(const std::string& question) override;
  bool AskOverwrite(const std::string& question) override;
  bool AskReload(const std::string& question) override;
  RestoreAnswer AskRestore(const std::string& question) override;
  void RepaintGrid() override;
  std::optional<std::string> ClipboardText(std::size_t maxBytes) const override;
  void SetClipboardText(const std::string& text) override;
  void ShowArrowColour(QRgb colour) override;
  void ProcessPendingMessages() override;

 private:
  DialogRunner& runner_;
  QWidget* parent_;
  // Each dialog is built the first time its question is asked and kept from then on: most
  // sessions never open some of them, and building one costs more than starting the window.
  FileQuestion picture_;
  FileQuestion save_;
  FileQuestion music_;
  QColorDialog* colour_ = nullptr;
  QPointer<LevelGridView> grid_;
  QPointer<StatusLine> status_;
  QPointer<ArrowSwatch> swatch_;
};

}  // namespace tollwen
