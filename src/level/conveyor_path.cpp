#include "level/conveyor_path.h"

#include "level/cell_shapes.h"

namespace tollwen {

namespace {

// The path through `passed` in steps of one cell up, down, left or right.
std::vector<CellPosition> SideBySide(const std::vector<CellPosition>& passed) {
  std::vector<CellPosition> path;
  for (const CellPosition& cell : passed) {
    if (path.empty()) {
      path.push_back(cell);
      continue;
    }
    const std::vector<CellPosition> line = LineCells(path.back(), cell);
    for (std::size_t i = 1; i < line.size(); ++i) {
      const CellPosition from = path.back();
      const CellPosition to = line[i];
      if (from.x() != to.x() && from.y() != to.y()) path.emplace_back(to.x(), from.y());
      path.push_back(to);
    }
  }
  return path;
}

TileCode DirectionOf(CellPosition from, CellPosition to) {
  if (to.y() < from.y()) return kConveyorUp;
  if (to.x() > from.x()) return kConveyorRight;
  if (to.y() > from.y()) return kConveyorDown;
  return kConveyorLeft;
}

}  // namespace

CellChanges ConveyorPath(const std::vector<CellPosition>& passed) {
  const std::vector<CellPosition> path = SideBySide(passed);
  CellChanges changes;
  if (path.size() < 2) return changes;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    changes.push_back({path[i], DirectionOf(path[i], path[i + 1])});
  }
  const bool loop = path.back() == path.front();
  changes.push_back({path.back(), loop ? changes.front().code : changes.back().code});
  return changes;
}

}  // namespace tollwen
