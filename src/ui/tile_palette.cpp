#include "ui/tile_palette.h"

#include <QButtonGroup>
#include <QShortcut>

#include "display/tile_names.h"
#include "display/tile_set.h"
#include "ui/glyph_button.h"

namespace tollwen {

namespace {

constexpr int kButtonPitch = 48;
constexpr int kFirstColumnLeft = 8;
constexpr int kSecondColumnLeft = 56;
constexpr int kTop = 8;
constexpr int kButtonsPerColumn = 8;

}  // namespace

TilePalette::TilePalette(QWidget& panel, QWidget& window) : QObject(&panel) {
  group_ = new QButtonGroup(this);
  group_->setExclusive(true);
  for (int k = 0; k < kButtonCount; ++k) {
    auto* button = new GlyphButton(&panel);
    button->setObjectName(QStringLiteral("TileButton%1").arg(k));
    button->move(k < kButtonsPerColumn ? kFirstColumnLeft : kSecondColumnLeft,
                 kTop + kButtonPitch * (k % kButtonsPerColumn));
    const TileCode code = TileCodeFor(k);
    button->setToolTip(QString::fromStdString(TileLabelText(code).Translated()));
    // Screen readers name the button by its tile, give its key, and present the group as
    // radio buttons, of which one is chosen.
    button->setAccessibleName(QString::fromStdString(TileNameText(code)->Translated()));
    button->setAccessibleDescription(tr("Key: %1").arg(QChar::fromLatin1(code)));
    button->setAutoExclusive(true);
    group_->addButton(button, k);
    buttons_[static_cast<std::size_t>(k)] = button;

    // A tile key acts like a click on its button. Window shortcuts stay silent while a dialog
    // or a menu has the keyboard.
    const auto key = static_cast<Qt::Key>(k < 10 ? Qt::Key_0 + k : Qt::Key_A + (k - 10));
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    connect(shortcut, &QShortcut::activated, button, &GlyphButton::click);
  }
  buttons_[0]->setChecked(true);
  connect(group_, &QButtonGroup::idClicked, this, &TilePalette::clicked);
}

void TilePalette::SetEmptyGlyph(const QImage& emptyGlyph) { buttons_[0]->SetGlyph(emptyGlyph); }

void TilePalette::SetTileGlyphs(const TileSet& tiles) {
  for (int i = 1; i <= kTileCount; ++i) {
    buttons_[static_cast<std::size_t>(i)]->SetGlyph(tiles.TileBitmap(i).Image());
  }
}

void TilePalette::ShowTile(TileCode code) {
  for (int k = 0; k < kButtonCount; ++k) {
    if (TileCodeFor(k) == code) {
      buttons_[static_cast<std::size_t>(k)]->setChecked(true);
      return;
    }
  }
}

}  // namespace tollwen
