// The level grid view: how a level is shown, and how gestures on it paint cells.
#include "ui/level_grid_view.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <string>

#include "editor/editor.h"
#include "grid_test_util.h"
#include "support/fake_window.h"

namespace tollwen {
namespace {

constexpr QRgb kKey = 0xFFFF00FF;      // the tiles' transparent colour (their bottom-left pixel)
constexpr QRgb kTealRgb = 0xFF008080;  // the marker's transparent colour
constexpr QRgb kMarkerRgb = 0xFFFFFF00;

// Every picture pixel differs from its neighbours and from the tiles' colours.
QRgb PicturePixel(int x, int y) { return qRgb(x % 251, y % 241, 30 + (x + y) % 7); }

QImage Picture() {
  QImage image(640, 447, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, PicturePixel(x, y));
  }
  return image;
}

QRgb TileColour(int index) { return qRgb(250, 8 * index, 250 - 8 * index); }

// Tile `index`: its colour, with a transparent 8 x 8 square in its bottom-left corner.
Bitmap MakeTile(int index, QSize size = {32, 32}) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(TileColour(index));
  for (int y = size.height() - 8; y < size.height(); ++y) {
    for (int x = 0; x < 8; ++x) image.setPixel(x, y, kKey);
  }
  Bitmap bitmap;
  bitmap.SetImage(image);
  bitmap.SetTransparentMode(Bitmap::TransparentMode::Automatic);
  bitmap.SetTransparent(true);
  return bitmap;
}

// The marker: teal with a yellow 10 x 10 square in the middle.
Bitmap MakeMarker() {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(kTealRgb);
  for (int y = 11; y < 21; ++y) {
    for (int x = 11; x < 21; ++x) image.setPixel(x, y, kMarkerRgb);
  }
  Bitmap bitmap;
  bitmap.SetImage(image);
  bitmap.SetTransparentMode(Bitmap::TransparentMode::Fixed);
  bitmap.SetTransparentColor(kTealRgb);
  bitmap.SetTransparent(true);
  return bitmap;
}

class LevelGridViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->resize(760, 520);
    view_ = new LevelGridView(editor_, window_.get());
    view_->SetGridBorders();
    other_ = AddFocusButton(*window_);
    fake_.OnCall([this](const std::string& call) {
      if (call == "RepaintGrid") view_->RepaintGrid();
    });
    EditorState& state = editor_.State();
    Level().LayPicture("", Picture());
    for (int i = 1; i <= 15; ++i) state.Tiles.TileBitmap(i) = MakeTile(i);
    state.Tiles.StartMarker() = MakeMarker();
    ASSERT_TRUE(ShowActiveWithFocusOn(*window_, *other_));
    editor_.NewLevel();  // a blank level on the picture, the grid enabled
    editor_.ChooseTile('5');
    WaitForPaints();
  }

  EditorState& State() { return editor_.State(); }
  LevelDocument& Level() { return editor_.Level(); }
  TileCode Cell(int column, int row) { return Level().Grid().CellAt(column, row); }
  QPoint ClientOf(int column, int row) { return view_->CellRect(column, row).topLeft(); }

  void Click(int column, int row) {
    QTest::mouseClick(view_, Qt::LeftButton, {}, CellCentre(*view_, column, row));
  }
  void Key(Qt::Key key) { QTest::keyClick(view_, key); }
  // What is on screen once the scheduled repaints have run.
  QImage Screen() {
    WaitForPaints();
    return ScreenImage(*view_);
  }
  void ExpectScreenAsFullRepaint() { EXPECT_EQ(Screen(), FullRepaint(*view_)); }

  FakeWindow fake_;
  Editor editor_{fake_, "/nonexistent/"};
  std::unique_ptr<QWidget> window_;
  LevelGridView* view_ = nullptr;
  QPushButton* other_ = nullptr;
};

TEST_F(LevelGridViewTest, IsTheLevelGridWidgetWithItsBordersSetAtStart) {
  LevelGridView fresh(editor_);
  EXPECT_EQ(fresh.objectName(), QStringLiteral("LevelGrid"));
  EXPECT_EQ(fresh.size(), QSize(649, 457));
  EXPECT_FALSE(fresh.isEnabled());
  EXPECT_EQ(fresh.CurrentCell(), QPoint(0, 0));
  EXPECT_EQ(fresh.ColumnWidth(0), 31);
  fresh.SetGridBorders();
  for (int column : {0, 20}) EXPECT_EQ(fresh.ColumnWidth(column), 15);
  for (int row : {0, 14}) EXPECT_EQ(fresh.RowHeight(row), 15);
  EXPECT_EQ(fresh.ColumnWidth(10), 31);
  EXPECT_EQ(fresh.RowHeight(7), 31);
}

