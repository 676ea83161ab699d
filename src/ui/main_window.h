#pragma once

#include <QList>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "editor/editor.h"
#include "level/grid_geometry.h"
#include "ui/command_runner.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QPushButton;

namespace tollwen {

class ArrowSwatch;
class BevelPanel;
class DialogRunner;
class GlyphButton;
class LevelGridView;
class QtWindowServices;
class StatusLine;
class TilePalette;
class WindowServices;

// The editor's only window: the tool panel with the tile palette and the arrow-colour swatch on
// the left, the level grid on the right, the menu bar above and the status line below. It owns the
// editor and what the editor asks of the window (QtWindowServices), binds the menu, the palette
// and the grid to the editor's commands, and runs start-up and shut-down.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The tool panel, a 2-pixel gap, the level grid and one pixel to the right of it.
  static constexpr int kPanelWidth = 105;
  static constexpr int kGridLeft = kPanelWidth + 2;
  static constexpr int kClientWidth = kGridLeft + geometry::kWidgetWidth + 1;
  static constexpr int kClientHeight = geometry::kWidgetHeight;
  // The status line under the client area; the window grows by its height.
  static constexpr int kStatusHeight = 20;

  // The window as the program starts it: assets where AssetFolder finds them, dialogs shown to
  // the user.
  explicit MainWindow(QWidget* parent = nullptr);
  // `resourceDir` (ending with a path separator; empty for AssetFolder()) is where the assets
  // are read and where the first Open dialog starts. `dialogs` runs every dialog and message
  // box; nullptr shows them to the user.
  MainWindow(std::string resourceDir, DialogRunner* dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  Editor& LevelEditor() { return editor_; }
  // What the editor asks of this window: its dialogs, message boxes, notes and clipboard.
  WindowServices& Services();
  LevelGridView& Grid() { return *grid_; }
  GlyphButton& PaletteButton(int index);

  // Runs a user command through the error boundary; does nothing while another command runs.
  // True when the command ran to completion.
  bool RunCommand(const std::function<void()>& command);
  // Opens the picture as File > Open does once the user has picked it, without asking first:
  // the picture named on the command line.
  void OpenPictureFile(const std::string& picturePath);
  // At start-up without a picture: offers the unsaved changes an earlier session left.
  void OfferRecovery();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Back in the window, the user is asked about a change to the data file made meanwhile.
  void changeEvent(QEvent* event) override;
  // A single .jpg file dropped on the window opens as File > Open would open it.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void SetUpWindow();
  // The title names the level, the file Save writes and the music, and marks unsaved changes.
  void ShowTitle();
  void CreateWidgets();
  // The menu bar from one table; the Edit menu follows the history, the selection and the
  // chosen tool.
  void CreateMenu();
  // Start-up after the editor start: grid borders, assets, palette glyphs.
  void StartUp();
  // Shut-down: frees the picture, the marker and the tiles.
  void FreeBitmaps();

  // The palette and the status line show the current tile.
  void ShowCurrentTile();
  // Runs an editor command from the menu.
  void Run(void (Editor::*command)());
  // After the unsaved-work question, opens a picture dropped on the window.
  void OpenDroppedPicture(const std::string& picturePath);
  // A close that arrived while a command ran goes through once it has finished.
  void CloseIfPending();
  // Before the window closes or the desktop session ends: true when nothing unsaved is lost
  // (saved, discarded or unmodified).
  bool MayClose();

  // The menu items that follow the editor's state.
  struct MenuItems {
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* deleteCells = nullptr;
    QAction* selectAll = nullptr;
    QList<QAction*> turns;  // as kSelectionTurns lists them
  };

  std::unique_ptr<DialogRunner> ownedRunner_;
  std::unique_ptr<QtWindowServices> services_;
  Editor editor_;
  CommandRunner commands_;

  // Widgets, owned by the window.
  BevelPanel* toolPanel_ = nullptr;
  TilePalette* palette_ = nullptr;
  QPushButton* arrowColourButton_ = nullptr;
  ArrowSwatch* arrowSwatch_ = nullptr;
  LevelGridView* grid_ = nullptr;
  StatusLine* status_ = nullptr;
  MenuItems items_;

  bool closed_ = false;
  bool closePending_ = false;
};

}  // namespace tollwen
