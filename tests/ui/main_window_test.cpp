// The main window as it opens: its widgets, menu, dialogs, start-up state and language, and
// what screen readers are told about it.
#include <QAccessible>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "program_info.h"
#include "storage/asset_folder.h"
#include "ui/application_identity.h"
#include "ui/file_dialogs.h"
#include "ui/glyph_button.h"
#include "ui/level_grid_view.h"
#include "ui/translations.h"
#include "window_fixture.h"

namespace tollwen {
namespace {

using test::WindowTest;

TEST_F(WindowTest, WindowHasItsCaptionPlaceFixedSizeAndFrame) {
  MainWindow& form = StartShown();
  EXPECT_EQ(form.objectName(), "MainWindow");
  EXPECT_EQ(form.windowTitle(), "Tollwen Level Editor");
  EXPECT_EQ(form.pos(), QPoint(200, 104));

  QWidget* client = form.centralWidget();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->size(), QSize(757, 457));
  // The client area lies right under the menu bar, the status line under it, and the window is
  // exactly the three.
  EXPECT_EQ(client->y(), form.menuBar()->geometry().bottom() + 1);
  EXPECT_EQ(form.statusBar()->geometry(), QRect(0, client->y() + 457, 757, 20));
  EXPECT_EQ(form.size(), QSize(757, client->y() + 457 + 20));

  // Fixed size: neither resizing nor maximising changes it.
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  const QSize size = form.size();
  form.resize(900, 700);
  QApplication::processEvents();
  EXPECT_EQ(form.size(), size);
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

