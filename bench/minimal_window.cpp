// The floor for the editor's start-up and memory: a minimal Qt Widgets window of the editor's
// client size under a menu bar with a menu of ordinary items, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

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
  auto* client = new QWidget(&window);
  client->setFixedSize(757, 457);
  window.setCentralWidget(client);
  window.move(200, 104);
  window.show();
  return QApplication::exec();
}
