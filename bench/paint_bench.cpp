// A full repaint of the level grid (every cell holding a tile, the start marker, the picture
// under it all) against its floor: drawing the same picture, lines, tiles and marker into the
// same image directly, with one painter and nothing else. Run with repetitions and random
// interleaving (bench/run.sh) so that both see the same machine.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "bench_level.h"
#include "display/tile_set.h"
#include "editor/editor.h"
#include "level/grid_geometry.h"
#include "level/tile_code.h"
#include "support/fake_window.h"
#include "ui/level_grid_view.h"

namespace tollwen::bench {
namespace {

// An editor with the bench level open and the real tiles loaded, and its grid view.
struct OpenLevelGrid {
  OpenLevelGrid() : editor(window, BenchLevel::ResourceDir()), grid(editor) {
    LoadAssets(editor.State().ResourceDir, editor.State().Tiles);
    grid.SetGridBorders();
    window.AnswerPictureFile(level.PicturePath());
    editor.OpenLevel();
    grid.setEnabled(true);
  }

  BenchLevel level;
  FakeWindow window;
  Editor editor;
  LevelGridView grid;
};

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

void BM_GridFullRepaint(benchmark::State& state) {
  OpenLevelGrid level;
  QImage target(level.grid.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    // As on screen: the grid paints every pixel itself (an opaque widget), so nothing is
    // erased beforehand.
    level.grid.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
    benchmark::DoNotOptimize(target.constBits());
  }
  if (!level.editor.Level().Shown()) state.SkipWithError("the display stopped");
}
BENCHMARK(BM_GridFullRepaint)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Min)
    ->ComputeStatistics("max", Max);

// What the repaint must draw, laid out beforehand: the picture, the line after every column
// and row, and every tile and the marker at its cell.
void BM_DirectDrawFloor(benchmark::State& state) {
  using namespace geometry;
  OpenLevelGrid level;
  const EditorState& editorState = level.editor.State();
  const LevelDocument& document = level.editor.Level();
  std::vector<QRect> lines;
  for (int column = 0; column < kColumnCount; ++column) {
    lines.emplace_back(CellStart(column) + ColumnWidth(column), 0, kLineWidth, kGridHeight);
  }
  for (int row = 0; row < kRowCount; ++row) {
    lines.emplace_back(0, CellStart(row) + RowHeight(row), kGridWidth, kLineWidth);
  }
  struct Placed {
    const Bitmap* bitmap;
    QPoint at;
  };
  std::vector<Placed> bitmaps;
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      const TileCode code = document.Grid().CellAt(column, row);
      if (code == kEmptyTile) continue;
      bitmaps.push_back(
          {&editorState.Tiles.TileBitmap(TileIndexOf(code)), CellRect(column, row).topLeft()});
    }
  }
  bitmaps.push_back(
      {&editorState.Tiles.StartMarker(), CellRect(kStartColumn, kStartRow).topLeft()});
  const QPoint origin = level.grid.contentsRect().topLeft();

  QImage target(level.grid.size(), QImage::Format_RGB32);
  const QColor lineColour(0xC0, 0xC0, 0xC0);
  for (auto _ : state) {
    QPainter painter(&target);
    painter.translate(origin);
    painter.drawImage(QPoint(0, 0), document.Picture());
    for (const QRect& line : lines) painter.fillRect(line, lineColour);
    for (const Placed& placed : bitmaps) placed.bitmap->Draw(painter, placed.at);
    painter.end();
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_DirectDrawFloor)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Min)
    ->ComputeStatistics("max", Max);

}  // namespace
}  // namespace tollwen::bench
