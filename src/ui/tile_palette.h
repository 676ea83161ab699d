#pragma once

#include <QObject>
#include <array>

#include "level/tile_code.h"

class QButtonGroup;
class QWidget;

namespace tollwen {

class GlyphButton;
class TileSet;

// The sixteen tile buttons of the tool panel, in two columns of eight: the empty tile and
// tiles 1 to 15. Exactly one is down. Each is named in its tool tip ("Water (9)") and, for
// screen readers, by its tile ("Water") with its key in the description; the tile's key (0-9,
// A-F) clicks it while the window is active and no dialog is open.
class TilePalette : public QObject {
  Q_OBJECT

 public:
  static constexpr int kButtonCount = 16;

  // Places the buttons on `panel` and the tile keys on `window`; the empty tile is down.
  TilePalette(QWidget& panel, QWidget& window);

  GlyphButton& Button(int index) const { return *buttons_.at(static_cast<std::size_t>(index)); }
  // Glyphs: `emptyGlyph` for the empty tile and copies of the tiles' bitmaps as they are now;
  // later recolouring of the tiles does not reach the palette.
  void SetEmptyGlyph(const QImage& emptyGlyph);
  void SetTileGlyphs(const TileSet& tiles);
  // Puts down the button of `code`.
  void ShowTile(TileCode code);

 signals:
  // The user clicked button `index` (its code is TileCodeFor(index)).
  void clicked(int index);

 private:
  std::array<GlyphButton*, kButtonCount> buttons_{};
  QButtonGroup* group_ = nullptr;
};

}  // namespace tollwen
