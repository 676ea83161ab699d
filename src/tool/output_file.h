#pragma once

#include <QImage>
#include <string>
#include <string_view>
#include <vector>

#include "level/errors.h"

namespace tollwen {

// A file the command will not write over: "refusing to write OUT: it is ...".
class OutputRefused : public EditorError {
 public:
  explicit OutputRefused(const std::string& text) : EditorError(Message::Verbatim(text)) {}
};

// A file a command reads, with what the user calls it in a message ("the level picture").
struct CommandInput {
  std::string role;
  std::string path;
};

// Writes `bytes` as the whole content of the file at `path`, byte for byte the name given (not
// passed through Qt's file names), creating the file or replacing it: the new file is written
// beside it and renamed over it once complete, so a failed or killed write leaves the previous
// file as it was. Refuses to write
// over any of `inputs`, however the path reaches it (through a link, or a path spelled another
// way: files are compared by device and inode), and over anything that exists and is not a
// regular file (a FIFO would block, a device or folder is not a picture's place): throws
// OutputRefused, "refusing to write OUT: it is the level picture ...". Throws EditorError,
// "cannot write OUT: Disk full", when the writing fails.
void WriteOutputFile(const std::string& path, std::string_view bytes,
                     const std::vector<CommandInput>& inputs);

// Throws OutputRefused when WriteOutputFile would refuse `path` as things stand, so that a
// command can say so before doing its work.
void CheckOutputFile(const std::string& path, const std::vector<CommandInput>& inputs);

// `image` encoded as PNG. Throws EditorError when it cannot be encoded.
std::string PngBytes(const QImage& image);

}  // namespace tollwen