TEST_F(LevelGridViewTest, PressOnCellOneOneShowsTheCurrentTileAtSixteenSixteen) {
  Click(1, 1);
  EXPECT_EQ(Cell(1, 1), '5');
  QImage screen = Screen();
  // The focus frame inverts every other pixel along the cell's edge, starting at (16, 16).
  EXPECT_EQ(ClientPixel(screen, *view_, 16, 16), ~TileColour(5) | 0xFF000000u);
  EXPECT_EQ(ClientPixel(screen, *view_, 17, 16), TileColour(5));
  other_->setFocus();
  screen = Screen();
  EXPECT_EQ(ClientPixel(screen, *view_, 16, 16), TileColour(5));
  EXPECT_EQ(ClientPixel(screen, *view_, 47, 16), TileColour(5));  // 32 wide: over the line
  // The tile's transparent corner shows the picture underneath.
  EXPECT_EQ(ClientPixel(screen, *view_, 18, 45), PicturePixel(18, 45));
  EXPECT_EQ(screen, FullRepaint(*view_));
}

TEST_F(LevelGridViewTest, PictureShowsInEveryCellOnlyUnderTheLinesItDoesNot) {
  const QImage image = FullRepaint(*view_);
  // Border cells, including the corners, and empty inner cells show the picture pixel for
  // pixel; the lines stay silver.
  for (QPoint p : {QPoint(0, 0), QPoint(14, 14), QPoint(630, 5), QPoint(638, 446), QPoint(5, 440),
                   QPoint(300, 10), QPoint(100, 100), QPoint(16, 16)}) {
    EXPECT_EQ(ClientPixel(image, *view_, p.x(), p.y()), PicturePixel(p.x(), p.y())) << p.x();
  }
  for (QPoint p : {QPoint(15, 100), QPoint(639, 100), QPoint(100, 447), QPoint(47, 47)}) {
    EXPECT_EQ(ClientPixel(image, *view_, p.x(), p.y()), kSilverRgb);
  }
}

TEST_F(LevelGridViewTest, StartMarkerIsDrawnOnEightNineOverWhateverTheCellHolds) {
  const QPoint corner = ClientOf(8, 9);
  QImage image = FullRepaint(*view_);  // the cell holds '0'
  EXPECT_EQ(ClientPixel(image, *view_, corner.x() + 15, corner.y() + 15), kMarkerRgb);
  EXPECT_EQ(ClientPixel(image, *view_, corner.x() + 2, corner.y() + 2),
            PicturePixel(corner.x() + 2, corner.y() + 2));

  editor_.ChooseTile('3');
  Click(8, 9);
  image = Screen();
  EXPECT_EQ(ClientPixel(image, *view_, corner.x() + 15, corner.y() + 15), kMarkerRgb);
  EXPECT_EQ(ClientPixel(image, *view_, corner.x() + 2, corner.y() + 2), TileColour(3));
  EXPECT_EQ(image, FullRepaint(*view_));
}

TEST_F(LevelGridViewTest, CellThatIsNotATileCodeStopsTheDisplaySilentlyAtThatCell) {
  Level().WriteCells({{{4, 3}, '2'}});
  Level().WriteCells({{{5, 3}, 'G'}});
  Level().WriteCells({{{6, 3}, '2'}});
  view_->RepaintAll();
  EXPECT_FALSE(Level().Shown());
  EXPECT_TRUE(fake_.Messages().empty());

  const QImage screen = ScreenImage(*view_);
  const QRgb base = view_->palette().color(QPalette::Active, QPalette::Base).rgb();
  EXPECT_EQ(ClientPixel(screen, *view_, ClientOf(4, 3).x() + 20, ClientOf(4, 3).y() + 2),
            TileColour(2));
  EXPECT_EQ(ClientPixel(screen, *view_, ClientOf(5, 3).x() + 20, ClientOf(5, 3).y() + 2),
            PicturePixel(ClientOf(5, 3).x() + 20, ClientOf(5, 3).y() + 2));
  EXPECT_EQ(ClientPixel(screen, *view_, ClientOf(6, 3).x() + 20, ClientOf(6, 3).y() + 2), base);
  EXPECT_EQ(ClientPixel(screen, *view_, 100, 300), base);

  // Presses still change cells, without showing them.
  Click(2, 10);
  EXPECT_EQ(Cell(2, 10), '5');
  EXPECT_EQ(ClientPixel(Screen(), *view_, ClientOf(2, 10).x() + 20, ClientOf(2, 10).y() + 2), base);
}

