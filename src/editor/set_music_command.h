#pragma once

#include <QUndoCommand>
#include <string>

namespace tollwen {

class LevelDocument;

// Sets the level's music name; undo puts the previous name back.
class SetMusicCommand : public QUndoCommand {
 public:
  SetMusicCommand(LevelDocument& document, std::string name);

  void undo() override;
  void redo() override;

 private:
  LevelDocument& document_;
  std::string before_;
  std::string after_;
};

}  // namespace tollwen
