#pragma once

#include <string>

namespace tollwen {

// The folder the tile, glyph and start-marker bitmaps are read from, ending with '/'. Beside the
// executable in `executableDir` when "start.bmp" is there (a build tree, or the program unpacked
// with its bitmaps); else the installed data folder, kInstalledAssetFolder from the executable's
// folder, when it holds "start.bmp"; else beside the executable again, so that a missing file is
// reported where it was looked for first. An empty `executableDir` stays empty.
std::string FindAssetFolder(const std::string& executableDir);

// FindAssetFolder for the running program: the folder of its executable, exactly as the system
// names it (Qt's answer where the system's cannot be read).
std::string AssetFolder();

}  // namespace tollwen
