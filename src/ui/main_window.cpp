#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "display/bitmap.h"
#include "display/tile_set.h"
#include "editor/selection_turns.h"
#include "editor/window_title.h"
#include "storage/asset_folder.h"
#include "ui/accessibility.h"
#include "ui/arrow_swatch.h"
#include "ui/bevel_panel.h"
#include "ui/dialog_runner.h"
#include "ui/edit_menu.h"
#include "ui/glyph_button.h"
#include "ui/grid_tool_tips.h"
#include "ui/level_grid_view.h"
#include "ui/menu_table.h"
#include "ui/picture_drop.h"
#include "ui/qt_window_services.h"
#include "ui/status_line.h"
#include "ui/tile_palette.h"

namespace tollwen {

namespace {

constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 104;

std::string ResourceDirOrDefault(std::string resourceDir) {
  return resourceDir.empty() ? AssetFolder() : std::move(resourceDir);
}

// "MS Sans Serif" at 8 points where the family exists, else the closest sans-serif at 8 points.
// Qt takes the first family of the list that it has; asking for the list of every family
// instead would load the whole font database at start-up.
QFont WindowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : MainWindow(std::string(), nullptr, parent) {}

MainWindow::MainWindow(std::string resourceDir, DialogRunner* dialogs, QWidget* parent)
    : QMainWindow(parent),
      ownedRunner_(dialogs == nullptr ? std::make_unique<ModalDialogRunner>() : nullptr),
      services_(
          std::make_unique<QtWindowServices>(dialogs != nullptr ? *dialogs : *ownedRunner_, this)),
      // The editor start: resource directory and initial state.
      editor_(*services_, ResourceDirOrDefault(std::move(resourceDir))),
      commands_([this](const std::string& message) { services_->ShowError(message); },
                [this] { return editor_.Busy(); }) {
  setObjectName(QStringLiteral("MainWindow"));
  SetUpWindow();
  CreateWidgets();
  CreateMenu();
  // The client area has a fixed size; the window is exactly the menu bar over it and cannot
  // be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setAcceptDrops(true);
  StartUp();
  // The desktop session ending closes the window too: ask before unsaved work is lost.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
      if (session.allowsInteraction() && !MayClose()) session.cancel();
      session.release();
    });
  }
}

MainWindow::~MainWindow() {
  // The grid paints from the editor's state: take it down while the editor still exists.
  delete takeCentralWidget();
  grid_ = nullptr;
}

WindowServices& MainWindow::Services() { return *services_; }

GlyphButton& MainWindow::PaletteButton(int index) { return palette_->Button(index); }

void MainWindow::ShowTitle() {
  const LevelDocument& level = editor_.Level();
  setWindowTitle(QString::fromStdString(
      WindowTitle(level.Editable(), level.PicturePath(), level.DataPath(), level.MusicName())));
  setWindowModified(level.Editable() && level.Modified());
}

void MainWindow::SetUpWindow() {
  ShowTitle();
  const LevelDocument& level = editor_.Level();
  for (auto signal : {&LevelDocument::displayChanged, &LevelDocument::detailsChanged}) {
    connect(&level, signal, this, &MainWindow::ShowTitle);
  }
  connect(&level, &LevelDocument::modifiedChanged, this, &MainWindow::ShowTitle);
  // A change to the data file is taken in at once; a question about it waits for the window to
  // be active, which changeEvent looks out for.
  connect(&editor_.Watcher(), &DataFileWatcher::mayHaveChanged, this,
          [this] { RunCommand([this] { editor_.TakeInOutsideChange(isActiveWindow()); }); });
  // A single border: no resizing and no maximise box; the system menu and minimise box stay.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(WindowFont());
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  setPalette(pal);
  move(kWindowLeft, kWindowTop);
}

