#include "window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "ui/glyph_button.h"
#include "ui/level_grid_view.h"

namespace tollwen::test {

void WindowTest::TearDown() { form_.reset(); }

MainWindow& WindowTest::Start(const std::string& resourceDir) {
  form_ = std::make_unique<MainWindow>(resourceDir, &dialogs_);
  return *form_;
}

MainWindow& WindowTest::StartShown(const std::string& resourceDir) {
  Start(resourceDir);
  form_->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  return *form_;
}

void WindowTest::Choose(const char* itemName) {
  auto* action = Find<QAction>(itemName);
  ASSERT_NE(action, nullptr) << itemName;
  action->trigger();
}

void WindowTest::ClickCell(int column, int row) {
  LevelGridView& grid = form_->Grid();
  const QPoint at = grid.contentsRect().topLeft() + grid.CellRect(column, row).center();
  QTest::mouseClick(&grid, Qt::LeftButton, {}, at);
}

void WindowTest::ClickPalette(int index) {
  QTest::mouseClick(&form_->PaletteButton(index), Qt::LeftButton, {}, QPoint(20, 20));
}

std::string WindowTest::AssetCopy(const std::string& missing) {
  const QString dir = scratch_.path() + "/assets";
  QDir().mkpath(dir);
  const QStringList left = QString::fromStdString(missing).split(' ', Qt::SkipEmptyParts);
  const QString source = QCoreApplication::applicationDirPath();
  for (const char* name :
       {"0.bmp", "1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "6.bmp", "7.bmp", "8.bmp", "9.bmp",
        "A.bmp", "B.bmp", "C.bmp", "D.bmp", "E.bmp", "F.bmp", "start.bmp"}) {
    if (left.contains(name)) continue;
    EXPECT_TRUE(QFile::copy(source + "/" + name, dir + "/" + name)) << name;
  }
  return (dir + "/").toStdString();
}

}  // namespace tollwen::test
