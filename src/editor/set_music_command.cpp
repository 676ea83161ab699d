#include "editor/set_music_command.h"

#include <utility>

#include "editor/editor_state.h"

namespace tollwen {

SetMusicCommand::SetMusicCommand(EditorState& state, std::string name)
    : state_(state), before_(state.MusicName), after_(std::move(name)) {
  setText(QStringLiteral("Select Music"));
}

void SetMusicCommand::undo() { state_.MusicName = before_; }

void SetMusicCommand::redo() { state_.MusicName = after_; }

}  // namespace tollwen
