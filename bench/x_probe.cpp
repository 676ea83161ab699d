// Measures the editor as a user meets it, from outside the process, on the X server named by
// DISPLAY (a private Xvfb started by bench/run.sh), each figure against its floor in the same
// run, in interleaved rounds:
//   start-up: from fork to the first window mapped and to its every pixel painted, for the
//     editor and for a minimal Qt window with a menu (bench_minimal_window);
//   File > Open through the real menu and dialog: from pressing Return on the typed file name
//     to the last pixel the editor's window changes, against reading the same file with read()
//     and decoding it with libjpeg alone;
//   a press on a grid cell: from the button press to the last pixel it changes;
//   resident memory of the editor just started and with a level open (after the Opens and
//     presses) against the minimal window.
// Windows are found with SubstructureNotify on the root window; their pixels are watched with
// the DAMAGE extension (every rectangle drawn into a window is reported), input is sent with
// XTEST. No polling: the probe sleeps in poll() on the X connection.
//   bench_x_probe EDITOR MINIMAL_WINDOW [rounds] [opens per round] [presses per round]
// Qt's headers come before X11's, whose macros (Bool, Status) they refuse.
#include <QCoreApplication>

#include "bench_level.h"

// clang-format off
#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
// clang-format on
#include <fcntl.h>
#include <jpeglib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_x_probe: %s\n", what.c_str());
  std::exit(1);
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

struct TopLevel {
  bool overrideRedirect = false;
  Damage damage = 0;
};

// The X side: new top-level windows, their mapping and every rectangle drawn into them.
class XWatch {
 public:
  XWatch() {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) Fail("cannot open the display");
    XSetErrorHandler(IgnoreXErrors);
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XDamageQueryExtension(display_, &damageEvent_, &error)) Fail("no DAMAGE extension");
    if (!XTestQueryExtension(display_, &error, &error, &major, &minor)) Fail("no XTEST");
    root_ = DefaultRootWindow(display_);
    XSelectInput(display_, root_, SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~XWatch() { XCloseDisplay(display_); }

  Display* X() const { return display_; }

  // Handles events until `done` says so (true) or `timeoutMs` passes (false). `done` sees
  // each event with the time it was read.
  bool Run(double timeoutMs, const std::function<bool(const XEvent&, Clock::time_point)>& done) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::microseconds(static_cast<long>(timeoutMs * 1000));
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        const Clock::time_point now = Clock::now();
        Track(event);
        if (done(event, now)) return true;
      }
      const double left = MsBetween(Clock::now(), deadline);
      if (left <= 0) return false;
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(left) + 1);
    }
  }

  // The drawing into `window` (any window for 0) reported by the event, or nothing.
  const XDamageNotifyEvent* DamageIn(const XEvent& event, Window window) const {
    if (event.type != damageEvent_ + XDamageNotify) return nullptr;
    const auto* damage = reinterpret_cast<const XDamageNotifyEvent*>(&event);
    return window == 0 || damage->drawable == window ? damage : nullptr;
  }

  // The next ordinary top-level window to be mapped (menus and lists are override-redirect).
  Window NextMapped(double timeoutMs) {
    Window mapped = 0;
    Run(timeoutMs, [&](const XEvent& event, Clock::time_point) {
      if (event.type != MapNotify || event.xmap.event != root_) return false;
      auto it = windows_.find(event.xmap.window);
      if (it == windows_.end() || it->second.overrideRedirect) return false;
      mapped = event.xmap.window;
      return true;
    });
    return mapped;
  }

  // Waits until nothing is drawn into `window` (any window for 0) for `quietMs`; the time of
  // the last drawing seen, or `since` when there was none.
  Clock::time_point LastDrawing(Window window, double quietMs, Clock::time_point since) {
    Clock::time_point last = since;
    while (Run(quietMs, [&](const XEvent& event, Clock::time_point at) {
      if (DamageIn(event, window) == nullptr) return false;
      last = at;
      return true;
    })) {
    }
    return last;
  }

  // The window's top-left corner and size on the screen.
  XRectangle Geometry(Window window) const {
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, window, &attributes);
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, root_, 0, 0, &x, &y, &child);
    return {static_cast<short>(x), static_cast<short>(y),
            static_cast<unsigned short>(attributes.width),
            static_cast<unsigned short>(attributes.height)};
  }

  void Key(KeySym symbol, bool press) {
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    XTestFakeKeyEvent(display_, code, press ? True : False, CurrentTime);
  }
  // Types `text` (printable ASCII), with Shift where the key needs it.
  void Type(const std::string& text) {
    for (const char c : text) {
      const KeySym symbol = static_cast<KeySym>(static_cast<unsigned char>(c));
      const KeyCode code = XKeysymToKeycode(display_, symbol);
      const bool shift = XkbKeycodeToKeysym(display_, code, 0, 0) != symbol;
      if (shift) Key(XK_Shift_L, true);
      Key(symbol, true);
      Key(symbol, false);
      if (shift) Key(XK_Shift_L, false);
      XSync(display_, False);
    }
  }
  void Stroke(KeySym symbol) {
    Key(symbol, true);
    Key(symbol, false);
    XSync(display_, False);
  }
  void MoveTo(int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
  }
  void Button(bool press) {
    XTestFakeButtonEvent(display_, 1, press ? True : False, CurrentTime);
    XFlush(display_);
  }
  void Focus(Window window) {
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
  }

 private:
  void Track(const XEvent& event) {
    if (event.type != CreateNotify || event.xcreatewindow.parent != root_) return;
    TopLevel& window = windows_[event.xcreatewindow.window];
    window.overrideRedirect = event.xcreatewindow.override_redirect;
    window.damage = XDamageCreate(display_, event.xcreatewindow.window, XDamageReportRawRectangles);
    XFlush(display_);
  }

  Display* display_ = nullptr;
  Window root_ = 0;
  int damageEvent_ = 0;
  std::map<Window, TopLevel> windows_;
};

