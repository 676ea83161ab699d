#pragma once

#include <string>
#include <string_view>

namespace tollwen {

// The directory part of a full path, including the trailing '/'; empty when the path has
// no directory part.
std::string DirectoryOf(const std::string& path);

// The file name of a full path, without its directory. Only '/' separates directories; a
// '\' is an ordinary character in a file name here.
std::string FileNameOf(const std::string& path);

// `dir` with a trailing '/' added when it has none (an empty text stays empty).
std::string WithTrailingSeparator(std::string dir);

// True when `path` names a level picture by its name: it ends in ".jpg" in any case (ASCII
// letters only; the bytes before it may be anything).
bool IsLevelPictureName(std::string_view path);

}  // namespace tollwen
