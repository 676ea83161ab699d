// What screen readers are told about the window, and the window in the user's language.
#include <QAccessible>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

#include "ui/level_grid_view.h"
#include "ui/translations.h"
#include "window_fixture.h"

namespace tollwen {
namespace {

using test::WindowTest;

QAccessibleInterface* Accessible(QWidget* widget) {
  return widget != nullptr ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

TEST_F(WindowTest, ScreenReadersHearWhatEachControlIs) {
  Start();
  const struct {
    const char* widget;
    QAccessible::Role role;
    QString name, description;
  } cases[] = {
      {"TileButton0", QAccessible::RadioButton, "Eraser", "Key: 0"},
      {"TileButton9", QAccessible::RadioButton, "Water", "Key: 9"},
      {"TileButton14", QAccessible::RadioButton, "Bomb", "Key: E"},
      {"ArrowColourButton", QAccessible::Button, "Select arrow colour", ""},
      {"ArrowColourSwatch", QAccessible::StaticText, "Arrow colour", "red 0, green 0, blue 0"},
      // At start the current cell is a border cell, which has no words.
      {"LevelGrid", QAccessible::Client, "Level grid", ""},
  };
  for (const auto& c : cases) {
    QAccessibleInterface* widget = Accessible(Find<QWidget>(c.widget));
    ASSERT_NE(widget, nullptr) << c.widget;
    EXPECT_EQ(widget->role(), c.role) << c.widget;
    EXPECT_EQ(widget->text(QAccessible::Name), c.name) << c.widget;
    EXPECT_EQ(widget->text(QAccessible::Description), c.description) << c.widget;
  }
}

// A screen reader reads the focused grid's description again when told that it changed.
TEST_F(WindowTest, GridDescribesTheCurrentCellWhenItMovesOrChanges) {
  StartShown();
  Choose("NewAction");
  QAccessibleInterface* grid = Accessible(&form_->Grid());
  QStringList heard;
  ClickPalette(14);
  ClickCell(12, 4);
  heard << grid->text(QAccessible::Description);
  QTest::keyClick(&form_->Grid(), Qt::Key_Right);  // paints as it moves
  heard << grid->text(QAccessible::Description);
  ClickPalette(9);
  ClickCell(13, 4);  // the current cell again, painted over
  heard << grid->text(QAccessible::Description);
  EXPECT_EQ(heard, (QStringList{"column 12, row 4: Bomb (E)", "column 13, row 4: Bomb (E)",
                                "column 13, row 4: Water (9)"}));
}

TEST_F(WindowTest, TextsFollowTheUserLanguageWhereTheEditorIsTranslated) {
  const struct {
    const char* language;
    QString swatch, cancel;  // a text of the editor's and one of Qt's
  } cases[] = {
      {"de_DE", "Pfeilfarbe", "Abbrechen"},
      {"de_AT", "Pfeilfarbe", "Abbrechen"},
      {"C", "Arrow colour", "Cancel"},
      // Qt has French, the editor not: all English rather than two languages in one window.
      {"fr_FR", "Arrow colour", "Cancel"},
  };
  for (const auto& c : cases) {
    const Translations translations{QLocale(c.language)};
    Start();
    EXPECT_EQ(Accessible(Find<QWidget>("ArrowColourSwatch"))->text(QAccessible::Name), c.swatch)
        << c.language;
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), c.cancel) << c.language;
  }
}

}  // namespace
}  // namespace tollwen
