// The general cell grid: geometry, painting, the selection protocol and every gesture.
#include "ui/cell_grid.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "grid_test_util.h"

namespace tollwen {
namespace {

// A grid with the level editor's geometry, beside a button that can take the focus.
class CellGridTest : public ::testing::Test, public GridGestureListener {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->resize(700, 520);
    grid_ = MakeGrid();
    grid_->SetDefaultColumnWidth(31);
    grid_->SetDefaultRowHeight(31);
    grid_->SetColumnWidth(0, 15);
    grid_->SetColumnWidth(20, 15);
    grid_->SetRowHeight(0, 15);
    grid_->SetRowHeight(14, 15);
    grid_->setGeometry(0, 0, 649, 457);
    grid_->SetGestureListener(this);
    other_ = AddFocusButton(*window_);
    ASSERT_TRUE(ShowActiveWithFocusOn(*window_, *other_));
  }

  void TearDown() override { grid_->SetGestureListener(nullptr); }

  virtual CellGrid* MakeGrid() { return new CellGrid(21, 15, window_.get()); }

  bool Pressed(QPoint cell, QPoint /*point*/, Qt::KeyboardModifiers /*modifiers*/) override {
    asked_.push_back(cell);
    return accept_(cell.x(), cell.y());
  }
  bool Dragged(QPoint cell, QPoint /*point*/, Qt::KeyboardModifiers /*modifiers*/) override {
    dragged_.push_back(cell);
    return accept_(cell.x(), cell.y());
  }
  bool Stepped(QPoint /*from*/, QPoint cell, Qt::KeyboardModifiers /*modifiers*/,
               bool /*repeat*/) override {
    asked_.push_back(cell);
    return accept_(cell.x(), cell.y());
  }
  void Ended(Qt::KeyboardModifiers /*modifiers*/) override { gestures_ += "ended "; }
  void Picked(QPoint cell) override { picked_.push_back(cell); }
  void EscapePressed() override { gestures_ += "escape "; }

  void Press(int column, int row, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(grid_, button, {}, CellCentre(*grid_, column, row));
  }
  void Release(QPoint at = {}, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(grid_, button, {}, at.isNull() ? QPoint(1, 1) : at);
  }
  void Click(int column, int row) {
    Press(column, row);
    Release(CellCentre(*grid_, column, row));
  }
  void MoveToClient(QPoint client) { QTest::mouseMove(grid_, WidgetPoint(*grid_, client)); }
  void MoveToCell(int column, int row) { QTest::mouseMove(grid_, CellCentre(*grid_, column, row)); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(grid_, key, modifiers);
  }
  void Wheel(int angle) {
    const QPointF at = CellCentre(*grid_, 5, 5);
    QWheelEvent event(at, grid_->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid_, &event);
  }
  // Makes (column, row) current with the grid focused, then forgets the questions asked.
  void StartAt(int column, int row) {
    auto previous = std::exchange(accept_, [](int, int) { return true; });
    Click(column, row);
    accept_ = std::move(previous);
    asked_.clear();
  }

