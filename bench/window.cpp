// Main-window benchmarks: what a user waits for in the real window, driven with real key
// events on the offscreen platform.
//
//  - A correction in a long run: an amount line in the middle of a 10 k-line run is edited,
//    then the caret leaves it with the Down arrow. Timed: from sending the key release (the
//    window recomputes the run inside it) until the pending events, the repaint included,
//    are processed. Aim: one frame, 16 ms.
//  - The same correction in documents of short blocks, 10 k to 1 M lines: the time should not
//    grow with the document.
//  - Opening a 10 k and a 100 k-line tape with OpenDocument, typed (every amount line is
//    rewritten) and already canonical, until the window has painted. Aim: 1 s for 100 k.
//
// Times are wall-clock milliseconds (what the user sees), so other jobs on the machine show
// up in them. Documents are built and loaded outside the timed part. Counters:
// release_ms is the key-release handler alone, paint_ms the events after it, max_ms the
// slowest iteration; keys_ms is the untimed editing before the release (End, Shift+Left, the
// digit, the Down press, with their repaints), which the editor does on its own.
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/calc_main.h"
#include "app/message_box.h"
#include "config/conf.h"
#include "generated_documents.h"
#include "platform/key_layout.h"
#include "tape/document_text.h"
#include "tape/tape_buffer.h"
#include "tape/tape_engine.h"
#include "tape/tape_host.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// ---------------------------------------------------------------------------
// The window and the files, shared by every benchmark.
// ---------------------------------------------------------------------------
QString g_work_dir;                          // private home; tape files go here too
std::unique_ptr<numvex::TfrmCalc> g_window;  // goes before the QApplication

numvex::TfrmCalc& Window() {
  if (!g_window) {
    // A program folder without introduction documents: the first document is empty.
    g_window =
        std::make_unique<numvex::TfrmCalc>(true, QStringList(), g_work_dir + "/program/numvex");
    g_window->SetKeyLayout(numvex::UsLayout());
    g_window->show();
    QApplication::setActiveWindow(g_window.get());
    g_window->Editor()->setFocus();
    QApplication::processEvents();
  }
  return *g_window;
}

// ---------------------------------------------------------------------------
// Generated tapes. A small deterministic generator keeps every run identical.
// ---------------------------------------------------------------------------
using numvex::bench::Lcg;
using numvex::bench::PlainEntry;
constexpr uint64_t kSeed = 0x9E3779B97F4A7C15ULL;

// One run of `lines` lines: entries, a separator and (after the recalculation) the result.
std::vector<std::string> LongRunTyped(int lines) {
  Lcg rng(kSeed);
  std::vector<std::string> tape;
  for (int i = 0; i < lines - 2; ++i) tape.push_back(PlainEntry(rng, i == 0));
  tape.emplace_back("---");  // the result is appended under it
  return tape;
}

// Blocks of 8 lines: 5 entries, separator, result, empty line.
constexpr int kBlockLines = 8;
std::vector<std::string> ShortBlocksTyped(int lines) {
  Lcg rng(kSeed);
  std::vector<std::string> tape;
  tape.reserve(static_cast<size_t>(lines));
  for (int block = 0; block < lines / kBlockLines; ++block) {
    for (int i = 0; i < 5; ++i) tape.push_back(PlainEntry(rng, i == 0));
    tape.emplace_back("---");
    tape.emplace_back("");  // takes the result
    tape.emplace_back("");
  }
  return tape;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes.append(line).push_back('\n');
  return bytes;
}

// The bytes the program saves for a typed tape: recalculated by the tape engine.
std::string CanonicalBytes(const std::vector<std::string>& typed) {
  numvex::MemoryTapeBuffer buffer(typed);
  numvex::QuietTapeHost host;
  numvex::TapeEngine engine(buffer, host);
  engine.SetSettings(Window().Engine().Settings());
  engine.RecalcAll();
  return numvex::JoinDocument(buffer, numvex::LineBreak::LF);
}

QString WriteTape(const std::string& name, const std::string& bytes) {
  const QString path = g_work_dir + "/" + QString::fromStdString(name) + ".nvx";
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size())) {
    return QString();
  }
  return path;
}

enum Shape { kLongRun, kShortBlocks, kMixedTyped, kMixedCanonical };

