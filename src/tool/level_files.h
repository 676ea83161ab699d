#pragma once

#include <string>
#include <vector>

namespace tollwen {

// Something a search for levels found.
struct FoundFile {
  enum class Kind {
    kPicture,           // a level picture to check
    kUnpairedDataFile,  // a data file that no picture found beside it pairs with
    kUnreadable,        // a folder or file inside a searched folder that could not be read
  };
  Kind kind = Kind::kPicture;
  std::string path;
  // kUnreadable: what could not be read and why ("cannot read this folder: Permission denied").
  std::string reason;
  // Where the part of `path` below the folder that was named starts (0 for a path named
  // itself): "levels/caves/level3.jpg" found in "levels" is "caves/level3.jpg" in its pack.
  std::size_t nameStart = 0;

  std::string NameInPack() const { return path.substr(nameStart); }
};

struct LevelFiles {
  // In the order they are reported: the paths named, in turn, each folder's finds in natural
  // order of their paths (level2 before level10, as the editor's Next Level goes).
  std::vector<FoundFile> found;
  // One message for each path named that is missing or cannot be read (shown with ShownName).
  std::vector<std::string> errors;

  std::vector<std::string> Pictures() const;
  int PictureCount() const;
};

// The level files that `paths` name: a file is taken as a picture as it is; a folder is
// searched through its subfolders (links to folders are not followed) for pictures, files
// whose name ends in ".jpg" in any case (also through a link), and for data files (".dat" in
// any case) that no picture there pairs with by the editor's data path rule (level1.jpg and
// level1.JPG pair with level1.dat, nothing with level1.DAT). A subfolder or picture that
// cannot be read is found as kUnreadable, and the search goes on.
LevelFiles FindLevelFiles(const std::vector<std::string>& paths);

}  // namespace tollwen
