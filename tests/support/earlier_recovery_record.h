#pragma once

// Recovery records as the editor's earlier version wrote them, which the editor still reads.

#include <QCryptographicHash>
#include <string>

#include "storage/recovery_store.h"

namespace tollwen::test {

// The name and the bytes of that version's record of `level`, which kept no stamp.
inline std::string EarlierRecordName(const std::string& picturePath) {
  std::string name = RecoveryStore::RecordName(picturePath, "");  // "...-.recovery"
  return name.erase(name.size() - 10, 1);
}
inline std::string EarlierRecordText(const RecoveredLevel& level) {
  std::string text = "tollwen-level-editor recovery 1\nsaved-at " + std::to_string(level.savedAt);
  for (const auto& [label, bytes] : {std::pair{"picture", level.picturePath},
                                     {"data", level.dataPath},
                                     {"music", level.musicName}})
    text += std::string("\n") + label + " " + std::to_string(bytes.size()) + ":" + bytes;
  text += "\ngrid\n";
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column)
      text += level.grid.CellAt(column, row);
    text += '\n';
  }
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256);
  return text + "sha256 " + hash.toHex().toStdString() + "\n";
}

}  // namespace tollwen::test
