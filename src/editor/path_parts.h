#pragma once

#include <string>

namespace tollwen {

// The directory part of a full path, including the trailing '/'; empty when the path has
// no directory part.
std::string DirectoryOf(const std::string& path);

// The file name of a full path, without its directory. Only '/' separates directories; a
// '\' is an ordinary character in a file name here.
std::string FileNameOf(const std::string& path);

// `dir` with a trailing '/' added when it has none (an empty text stays empty).
std::string WithTrailingSeparator(std::string dir);

}  // namespace tollwen
