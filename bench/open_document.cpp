// Opening a large document in the real program, as a user waits for it.
//
//   bench_open_document generate DIR   writes the documents of bench/large_documents.sh
//   bench_open_document open FILE      starts the main window with FILE as the program does
//
// "open" builds the main window exactly as main() does with a document argument and shows
// it; the time is taken when the editor's first paint has ended (the document is loaded before
// the window shows). It prints, as key=value pairs:
//   open_ms     from the process's start (as the kernel records it, 10 ms steps) to that paint
//   main_ms     from main() to that paint
//   open_rss_mb peak resident memory up to then
// then, one frame each, timed from the key or scroll until its repaint has ended:
//   jump_ms     the view jumps to the document's middle (dragging the scroll bar)
//   page_ms     Page Down there (End on a one-line document: to the line's far end)
//   keys_max_ms the slowest key of a correction there: End, Shift+Left, another digit, and
//               Down (Home on a one-line document), which leaves the line in a tape
//   keys_ms     the correction's keys together (each_key_ms: one by one)
//   styled_ms   from the jump until the editor has styled the text above the view, which it
//               does in idle time (keys typed meanwhile wait for the step under way)
//   rss_mb      peak resident memory at the end
//   now_mb      resident memory at the end
// Run it on the platform the user has (xcb under Xvfb in the script).
#include <Qsci/qsciscintilla.h>
#include <stdio.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/calc_main.h"
#include "config/conf.h"
#include "generated_documents.h"
#include "platform/instance_lock.h"
#include "tape/tape_engine.h"

namespace {

using Clock = std::chrono::steady_clock;
using Sci = QsciScintillaBase;

const Clock::time_point g_main_start = Clock::now();

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds since the kernel started this process (field 22 of /proc/self/stat, in clock
// ticks of CLOCK_BOOTTIME); -1 when it cannot be read.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t paren = text.rfind(')');
  if (paren == std::string::npos) return -1;
  // Fields after the command name start with field 3.
  const char* p = text.c_str() + paren + 2;
  for (int field = 3; field < 22; ++field) {
    p = std::strchr(p, ' ');
    if (p == nullptr) return -1;
    ++p;
  }
  const double start_s = std::strtod(p, nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
  timespec now;
  clock_gettime(CLOCK_BOOTTIME, &now);
  return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 - start_s) *
         1000;
}

double PeakRssMb() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

// Resident memory now, from /proc/self/statm (in pages).
double RssMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int Generate(const std::string& dir) {
  constexpr uint64_t kSeed = 0x9E3779B97F4A7C15ULL;
  std::string tape;
  for (const std::string& line : numvex::bench::MixedTyped(kSeed, 1000000, 2)) {
    tape += line;
    tape += '\n';
  }
  const bool ok = WriteFile(dir + "/typed-tape.nvx", tape) &&
                  WriteFile(dir + "/c-like.c", numvex::bench::CLikeText(kSeed, 2000000)) &&
                  WriteFile(dir + "/digits.nvx", numvex::bench::DigitLine(kSeed, 10000000));
  return ok ? 0 : 1;
}

// Waits for the editor's paints and runs the measurements after the first.
class Probe : public QObject {
 public:
  Probe(numvex::TfrmCalc& window) : window_(window), editor_(window.Editor()) {
    editor_->viewport()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      // Runs once the paint event has been handled.
      QTimer::singleShot(0, this, [this] { FirstPaintDone(); });
    }
    return false;
  }

 private:
  // Runs `step` and the events it leaves behind (its repaint among them).
  template <typename Step>
  double Frame(Step step) {
    const Clock::time_point start = Clock::now();
    step();
    QApplication::processEvents();
    return MsSince(start);
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers, double* max_ms, double* total_ms) {
    const double ms = Frame([&] { QTest::keyClick(editor_, key, modifiers); });
    *max_ms = std::max(*max_ms, ms);
    *total_ms += ms;
    each_key_ += (each_key_.empty() ? "" : "/") + std::to_string(static_cast<int>(ms + 0.5));
  }

