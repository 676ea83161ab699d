#pragma once

#include <optional>
#include <string>

class QDropEvent;

namespace tollwen {

// A drag or drop carries a picture when it is exactly one local file named *.jpg (in any case);
// the picture comes as the bytes of its name (a percent-encoded name that is not UTF-8 keeps
// its bytes).
//
// Takes the drag or drop of a picture as a copy, whatever the source proposed: the source
// must never delete the picture it offered, as it would after a move. Returns the picture, or
// nothing, leaving the event ignored, when it carries none.
std::optional<std::string> AcceptPictureAsCopy(QDropEvent& event);

}  // namespace tollwen
