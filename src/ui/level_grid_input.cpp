#include "ui/level_grid_input.h"

#include <utility>

#include "editor/editor.h"

namespace tollwen {

LevelGridInput::LevelGridInput(Editor& editor, Runner run, std::function<void()> tilePicked)
    : editor_(editor), run_(std::move(run)), tilePicked_(std::move(tilePicked)) {}

void LevelGridInput::GestureStarted(Source source) {
  run_([this, source] {
    editor_.Tools().BeginGesture(source == Source::kPointer ? GestureSource::kPointer
                                                            : GestureSource::kKeys);
  });
}

bool LevelGridInput::CellAsked(int column, int row, Qt::KeyboardModifiers modifiers) {
  bool accepted = false;
  run_([&] { accepted = editor_.Tools().AskCell(column, row, modifiers); });
  return accepted;
}

void LevelGridInput::GestureFinished(Qt::KeyboardModifiers modifiers) {
  run_([&] { editor_.Tools().FinishGesture(modifiers); });
}

void LevelGridInput::GestureCancelled() {
  run_([this] { editor_.Tools().CancelGesture(); });
}

void LevelGridInput::CellPicked(int column, int row) {
  if (run_([&] { editor_.PickTile(column, row); })) tilePicked_();
}

void LevelGridInput::EscapePressed() {
  run_([this] { editor_.Tools().Select(QRect()); });
}

}  // namespace tollwen
