#pragma once

#include <QImage>
#include <QTemporaryDir>
#include <string>

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

// The photo-like picture the level's JPEG is encoded from.
QImage PhotoLikePicture();

}  // namespace tollwen::bench
