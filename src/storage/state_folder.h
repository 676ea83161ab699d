#pragma once

#include <string>

#include "storage/posix_file.h"

namespace tollwen {

// The editor's own folder for what must outlive a crash (the recovery records of unsaved
// levels, the journals of saves that write in place in a read-only folder):
// $XDG_STATE_HOME/tollwen-level-editor/, or ~/.local/state/tollwen-level-editor/ when
// XDG_STATE_HOME is unset, empty or not an absolute path. The home is HOME, else the user
// database's. Empty when there is no home either. Ends with '/'.
std::string StateFolder();
// The same for the given values of XDG_STATE_HOME and HOME (each may be null).
std::string StateFolderFor(const char* stateHome, const char* home);

// Creates `folder` and any missing parents private (0700), and opens it. A folder of ours that
// is there already is made private if it is not; one of someone else's, and a symbolic link in
// its place (another user's, planted in a shared state home), are refused. Throws InOutError.
FileDescriptor OpenPrivateFolder(const std::string& folder);

// Opens `folder` for reading what is kept there, creating nothing: not open when it is missing,
// cannot be opened, is a symbolic link or belongs to someone else.
FileDescriptor TryOpenPrivateFolder(const std::string& folder);

// The directory of the running executable, with a trailing '/', exactly as the system names
// it: every byte is kept, also where the name is not UTF-8. Read through the link `selfLink`;
// empty when that link cannot be read.
std::string ExecutableDirectory(const std::string& selfLink = "/proc/self/exe");

}  // namespace tollwen
