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

// Whether the folder entry `entry` of the open folder `entries` is a regular file or a link to
// one. The entry's type decides where the file system gives it, so most names cost no look.
bool IsRegularFile(DIR* entries, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status {};
  return ::fstatat(::dirfd(entries), entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

// Calls `take(name, isPicture)` for each name in `folder` (a path ending in '/') that ends in
// ".jpg" in any case; `isPicture()` tells whether it is a regular file or a link to one.
template <typename Take>
void ForEachLevelPicture(const std::string& folder, Take take) {
  DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
  if (entries == nullptr) return;
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view name = entry->d_name;
    if (IsLevelPictureName(name)) take(name, [&] { return IsRegularFile(entries, *entry); });
  }
  ::closedir(entries);
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  const int order = NaturalCompare(a, b);
  return order != 0 ? order < 0 : a < b;
}

std::vector<std::string> LevelPicturesIn(const std::string& folder) {
  std::vector<std::string> names;
  ForEachLevelPicture(folder, [&names](std::string_view name, const auto& isPicture) {
    if (isPicture()) names.emplace_back(name);
  });
  std::sort(names.begin(), names.end(), NaturalLess);
  for (std::string& name : names) name.insert(0, folder);
  return names;
}

std::optional<std::string> NeighbourPicture(const std::string& picturePath, int step) {
  if (step == 0) return std::nullopt;
  const std::string folder = DirectoryOf(picturePath);
  const std::string name = FileNameOf(picturePath);
  const auto wanted = static_cast<std::size_t>(step < 0 ? -static_cast<long>(step) : step);
  // True when `a` lies nearer to the picture than `b`, in the step's direction.
  const auto nearer = [step](std::string_view a, std::string_view b) {
    return step > 0 ? NaturalLess(a, b) : NaturalLess(b, a);
  };
  // One pass over the folder, with no sort: the `wanted` pictures nearest past the picture's
  // name (which need not be there any more), nearest first. Only a name that would enter them
  // is checked for being a picture, so a folder of many thousand levels costs one read of it.
  std::vector<std::string> nearest;
  ForEachLevelPicture(folder, [&](std::string_view candidate, const auto& isPicture) {
    if (!nearer(name, candidate)) return;
    if (nearest.size() == wanted && !nearer(candidate, nearest.back())) return;
    if (!isPicture()) return;
    nearest.emplace(std::upper_bound(nearest.begin(), nearest.end(), candidate, nearer), candidate);
    if (nearest.size() > wanted) nearest.pop_back();
  });
  if (nearest.size() < wanted) return std::nullopt;
  return folder + nearest.back();
}

}  // namespace tollwen
