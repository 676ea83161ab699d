#include "ui/main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSessionManager>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "display/bitmap.h"
#include "display/tile_names.h"
#include "display/tile_set.h"
#include "level/path_parts.h"
#include "level/tile_code.h"
#include "ui/bevel_panel.h"
#include "ui/dialog_runner.h"
#include "ui/file_dialogs.h"
#include "ui/grid_tool_tips.h"
#include "ui/level_grid_view.h"
#include "ui/message_boxes.h"
#include "ui/speed_button.h"

namespace tollwen {

namespace {

constexpr int kButtonPitch = 48;
constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 104;

std::unique_ptr<DialogRunner> OwnRunnerUnless(DialogRunner* given) {
  if (given != nullptr) return nullptr;
  return std::make_unique<ModalDialogRunner>();
}

std::string ResourceDirOrDefault(std::string resourceDir) {
  return resourceDir.empty() ? TForm1::ExecutableDir() : std::move(resourceDir);
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

// The file a drop carries when it is exactly one local file named *.jpg (in any case), as the
// bytes of its name: a percent-encoded name that is not UTF-8 keeps its bytes.
std::optional<std::string> DroppedPicture(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
  const QUrl url = data->urls().front();
  if (!url.isLocalFile() || !IsLevelPictureName(url.fileName().toStdString())) {
    return std::nullopt;
  }
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace

TForm1::TForm1(QWidget* parent) : TForm1(std::string(), nullptr, parent) {}

TForm1::TForm1(std::string resourceDir, DialogRunner* dialogs, QWidget* parent)
    : QMainWindow(parent),
      ownedDialogs_(OwnRunnerUnless(dialogs)),
      dialogs_(dialogs != nullptr ? *dialogs : *ownedDialogs_),
      // The editor start: resource directory and initial state.
      editor_(*this, ResourceDirOrDefault(std::move(resourceDir))),
      commands_([this](const std::string& message) { ShowError(message); },
                [this] { return editor_.Busy(); }) {
  setObjectName(QStringLiteral("Form1"));
  SetUpWindow();
  CreateWidgets();
  CreateMenu();
  // The client area has a fixed size; the window is exactly the menu bar over it and cannot
  // be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  CreateDialogs();
  CreateShortcuts();
  CreateToolTips();
  setAcceptDrops(true);
  FormCreate();
  // The desktop session ending closes the window too: ask before unsaved work is lost.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
      if (session.allowsInteraction() && !MayClose()) session.cancel();
      session.release();
    });
  }
}

TForm1::~TForm1() {
  // The grid paints from the editor's state: take it down while the editor still exists.
  delete takeCentralWidget();
  grid_ = nullptr;
}

std::string TForm1::ExecutableDir() {
  // Qt's answer passes through QString, which cannot hold file-name bytes that are not UTF-8
  // (it comes back empty for such a directory), so the system's own name is taken first.
  if (std::string exact = ExecutableDirectory(); !exact.empty()) return exact;
  return WithTrailingSeparator(QCoreApplication::applicationDirPath().toStdString());
}

void TForm1::SetUpWindow() {
  setWindowTitle(QStringLiteral("Tollwen Level Editor"));
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

void TForm1::CreateWidgets() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  panel1_ = new BevelPanel(client);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(0, 0, kPanelWidth, kClientHeight);

  palette_ = new QButtonGroup(this);
  palette_->setExclusive(true);
  for (int k = 0; k < kPaletteSize; ++k) {
    auto* button = new SpeedButton(panel1_);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(k));
    const int left = k < 8 ? 8 : 56;
    const int top = 8 + kButtonPitch * (k % 8);
    button->move(left, top);
    palette_->addButton(button, k);
    speedButtons_[k] = button;
  }
  speedButtons_[0]->setChecked(true);
  connect(palette_, &QButtonGroup::idClicked, this, [this](int id) { SpeedButtonClick(id); });

  label1_ = new QLabel(QStringLiteral("Arrow Colour:"), panel1_);
  label1_->setObjectName(QStringLiteral("Label1"));
  // The designed width fits the text in the designed font; a wider fallback font widens the
  // label rather than cutting the text off.
  const int textWidth = QFontMetrics(label1_->font()).horizontalAdvance(label1_->text());
  label1_->setGeometry(8, 392, std::max(63, textWidth), 13);

