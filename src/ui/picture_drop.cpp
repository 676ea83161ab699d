#include "ui/picture_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "level/path_parts.h"

namespace tollwen {

namespace {

std::optional<std::string> DroppedPicture(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
  const QUrl url = data->urls().front();
  if (!url.isLocalFile() || !IsLevelPictureName(url.fileName().toStdString())) {
    return std::nullopt;
  }
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace

std::optional<std::string> AcceptPictureAsCopy(QDropEvent& event) {
  std::optional<std::string> picture = DroppedPicture(event.mimeData());
  if (!picture || !(event.possibleActions() & Qt::CopyAction)) return std::nullopt;
  event.setDropAction(Qt::CopyAction);
  event.accept();
  return picture;
}

}  // namespace tollwen