// Which of a window's pixels have been drawn.
class Coverage {
 public:
  Coverage(int width, int height) : width_(width), height_(height), drawn_(width * height) {}
  void Add(const XRectangle& area) {
    const int right = std::min<int>(area.x + area.width, width_);
    const int bottom = std::min<int>(area.y + area.height, height_);
    for (int y = std::max<int>(area.y, 0); y < bottom; ++y) {
      for (int x = std::max<int>(area.x, 0); x < right; ++x) {
        if (!drawn_[y * width_ + x]) {
          drawn_[y * width_ + x] = true;
          ++count_;
        }
      }
    }
  }
  bool Full() const { return count_ == width_ * height_; }

 private:
  int width_;
  int height_;
  std::vector<bool> drawn_;
  int count_ = 0;
};

struct Started {
  pid_t pid = 0;
  Window window = 0;
  double mappedMs = 0;
  double paintedMs = 0;
  double cpuMs = 0;  // on a core until painted, all threads: what a loaded machine cannot stretch
};

// The time the process's threads have spent on a core so far.
double CpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  double ns = 0;
  for (const auto& task : std::filesystem::directory_iterator(tasks)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double onCpu = 0;
    if (schedstat >> onCpu) ns += onCpu;
  }
  return ns / 1e6;
}

// Starts `program` and waits for its window to be mapped and every pixel of it drawn.
Started Start(XWatch& x, const std::string& program) {
  Started started;
  const Clock::time_point start = Clock::now();
  started.pid = fork();
  if (started.pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDERR_FILENO);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  started.window = x.NextMapped(20000);
  if (started.window == 0) Fail("no window from " + program);
  started.mappedMs = MsBetween(start, Clock::now());
  const XRectangle geometry = x.Geometry(started.window);
  Coverage coverage(geometry.width, geometry.height);
  const bool painted = x.Run(20000, [&](const XEvent& event, Clock::time_point at) {
    const XDamageNotifyEvent* damage = x.DamageIn(event, started.window);
    if (damage == nullptr) return false;
    coverage.Add(damage->area);
    if (!coverage.Full()) return false;
    started.paintedMs = MsBetween(start, at);
    started.cpuMs = CpuMs(started.pid);
    return true;
  });
  if (!painted) Fail("the window of " + program + " was never painted in full");
  x.LastDrawing(0, 300, Clock::now());
  return started;
}

void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

double ResidentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