  EXPECT_EQ(form.palette().color(QPalette::Window), form.palette().color(QPalette::Button));
  EXPECT_EQ(form.font().pointSize(), 8);
  if (QFontDatabase::families().contains("MS Sans Serif")) {
    EXPECT_EQ(form.font().family(), "MS Sans Serif");
  } else {
    EXPECT_EQ(form.font().styleHint(), QFont::SansSerif);
  }
}

TEST_F(WindowTest, WidgetsHaveTheirNamesPlacesAndSizes) {
  Start();
  auto* panel = Find<QWidget>("ToolPanel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->parentWidget(), form_->centralWidget());
  EXPECT_EQ(panel->geometry(), QRect(0, 0, 105, 457));

  for (int k = 0; k < 16; ++k) {
    auto* button = Find<GlyphButton>(("TileButton" + std::to_string(k)).c_str());
    ASSERT_NE(button, nullptr) << k;
    EXPECT_EQ(button, &form_->PaletteButton(k));
    EXPECT_EQ(button->parentWidget(), panel);
    const QPoint expected = k < 8 ? QPoint(8, 8 + 48 * k) : QPoint(56, 8 + 48 * (k - 8));
    EXPECT_EQ(button->geometry(), QRect(expected, QSize(41, 41))) << k;
    EXPECT_TRUE(button->text().isEmpty());
  }

  auto* label1 = Find<QLabel>("ArrowColourLabel");
  ASSERT_NE(label1, nullptr);
  EXPECT_EQ(label1->parentWidget(), panel);
  EXPECT_EQ(label1->text(), "Arrow Colour:");
  EXPECT_EQ(label1->pos(), QPoint(8, 392));
  EXPECT_EQ(label1->height(), 13);
  // 63 wide, or as wide as the text needs where the font is wider: never cut off.
  EXPECT_GE(label1->width(), 63);
  EXPECT_GE(label1->width(), label1->fontMetrics().horizontalAdvance(label1->text()));
  EXPECT_LE(label1->geometry().right(), 105 - 2);

  auto* button1 = Find<QPushButton>("ArrowColourButton");
  ASSERT_NE(button1, nullptr);
  EXPECT_EQ(button1->parentWidget(), panel);
  EXPECT_EQ(button1->text(), "Select");
  EXPECT_EQ(button1->geometry(), QRect(8, 408, 41, 41));

  auto* label2 = Find<QLabel>("ArrowColourSwatch");
  ASSERT_NE(label2, nullptr);
  EXPECT_EQ(label2->parentWidget(), panel);
  EXPECT_TRUE(label2->text().isEmpty());
  EXPECT_EQ(label2->geometry(), QRect(56, 408, 41, 41));
  EXPECT_EQ(label2->minimumSize(), label2->maximumSize());

  auto* grid = Find<LevelGridView>("LevelGrid");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->parentWidget(), form_->centralWidget());
  EXPECT_EQ(grid->geometry(), QRect(107, 0, 649, 457));

  // The dialogs are built when first asked for, not at start-up.
  EXPECT_EQ(Find<QDialog>("ArrowColourDialog"), nullptr);
  EXPECT_EQ(Find<QDialog>("PictureDialog"), nullptr);
}

// The menu as text: items in order, "-" for a separator, "[...]" around a submenu.
QStringList Describe(const QList<QAction*>& actions) {
  QStringList items;
  for (QAction* action : actions) {
    if (action->isSeparator()) {
      items << "-";
    } else if (action->menu() != nullptr) {
      items << action->text() + " [" + Describe(action->menu()->actions()).join(", ") + "]";
    } else {
      items << action->text();
    }
  }
  return items;
}

TEST_F(WindowTest, MenuHasEveryItemAcceleratorAndSeparator) {
  Start();
  QMenuBar* bar = form_->menuBar();
  EXPECT_EQ(bar->objectName(), "MenuBar");
  EXPECT_EQ(Describe(bar->actions()),
            (QStringList{"&File [&New, -, &Open, &Close, Next &Level, &Previous Level, -, &Save, "
                         "Save &As, -, E&xit]",
                         "&Edit [&Undo, &Redo, -, Cu&t, &Copy, &Paste, &Delete, Select &All, -, "
                         "Flip &Horizontally, Flip &Vertically, Rotate Clock&wise, "
                         "Rotate Cou&nter-clockwise, -, &Brush, &Line, R&ectangle, &Fill, &Select, "
                         "C&onveyor Path]",
                         "&Select Music", "&Image [&Refresh Display]"}));

  // The accelerators of each menu reach distinct items.
  const auto mnemonics = [](const QList<QAction*>& actions) {
    QStringList keys;
    for (QAction* action : actions) {
      if (!action->isSeparator()) keys << QKeySequence::mnemonic(action->text()).toString();
    }
    return keys;
  };
  EXPECT_EQ(mnemonics(bar->actions()), (QStringList{"Alt+F", "Alt+E", "Alt+S", "Alt+I"}));
  auto* file = Find<QMenu>("FileMenu");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(mnemonics(file->actions()),
            (QStringList{"Alt+N", "Alt+O", "Alt+C", "Alt+L", "Alt+P", "Alt+S", "Alt+A", "Alt+X"}));

  auto* edit = Find<QMenu>("EditMenu");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(mnemonics(edit->actions()).removeDuplicates(), 0);
  // The tools form one exclusive group, each chosen by a plain letter no tile key uses; the
  // brush is chosen at start.
  QStringList toolKeys;
  for (QAction* action : edit->actions()) {
    if (!action->isCheckable()) continue;
    toolKeys << action->shortcut().toString();
    EXPECT_TRUE(action->actionGroup()->isExclusive());
    EXPECT_EQ(action->isChecked(), action->text() == "&Brush");
  }
  EXPECT_EQ(toolKeys, (QStringList{"P", "L", "R", "G", "S", "T"}));
}

TEST_F(WindowTest, OpensWithEmptyTileChosenGridDisabledAndBlackSwatch) {
  MainWindow& form = StartShown();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

  EXPECT_TRUE(dialogs_.Boxes().empty()) << dialogs_.BoxTexts().join("\n").toStdString();
  for (int k = 0; k < 16; ++k) EXPECT_EQ(form.PaletteButton(k).isChecked(), k == 0) << k;
  EXPECT_EQ(form.LevelEditor().State().CurrentTile, '0');

  EXPECT_FALSE(form.Grid().isEnabled());
  EXPECT_FALSE(form.LevelEditor().Level().Shown());
  // No level, no edit.
  for (const char* item : {"CutAction", "CopyAction", "PasteAction", "DeleteAction",
                           "SelectAllAction", "RotateClockwiseAction"})
    EXPECT_FALSE(Find<QAction>(item)->isEnabled()) << item;
  EXPECT_EQ(form.LevelEditor().State().ArrowColour, qRgb(0, 0, 0));
  const QImage swatch = Find<QLabel>("ArrowColourSwatch")->grab().toImage();
  EXPECT_EQ(swatch.pixel(20, 20) & 0xFFFFFF, 0u);

  EXPECT_EQ(QApplication::focusWidget(), Find<QPushButton>("ArrowColourButton"));

  // Plain cells: every inner cell in the window colour, the lines silver.
  LevelGridView& grid = form.Grid();
  const QImage shot = grid.grab().toImage();
  const QPoint origin = grid.contentsRect().topLeft();
  const QRgb plain = grid.palette().color(QPalette::Active, QPalette::Base).rgb();
  for (int row = 1; row <= 13; ++row) {
    for (int column = 1; column <= 19; ++column) {
      const QPoint centre = origin + grid.CellRect(column, row).center();
      ASSERT_EQ(shot.pixel(centre), plain) << column << "," << row;
    }
  }
  EXPECT_EQ(shot.pixel(origin + QPoint(15, 100)), qRgb(192, 192, 192));
  EXPECT_EQ(shot.pixel(origin + QPoint(100, 447)), qRgb(192, 192, 192));
}

// The desktop matches the window to its desktop entry by this id and shows the icon in the
// title bar, the task bar and Alt+Tab in whatever size it needs.
TEST_F(WindowTest, CarriesTheApplicationIdAndIconInEverySize) {
  SetApplicationIdentity();
  Start();
  EXPECT_EQ(QGuiApplication::desktopFileName(), QString(kApplicationId));
  const QList<QSize> sizes = form_->windowIcon().availableSizes();
  for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
    EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
  }
}

