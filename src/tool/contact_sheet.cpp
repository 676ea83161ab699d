#include "tool/contact_sheet.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <limits>
#include <utility>

#include "level/grid_geometry.h"
#include "tool/shown_name.h"

namespace tollwen::tool {

namespace {

using Severity = DataFileProblem::Severity;

constexpr int kMargin = 16;    // around the sheet
constexpr int kGap = 16;       // between cells
constexpr int kFrame = 4;      // the mark around a thumbnail; the room is kept in every cell
constexpr int kLabelGap = 3;   // between the frame's room and the name
constexpr int kTextSize = 12;  // pixels
constexpr int kHeadingSize = 14;

constexpr QRgb kBackground = 0xFFEEEEEE;
constexpr QRgb kNameColour = 0xFF1E1E1E;
constexpr QRgb kErrorColour = 0xFFC62828;   // frame and text
constexpr QRgb kWarningFrame = 0xFFF2A900;  // amber, as far from the red as a frame can be
constexpr QRgb kWarningText = 0xFF8A5800;   // a darker amber that reads on the background
constexpr QRgb kNothingShown = 0xFFCFCFCF;  // a cell without a picture, crossed out
constexpr QRgb kCrossColour = 0xFFA0A0A0;

// The most severe problem of a report, the first of its kind; nothing for a clean level.
const LevelProblem* FirstOfWorst(const LevelReport& report) {
  for (const Severity severity : {Severity::kError, Severity::kWarning}) {
    const auto found =
        std::find_if(report.problems.begin(), report.problems.end(),
                     [severity](const LevelProblem& p) { return p.problem.severity == severity; });
    if (found != report.problems.end()) return &*found;
  }
  return nullptr;
}

QString Text(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont SheetFont(int pixels, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace

ContactSheet::ContactSheet(std::size_t levels, int columns, int width)
    : columns_(std::max(1, static_cast<int>(std::min<std::size_t>(columns, levels)))),
      thumbnail_(width,
                 (width * geometry::kGridHeight + geometry::kGridWidth / 2) / geometry::kGridWidth),
      font_(SheetFont(kTextSize, false)),
      headingFont_(SheetFont(kHeadingSize, true)) {
  lineHeight_ = QFontMetrics(font_).lineSpacing();
  headingHeight_ = QFontMetrics(headingFont_).lineSpacing() + kGap / 2;
  cell_ = QSize(thumbnail_.width() + 2 * kFrame,
                thumbnail_.height() + 2 * kFrame + kLabelGap + 2 * lineHeight_);
  const qint64 rows = (static_cast<qint64>(levels) + columns_ - 1) / columns_;
  const qint64 sheetWidth = 2 * kMargin + columns_ * (cell_.width() + kGap) - kGap;
  const qint64 sheetHeight =
      2 * kMargin + headingHeight_ + std::max<qint64>(0, rows * (cell_.height() + kGap) - kGap);
  // QImage takes sizes in int and holds at most 2 GiB; a larger sheet is left null.
  if (sheetHeight * sheetWidth * 4 > std::numeric_limits<int>::max()) return;
  sheet_ =
      QImage(static_cast<int>(sheetWidth), static_cast<int>(sheetHeight), QImage::Format_RGB32);
  if (!sheet_.isNull()) sheet_.fill(kBackground);
}

QImage ContactSheet::Thumbnail(const QImage& rendered) const {
  return rendered.scaled(thumbnail_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QRect ContactSheet::ThumbnailRect(std::size_t index) const {
  const int column = static_cast<int>(index % static_cast<std::size_t>(columns_));
  const int row = static_cast<int>(index / static_cast<std::size_t>(columns_));
  return QRect(QPoint(kMargin + column * (cell_.width() + kGap) + kFrame,
                      kMargin + headingHeight_ + row * (cell_.height() + kGap) + kFrame),
               thumbnail_);
}

void ContactSheet::Place(std::size_t index, const std::string& name, const LevelReport& report,
                         const QImage& thumbnail) {
  const QRect picture = ThumbnailRect(index);
  const LevelProblem* problem = FirstOfWorst(report);
  const bool error = problem != nullptr && problem->problem.severity == Severity::kError;
  QPainter painter(&sheet_);
  if (problem != nullptr) {
    painter.fillRect(picture.adjusted(-kFrame, -kFrame, kFrame, kFrame),
                     QColor::fromRgb(error ? kErrorColour : kWarningFrame));
  }
  if (thumbnail.isNull()) {
    painter.fillRect(picture, QColor::fromRgb(kNothingShown));
    painter.setPen(QPen(QColor::fromRgb(kCrossColour), 2));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLine(picture.topLeft(), picture.bottomRight());
    painter.drawLine(picture.bottomLeft(), picture.topRight());
  } else {
    painter.drawImage(picture.topLeft(), thumbnail);
  }

  painter.setFont(font_);
  const QFontMetrics metrics(font_);
  QRect line(picture.left() - kFrame, picture.bottom() + 1 + kFrame + kLabelGap, cell_.width(),
             lineHeight_);
  painter.setPen(QColor::fromRgb(kNameColour));
  painter.drawText(line, Qt::AlignLeft | Qt::AlignTop,
                   metrics.elidedText(Text(ShownName(name)), Qt::ElideMiddle, line.width()));
  if (problem == nullptr) return;
  line.translate(0, lineHeight_);
  painter.setPen(QColor::fromRgb(error ? kErrorColour : kWarningText));
  const std::string said = (error ? "error: " : "warning: ") + ShownText(problem->problem.message);
  painter.drawText(line, Qt::AlignLeft | Qt::AlignTop,
                   metrics.elidedText(Text(said), Qt::ElideRight, line.width()));
}

const QImage& ContactSheet::Finish(const std::string& heading) {
  const QString text = Text(heading);
  // A sheet of one or two small levels is widened to the heading.
  const int width = 2 * kMargin + QFontMetrics(headingFont_).horizontalAdvance(text);
  if (width > sheet_.width()) {
    QImage wider(width, sheet_.height(), QImage::Format_RGB32);
    wider.fill(kBackground);
    QPainter(&wider).drawImage(0, 0, sheet_);
    sheet_ = std::move(wider);
  }
  QPainter painter(&sheet_);
  painter.setFont(headingFont_);
  painter.setPen(QColor::fromRgb(kNameColour));
  painter.drawText(QRect(kMargin, kMargin, width, headingHeight_), Qt::AlignLeft | Qt::AlignTop,
                   text);
  return sheet_;
}

}  // namespace tollwen::tool
