#pragma once

// Makes JPEG pictures for tests and benchmarks with libjpeg's compression interface, so that no
// picture file has to be kept in the repository.

#include <QColor>
#include <QImage>
#include <string>
#include <vector>

namespace tollwen::test {

enum class JpegColourSpace {
  kColour,     // three components, YCbCr in the file
  kGrayscale,  // one component
  kCmyk,       // four components (libjpeg cannot turn these into RGB)
};

enum class FillPattern {
  kSolid,     // every pixel is `colour`
  kGradient,  // red rises left to right, green top to bottom, blue is `colour`'s blue
  kChecker,   // 32-pixel squares of `colour` and its inverse
  kNoise,     // reproducible pseudo-random pixels: large files that compress badly
};

struct JpegOptions {
  int width = 640;
  int height = 447;
  JpegColourSpace colourSpace = JpegColourSpace::kColour;
  bool progressive = false;
  bool arithmetic = false;            // arithmetic coding instead of Huffman coding
  bool fullResolutionColour = false;  // colour at every pixel, not at every other one (4:4:4)
  bool restartEveryRow = false;       // a restart marker after every row of blocks (MCUs)
  int quality = 90;                   // 1 ... 100
  FillPattern pattern = FillPattern::kGradient;
  QColor colour = QColor(40, 120, 200);
};

// The colour the pattern gives the pixel (x, y), before any JPEG loss. A grayscale picture is
// encoded from the gray value of this colour (qGray).
QRgb PatternColourAt(const JpegOptions& options, int x, int y);

// The pattern drawn into an opaque RGB32 image of the options' size.
QImage PatternImage(const JpegOptions& options);

// Encodes `image` (any format; converted to RGB32 first) with the options' colour space,
// quality and progressive setting; the options' size and pattern are ignored.
std::vector<unsigned char> EncodeJpeg(const QImage& image, const JpegOptions& options);

// The options' pattern, encoded.
std::vector<unsigned char> MakeJpeg(const JpegOptions& options = {});

// Rewrites the picture size in the frame header (SOF marker) of `jpeg` without touching the
// compressed data, to make pictures whose header promises a size the data does not hold.
// Throws std::invalid_argument when there is no frame header.
void SetJpegDimensions(std::vector<unsigned char>& jpeg, int width, int height);

// Repeats the scans of `jpeg` (everything from its first start-of-scan marker up to its end
// marker) until the file holds at least `scans` of them: a picture that makes a decoder go over the
// whole image again and again, which libjpeg only warns about.
std::vector<unsigned char> RepeatScans(const std::vector<unsigned char>& jpeg, int scans);

// A picture of the options' size whose rows of blocks all repeat its first one, made by encoding
// that one row and repeating its compressed data (with a restart marker between copies): a
// picture of many megabytes, as costly to decode as any other, without encoding it pixel by
// pixel. Sequential pictures only, of a height that is a whole number of rows of blocks (8
// pixels for grayscale and full-resolution colour, 16 otherwise).
std::vector<unsigned char> MakeStackedJpeg(const JpegOptions& options);

// Writes `bytes` to `path`, replacing the file. Throws std::runtime_error on failure.
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// MakeJpeg written to `path`.
void WriteJpegFile(const std::string& path, const JpegOptions& options = {});

}  // namespace tollwen::test