// Tape files, written once per shape and size.
struct TapeFile {
  QString path;
  std::string bytes;
};
const TapeFile& TapeFileOf(Shape shape, int lines) {
  static std::map<std::pair<Shape, int>, TapeFile> files;
  auto found = files.find({shape, lines});
  if (found != files.end()) return found->second;
  TapeFile file;
  const std::string size = std::to_string(lines);
  switch (shape) {
    case kLongRun:
      file.bytes = CanonicalBytes(LongRunTyped(lines));
      file.path = WriteTape("long-run-" + size, file.bytes);
      break;
    case kShortBlocks:
      file.bytes = CanonicalBytes(ShortBlocksTyped(lines));
      file.path = WriteTape("short-blocks-" + size, file.bytes);
      break;
    case kMixedTyped:
      file.bytes = Join(numvex::bench::MixedTyped(kSeed, lines));
      file.path = WriteTape("mixed-typed-" + size, file.bytes);
      break;
    case kMixedCanonical:
      file.bytes = CanonicalBytes(numvex::bench::MixedTyped(kSeed, lines));
      file.path = WriteTape("mixed-canonical-" + size, file.bytes);
      break;
  }
  return files.emplace(std::make_pair(shape, lines), std::move(file)).first->second;
}

void UseProgramStartSettings() {
  numvex::Conf.Decimals = 2;
  numvex::Conf.RoundResults = false;
  Window().ApplyTapeSettings();
}

// Drops the current document, so that the next one is not timed freeing it.
void StartEmpty() {
  Window().NewCalcFile();
  QApplication::processEvents();
}

// ---------------------------------------------------------------------------
// Corrections.
// ---------------------------------------------------------------------------

// The key of a digit other than `digit`. Never 7: the main keyboard's 7 counts as an
// operator key.
Qt::Key OtherDigit(char digit) {
  static const char kDigits[] = "12345689";
  const char* at = std::find(kDigits, kDigits + 8, digit);
  const char next = at == kDigits + 8 ? '1' : kDigits[(at - kDigits + 1) % 8];
  return static_cast<Qt::Key>(Qt::Key_0 + (next - '0'));
}

// Opens `file`, then per iteration: End, Shift+Left and another digit over the last digit
// of amount line `target`, Down pressed, and the Down release timed together with the
// events it leaves. The result in `result_line` must change every time.
void Correction(benchmark::State& state, const TapeFile& file, int target, int result_line) {
  numvex::TfrmCalc& window = Window();
  QsciScintilla* editor = window.Editor();
  numvex::TapeBuffer& buffer = window.Engine().Buffer();
  StartEmpty();
  window.OpenDocument(file.path);
  QApplication::processEvents();
  if (numvex::JoinDocument(buffer, numvex::LineBreak::LF) != file.bytes) {
    state.SkipWithError("the window changed a canonical tape while loading it");
    return;
  }
  if (!window.CalcMode()) {
    state.SkipWithError("not in calc mode");
    return;
  }
  // Once: bring the target line into view (styles everything above it).
  window.Engine().SetCaret(target, 0);
  QApplication::processEvents();

  double release_ms = 0;
  double paint_ms = 0;
  double max_ms = 0;
  double keys_ms = 0;
  for (auto _ : state) {
    const std::string result_before(buffer.Line(result_line));
    const Clock::time_point keys = Clock::now();
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(editor, OtherDigit(buffer.Line(target).back()));
    QTest::keyPress(editor, Qt::Key_Down);
    QApplication::processEvents();
    keys_ms += MsSince(keys);

    const Clock::time_point start = Clock::now();
    QTest::keyRelease(editor, Qt::Key_Down);
    const double handler = MsSince(start);
    QApplication::processEvents();
    const double total = MsSince(start);

    state.SetIterationTime(total / 1000.0);
    release_ms += handler;
    paint_ms += total - handler;
    max_ms = std::max(max_ms, total);
    if (std::string(buffer.Line(result_line)) == result_before ||
        window.Engine().GetCaret().line != target + 1 || buffer.Modified()) {
      state.SkipWithError("the run was not recomputed");
      break;
    }
    QTest::keyClick(editor, Qt::Key_Up);  // back to the target line; nothing to recompute
    QApplication::processEvents();
  }
  const double n = static_cast<double>(state.iterations());
  if (n > 0) {
    state.counters["release_ms"] = release_ms / n;
    state.counters["paint_ms"] = paint_ms / n;
    state.counters["max_ms"] = max_ms;
    state.counters["keys_ms"] = keys_ms / n;
  }
  state.counters["doc_lines"] = buffer.LineCount();
  StartEmpty();
}

