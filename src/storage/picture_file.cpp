#include "storage/picture_file.h"

#include <unistd.h>

#include <cerrno>

#include "level/level_picture.h"
#include "storage/posix_file.h"

namespace tollwen {

namespace {

class FileBytes final : public ByteSource {
 public:
  explicit FileBytes(ReadableFile file) : file_(std::move(file)) {}

  std::uint64_t Size() const override { return file_.size; }

  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                     int& error) noexcept override {
    ssize_t got;
    do {
      got = ::pread(file_.file.get(), buffer, size, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    if (got >= 0) return static_cast<std::size_t>(got);
    error = errno;
    return 0;
  }

 private:
  ReadableFile file_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileBytes(const std::string& path) {
  return std::make_unique<FileBytes>(OpenForReading(path));
}

QImage LoadJpegIntoBitmap(const std::string& path) { return DecodeJpeg(*OpenFileBytes(path)); }

std::optional<QImage> LoadLevelPicture(const std::string& path, QSize* size,
                                       std::vector<std::string>* warnings) {
  return DecodeLevelPicture(*OpenFileBytes(path), size, warnings);
}

}  // namespace tollwen