TEST_F(WindowTest, PaletteShowsTheEmptyGlyphAndCopiesOfTheTiles) {
  Start();
  const TileSet& tiles = form_->LevelEditor().State().Tiles;
  EXPECT_FALSE(form_->PaletteButton(0).Glyph().isNull());
  for (int i = 1; i <= 15; ++i) {
    ASSERT_FALSE(tiles.TileBitmap(i).Empty()) << i;
    EXPECT_EQ(form_->PaletteButton(i).Glyph(), tiles.TileBitmap(i).Image()) << i;
  }
  EXPECT_EQ(form_->LevelEditor().State().ResourceDir, AssetFolder());
}

TEST_F(WindowTest, FindsItsAssetsBesideTheExecutableFromAnyWorkingDirectory) {
  QTemporaryDir elsewhere;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
  Start();
  QDir::setCurrent(before);
  EXPECT_TRUE(dialogs_.Boxes().empty()) << dialogs_.BoxTexts().join("\n").toStdString();
  EXPECT_FALSE(form_->LevelEditor().State().Tiles.StartMarker().Empty());
}

QString Heard(QWidget* widget, QAccessible::Text text) {
  return QAccessible::queryAccessibleInterface(widget)->text(text);
}

TEST_F(WindowTest, ScreenReadersHearWhatEachControlIs) {
  Start();
  const struct {
    const char* widget;
    QAccessible::Role role;
    QString name, description;
  } cases[] = {
      {"TileButton0", QAccessible::RadioButton, "Eraser", "Key: 0"},
      {"TileButton14", QAccessible::RadioButton, "Bomb", "Key: E"},
      {"ArrowColourButton", QAccessible::Button, "Select arrow colour", ""},
      {"ArrowColourSwatch", QAccessible::StaticText, "Arrow colour", "red 0, green 0, blue 0"},
      {"LevelGrid", QAccessible::Client, "Level grid", ""},  // a border cell is current at start
  };
  for (const auto& c : cases) {
    QWidget* widget = Find<QWidget>(c.widget);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->role(), c.role) << c.widget;
    EXPECT_EQ(Heard(widget, QAccessible::Name), c.name) << c.widget;
    EXPECT_EQ(Heard(widget, QAccessible::Description), c.description) << c.widget;
  }
}

