// Start-up until the window is first painted, and the resident memory once a level is open.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <fstream>
#include <memory>
#include <string>

#include "bench_level.h"
#include "ui/dialog_runner.h"
#include "ui/level_grid_view.h"
#include "ui/main_window.h"

namespace tollwen::bench {
namespace {

// Notes the first paint of the widget it watches.
class FirstPaintWatcher : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

// Answers every file question with one path and confirms every other dialog.
class AnsweringDialogs : public DialogRunner {
 public:
  explicit AnsweringDialogs(std::string path) : path_(std::move(path)) {}
  bool RunFileDialog(QFileDialog& dialog) override {
    dialog.selectFile(QString::fromStdString(path_));
    return true;
  }
  bool RunColorDialog(QColorDialog&) override { return true; }
  QMessageBox::StandardButton RunMessageBox(QMessageBox&) override { return QMessageBox::Ok; }

 private:
  std::string path_;
};

// Resident set size of this process in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    auto window = std::make_unique<TForm1>();
    FirstPaintWatcher watcher;
    window->Grid().installEventFilter(&watcher);
    window->show();
    while (!watcher.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    window->Grid().removeEventFilter(&watcher);
    window->close();
  }
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ResidentMemoryWithLevelOpen(benchmark::State& state) {
  BenchLevel level;
  AnsweringDialogs dialogs(level.PicturePath());
  TForm1 window(BenchLevel::ResourceDir(), &dialogs);
  window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    window.RunCommand([&] { window.LevelEditor().OpenLevel(); });
    QApplication::processEvents();
  }
  if (!window.LevelEditor().State().LevelOpen) state.SkipWithError("the level did not open");
  state.counters["rss_MiB"] = static_cast<double>(ResidentKiB()) / 1024.0;
}
BENCHMARK(BM_ResidentMemoryWithLevelOpen)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tollwen::bench