  std::unique_ptr<QWidget> window_;
  CellGrid* grid_ = nullptr;
  QPushButton* other_ = nullptr;
  std::vector<QPoint> asked_;    // pressed and stepped to
  std::vector<QPoint> dragged_;  // every position while the left button is held
  std::vector<QPoint> picked_;
  std::string gestures_;  // how gestures ended, in order
  // Refuses the border cells, as the level grid does.
  std::function<bool(int, int)> accept_ = [](int column, int row) {
    return column > 0 && column < 20 && row > 0 && row < 14;
  };
};

std::vector<QPoint> Cells(std::initializer_list<QPoint> cells) { return cells; }

TEST_F(CellGridTest, GeometryPlacesCellsAtTheirPitchWithTheLineCountingAsTheCellBefore) {
  EXPECT_EQ(grid_->contentsRect(), QRect(2, 2, 645, 453));
  EXPECT_EQ(grid_->CellRect(0, 0), QRect(0, 0, 15, 15));
  EXPECT_EQ(grid_->CellRect(1, 1), QRect(16, 16, 31, 31));
  EXPECT_EQ(grid_->CellRect(19, 13), QRect(592, 400, 31, 31));
  EXPECT_EQ(grid_->CellRect(20, 14), QRect(624, 432, 15, 15));
  EXPECT_TRUE(grid_->CellRect(21, 0).isNull());
  EXPECT_TRUE(grid_->CellRect(0, -1).isNull());

  EXPECT_EQ(grid_->CellAt({15, 15}), QPoint(0, 0));  // the lines after column 0 and row 0
  EXPECT_EQ(grid_->CellAt({16, 16}), QPoint(1, 1));
  EXPECT_EQ(grid_->CellAt({47, 47}), QPoint(1, 1));
  EXPECT_EQ(grid_->CellAt({48, 47}), QPoint(2, 1));
  EXPECT_EQ(grid_->CellAt({639, 447}), QPoint(20, 14));
  EXPECT_EQ(grid_->CellAt({640, 100}), QPoint(-1, -1));
  EXPECT_EQ(grid_->CellAt({100, 448}), QPoint(-1, -1));
  EXPECT_EQ(grid_->CellAt({-1, 100}), QPoint(-1, -1));
  EXPECT_EQ(grid_->sizeHint(), QSize(644, 452));
}

TEST_F(CellGridTest, PaintsSilverLinesOnlyAfterEachColumnAndRowAndTheWindowColourBeyond) {
  const QImage image = FullRepaint(*grid_);
  std::vector<int> vertical;
  for (int x = 0; x < 645; ++x) {
    if (ClientPixel(image, *grid_, x, 100) == kSilverRgb) vertical.push_back(x);
  }
  std::vector<int> expectedVertical{15};
  for (int x = 47; x <= 623; x += 32) expectedVertical.push_back(x);
  expectedVertical.push_back(639);
  EXPECT_EQ(vertical, expectedVertical);

  std::vector<int> horizontal;
  for (int y = 0; y < 453; ++y) {
    if (ClientPixel(image, *grid_, 100, y) == kSilverRgb) horizontal.push_back(y);
  }
  std::vector<int> expectedHorizontal{15};
  for (int y = 47; y <= 431; y += 32) expectedHorizontal.push_back(y);
  expectedHorizontal.push_back(447);
  EXPECT_EQ(horizontal, expectedHorizontal);

  const QRgb base = grid_->palette().color(QPalette::Active, QPalette::Base).rgb();
  for (int x = 640; x < 645; ++x) EXPECT_EQ(ClientPixel(image, *grid_, x, 447), base) << x;
  for (int y = 448; y < 453; ++y) EXPECT_EQ(ClientPixel(image, *grid_, 639, y), base) << y;
  EXPECT_EQ(ClientPixel(image, *grid_, 20, 20), base);  // a plain cell
}

TEST_F(CellGridTest, CellsArePaintedRowByRowAfterTheirFillAndLaterCellsCoverEarlierOverflow) {
  std::vector<std::pair<QPoint, QRect>> calls;
  grid_->SetDrawCellHandler([&](QPainter& painter, int column, int row, const QRect& rect) {
    calls.emplace_back(QPoint(column, row), rect);
    // Two cells spill a red square over their neighbours to the right and below.
    if ((column == 1 || column == 20) && row == 1) {
      painter.fillRect(QRect(rect.topLeft(), QSize(40, 40)), Qt::red);
    }
  });
  const QImage image = FullRepaint(*grid_);
  ASSERT_EQ(calls.size(), 315u);
  for (int row = 0, i = 0; row < 15; ++row) {
    for (int column = 0; column < 21; ++column, ++i) {
      EXPECT_EQ(calls[i].first, QPoint(column, row));
      EXPECT_EQ(calls[i].second, grid_->CellRect(column, row));
    }
  }
  // The spill stays on the lines (painted first) but not inside later cells, whose own
  // paint comes after it; nothing spills into the area beyond the grid.
  const QRgb base = grid_->palette().color(QPalette::Active, QPalette::Base).rgb();
  EXPECT_EQ(ClientPixel(image, *grid_, 47, 20), qRgb(255, 0, 0));
  EXPECT_EQ(ClientPixel(image, *grid_, 20, 47), qRgb(255, 0, 0));
  EXPECT_EQ(ClientPixel(image, *grid_, 48, 20), base);
  EXPECT_EQ(ClientPixel(image, *grid_, 20, 48), base);
  EXPECT_EQ(ClientPixel(image, *grid_, 639, 20), qRgb(255, 0, 0));
  EXPECT_EQ(ClientPixel(image, *grid_, 642, 20), base);
}

TEST_F(CellGridTest, CurrentCellIsHighlightedWithoutFocusAndFramedByInvertedDotsWithIt) {
  const QColor content(0x20, 0x90, 0x50);
  grid_->SetDrawCellHandler([&](QPainter& painter, int, int, const QRect& rect) {
    if (rect == grid_->CellRect(3, 2)) painter.fillRect(rect.adjusted(4, 4, -4, -4), content);
  });
  StartAt(3, 2);
  ASSERT_TRUE(grid_->hasFocus());
  const QRect rect = grid_->CellRect(3, 2);
  const QRgb base = grid_->palette().color(QPalette::Active, QPalette::Base).rgb();
  const QRgb inverted = (~base & 0x00FFFFFFu) | 0xFF000000u;

  QImage image = FullRepaint(*grid_);
  for (int x = rect.left(); x <= rect.right(); ++x) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      const bool edge =
          x == rect.left() || x == rect.right() || y == rect.top() || y == rect.bottom();
      const QRgb expected = edge && (x + y) % 2 == 0 ? inverted : base;
      if (x >= rect.left() + 4 && x <= rect.right() - 4 && y >= rect.top() + 4 &&
          y <= rect.bottom() - 4) {
        continue;  // the handler's content, untouched by the frame
      }
      EXPECT_EQ(ClientPixel(image, *grid_, x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(ClientPixel(image, *grid_, rect.center().x(), rect.center().y()), content.rgb());

  other_->setFocus();
  image = FullRepaint(*grid_);
  const QRgb highlight = grid_->palette().color(QPalette::Active, QPalette::Highlight).rgb();
  EXPECT_EQ(ClientPixel(image, *grid_, rect.left(), rect.top()), highlight);
  EXPECT_EQ(ClientPixel(image, *grid_, rect.left() + 1, rect.top()), highlight);
  EXPECT_EQ(ClientPixel(image, *grid_, rect.center().x(), rect.center().y()), content.rgb());
}

TEST_F(CellGridTest, CurrentCellKeepsItsFocusFrameWhileAnotherWindowIsActive) {
  StartAt(3, 2);
  QWidget elsewhere;
  elsewhere.resize(100, 100);
  ASSERT_TRUE(ShowActiveWithFocusOn(elsewhere, elsewhere));
  ASSERT_FALSE(grid_->hasFocus());
  const QRect rect = grid_->CellRect(3, 2);
  const QRgb base = grid_->palette().color(QPalette::Active, QPalette::Base).rgb();
  const QImage image = FullRepaint(*grid_);
  EXPECT_EQ(ClientPixel(image, *grid_, rect.left(), rect.top()),
            (~base & 0x00FFFFFFu) | 0xFF000000u);
  EXPECT_EQ(ClientPixel(image, *grid_, rect.left() + 1, rect.top()), base);
}

TEST_F(CellGridTest, PressAsksForItsCellEveryTimeAndTakesTheFocus) {
  Click(3, 2);
  EXPECT_TRUE(grid_->hasFocus());
  EXPECT_EQ(grid_->CurrentCell(), QPoint(3, 2));
  Click(3, 2);  // the current cell is asked for again
  EXPECT_EQ(asked_, Cells({{3, 2}, {3, 2}}));

  asked_.clear();
  QTest::mouseClick(grid_, Qt::LeftButton, {}, WidgetPoint(*grid_, {47, 47}));  // line pixel
  EXPECT_EQ(asked_, Cells({{1, 1}}));

  asked_.clear();
  QTest::mousePress(grid_, Qt::LeftButton, {}, WidgetPoint(*grid_, {642, 100}));  // strip
  MoveToCell(5, 5);  // a press outside the cells starts no selecting
  Release();
  QTest::mouseClick(grid_, Qt::LeftButton, {}, WidgetPoint(*grid_, {100, 450}));
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(grid_->CurrentCell(), QPoint(1, 1));
}

TEST_F(CellGridTest, RefusedCellLeavesTheCurrentCellWhereItWas) {
  StartAt(4, 4);
  Click(0, 7);
  Click(20, 14);
  EXPECT_EQ(asked_, Cells({{0, 7}, {20, 14}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(4, 4));
}

TEST_F(CellGridTest, EscapeIsReportedInADragAndOutsideAndRightPressesPickTheirCell) {
  gestures_.clear();
  Press(3, 3);
  MoveToCell(4, 3);
  Key(Qt::Key_Escape);
  Release(CellCentre(*grid_, 4, 3));
  Key(Qt::Key_Escape);
  EXPECT_EQ(gestures_, "escape ended escape ended ");  // a key's release ends it outside a drag

  Press(6, 6, Qt::RightButton);
  QTest::mousePress(grid_, Qt::RightButton, {}, WidgetPoint(*grid_, {642, 100}));  // a strip
  EXPECT_EQ(picked_, Cells({{6, 6}}));
}

TEST_F(CellGridTest, RightAndMiddlePressesOnlyTakeTheFocus) {
  Press(5, 5, Qt::RightButton);
  Release(CellCentre(*grid_, 5, 5), Qt::RightButton);
  EXPECT_TRUE(grid_->hasFocus());
  other_->setFocus();
  Press(6, 6, Qt::MiddleButton);
  MoveToCell(7, 7);
  Release(CellCentre(*grid_, 7, 7), Qt::MiddleButton);
  EXPECT_TRUE(grid_->hasFocus());
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(grid_->CurrentCell(), QPoint(0, 0));
}

TEST_F(CellGridTest, SecondPressOfADoubleClickAsksNothingNorDoesADragBegunByIt) {
  Click(2, 2);
  QTest::mouseDClick(grid_, Qt::LeftButton, {}, CellCentre(*grid_, 4, 4));
  MoveToCell(5, 4);
  MoveToCell(6, 4);
  Release(CellCentre(*grid_, 6, 4));
  EXPECT_EQ(asked_, Cells({{2, 2}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(2, 2));
}

TEST_F(CellGridTest, DragReportsEveryPositionWithTheCellUnderIt) {
  Press(1, 1);
  MoveToCell(2, 1);
  MoveToClient({grid_->CellRect(2, 1).left() + 3, 20});  // still in (2, 1)
  MoveToCell(3, 1);
  MoveToClient({5, 20});    // border column 0, refused
  MoveToClient({-20, 21});  // beyond the cells
  Release(CellCentre(*grid_, 3, 1));
  MoveToCell(4, 1);  // the button is up
  EXPECT_EQ(asked_, Cells({{1, 1}}));
  EXPECT_EQ(dragged_, Cells({{2, 1}, {2, 1}, {3, 1}, {0, 1}, {-1, -1}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(3, 1));
}

TEST_F(CellGridTest, HoldingBeyondTheRightEdgeStepsOnEvery60MsUpToTheBorder) {
  Press(17, 1);
  MoveToClient({700, 20});
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return asked_.size() >= 5; }, 3000));
  // Four steps took at least three timer intervals after the first one.
  EXPECT_GE(clock.elapsed(), 3 * 60 - 20);
  EXPECT_EQ(std::vector<QPoint>(asked_.begin(), asked_.begin() + 5),
            Cells({{17, 1}, {18, 1}, {19, 1}, {20, 1}, {20, 1}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(19, 1));
  Release(WidgetPoint(*grid_, {700, 20}));
  const std::size_t afterRelease = asked_.size();
  QTest::qWait(200);
  EXPECT_EQ(asked_.size(), afterRelease);
}

TEST_F(CellGridTest, HoldingBeyondACornerStepsDiagonallyAndStopsAtTheLastCell) {
  accept_ = [](int, int) { return true; };
  Press(2, 3);
  MoveToClient({-30, -5});
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid_->CurrentCell() == QPoint(0, 0); }, 3000));
  QTest::qWait(200);  // clamped at the corner: the target equals the current cell
  EXPECT_EQ(asked_, Cells({{2, 3}, {1, 2}, {0, 1}, {0, 0}}));
  MoveToClient({-30, 500});  // beyond the bottom-left corner now
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid_->CurrentCell() == QPoint(0, 14); }, 3000));
  Release(WidgetPoint(*grid_, {-30, 500}));
}

TEST_F(CellGridTest, PointerInTheStripJustPastTheLastLineDoesNotStep) {
  Press(19, 5);
  MoveToClient({640, grid_->CellRect(19, 5).center().y()});
  QTest::qWait(250);
  Release();
  EXPECT_EQ(asked_, Cells({{19, 5}}));
}

TEST_F(CellGridTest, ArrowKeysAskForTheNeighbourOnlyWhenItDiffers) {
  StartAt(5, 5);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  Key(Qt::Key_Left);
  Key(Qt::Key_Up);
  EXPECT_EQ(asked_, Cells({{6, 5}, {6, 6}, {5, 6}, {5, 5}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(5, 5));
}

TEST_F(CellGridTest, FromTheTopLeftCellArrowKeysReachOnlyRefusedCells) {
  grid_->setFocus();
  for (Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) Key(key);
  EXPECT_EQ(asked_, Cells({{1, 0}, {0, 1}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(0, 0));
}

TEST_F(CellGridTest, PageAndEndKeysAskForTheGridsEdgesAndCtrlUpDownDoNothing) {
  StartAt(5, 5);
  accept_ = [](int, int) { return false; };
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
      {Qt::Key_Home, {}},
      {Qt::Key_End, {}},
      {Qt::Key_PageUp, {}},
      {Qt::Key_PageDown, {}},
      {Qt::Key_Home, Qt::ControlModifier},
      {Qt::Key_End, Qt::ControlModifier},
      {Qt::Key_PageUp, Qt::ControlModifier},
      {Qt::Key_PageDown, Qt::ControlModifier},
      {Qt::Key_Left, Qt::ControlModifier},
      {Qt::Key_Right, Qt::ControlModifier},
      {Qt::Key_Up, Qt::ControlModifier},
      {Qt::Key_Down, Qt::ControlModifier},
  };
  for (const auto& [key, modifiers] : keys) Key(key, modifiers);
  EXPECT_EQ(
      asked_,
      Cells(
          {{0, 5}, {20, 5}, {5, 0}, {5, 14}, {0, 0}, {20, 14}, {5, 0}, {5, 14}, {0, 5}, {20, 5}}));
  EXPECT_EQ(grid_->CurrentCell(), QPoint(5, 5));
}

TEST_F(CellGridTest, TabMovesTheFocusToTheNextControl) {
  grid_->setFocus();
  Key(Qt::Key_Tab);
  EXPECT_TRUE(other_->hasFocus());
  EXPECT_TRUE(asked_.empty());
}

TEST_F(CellGridTest, WheelMovesOneRowPerNotchWhileTheGridHasTheFocus) {
  StartAt(5, 5);
  Wheel(-120);  // towards the user: down
  Wheel(240);   // two notches away: up twice
  Wheel(60);    // half a notch does nothing yet...
  Wheel(60);    // ...until the other half arrives
  EXPECT_EQ(asked_, Cells({{5, 6}, {5, 5}, {5, 4}, {5, 3}}));

  asked_.clear();
  other_->setFocus();
  Wheel(-120);
  EXPECT_TRUE(asked_.empty());
}

TEST_F(CellGridTest, DisabledGridLosesTheFocusTakesNoInputAndIsStillPainted) {
  Press(17, 1);
  MoveToClient({700, 20});
  grid_->setEnabled(false);  // in the middle of holding beyond the edge
  EXPECT_FALSE(grid_->hasFocus());
  const std::size_t asked = asked_.size();
  QTest::qWait(200);
  Release();
  Click(5, 5);
  Key(Qt::Key_Right);
  Wheel(-120);
  EXPECT_EQ(asked_.size(), asked);

  const QImage image = FullRepaint(*grid_);
  EXPECT_EQ(ClientPixel(image, *grid_, 47, 100), kSilverRgb);
}

// A grid whose cells listed in `big_` paint a 45 x 45 square beyond their own rectangle.
class SpillingGrid : public CellGrid {
 public:
  using CellGrid::CellGrid;
  std::set<std::pair<int, int>> big_;

 protected:
  QRect CellPaintExtent(int column, int row) const override {
    const QRect rect = CellRect(column, row);
    return big_.count({column, row}) ? rect | QRect(rect.topLeft(), QSize(45, 45)) : rect;
  }
};

class PartialRepaintTest : public CellGridTest {
 protected:
  CellGrid* MakeGrid() override {
    spilling_ = new SpillingGrid(21, 15, window_.get());
    spilling_->SetDrawCellHandler([this](QPainter& painter, int column, int row, QRect rect) {
      painter.fillRect(rect.adjusted(3, 3, -3, -3), QColor(column * 12, row * 17, 90));
      if (spilling_->big_.count({column, row})) {
        painter.fillRect(QRect(rect.topLeft(), QSize(45, 45)), QColor(200, 30, 30, 255));
      }
    });
    return spilling_;
  }
  SpillingGrid* spilling_ = nullptr;
};

TEST_F(PartialRepaintTest, ScheduledRepaintsLeaveTheScreenAsAFullRepaintWould) {
  WaitForPaints();
  spilling_->big_ = {{4, 4}};
  grid_->RepaintAll();
  EXPECT_EQ(ScreenImage(*grid_), FullRepaint(*grid_));

  // Move a spilling cell away from its spilling neighbour: repaint its old and new extent
  // only. (4, 4)'s square also covers part of the line below (5, 4), which must survive.
  auto spill = [&](int column, int row) {
    return QRect(grid_->CellRect(column, row).topLeft(), QSize(45, 45));
  };
  spilling_->big_ = {{4, 4}, {5, 4}};
  grid_->RepaintAll();
  spilling_->big_ = {{4, 4}, {9, 9}};
  grid_->InvalidateArea(spill(5, 4) | spill(9, 9));
  WaitForPaints();
  EXPECT_EQ(ScreenImage(*grid_), FullRepaint(*grid_));

  // Focus frames and highlights follow the current cell without leaving traces.
  Click(5, 5);
  WaitForPaints();
  Click(6, 5);
  WaitForPaints();
  EXPECT_EQ(ScreenImage(*grid_), FullRepaint(*grid_));
  other_->setFocus();
  WaitForPaints();
  EXPECT_EQ(ScreenImage(*grid_), FullRepaint(*grid_));
}

}  // namespace
}  // namespace tollwen
