#include "level/errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

namespace tollwen {
namespace {

TEST(InOutErrorTest, MessagesFollowTheCodeTable) {
  EXPECT_STREQ(InOutError(2).what(), "File not found");
  EXPECT_STREQ(InOutError(3).what(), "Invalid filename");
  EXPECT_STREQ(InOutError(4).what(), "Too many open files");
  EXPECT_STREQ(InOutError(5).what(), "File access denied");
  EXPECT_STREQ(InOutError(100).what(), "Read beyond end of file");
  EXPECT_STREQ(InOutError(101).what(), "Disk full");
  EXPECT_STREQ(InOutError(106).what(), "Invalid numeric input");
  EXPECT_STREQ(InOutError(1117).what(), "I/O error 1117");
  EXPECT_STREQ(InOutError(0).what(), "I/O error 0");
  EXPECT_EQ(InOutError(101).code(), 101);
}

TEST(InOutErrorTest, OperatingSystemErrorsMapOntoTheTable) {
  EXPECT_EQ(InOutError::CodeForErrno(ENOENT), 2);
  for (int err : {ENOTDIR, ENAMETOOLONG, EINVAL, ELOOP})
    EXPECT_EQ(InOutError::CodeForErrno(err), 3);
  for (int err : {EMFILE, ENFILE}) EXPECT_EQ(InOutError::CodeForErrno(err), 4);
  for (int err : {EACCES, EPERM, EROFS, EISDIR, ETXTBSY})
    EXPECT_EQ(InOutError::CodeForErrno(err), 5) << err;
  for (int err : {ENOSPC, EDQUOT, EFBIG}) EXPECT_EQ(InOutError::CodeForErrno(err), 101) << err;
  EXPECT_STREQ(InOutError::FromErrno(EFBIG).what(), "Disk full");
}

TEST(InOutErrorTest, HardwareErrorIsNotShownAsAccessDenied) {
  EXPECT_EQ(InOutError::CodeForErrno(EIO), 1117);
  EXPECT_STREQ(InOutError::FromErrno(EIO).what(), "I/O error 1117");
}

// No errno value may borrow a table message that does not describe it (on Linux ESRCH is 3,
// EINTR 4, EIO 5, ENETDOWN 100, ENETUNREACH 101, EISCONN 106).
TEST(InOutErrorTest, OtherErrorsNeverReadAsATableCode) {
  const std::set<int> mapped = {ENOENT, ENOTDIR, ENAMETOOLONG, EINVAL, ELOOP,
                                EMFILE, ENFILE,  EACCES,       EPERM,  EROFS,
                                EISDIR, ETXTBSY, ENOSPC,       EDQUOT, EFBIG};
  const std::set<int> tableCodes = {2, 3, 4, 5, 100, 101, 106};
  for (int err = 1; err < 4096; ++err) {
    if (mapped.count(err) != 0) continue;
    const int code = InOutError::CodeForErrno(err);
    EXPECT_EQ(tableCodes.count(code), 0u) << "errno " << err << " reads as code " << code;
  }
  EXPECT_EQ(InOutError::CodeForErrno(EBUSY), EBUSY);
  EXPECT_EQ(InOutError::FromErrno(EBUSY).what(), "I/O error " + std::to_string(EBUSY));
}

TEST(EditorErrorTest, FileAndJpegMessages) {
  EXPECT_STREQ(FileOpenError("/levels/niveau\xe9.jpg").what(),
               "Cannot open file /levels/niveau\xe9.jpg");
  // A file name is taken as it is, placeholders and all.
  EXPECT_STREQ(FileOpenError("/levels/%1 and %2.jpg").what(),
               "Cannot open file /levels/%1 and %2.jpg");
  const JpegError jpeg(42);
  EXPECT_STREQ(jpeg.what(), "JPEG error #42");
  EXPECT_EQ(jpeg.messageCode(), 42);
}

}  // namespace
}  // namespace tollwen
