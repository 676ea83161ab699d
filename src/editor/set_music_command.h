#pragma once

#include <QUndoCommand>
#include <string>

namespace tollwen {

struct EditorState;

// Sets the level's music name; undo puts the previous name back.
class SetMusicCommand : public QUndoCommand {
 public:
  SetMusicCommand(EditorState& state, std::string name);

  void undo() override;
  void redo() override;

 private:
  EditorState& state_;
  std::string before_;
  std::string after_;
};

}  // namespace tollwen