  void FirstPaintDone() {
    const double open_ms = MsSinceProcessStart();
    const double main_ms = MsSince(g_main_start);
    std::printf("open_ms=%.0f main_ms=%.0f open_rss_mb=%.1f", open_ms, main_ms, PeakRssMb());
    std::fflush(stdout);
    QApplication::processEvents();  // whatever else the start left queued

    const long lines = editor_->SendScintilla(Sci::SCI_GETLINECOUNT);
    const bool one_line = lines == 1;
    double jump_ms = 0;
    double page_ms = 0;
    Clock::time_point jumped = Clock::now();
    if (one_line) {
      page_ms = Frame([&] { QTest::keyClick(editor_, Qt::Key_End); });
    } else {
      jumped = Clock::now();
      jump_ms = Frame([&] {
        editor_->SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(lines / 2));
      });
      // The caret goes to the view first, as a click there would put it.
      editor_->SendScintilla(Sci::SCI_GOTOLINE, static_cast<unsigned long>(lines / 2));
      QApplication::processEvents();
      page_ms = Frame([&] { QTest::keyClick(editor_, Qt::Key_PageDown); });
    }
    // In a tape, a line that ends in a digit: an amount line.
    if (window_.CalcMode() && !one_line) {
      numvex::TapeEngine& engine = window_.Engine();
      int line = engine.GetCaret().line;
      while (line < lines &&
             (engine.KindOf(line) != numvex::lkNumber ||
              !std::isdigit(static_cast<unsigned char>(engine.Buffer().Line(line).back())))) {
        ++line;
      }
      engine.SetCaret(line, 0);
      QApplication::processEvents();
    }
    double keys_max_ms = 0;
    double keys_ms = 0;
    Key(Qt::Key_End, Qt::NoModifier, &keys_max_ms, &keys_ms);
    Key(Qt::Key_Left, Qt::ShiftModifier, &keys_max_ms, &keys_ms);
    Key(Qt::Key_4, Qt::NoModifier, &keys_max_ms, &keys_ms);
    Key(one_line ? Qt::Key_Home : Qt::Key_Down, Qt::NoModifier, &keys_max_ms, &keys_ms);
    const long view_start = editor_->SendScintilla(
        Sci::SCI_POSITIONFROMLINE, editor_->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE));
    while (editor_->SendScintilla(Sci::SCI_GETENDSTYLED) < view_start) {
      QApplication::processEvents();
    }
    const double styled_ms = one_line ? 0 : MsSince(jumped);
    std::printf(
        " jump_ms=%.1f page_ms=%.1f keys_max_ms=%.1f keys_ms=%.1f each_key_ms=%s styled_ms=%.0f"
        " rss_mb=%.1f now_mb=%.1f\n",
        jump_ms, page_ms, keys_max_ms, keys_ms, each_key_.c_str(), styled_ms, PeakRssMb(), RssMb());
    std::fflush(stdout);
    QCoreApplication::exit(0);  // quit() would ask the window, which asks to save
  }

  numvex::TfrmCalc& window_;
  QsciScintilla* editor_;
  bool painted_ = false;
  std::string each_key_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "generate") == 0) return Generate(argv[2]);
  if (argc != 3 || std::strcmp(argv[1], "open") != 0) {
    std::fprintf(stderr, "usage: %s generate DIR | open FILE\n", argv[0]);
    return 2;
  }
  // What main() does, with the document as the only argument.
  numvex::ResetConfToProgramStart();
  numvex::InitTapeArithmetic();
  numvex::InstanceLock instance_lock;
  int qt_argc = 1;
  QApplication app(qt_argc, argv);
  QApplication::setApplicationName("numvex");
  numvex::TfrmCalc window(instance_lock.FirstInstance(),
                          QStringList{QString::fromLocal8Bit(argv[2])},
                          QApplication::applicationFilePath());
  Probe probe(window);
  if (window.StartVisible()) window.show();
  return QApplication::exec();
}
