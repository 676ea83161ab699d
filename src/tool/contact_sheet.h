#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <cstddef>
#include <string>

#include "tool/level_check.h"

namespace tollwen::tool {

// A picture of a whole pack: each level's picture reduced, in rows, with the level's name under
// it and the first problem of its report: a red frame and the first error for a level with
// errors, an amber frame and the first warning for one with only warnings. A level that cannot
// be drawn (or anything else a search found) gets a crossed-out cell with its mark.
class ContactSheet {
 public:
  // A sheet for `levels` levels, `columns` to a row (fewer where there are fewer levels), each
  // picture `width` pixels wide. Writes its text in the application's fonts, so it needs a
  // QGuiApplication.
  ContactSheet(std::size_t levels, int columns, int width);

  // False when the sheet was too large to be held in memory.
  bool Made() const { return !sheet_.isNull(); }

  // A level's picture (640 x 448 as RenderLevelImage draws it) reduced to the sheet's size.
  // Safe to call from several threads at once.
  QImage Thumbnail(const QImage& rendered) const;

  // Puts the level `index` on the sheet: its thumbnail (a null image for nothing to show),
  // its name (shown as ShownName shows it) and its mark.
  void Place(std::size_t index, const std::string& name, const LevelReport& report,
             const QImage& thumbnail);

  // The sheet, with `heading` (the summary of the check) over the levels.
  const QImage& Finish(const std::string& heading);

 private:
  // Where the level `index`'s thumbnail goes.
  QRect ThumbnailRect(std::size_t index) const;

  int columns_;
  QSize thumbnail_;
  QFont font_;
  QFont headingFont_;
  int lineHeight_ = 0;
  int headingHeight_ = 0;
  QSize cell_;
  QImage sheet_;
};

}  // namespace tollwen::tool