TEST_F(LevelGridViewTest, PressWhileAnUnpaintedBadCodeWaitsStopsTheDisplayAsARepaintWould) {
  // A data file that failed half-way leaves its rows in the grid without a repaint.
  Level().WriteCells({{{10, 6}, 'x'}});
  Click(12, 8);
  const QImage screen = Screen();
  EXPECT_FALSE(Level().Shown());
  const QRgb base = view_->palette().color(QPalette::Active, QPalette::Base).rgb();
  EXPECT_EQ(ClientPixel(screen, *view_, 100, 100), PicturePixel(100, 100));
  EXPECT_EQ(ClientPixel(screen, *view_, ClientOf(12, 8).x() + 20, ClientOf(12, 8).y() + 2), base);
}

TEST_F(LevelGridViewTest, OversizedTileOverlapsItsNeighboursExactlyAsAFullRepaint) {
  State().Tiles.TileBitmap(7) = MakeTile(7, {48, 40});
  editor_.ChooseTile('7');
  Click(3, 3);
  Click(4, 4);
  Click(5, 3);
  ExpectScreenAsFullRepaint();
  // The overflow shows on the lines; cells painted after it cover it with the picture.
  const QPoint corner = ClientOf(3, 3);
  const QImage image = FullRepaint(*view_);
  EXPECT_EQ(ClientPixel(image, *view_, corner.x() + 31, corner.y() + 5), TileColour(7));
  EXPECT_EQ(ClientPixel(image, *view_, corner.x() + 36, corner.y() + 5),
            PicturePixel(corner.x() + 36, corner.y() + 5));

  // Replacing a big tile by the empty one clears everything it covered.
  editor_.ChooseTile('0');
  Click(4, 4);
  ExpectScreenAsFullRepaint();
  editor_.ChooseTile('1');
  Click(3, 3);
  ExpectScreenAsFullRepaint();
}

TEST_F(LevelGridViewTest, BorderPressChangesNothingAndKeepsTheFocusFrame) {
  Click(4, 4);
  const QImage before = Screen();
  const LevelGrid grid = Level().Grid();
  for (QPoint border : {QPoint(0, 4), QPoint(20, 4), QPoint(4, 0), QPoint(4, 14)}) {
    Click(border.x(), border.y());
  }
  EXPECT_TRUE(view_->hasFocus());
  EXPECT_EQ(view_->CurrentCell(), QPoint(4, 4));
  EXPECT_EQ(Level().Grid(), grid);
  EXPECT_EQ(Screen(), before);
}

TEST_F(LevelGridViewTest, DragFromOneOneToNineteenOneFillsTheRow) {
  QTest::mousePress(view_, Qt::LeftButton, {}, CellCentre(*view_, 1, 1));
  for (int column = 2; column <= 19; ++column) {
    QTest::mouseMove(view_, CellCentre(*view_, column, 1));
  }
  QTest::mouseRelease(view_, Qt::LeftButton, {}, CellCentre(*view_, 19, 1));
  for (int column = 1; column <= 19; ++column) EXPECT_EQ(Cell(column, 1), '5') << column;
  EXPECT_EQ(Cell(1, 2), '0');
  ExpectScreenAsFullRepaint();
}

TEST_F(LevelGridViewTest, HoldingBeyondTheRightEdgePaintsOnToColumnNineteen) {
  QTest::mousePress(view_, Qt::LeftButton, {}, CellCentre(*view_, 15, 2));
  QTest::mouseMove(view_, WidgetPoint(*view_, {700, ClientOf(15, 2).y() + 10}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Cell(19, 2) == '5'; }, 3000));
  QTest::qWait(150);
  QTest::mouseRelease(view_, Qt::LeftButton, {}, WidgetPoint(*view_, {700, 50}));
  for (int column = 15; column <= 19; ++column) EXPECT_EQ(Cell(column, 2), '5') << column;
  EXPECT_EQ(Cell(14, 2), '0');
  EXPECT_EQ(view_->CurrentCell(), QPoint(19, 2));
  ExpectScreenAsFullRepaint();
}

