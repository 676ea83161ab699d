#include "editor/set_music_command.h"

#include <QCoreApplication>
#include <utility>

#include "editor/level_document.h"

namespace tollwen {

SetMusicCommand::SetMusicCommand(LevelDocument& document, std::string name)
    : document_(document), before_(document.MusicName()), after_(std::move(name)) {
  setText(QCoreApplication::translate("tollwen::Editor", "Select Music"));
}

void SetMusicCommand::undo() { document_.SetMusicName(before_); }

void SetMusicCommand::redo() { document_.SetMusicName(after_); }

}  // namespace tollwen
