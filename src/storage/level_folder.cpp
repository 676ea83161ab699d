#include "storage/level_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "level/path_parts.h"

namespace tollwen {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The run of digits at the start of `text`, without its leading zeros.
std::string_view Number(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// <0, 0 or >0 as `a` comes before, with or after `b` in natural order, case and leading zeros
// aside.
int NaturalCompare(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t iEnd = i;
      std::size_t jEnd = j;
      while (iEnd < a.size() && IsDigit(a[iEnd])) ++iEnd;
      while (jEnd < b.size() && IsDigit(b[jEnd])) ++jEnd;
      const std::string_view x = Number(a.substr(i, iEnd - i));
      const std::string_view y = Number(b.substr(j, jEnd - j));
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int order = x.compare(y); order != 0) return order;
      i = iEnd;
      j = jEnd;
      continue;
    }
    const char x = Folded(a[i]);
    const char y = Folded(b[j]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  const int order = NaturalCompare(a, b);
  return order != 0 ? order < 0 : a < b;
}

std::vector<std::string> LevelPicturesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
  if (entries == nullptr) return names;
  while (const dirent* entry = ::readdir(entries)) {
    const std::string name = entry->d_name;
    if (!IsLevelPictureName(name)) continue;
    struct stat status {};
    if (::stat((folder + name).c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      names.push_back(name);
    }
  }
  ::closedir(entries);
  std::sort(names.begin(), names.end(), NaturalLess);
  for (std::string& name : names) name.insert(0, folder);
  return names;
}

std::optional<std::string> NeighbourPicture(const std::string& picturePath, int step) {
  const std::string folder = DirectoryOf(picturePath);
  const std::string name = FileNameOf(picturePath);
  const std::vector<std::string> pictures = LevelPicturesIn(folder);
  const auto byName = [&folder](const std::string& path, const std::string& other) {
    return NaturalLess(std::string_view(path).substr(folder.size()), other);
  };
  // Where the picture stands, or would stand were it still there.
  const auto at = std::lower_bound(pictures.begin(), pictures.end(), name, byName);
  const bool present = at != pictures.end() && *at == picturePath;
  const auto index = static_cast<long>(at - pictures.begin());
  // A missing picture's next one already stands at its place.
  const long wanted = present || step < 0 ? index + step : index + step - 1;
  if (step == 0 || wanted < 0 || wanted >= static_cast<long>(pictures.size())) return std::nullopt;
  return pictures[static_cast<std::size_t>(wanted)];
}

}  // namespace tollwen
