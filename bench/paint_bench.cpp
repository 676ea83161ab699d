// Painting the level grid: a full repaint with a tile in every cell against drawing the whole
// picture once (the ratio is the figure), and a cell press until its pixels are painted.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include "bench_level.h"
#include "display/tile_set.h"
#include "editor/editor.h"
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

void BM_FullGridRepaint(benchmark::State& state) {
  OpenLevelGrid level;
  QImage target(level.grid.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    level.grid.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
  if (!level.editor.State().LevelOpen) state.SkipWithError("the display stopped");
}
BENCHMARK(BM_FullGridRepaint)->Unit(benchmark::kMicrosecond);

void BM_DrawPictureOnce(benchmark::State& state) {
  OpenLevelGrid level;
  QImage target(level.grid.size(), QImage::Format_RGB32);
  const QImage& picture = level.editor.State().Background;
  for (auto _ : state) {
    QPainter painter(&target);
    painter.drawImage(0, 0, picture);
    painter.end();
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_DrawPictureOnce)->Unit(benchmark::kMicrosecond);

// A press on an inner cell: the selection (which stores the tile) and the repaint of the
// pixels it changes, done synchronously as the window would on its next paint.
void BM_CellPress(benchmark::State& state) {
  OpenLevelGrid level;
  level.grid.show();
  if (!QTest::qWaitForWindowExposed(&level.grid)) state.SkipWithError("the grid was not shown");
  level.editor.ChooseTile('5');
  int step = 0;
  for (auto _ : state) {
    const int column = 1 + step % 19;
    const int row = 1 + (step / 19) % 13;
    ++step;
    level.grid.SelectGridCell(column, row);
    const QRect cell = level.grid.CellRect(column, row);
    level.grid.repaint(
        QRect(cell.topLeft(), QSize(32, 32)).translated(level.grid.contentsRect().topLeft()));
  }
}
BENCHMARK(BM_CellPress)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tollwen::bench