void BM_CorrectionInLongRun(benchmark::State& state) {
  UseProgramStartSettings();
  const int lines = static_cast<int>(state.range(0));
  Correction(state, TapeFileOf(kLongRun, lines), lines / 2, lines);
}
BENCHMARK(BM_CorrectionInLongRun)
    ->Arg(10000)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_CorrectionInShortRun(benchmark::State& state) {
  UseProgramStartSettings();
  const int lines = static_cast<int>(state.range(0));
  const int first = (lines / kBlockLines / 2) * kBlockLines + 1;  // a block in the middle
  Correction(state, TapeFileOf(kShortBlocks, lines), first + 2, first + 6);
}
BENCHMARK(BM_CorrectionInShortRun)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// Opening.
// ---------------------------------------------------------------------------
void Open(benchmark::State& state, Shape shape) {
  UseProgramStartSettings();
  const int lines = static_cast<int>(state.range(0));
  const TapeFile& file = TapeFileOf(shape, lines);
  numvex::TfrmCalc& window = Window();
  double max_ms = 0;
  for (auto _ : state) {
    StartEmpty();
    const Clock::time_point start = Clock::now();
    window.OpenDocument(file.path);
    QApplication::processEvents();
    const double total = MsSince(start);
    state.SetIterationTime(total / 1000.0);
    max_ms = std::max(max_ms, total);
  }
  state.counters["max_ms"] = max_ms;
  state.counters["doc_lines"] = window.Engine().Buffer().LineCount();
  if (window.FileName() != file.path || !window.CalcMode()) {
    state.SkipWithError("the tape was not opened in calc mode");
  }
  StartEmpty();
}

void BM_OpenTypedTape(benchmark::State& state) { Open(state, kMixedTyped); }
void BM_OpenCanonicalTape(benchmark::State& state) { Open(state, kMixedCanonical); }
BENCHMARK(BM_OpenTypedTape)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCanonicalTape)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// A large text file: open, one edit, save.
// ---------------------------------------------------------------------------
void BM_OpenEditSaveLargeText(benchmark::State& state) {
  const size_t megabytes = static_cast<size_t>(state.range(0));
  std::string bytes;
  bytes.reserve(megabytes << 20);
  for (int n = 0; bytes.size() < (megabytes << 20); ++n) {
    bytes += "static int value_" + std::to_string(n) + " = compute(" + std::to_string(n * 7) +
             ", \"a string of text\");  /* comment */\n";
  }
  const QString path = g_work_dir + "/large.c";
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
      state.SkipWithError("cannot write the test file");
      return;
    }
  }
  numvex::TfrmCalc& window = Window();
  double open_ms = 0, save_ms = 0;
  for (auto _ : state) {
    StartEmpty();
    Clock::time_point start = Clock::now();
    window.OpenDocument(path);
    QApplication::processEvents();
    open_ms = MsSince(start);
    window.Editor()->setCursorPosition(0, 0);
    QTest::keyClick(window.Editor(), Qt::Key_X);
    QApplication::processEvents();
    start = Clock::now();
    const bool saved = window.SaveFile();
    save_ms = MsSince(start);
    state.SetIterationTime((open_ms + save_ms) / 1000.0);
    QFile file(path);
    if (!saved || !file.open(QIODevice::ReadOnly) || file.size() != qint64(bytes.size()) + 1) {
      state.SkipWithError("the file was not saved with the one edit");
      return;
    }
    bytes.insert(0, 1, 'x');
  }
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  state.counters["open_ms"] = open_ms;
  state.counters["save_ms"] = save_ms;
  state.counters["file_mb"] = static_cast<double>(bytes.size()) / (1 << 20);
  state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
  StartEmpty();
}
BENCHMARK(BM_OpenEditSaveLargeText)
    ->Arg(100)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A private home, settings and runtime folder: nothing of the user's is read or written.
bool PrepareEnvironment() {
  char home_template[] = "/tmp/numvex-window-bench-XXXXXX";
  const char* home = mkdtemp(home_template);
  if (home == nullptr) return false;
  const std::string base(home);
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", home, 1);
  setenv("NUMVEX_REGISTRY", (base + "/hkcu.reg").c_str(), 1);
  setenv("LC_ALL", "C", 1);  // "." and "," as separators
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  g_work_dir = QString::fromLocal8Bit(home);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!PrepareEnvironment()) return 1;
  numvex::ResetConfToProgramStart();
  numvex::InitTapeArithmetic();
  // Every message box answers "No": nothing in these tapes should raise one.
  numvex::SetMessageHandler([](const numvex::MessageRequest&) { return numvex::mrNo; });
  {
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
  }
  QDir(g_work_dir).removeRecursively();
  return 0;
}