// The floor of opening a level: the file read with read() and decoded with the editor's
// settings into 32-bit pixels, nothing around it.
double BareDecodeMs(const std::string& path, std::vector<unsigned char>& pixels) {
  const Clock::time_point start = Clock::now();
  std::vector<unsigned char> file;
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) Fail("cannot read " + path);
  unsigned char buffer[1 << 16];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
    file.insert(file.end(), buffer, buffer + got);
  }
  close(fd);
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file.data(), file.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGRA;
  cinfo.dct_method = JDCT_FLOAT;
  cinfo.do_fancy_upsampling = TRUE;
  cinfo.do_block_smoothing = TRUE;
  jpeg_start_decompress(&cinfo);
  pixels.resize(static_cast<size_t>(cinfo.output_width) * cinfo.output_height * 4);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row =
        pixels.data() + static_cast<size_t>(cinfo.output_scanline) * cinfo.output_width * 4;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return MsBetween(start, Clock::now());
}

// The editor's layout on the screen (the minimal window has the same client area): the client
// area is the bottom 757 x 457 of the window;
// the grid's cells start inside its 2-pixel edge, at (107, 0) in the client area, with 15-pixel
// borders and a 32-pixel pitch.
struct ClientLayout {
  explicit ClientLayout(const XRectangle& window)
      : left(window.x), top(window.y + window.height - 457) {}
  int CellX(int column) const { return left + 107 + 2 + 16 + (column - 1) * 32 + 15; }
  int CellY(int row) const { return top + 2 + 16 + (row - 1) * 32 + 15; }
  int left;
  int top;
};

// File > Open from the keyboard, the path typed into the dialog's name box; returns the time
// from pressing Return to the last pixel drawn into the editor's window, or nothing when the
// dialog did not take the name (keys lost on a loaded machine; it is closed with Escape).
std::optional<double> OpenThroughDialog(XWatch& x, Window editor, const std::string& path) {
  x.Focus(editor);
  x.Key(XK_Alt_L, true);
  x.Stroke(XK_f);
  x.Key(XK_Alt_L, false);
  x.LastDrawing(0, 100, Clock::now());
  x.Stroke(XK_o);
  const Window dialog = x.NextMapped(5000);
  if (dialog == 0) Fail("File > Open showed no dialog");
  x.LastDrawing(0, 300, Clock::now());
  const XRectangle where = x.Geometry(dialog);
  x.MoveTo(where.x + where.width / 2, where.y + 10);
  x.Focus(dialog);
  // Select what the name box holds, then type over it.
  x.Key(XK_Control_L, true);
  x.Stroke(XK_a);
  x.Key(XK_Control_L, false);
  x.Type(path);
  x.LastDrawing(0, 300, Clock::now());

  const Clock::time_point accepted = Clock::now();
  x.Stroke(XK_Return);
  // The grid's cells lie between x 125 and 749 of the window: the level's pixels reach across.
  int left = 1 << 16;
  int right = 0;
  Clock::time_point last = accepted;
  const auto drawn = [&](const XEvent& event, Clock::time_point at) {
    const XDamageNotifyEvent* damage = x.DamageIn(event, editor);
    if (damage == nullptr) return false;
    last = at;
    left = std::min<int>(left, damage->area.x);
    right = std::max<int>(right, damage->area.x + damage->area.width);
    return true;
  };
  const bool closed = x.Run(5000, [&](const XEvent& event, Clock::time_point at) {
    drawn(event, at);
    return event.type == UnmapNotify && event.xunmap.window == dialog;
  });
  while (x.Run(600, drawn)) {
  }
  if (!closed) {
    x.Stroke(XK_Escape);
    x.LastDrawing(0, 300, Clock::now());
    return std::nullopt;
  }
  if (left > 125 || right < 749) Fail("the level was not shown after Open");
  return MsBetween(accepted, last);
}

// A press on cell (column, row) with the left button: the time from the press to the last
// pixel it changes. On the minimal window: a press at the same place, which paints a square.
double PressCell(XWatch& x, const ClientLayout& layout, int column, int row) {
  x.MoveTo(layout.CellX(column), layout.CellY(row));
  x.LastDrawing(0, 50, Clock::now());
  const Clock::time_point pressed = Clock::now();
  x.Button(true);
  const Clock::time_point last = x.LastDrawing(0, 100, pressed);
  x.Button(false);
  x.LastDrawing(0, 50, Clock::now());
  return MsBetween(pressed, last);
}

