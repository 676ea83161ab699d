#include "ui/grid_key_navigation.h"

#include <algorithm>

namespace tollwen {

std::optional<QPoint> KeyTarget(int key, Qt::KeyboardModifiers modifiers, QPoint current,
                                QPoint lastCell) {
  if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
  const bool ctrl = modifiers & Qt::ControlModifier;
  QPoint target = current;
  switch (key) {
    case Qt::Key_Up:
      if (!ctrl) target.ry() -= 1;
      break;
    case Qt::Key_Down:
      if (!ctrl) target.ry() += 1;
      break;
    case Qt::Key_Left:
      target.rx() = ctrl ? 0 : target.x() - 1;
      break;
    case Qt::Key_Right:
      target.rx() = ctrl ? lastCell.x() : target.x() + 1;
      break;
    case Qt::Key_Home:
      target = ctrl ? QPoint(0, 0) : QPoint(0, target.y());
      break;
    case Qt::Key_End:
      target = ctrl ? lastCell : QPoint(lastCell.x(), target.y());
      break;
    case Qt::Key_PageUp:
      target.ry() = 0;
      break;
    case Qt::Key_PageDown:
      target.ry() = lastCell.y();
      break;
    default:
      return std::nullopt;
  }
  return QPoint(std::clamp(target.x(), 0, lastCell.x()), std::clamp(target.y(), 0, lastCell.y()));
}

}  // namespace tollwen
