#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollwen {

// True when `a` comes before `b` in the order people expect of numbered names: runs of digits
// compare by their value ("level2" before "level10"), everything else without regard to the
// case of ASCII letters; names that only differ otherwise are ordered by their bytes.
bool NaturalLess(std::string_view a, std::string_view b);

// The level pictures in `folder` (a path ending in '/'): the regular files, or links to them,
// whose names end in ".jpg" in any case, as full paths in natural order of their names.
std::vector<std::string> LevelPicturesIn(const std::string& folder);

// The picture `step` places after `picturePath` (before it for a negative step) among the
// level pictures of its folder, in natural order; nothing past either end. A picture that is no
// longer there counts from where its name would stand.
std::optional<std::string> NeighbourPicture(const std::string& picturePath, int step);

}  // namespace tollwen
