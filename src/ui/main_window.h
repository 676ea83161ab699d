#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "editor/editor.h"
#include "editor/window_services.h"
#include "level/grid_geometry.h"
#include "ui/command_runner.h"

class QAction;
class QButtonGroup;
class QColorDialog;
class QLabel;
class QPushButton;

namespace tollwen {

class BevelPanel;
class DialogRunner;
class FileQuestion;
class LevelGridView;
class SpeedButton;

// Form1, the editor's only window: the tool panel with the tile palette and the arrow-colour
// swatch on the left, the level grid on the right, the main menu above. It owns the editor,
// binds the menu and the palette to its commands, supplies the dialogs and message boxes the
// commands ask for, and runs start-up and shut-down.
class TForm1 : public QMainWindow, public WindowServices {
  Q_OBJECT

 public:
  // The tool panel, a 2-pixel gap, the level grid and one pixel to the right of it.
  static constexpr int kPanelWidth = 105;
  static constexpr int kGridLeft = kPanelWidth + 2;
  static constexpr int kClientWidth = kGridLeft + geometry::kWidgetWidth + 1;
  static constexpr int kClientHeight = geometry::kWidgetHeight;
  static constexpr int kPaletteSize = 16;

  // The window as the program starts it: assets beside the executable, dialogs shown to the
  // user.
  explicit TForm1(QWidget* parent = nullptr);
  // `resourceDir` (ending with a path separator; empty for the executable's directory) is
  // where the assets are read and where the Save As and music dialogs start. `dialogs` runs
  // every dialog and message box; nullptr shows them to the user.
  TForm1(std::string resourceDir, DialogRunner* dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  // The directory of the running executable, with a trailing separator.
  static std::string ExecutableDir();

  Editor& LevelEditor() { return editor_; }
  LevelGridView& Grid() { return *grid_; }
  SpeedButton& PaletteButton(int index) { return *speedButtons_.at(index); }

  // Runs a user command through the error boundary; does nothing while another command runs.
  // True when the command ran to completion.
  bool RunCommand(const std::function<void()>& command);
  // The error box of the top-level error handler, for a message that escaped a command.
  void ShowError(const std::string& message);

  // WindowServices
  std::optional<std::string> AskPictureFile(const std::string& initialDir) override;
  std::optional<std::string> AskSaveFile(const std::string& initialDir) override;
  std::optional<std::string> AskMusicFile(const std::string& initialDir) override;
  std::optional<QRgb> AskArrowColour(QRgb current) override;
  void ShowMessage(const std::string& text) override;
  SaveChangesAnswer AskSaveChanges(const std::string& question) override;
  void SetGridEnabled(bool enabled) override;
  bool GridEnabled() const override;
  void RepaintGrid() override;
  void DrawPictureOnGrid() override;
  void CellsChanged(const QRect& cells) override;
  QRgb ArrowColour() const override;
  void SetArrowColour(QRgb colour) override;
  void ProcessPendingMessages() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetUpWindow();
  void CreateWidgets();
  void CreateMenu();
  void CreateDialogs();
  // Start-up after the editor start: grid borders, assets, palette glyphs.
  void FormCreate();
  // Shut-down: frees the picture, the marker and the tiles.
  void FormClose();

  void New1Click();
  void Open1Click();
  void Close1Click();
  void Save1Click();
  void SaveAs1Click();
  void Exit1Click();
  void SelectMusic1Click();
  void RefreshDisplay1Click();
  void SpeedButtonClick(int index);
  void Button1Click();
  bool StringGrid1SelectCell(int column, int row);

  // Checks the palette button of the editor's current tile.
  void ShowCurrentTile();
  // A close that arrived while a command ran goes through once it has finished.
  void CloseIfPending();
  // Before the window closes or the desktop session ends: true when nothing unsaved is lost
  // (saved, discarded or unmodified).
  bool MayClose();
  QAction* AddMenuItem(QWidget* menu, const QString& objectName, const QString& text,
                       void (TForm1::*handler)());

  std::unique_ptr<DialogRunner> ownedDialogs_;
  DialogRunner& dialogs_;
  Editor editor_;
  CommandRunner commands_;

  // Widgets, owned by the window.
  BevelPanel* panel1_ = nullptr;
  std::array<SpeedButton*, kPaletteSize> speedButtons_{};
  QButtonGroup* palette_ = nullptr;
  QLabel* label1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QLabel* label2_ = nullptr;
  LevelGridView* grid_ = nullptr;

  std::unique_ptr<FileQuestion> openDialog1_;
  std::unique_ptr<FileQuestion> saveDialog1_;
  std::unique_ptr<FileQuestion> openDialog2_;
  QColorDialog* colorDialog1_ = nullptr;

  bool closed_ = false;
  bool closePending_ = false;
};

}  // namespace tollwen
