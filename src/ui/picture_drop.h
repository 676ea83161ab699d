#pragma once

#include <optional>
#include <string>

class QDropEvent;
class QMimeData;

namespace tollwen {

// The file a drag carries when it is exactly one local file named *.jpg (in any case), as the
// bytes of its name: a percent-encoded name that is not UTF-8 keeps its bytes.
std::optional<std::string> DroppedPicture(const QMimeData* data);

// Takes the drag or drop of a picture as a copy, whatever the source proposed: the source
// must never delete the picture it offered, as it would after a move. False, leaving the
// event ignored, when it carries no picture.
bool AcceptPictureAsCopy(QDropEvent& event);

}  // namespace tollwen
