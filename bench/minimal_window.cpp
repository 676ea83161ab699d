// The floor for the editor's start-up, memory and presses: a minimal Qt Widgets window of the
// editor's client size under a menu bar with a menu of ordinary items, whose client area paints
// a 32 x 32 square where it is pressed, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

namespace {

class PressedSquares : public QWidget {
 protected:
  void mousePressEvent(QMouseEvent* event) override {
    square_ = QRect(event->position().toPoint() - QPoint(16, 16), QSize(32, 32));
    dark_ = !dark_;
    update(square_);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(square_, dark_ ? Qt::darkGreen : Qt::green);
  }

 private:
  QRect square_;
  bool dark_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Minimal Window"));
  QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
  for (const char* item : {"&New", "&Open", "&Close", "&Save", "Save &As", "E&xit"}) {
    file->addAction(QString::fromLatin1(item));
  }
  window.menuBar()->addAction(QStringLiteral("&Select Music"));
  window.menuBar()->addMenu(QStringLiteral("&Image"))->addAction(QStringLiteral("&Refresh"));
  auto* client = new PressedSquares;
  client->setFixedSize(757, 457);
  window.setCentralWidget(client);
  window.move(200, 104);
  window.show();
  return QApplication::exec();
}
