// What StatusOf tells of each kind of file, with links followed or not.
#include "storage/file_status.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "scratch_dir.h"

namespace tollwen {
namespace {

TEST(FileStatusTest, TellsEachKindOfFile) {
  const testing::ScratchDir dir;
  testing::WriteBytes(dir.File("file"), "x");
  ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0700), 0);
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("file", dir.File("link").c_str()), 0);
  ASSERT_EQ(::symlink("gone", dir.File("dangling").c_str()), 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, dir.File("socket").c_str(), sizeof address.sun_path - 1);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(socket);

  using Kind = FileStatus::Kind;
  const struct {
    std::string path;
    FollowLinks follow;
    int error;
    Kind kind;
  } cases[] = {
      {dir.File("file"), FollowLinks::kNo, 0, Kind::kRegularFile},
      {dir.File("folder"), FollowLinks::kYes, 0, Kind::kFolder},
      {dir.File("fifo"), FollowLinks::kYes, 0, Kind::kFifo},
      {dir.File("socket"), FollowLinks::kYes, 0, Kind::kSocket},
      {"/dev/null", FollowLinks::kYes, 0, Kind::kDevice},
      {dir.File("link"), FollowLinks::kNo, 0, Kind::kLink},
      {dir.File("link"), FollowLinks::kYes, 0, Kind::kRegularFile},
      {dir.File("dangling"), FollowLinks::kNo, 0, Kind::kLink},
      {dir.File("dangling"), FollowLinks::kYes, ENOENT, Kind::kOther},
      {dir.File("missing"), FollowLinks::kNo, ENOENT, Kind::kOther},
  };
  for (const auto& c : cases) {
    const FileStatus status = StatusOf(c.path, c.follow);
    EXPECT_EQ(status.error, c.error) << c.path;
    EXPECT_EQ(status.kind, c.kind) << c.path;
  }
}

}  // namespace
}  // namespace tollwen