void MainWindow::CreateWidgets() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  toolPanel_ = new BevelPanel(client);
  toolPanel_->setObjectName(QStringLiteral("ToolPanel"));
  toolPanel_->setGeometry(0, 0, kPanelWidth, kClientHeight);

  palette_ = new TilePalette(*toolPanel_, *this);
  connect(palette_, &TilePalette::clicked, this, [this](int index) {
    // Also when the press did not reach the editor: the palette keeps showing the tile in use.
    RunCommand([this, index] { editor_.ChooseTile(TileCodeFor(index)); });
    ShowCurrentTile();
  });

  auto* label = new QLabel(tr("Arrow Colour:"), toolPanel_);
  label->setObjectName(QStringLiteral("ArrowColourLabel"));
  // The designed width fits the text in the designed font; a wider fallback font widens the
  // label rather than cutting the text off.
  const int textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
  label->setGeometry(8, 392, std::max(63, textWidth), 13);

  arrowColourButton_ = new QPushButton(tr("Select"), toolPanel_);
  arrowColourButton_->setObjectName(QStringLiteral("ArrowColourButton"));
  arrowColourButton_->setGeometry(8, 408, 41, 41);
  // A screen reader says what the short caption selects.
  arrowColourButton_->setAccessibleName(tr("Select arrow colour"));
  connect(arrowColourButton_, &QPushButton::clicked, this,
          [this] { Run(&Editor::ChooseArrowColour); });

  arrowSwatch_ = new ArrowSwatch(toolPanel_);
  arrowSwatch_->move(56, 408);
  arrowSwatch_->ShowColour(editor_.State().ArrowColour);

  // The level grid comes at its fixed size and disabled: no level is shown yet.
  grid_ = new LevelGridView(editor_, client);
  grid_->move(kGridLeft, 0);
  grid_->SetInputRunner([this](const std::function<void()>& input) { return RunCommand(input); });
  connect(grid_, &LevelGridView::tilePicked, this, &MainWindow::ShowCurrentTile);
  new GridToolTips(*grid_, editor_.Level().Grid());
  new GridAccessibility(*grid_, editor_.Level());

  // Under the grid, across the whole window: the window grows by its height.
  status_ = new StatusLine(*grid_, editor_, this);
  status_->setFixedHeight(kStatusHeight);
  setStatusBar(status_);
  services_->ShowIn({grid_, status_, arrowSwatch_});

  arrowColourButton_->setFocus();
}

void MainWindow::ShowCurrentTile() {
  palette_->ShowTile(editor_.State().CurrentTile);
  status_->ShowTile();
}

void MainWindow::Run(void (Editor::*command)()) {
  RunCommand([this, command] { (editor_.*command)(); });
}

void MainWindow::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MenuBar"));
  // Plain Windows-style menu bar, also on desktops that would move it elsewhere.
  bar->setNativeMenuBar(false);

  using Keys = QList<QKeySequence>;
  DropDownMenu file{"FileMenu", tr("&File")};
  DropDownMenu edit{"EditMenu", tr("&Edit")};
  DropDownMenu image{"ImageMenu", tr("&Image")};
  const auto run = [this](void (Editor::*command)()) { return [this, command] { Run(command); }; };
  QList<MenuEntry> entries = {
      {&file, "NewAction", tr("&New"), Keys{Qt::CTRL | Qt::Key_N}, run(&Editor::NewLevel)},
      {&file, nullptr, {}, {}, {}},
      {&file, "OpenAction", tr("&Open"), Keys{Qt::CTRL | Qt::Key_O}, run(&Editor::OpenLevel)},
      {&file, "CloseAction", tr("&Close"), Keys{Qt::CTRL | Qt::Key_W}, run(&Editor::CloseLevel)},
      {&file, "NextLevelAction", tr("Next &Level"), Keys{Qt::ALT | Qt::Key_PageDown},
       run(&Editor::OpenNextLevel)},
      {&file, "PreviousLevelAction", tr("&Previous Level"), Keys{Qt::ALT | Qt::Key_PageUp},
       run(&Editor::OpenPreviousLevel)},
      {&file, nullptr, {}, {}, {}},
      {&file, "SaveAction", tr("&Save"), Keys{Qt::CTRL | Qt::Key_S}, run(&Editor::Save)},
      {&file, "SaveAsAction", tr("Save &As"), Keys{Qt::CTRL | Qt::SHIFT | Qt::Key_S},
       run(&Editor::SaveAs)},
      {&file, nullptr, {}, {}, {}},
      // Through the close event, like the title bar's close button and Alt+F4.
      {&file, "ExitAction", tr("E&xit"), Keys{Qt::CTRL | Qt::Key_Q}, [this] { close(); }},
      // Named after the step they take back or do again (FollowHistory).
      {&edit, "UndoAction", QString(), Keys{Qt::CTRL | Qt::Key_Z}, run(&Editor::Undo),
       &items_.undo},
      {&edit, "RedoAction", QString(), Keys{Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
       run(&Editor::Redo), &items_.redo},
      {&edit, nullptr, {}, {}, {}},
      {&edit, "CutAction", tr("Cu&t"), Keys{Qt::CTRL | Qt::Key_X}, run(&Editor::Cut), &items_.cut},
      {&edit, "CopyAction", tr("&Copy"), Keys{Qt::CTRL | Qt::Key_C}, run(&Editor::Copy),
       &items_.copy},
      {&edit, "PasteAction", tr("&Paste"), Keys{Qt::CTRL | Qt::Key_V},
       [this] { RunCommand([this] { editor_.Paste(grid_->CurrentCell()); }); }, &items_.paste},
      {&edit, "DeleteAction", tr("&Delete"), Keys{Qt::Key_Delete}, run(&Editor::DeleteSelection),
       &items_.deleteCells},
      {&edit, "SelectAllAction", tr("Select &All"), Keys{Qt::CTRL | Qt::Key_A},
       run(&Editor::SelectAll), &items_.selectAll},
      {&edit, nullptr, {}, {}, {}},
  };
  items_.turns.resize(std::size(kSelectionTurns));
  for (std::size_t i = 0; i < std::size(kSelectionTurns); ++i) {
    const SelectionTurn& turn = kSelectionTurns[i];
    entries.append({&edit, turn.objectName, TranslatedName(turn), Keys{turn.key},
                    [this, &turn] { RunCommand([this, &turn] { editor_.TurnSelection(turn); }); },
                    &items_.turns[static_cast<qsizetype>(i)]});
  }
  entries += {
      {&edit, nullptr, {}, {}, {}},
      // A top-level item without a submenu: choosing it runs the command at once.
      {nullptr, "SelectMusicAction", tr("&Select Music"), Keys{Qt::CTRL | Qt::Key_M},
       run(&Editor::SelectMusic)},
      {&image, "RefreshDisplayAction", tr("&Refresh Display"), Keys{Qt::Key_F5},
       run(&Editor::RefreshDisplay)},
  };
  AddMenuEntries(*bar, entries);

  // The tools, one exclusive group at the end of the Edit menu, each with its key.
  AddToolItems(*edit.menu, editor_.Tools(),
               [this](int index) { RunCommand([this, index] { editor_.Tools().Choose(index); }); });
  FollowHistory(*items_.undo, *items_.redo, editor_.Level().History());
  FollowSelection(QList<QAction*>{items_.cut, items_.copy, items_.deleteCells} + items_.turns,
                  editor_.Tools());
  FollowLevel({items_.paste, items_.selectAll}, editor_.Level());
}

