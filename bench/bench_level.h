#pragma once

#include <QImage>
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace tollwen::bench {

// A realistic level on disk: a 640 x 447 photo-like JPEG (smooth shading with fine texture,
// about the size a real level picture has) and a data file with a tile in every cell.
class BenchLevel {
 public:
  BenchLevel();

  const std::string& PicturePath() const { return picturePath_; }
  const std::string& DataPath() const { return dataPath_; }
  // The directory holding the asset bitmaps (beside the benchmark executable).
  static std::string ResourceDir();

 private:
  QTemporaryDir dir_;
  std::string picturePath_;
  std::string dataPath_;
};

// A pack of `levels` levels in folders of 100 (world0/level0000 ...): the photo-like picture
// and a data file with a tile in every cell, every tenth with a short row, so that the reports
// are not all empty.
class LevelPack {
 public:
  explicit LevelPack(int levels);

  std::string Folder() const { return dir_.path().toStdString(); }
  const std::vector<std::string>& Pictures() const { return pictures_; }

 private:
  QTemporaryDir dir_;
  std::vector<std::string> pictures_;
};

// The photo-like picture the level's JPEG is encoded from.
QImage PhotoLikePicture();

}  // namespace tollwen::bench
