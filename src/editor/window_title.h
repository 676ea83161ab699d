#pragma once

#include <string>

namespace tollwen {

// The window's title, so that a designer sees which level is open, which file Save writes and
// which music goes into it. "[*]" marks where unsaved changes show ("level3.jpg*", Qt's
// convention):
//   no level open                  Tollwen Level Editor
//   a level and its own data file  level3.jpg[*] — tune.mod — Tollwen Level Editor
//   saved under another name       level3.jpg → copy.dat[*] — tune.mod — Tollwen Level Editor
//   New, not saved yet             New level on level3.jpg[*] — no music — Tollwen Level Editor
//   New before any picture         New level[*] — no music — Tollwen Level Editor
std::string WindowTitle(bool levelOpen, const std::string& picturePath, const std::string& dataPath,
                        const std::string& musicName);

}  // namespace tollwen