  button1_ = new QPushButton(QStringLiteral("Select"), panel1_);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setGeometry(8, 408, 41, 41);
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });

  label2_ = new QLabel(panel1_);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->move(56, 408);
  label2_->setFixedSize(41, 41);
  label2_->setAutoFillBackground(true);
  SetArrowColour(qRgb(0, 0, 0));

  // StringGrid1 comes at its fixed size and disabled: no level is shown yet.
  grid_ = new LevelGridView(editor_, client);
  grid_->move(kGridLeft, 0);
  // Selections go through the error boundary, and do nothing while a command runs. A stroke's
  // selections make one step of the history.
  grid_->SetSelectCellHandler(
      [this](int column, int row) { return StringGrid1SelectCell(column, row); });
  grid_->SetStrokeHandlers([this] { editor_.BeginStroke(); }, [this] { editor_.EndStroke(); });

  button1_->setFocus();
}

QAction* TForm1::AddMenuItem(QWidget* menu, const QString& objectName, const QString& text,
                             void (TForm1::*handler)()) {
  auto* action = new QAction(text, menu);
  action->setObjectName(objectName);
  connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  menu->addAction(action);
  return action;
}

void TForm1::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  // Plain Windows-style menu bar, also on desktops that would move it elsewhere.
  bar->setNativeMenuBar(false);

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  AddMenuItem(file, QStringLiteral("New1"), QStringLiteral("&New"), &TForm1::New1Click);
  file->addSeparator()->setObjectName(QStringLiteral("N1"));
  AddMenuItem(file, QStringLiteral("Open1"), QStringLiteral("&Open"), &TForm1::Open1Click);
  AddMenuItem(file, QStringLiteral("Close1"), QStringLiteral("&Close"), &TForm1::Close1Click);
  file->addSeparator()->setObjectName(QStringLiteral("N2"));
  AddMenuItem(file, QStringLiteral("Save1"), QStringLiteral("&Save"), &TForm1::Save1Click);
  AddMenuItem(file, QStringLiteral("SaveAs1"), QStringLiteral("Save &As"), &TForm1::SaveAs1Click);
  file->addSeparator()->setObjectName(QStringLiteral("N3"));
  QAction* exit =
      AddMenuItem(file, QStringLiteral("Exit1"), QStringLiteral("E&xit"), &TForm1::Exit1Click);
  // Keep it an ordinary menu item on every platform.
  exit->setMenuRole(QAction::NoRole);

  // A top-level item without a submenu: choosing it runs the command at once.
  AddMenuItem(bar, QStringLiteral("SelectMusic1"), QStringLiteral("&Select Music"),
              &TForm1::SelectMusic1Click);

  QMenu* image = bar->addMenu(QStringLiteral("&Image"));
  image->setObjectName(QStringLiteral("Image1"));
  AddMenuItem(image, QStringLiteral("RefreshDisplay1"), QStringLiteral("&Refresh Display"),
              &TForm1::RefreshDisplay1Click);
}

void TForm1::CreateDialogs() {
  openDialog1_ = std::make_unique<FileQuestion>(PictureDialogSetup(), this);
  saveDialog1_ = std::make_unique<FileQuestion>(SaveDialogSetup(), this);
  openDialog2_ = std::make_unique<FileQuestion>(MusicDialogSetup(), this);
  // Each dialog is built the first time its question is asked and kept from then on: most
  // sessions never open some of them, and building one costs more than starting the window.
}