// The texts of a menu without their accelerators' marks.
QStringList Items(const QList<QAction*>& actions) {
  QStringList items;
  for (const QString& item : Describe(actions)) items << QString(item).remove('&');
  return items;
}

TEST_F(WindowTest, SpeaksTheUserLanguageWhereTheEditorIsTranslatedAndEnglishElsewhere) {
  // Qt has French, the editor not: all English then, not two languages in one window.
  const struct {
    const char* language;
    QStringList menuBar;
    QString dialogTitle, filter;
    QString question;
    QStringList questionButtons;  // sorted
    QString error;                // %1: the picture
  } cases[] = {
      {"de_DE",
       {"Datei [Neu, -, Öffnen…, Schließen, Nächstes Level, Vorheriges Level, -, Speichern, "
        "Speichern unter…, -, Beenden]",
        "Bearbeiten", "Musik auswählen", "Bild [Anzeige aktualisieren]"},
       "Leveldatei auswählen…",
       "JPEG-Levelbilder (*.jpg)",
       "Änderungen am Level speichern, bevor ein neues Level begonnen wird?",
       {"Abbrechen", "Speichern", "Verwerfen"},
       "Die Datei %1 kann nicht geöffnet werden."},
      {"fr_FR",
       {"File [New, -, Open, Close, Next Level, Previous Level, -, Save, Save As, -, Exit]", "Edit",
        "Select Music", "Image [Refresh Display]"},
       "Select Level File..",
       "Jpeg Level Images (*.jpg)",
       "Save changes to the level before starting a new level?",
       {"Cancel", "Discard", "Save"},
       "Cannot open file %1."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    const Translations translations{QLocale(c.language)};
    form_.reset();
    dialogs_ = {};
    StartShown();
    QStringList menuBar = Items(form_->menuBar()->actions());
    menuBar[1] = menuBar[1].section(' ', 0, 0);  // the Edit menu's title
    EXPECT_EQ(menuBar, c.menuBar);
    // On the bar and within each menu, each accelerator reaches one item.
    QList<QList<QAction*>> menus{form_->menuBar()->actions()};
    for (const QMenu* menu : form_->menuBar()->findChildren<QMenu*>()) menus << menu->actions();
    for (const QList<QAction*>& items : menus) {
      QStringList keys;
      for (QAction* action : items) {
        if (!action->isSeparator()) keys << QKeySequence::mnemonic(action->text()).toString();
      }
      EXPECT_EQ(keys.removeDuplicates(), 0) << qPrintable(keys.join(' '));
    }

    Choose("OpenAction");  // cancelled
    auto* dialog = Find<QFileDialog>("PictureDialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), c.dialogTitle);
    EXPECT_EQ(dialog->nameFilters(), NameFiltersFrom(c.filter + "|*.jpg"));
    Choose("NewAction");
    ClickPalette(5);
    ClickCell(3, 3);
    Choose("NewAction");  // cancelled
    ASSERT_EQ(dialogs_.Boxes().size(), 1U);
    EXPECT_EQ(dialogs_.Boxes()[0].text, c.question);
    QStringList buttons = dialogs_.Boxes()[0].buttons;
    buttons.sort();
    EXPECT_EQ(buttons, c.questionButtons);

    const QString missing = scratch_.filePath("missing.jpg");
    form_->OpenPictureFile(missing.toStdString());
    EXPECT_EQ(dialogs_.Boxes().back().text, c.error.arg(missing));
    EXPECT_EQ(dialogs_.Boxes().back().buttons, QStringList{"OK"});
  }
}

}  // namespace
}  // namespace tollwen
