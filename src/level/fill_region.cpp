#include "level/fill_region.h"

#include <array>

#include "level/grid_geometry.h"

namespace tollwen {

namespace {

bool IsLevelCell(CellPosition cell) { return geometry::IsInnerCell(cell.x(), cell.y()); }

}  // namespace

std::vector<CellPosition> FillRegion(const LevelGrid& grid, CellPosition start) {
  if (!IsLevelCell(start)) return {};
  const TileCode code = grid.CellAt(start.x(), start.y());
  std::array<std::array<bool, LevelGrid::kColumns + 1>, LevelGrid::kRows + 1> seen{};
  std::vector<CellPosition> region;
  std::vector<CellPosition> pending{start};
  seen[start.y()][start.x()] = true;
  while (!pending.empty()) {
    const CellPosition cell = pending.back();
    pending.pop_back();
    region.push_back(cell);
    for (const CellPosition step :
         {CellPosition(0, -1), CellPosition(1, 0), CellPosition(0, 1), CellPosition(-1, 0)}) {
      const CellPosition next = cell + step;
      if (!IsLevelCell(next) || seen[next.y()][next.x()]) continue;
      if (grid.CellAt(next.x(), next.y()) != code) continue;
      seen[next.y()][next.x()] = true;
      pending.push_back(next);
    }
  }
  return region;
}

}  // namespace tollwen