TEST_F(LevelGridViewTest, ArrowKeysPaintAsTheyMoveAndHomeRefuses) {
  Click(3, 3);
  editor_.ChooseTile('9');
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(Cell(3, 3), '5');
  EXPECT_EQ(Cell(4, 3), '9');
  EXPECT_EQ(Cell(4, 4), '9');
  const LevelGrid grid = Level().Grid();
  Key(Qt::Key_Home);
  EXPECT_EQ(Level().Grid(), grid);
  EXPECT_EQ(view_->CurrentCell(), QPoint(4, 4));
  ExpectScreenAsFullRepaint();
}

TEST_F(LevelGridViewTest, FromTheStartCellTheArrowKeysPaintNothing) {
  view_->setFocus();
  const LevelGrid grid = Level().Grid();
  for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) Key(key);
  EXPECT_EQ(Level().Grid(), grid);
  EXPECT_EQ(view_->CurrentCell(), QPoint(0, 0));
}

TEST_F(LevelGridViewTest, WheelTowardsTheUserPaintsTheCellBelowUnlessTheSelectToolIsChosen) {
  Click(6, 6);
  editor_.ChooseTile('4');
  QWheelEvent event(CellCentre(*view_, 6, 6), view_->mapToGlobal(CellCentre(*view_, 6, 6)),
                    QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(view_, &event);
  EXPECT_EQ(Cell(6, 7), '4');
  EXPECT_EQ(view_->CurrentCell(), QPoint(6, 7));
  editor_.Tools().Choose(4);  // the Select tool: the wheel only moves the current cell
  QApplication::sendEvent(view_, &event);
  EXPECT_EQ(Cell(6, 8), '0');
  EXPECT_EQ(view_->CurrentCell(), QPoint(6, 8));
}

TEST_F(LevelGridViewTest, SecondPressOfADoubleClickPaintsNothing) {
  Click(2, 2);
  editor_.ChooseTile('6');
  QTest::mouseDClick(view_, Qt::LeftButton, {}, CellCentre(*view_, 2, 2));
  QTest::mouseMove(view_, CellCentre(*view_, 3, 2));
  QTest::mouseRelease(view_, Qt::LeftButton, {}, CellCentre(*view_, 3, 2));
  EXPECT_EQ(Cell(2, 2), '5');
  EXPECT_EQ(Cell(3, 2), '0');
}

TEST_F(LevelGridViewTest, ClosedLevelShowsPlainCellsIgnoresInputAndKeepsTheCurrentCell) {
  Click(4, 4);
  fake_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.CloseLevel();
  EXPECT_FALSE(view_->isEnabled());
  EXPECT_FALSE(view_->hasFocus());
  const LevelGrid grid = Level().Grid();
  Click(6, 6);
  Key(Qt::Key_Right);
  EXPECT_EQ(Level().Grid(), grid);

  const QImage screen = Screen();
  const QRgb base = view_->palette().color(QPalette::Active, QPalette::Base).rgb();
  EXPECT_EQ(ClientPixel(screen, *view_, 100, 100), base);
  EXPECT_EQ(ClientPixel(screen, *view_, 47, 100), kSilverRgb);
  // Not focused: the current cell keeps its highlight.
  EXPECT_EQ(ClientPixel(screen, *view_, ClientOf(4, 4).x() + 20, ClientOf(4, 4).y() + 20),
            view_->palette().color(QPalette::Active, QPalette::Highlight).rgb());

  editor_.NewLevel();
  EXPECT_EQ(view_->CurrentCell(), QPoint(4, 4));
}

TEST_F(LevelGridViewTest, PictureLaidOverTheGridCoversTheLinesUntilTheLevelIsShown) {
  editor_.CloseLevel();
  Level().LayPicture("", Picture());
  EXPECT_EQ(ClientPixel(Screen(), *view_, 47, 100), PicturePixel(47, 100));
  Level().SetDisplay(LevelDisplay::kShown);
  EXPECT_EQ(ClientPixel(Screen(), *view_, 47, 100), kSilverRgb);
}

TEST_F(LevelGridViewTest, NoCellIsPaintedWhileACommandRuns) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Level().SetDataPath(dir.filePath(QStringLiteral("level.dat")).toStdString());
  Level().SetMusicName("tune.mod");
  Click(3, 3);
  int presses = 0;
  fake_.OnProcessPendingMessages([&] {
    // The repeat timer or a queued press during the save's repaint step.
    Click(7, 7);
    ++presses;
  });
  editor_.Save();
  EXPECT_GT(presses, 0);
  EXPECT_EQ(Cell(7, 7), '0');
  EXPECT_EQ(view_->CurrentCell(), QPoint(3, 3));
}

}  // namespace
}  // namespace tollwen