void TForm1::CreateShortcuts() {
  struct MenuShortcut {
    const char* item;
    QKeyCombination keys;
  };
  static constexpr MenuShortcut kMenuShortcuts[] = {
      {"New1", Qt::CTRL | Qt::Key_N},
      {"Open1", Qt::CTRL | Qt::Key_O},
      {"Close1", Qt::CTRL | Qt::Key_W},
      {"Save1", Qt::CTRL | Qt::Key_S},
      {"SaveAs1", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
      {"SelectMusic1", Qt::CTRL | Qt::Key_M},
      {"RefreshDisplay1", Qt::Key_F5},
      {"Exit1", Qt::CTRL | Qt::Key_Q},
  };
  for (const MenuShortcut& shortcut : kMenuShortcuts) {
    findChild<QAction*>(QLatin1String(shortcut.item))->setShortcut(QKeySequence(shortcut.keys));
  }

  // Undo and redo are not in the menu: actions of the window itself, active wherever the
  // keyboard focus is in it.
  const auto windowAction = [this](const char* name, QList<QKeySequence> keys,
                                   void (TForm1::*handler)()) {
    auto* action = new QAction(QLatin1String(name), this);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    addAction(action);
  };
  windowAction("Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TForm1::UndoClick);
  windowAction("Redo",
               {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
               &TForm1::RedoClick);

  // A tile key acts like a click on its palette button. Window shortcuts stay silent while a
  // dialog or a menu has the keyboard.
  for (int k = 0; k < kPaletteSize; ++k) {
    const auto key = static_cast<Qt::Key>(k < 10 ? Qt::Key_0 + k : Qt::Key_A + (k - 10));
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [this, k] { speedButtons_[k]->click(); });
  }
}

void TForm1::CreateToolTips() {
  for (int k = 0; k < kPaletteSize; ++k) {
    speedButtons_[k]->setToolTip(QString::fromStdString(TileLabel(TileCodeFor(k))));
  }
  new GridToolTips(*grid_, editor_.State().Grid);
}

void TForm1::FormCreate() {
  // An error ends start-up at its step; the window opens all the same with the steps before
  // it done.
  commands_.RunAlways([this] {
    grid_->SetGridBorders();
    EditorState& state = editor_.State();
    LoadAssets(state.ResourceDir, state.Tiles, [this] { ProcessPendingMessages(); });

    Bitmap emptyGlyph;
    emptyGlyph.LoadFromFile(state.ResourceDir + "0.bmp");
    speedButtons_[0]->SetGlyph(emptyGlyph.Image());

    // Each button keeps a copy taken now: later recolouring of the tiles does not reach the
    // palette.
    for (int i = 1; i <= kTileCount; ++i) {
      speedButtons_[i]->SetGlyph(state.Tiles.TileBitmap(i).Image());
    }
  });
}

void TForm1::FormClose() {
  EditorState& state = editor_.State();
  state.Background = QImage();
  state.Tiles.Clear();
}

void TForm1::closeEvent(QCloseEvent* event) {
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
  commands_.RunAlways([this] { FormClose(); });
  closed_ = true;
  event->accept();
}

void TForm1::CloseIfPending() {
  if (!closePending_ || editor_.Busy()) return;
  closePending_ = false;
  QTimer::singleShot(0, this, [this] { close(); });
}

bool TForm1::MayClose() {
  bool mayClose = false;
  RunCommand([this, &mayClose] { mayClose = editor_.ConfirmDiscardChanges(UnsavedAction::Exit); });
  return mayClose;
}

bool TForm1::RunCommand(const std::function<void()>& command) {
  if (closed_) return false;
  const bool completed = commands_.Run(command);
  CloseIfPending();
  return completed;
}

void TForm1::ShowError(const std::string& message) {
  const auto box = MakeErrorBox(ApplicationTitle(), message, this);
  dialogs_.RunMessageBox(*box);
}

void TForm1::New1Click() {
  RunCommand([this] { editor_.NewLevel(); });
}
void TForm1::Open1Click() {
  RunCommand([this] { editor_.OpenLevel(); });
}
void TForm1::Close1Click() {
  RunCommand([this] { editor_.CloseLevel(); });
}
void TForm1::Save1Click() {
  RunCommand([this] { editor_.Save(); });
}
void TForm1::SaveAs1Click() {
  RunCommand([this] { editor_.SaveAs(); });
}
void TForm1::Exit1Click() {
  // Through the close event, like the title bar's close button and Alt+F4.
  close();
}
void TForm1::SelectMusic1Click() {
  RunCommand([this] { editor_.SelectMusic(); });
}
void TForm1::RefreshDisplay1Click() {
  RunCommand([this] { editor_.RefreshDisplay(); });
}
void TForm1::Button1Click() {
  RunCommand([this] { editor_.ChooseArrowColour(); });
}

void TForm1::UndoClick() {
  RunCommand([this] { editor_.Undo(); });
}
void TForm1::RedoClick() {
  RunCommand([this] { editor_.Redo(); });
}

void TForm1::OpenPictureFile(const std::string& picturePath) {
  RunCommand([this, &picturePath] { editor_.OpenLevelFile(picturePath); });
}

void TForm1::OpenDroppedPicture(const std::string& picturePath) {
  RunCommand([this, &picturePath] {
    if (editor_.ConfirmDiscardChanges(UnsavedAction::OpenLevel)) {
      editor_.OpenLevelFile(picturePath);
    }
  });
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedPicture(event->mimeData())) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const auto picture = DroppedPicture(event->mimeData());
  if (!picture) return;
  event->acceptProposedAction();
  // The drag source waits for the drop to end: the questions and messages of the open come
  // after it, from the event loop.
  QTimer::singleShot(0, this, [this, path = *picture] { OpenDroppedPicture(path); });
}

void TForm1::SpeedButtonClick(int index) {
  if (!RunCommand([this, index] { editor_.ChooseTile(TileCodeFor(index)); })) {
    // The press did not reach the editor: the palette keeps showing the tile in use.
    ShowCurrentTile();
  }
}

void TForm1::ShowCurrentTile() {
  for (int k = 0; k < kPaletteSize; ++k) {
    if (TileCodeFor(k) == editor_.State().CurrentTile) {
      speedButtons_[k]->setChecked(true);
      return;
    }
  }
}

bool TForm1::StringGrid1SelectCell(int column, int row) {
  bool accepted = false;
  RunCommand([this, column, row, &accepted] { accepted = grid_->SelectGridCell(column, row); });
  return accepted;
}

std::optional<std::string> TForm1::AskPictureFile(const std::string& initialDir) {
  return openDialog1_->Ask(dialogs_, initialDir);
}

std::optional<std::string> TForm1::AskSaveFile(const std::string& initialDir) {
  return saveDialog1_->Ask(dialogs_, initialDir);
}

std::optional<std::string> TForm1::AskMusicFile(const std::string& initialDir) {
  return openDialog2_->Ask(dialogs_, initialDir);
}

std::optional<QRgb> TForm1::AskArrowColour(QRgb current) {
  if (colorDialog1_ == nullptr) colorDialog1_ = CreateColourDialog(this);
  return AskColour(*colorDialog1_, dialogs_, current);
}

void TForm1::ShowMessage(const std::string& text) {
  const auto box = MakeMessageBox(ApplicationTitle(), text, this);
  dialogs_.RunMessageBox(*box);
}

SaveChangesAnswer TForm1::AskSaveChanges(const std::string& question) {
  const auto box = MakeSaveChangesBox(ApplicationTitle(), question, this);
  const int pressed = dialogs_.RunMessageBox(*box);
  if (pressed == QMessageBox::Save) return SaveChangesAnswer::Save;
  if (pressed == QMessageBox::Discard) return SaveChangesAnswer::Discard;
  return SaveChangesAnswer::Cancel;
}

void TForm1::SetGridEnabled(bool enabled) { grid_->setEnabled(enabled); }

bool TForm1::GridEnabled() const { return grid_->isEnabled(); }

void TForm1::RepaintGrid() {
  if (closed_) return;
  grid_->RepaintGrid();
}

void TForm1::DrawPictureOnGrid() {
  if (closed_) return;
  grid_->DrawPictureOnGrid();
}

void TForm1::CellsChanged(const QRect& cells) {
  if (closed_) return;
  grid_->ShowCellsChanged(cells);
}

QRgb TForm1::ArrowColour() const { return label2_->palette().color(QPalette::Window).rgb(); }

void TForm1::SetArrowColour(QRgb colour) {
  QPalette pal = label2_->palette();
  pal.setColor(QPalette::Window, QColor::fromRgb(colour));
  label2_->setPalette(pal);
}

void TForm1::ProcessPendingMessages() {
  // Repaints and timers go through; user input waits until the running command has finished.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tollwen