void MainWindow::StartUp() {
  // An error ends start-up at its step; the window opens all the same with the steps before
  // it done.
  commands_.RunAlways([this] {
    grid_->SetGridBorders();
    EditorState& state = editor_.State();
    LoadAssets(state.ResourceDir, state.Tiles, [this] { services_->ProcessPendingMessages(); });

    Bitmap emptyGlyph;
    emptyGlyph.LoadFromFile(state.ResourceDir + "0.bmp");
    palette_->SetEmptyGlyph(emptyGlyph.Image());
    palette_->SetTileGlyphs(state.Tiles);
  });
}

void MainWindow::FreeBitmaps() {
  editor_.Level().ReleasePicture();
  editor_.State().Tiles.Clear();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  if (editor_.Busy()) {
    // The running command still uses the bitmaps; close once it has finished.
    closePending_ = true;
    event->ignore();
    return;
  }
  if (!MayClose()) {
    event->ignore();
    return;
  }
  commands_.RunAlways([this] {
    // Saved, discarded or unchanged: nothing is left to recover.
    editor_.EndSession();
    FreeBitmaps();
  });
  closed_ = true;
  // Nothing paints after the bitmaps are freed.
  services_->ShowIn({});
  event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) editor_.Watcher().CheckSoon();
}

void MainWindow::CloseIfPending() {
  if (!closePending_ || editor_.Busy()) return;
  closePending_ = false;
  QTimer::singleShot(0, this, [this] { close(); });
}

bool MainWindow::MayClose() {
  bool mayClose = false;
  RunCommand([this, &mayClose] { mayClose = editor_.ConfirmDiscardChanges(UnsavedAction::Exit); });
  return mayClose;
}

bool MainWindow::RunCommand(const std::function<void()>& command) {
  if (closed_) return false;
  const bool completed = commands_.Run(command);
  CloseIfPending();
  return completed;
}

void MainWindow::OpenPictureFile(const std::string& picturePath) {
  RunCommand([this, &picturePath] { editor_.OpenLevelFile(picturePath); });
}

void MainWindow::OfferRecovery() {
  RunCommand([this] { editor_.OfferNewestRecovery(); });
}

void MainWindow::OpenDroppedPicture(const std::string& picturePath) {
  RunCommand([this, &picturePath] {
    if (editor_.ConfirmDiscardChanges(UnsavedAction::OpenLevel)) {
      editor_.OpenLevelFile(picturePath);
    }
  });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) { AcceptPictureAsCopy(*event); }

void MainWindow::dropEvent(QDropEvent* event) {
  const std::optional<std::string> picture = AcceptPictureAsCopy(*event);
  if (!picture) return;
  // The drag source waits for the drop to end: the questions and messages of the open come
  // after it, from the event loop.
  QTimer::singleShot(0, this, [this, path = *picture] { OpenDroppedPicture(path); });
}

}  // namespace tollwen