struct Samples {
  std::vector<double> values;
  double Median() const {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  void Print(const char* name, const char* unit) const {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::printf("%-40s median %8.3f %s  (min %.3f, max %.3f, n %zu)\n", name, Median(), unit, *low,
                *high, values.size());
  }
};

// Presses on `count` cells, row by row from the `first`-th level cell, into `samples`.
void PressCells(XWatch& x, const ClientLayout& layout, int first, int count, Samples& samples) {
  for (int cell = first; cell < first + count; ++cell) {
    samples.values.push_back(PressCell(x, layout, 1 + cell % 19, 1 + (cell / 19) % 13));
  }
}

// The editor's figure, its floor's and their ratio (of the medians).
void Compare(const char* title, const Samples& editor, const char* floorName, const Samples& floor,
             const char* unit) {
  std::printf("%s:\n", title);
  editor.Print("  editor", unit);
  floor.Print((std::string("  ") + floorName).c_str(), unit);
  std::printf("  %-38s %.2f x\n", "ratio", editor.Median() / floor.Median());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Fail("usage: bench_x_probe EDITOR MINIMAL_WINDOW [rounds] [opens] [presses]");
  QCoreApplication app(argc, argv);
  const std::string editor = argv[1];
  const std::string minimal = argv[2];
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 10;
  const int opens = argc > 4 ? std::atoi(argv[4]) : 3;
  const int presses = argc > 5 ? std::atoi(argv[5]) : 10;

  const tollwen::bench::BenchLevel first;
  const tollwen::bench::BenchLevel second;
  XWatch x;
  Samples editorMapped, editorPainted, minimalMapped, minimalPainted;
  Samples editorCpu, minimalCpu, open, decode, press, pressFloor, editorStartMemory, editorMemory,
      minimalMemory;
  std::vector<unsigned char> pixels;
  int openRetries = 0;

  for (int round = 0; round < rounds; ++round) {
    // The two programs start in turns, each first in every other round.
    for (int turn = 0; turn < 2; ++turn) {
      const bool isEditor = (turn + round) % 2 == 0;
      const Started started = Start(x, isEditor ? editor : minimal);
      if (!isEditor) {
        minimalMapped.values.push_back(started.mappedMs);
        minimalPainted.values.push_back(started.paintedMs);
        minimalCpu.values.push_back(started.cpuMs);
        minimalMemory.values.push_back(ResidentMiB(started.pid));
        PressCells(x, ClientLayout(x.Geometry(started.window)), round * presses, presses,
                   pressFloor);
        Stop(started.pid);
        continue;
      }
      editorStartMemory.values.push_back(ResidentMiB(started.pid));
      editorMapped.values.push_back(started.mappedMs);
      editorPainted.values.push_back(started.paintedMs);
      editorCpu.values.push_back(started.cpuMs);
      for (int k = 0; k < opens; ++k) {
        const auto& level = k % 2 == 0 ? first : second;
        std::optional<double> ms;
        for (int attempt = 0; attempt < 3 && !ms; ++attempt) {
          ms = OpenThroughDialog(x, started.window, level.PicturePath());
          if (!ms) ++openRetries;
        }
        if (!ms) Fail("the Open dialog did not take the name three times");
        open.values.push_back(*ms);
        decode.values.push_back(BareDecodeMs(level.PicturePath(), pixels));
      }
      // Tile 5 from the palette (SpeedButton5 at 8, 248 in the tool panel), then presses on
      // cells that do not hold it yet.
      const ClientLayout layout(x.Geometry(started.window));
      x.MoveTo(layout.left + 28, layout.top + 268);
      x.Button(true);
      x.Button(false);
      x.LastDrawing(0, 100, Clock::now());
      PressCells(x, layout, round * presses, presses, press);
      editorMemory.values.push_back(ResidentMiB(started.pid));
      Stop(started.pid);
    }
  }

  const char* minimalName = "minimal window with a menu";
  Compare("Start-up, fork to mapped", editorMapped, minimalName, minimalMapped, "ms");
  Compare("Start-up, fork to every pixel painted", editorPainted, minimalName, minimalPainted,
          "ms");
  Compare("Start-up, time on a core until painted", editorCpu, minimalName, minimalCpu, "ms");
  Compare("File > Open, Return on the name to the level's last pixel", open,
          "read() and bare decode of the same file", decode, "ms");
  if (openRetries > 0) std::printf("  (%d Opens repeated: the dialog missed keys)\n", openRetries);
  Compare("Press on a cell to its last pixel", press, "minimal window, press to its painted square",
          pressFloor, "ms");
  Compare("Resident memory, level open", editorMemory, minimalName, minimalMemory, "MiB");
  Compare("Resident memory, just started", editorStartMemory, minimalName, minimalMemory, "MiB");
  return 0;
}
