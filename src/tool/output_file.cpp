#include "tool/output_file.h"

#include <QBuffer>
#include <QByteArray>

#include "level/errors.h"
#include "storage/file_replacement.h"
#include "storage/file_status.h"
#include "tool/shown_name.h"

namespace tollwen {

namespace {

const char* FileTypeName(FileStatus::Kind kind) {
  using Kind = FileStatus::Kind;
  if (kind == Kind::kFolder) return "a folder";
  if (kind == Kind::kFifo) return "a FIFO";
  if (kind == Kind::kDevice) return "a device";
  if (kind == Kind::kSocket) return "a socket";
  return "not a regular file";
}

// An input as it stood before the output was opened: opening may create the output, which
// must not then be taken for an input that did not exist.
struct InputIdentity {
  const CommandInput* input;
  FileIdentity file;
};

std::vector<InputIdentity> IdentitiesOf(const std::vector<CommandInput>& inputs) {
  std::vector<InputIdentity> identities;
  for (const CommandInput& input : inputs) {
    const FileStatus status = StatusOf(input.path, FollowLinks::kYes);
    if (status.error == 0) identities.push_back({&input, status.file});
  }
  return identities;
}

// Why the existing file `output` may not be written, or "".
std::string Refusal(const FileStatus& output, const std::vector<InputIdentity>& inputs) {
  if (output.kind != FileStatus::Kind::kRegularFile) {
    return std::string("it exists and is ") + FileTypeName(output.kind) + ", not a regular file";
  }
  for (const InputIdentity& input : inputs) {
    if (input.file == output.file) {
      return "it is " + input.input->role + " " + ShownName(input.input->path) +
             ", which this command reads";
    }
  }
  return {};
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw OutputRefused("refusing to write " + ShownName(path) + ": " + why);
}

}  // namespace

void CheckOutputFile(const std::string& path, const std::vector<CommandInput>& inputs) {
  const FileStatus status = StatusOf(path, FollowLinks::kYes);
  if (status.error != 0) return;
  if (const std::string why = Refusal(status, IdentitiesOf(inputs)); !why.empty()) {
    Refuse(path, why);
  }
}

void WriteOutputFile(const std::string& path, std::string_view bytes,
                     const std::vector<CommandInput>& inputs) {
  // Asked before opening, so that nothing is opened that must not be written (opening some
  // devices does something by itself).
  const std::vector<InputIdentity> identities = IdentitiesOf(inputs);
  if (const FileStatus status = StatusOf(path, FollowLinks::kYes); status.error == 0) {
    if (const std::string why = Refusal(status, identities); !why.empty()) Refuse(path, why);
  }
  // The picture is written beside the output and takes its name only once complete, so a failed
  // or killed write leaves the previous picture. Nothing that is there is opened: were the name
  // to come to stand for an input or a FIFO since the question above, only the name would be
  // replaced, never the file behind it.
  try {
    ReplaceWithNewFile(path, bytes);
  } catch (const InOutError& error) {
    throw EditorError(Message::Verbatim("cannot write " + ShownName(path) + ": " + error.what()));
  }
}

std::string PngBytes(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    throw EditorError(Message::Verbatim("the PNG could not be made"));
  return png.toStdString();
}

}  // namespace tollwen
