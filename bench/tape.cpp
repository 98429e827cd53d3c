// Tape engine benchmarks: reading and writing single lines, and whole-tape
// recalculation on generated tapes of 10 k, 100 k and 1 M lines.
//
// Every benchmark times only the work itself (manual timing): tapes are rebuilt
// outside the timed part, so each iteration starts from the same text. The timed
// part is measured in the thread's CPU time, so that other jobs on a shared build
// machine do not inflate it. The counter ns_per_line is the timed nanoseconds
// divided by the lines processed (lines per second = 1e9 / ns_per_line); for the
// whole tapes it counts the lines of the tape as generated.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/lcg.h"
#include "tape/tape_buffer.h"
#include "tape/tape_engine.h"
#include "tape/tape_host.h"
#include "tape/tape_line.h"

namespace {

using numvex::Amount;
using numvex::MemoryTapeBuffer;
using numvex::TapeEngine;

class QuietHost : public numvex::TapeHost {
 public:
  void DivisionByZero(int /*line*/) override { ++divisions; }
  long divisions = 0;
};

constexpr numvex::Separators kSeps{'.', ','};

// With --benchmark_repetitions, the "min" row is the best repetition: on a shared
// machine it is the figure least disturbed by other jobs.
double Fastest(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// Accumulates the timed part of every iteration and reports it per line.
class LineTimer {
 public:
  explicit LineTimer(benchmark::State& state) : state_(state) {}
  void Start() { start_ = ThreadSeconds(); }
  void Stop(int64_t lines) {
    double seconds = ThreadSeconds() - start_;
    state_.SetIterationTime(seconds);
    total_seconds_ += seconds;
    total_lines_ += lines;
  }
  ~LineTimer() {
    if (total_lines_ > 0) {
      state_.counters["ns_per_line"] = total_seconds_ * 1e9 / static_cast<double>(total_lines_);
    }
  }

 private:
  static double ThreadSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
  }

  benchmark::State& state_;
  double start_ = 0;
  double total_seconds_ = 0;
  int64_t total_lines_ = 0;
};

// ---------------------------------------------------------------------------
// Generated text. A small deterministic generator keeps every run identical.
// ---------------------------------------------------------------------------
using numvex::testing::Lcg;
constexpr uint64_t kSeed = 0x2545F4914F6CDD1DULL;

const char* const kComments[] = {"rent", "coffee beans", "tax", "Invoice 4711", "travel"};
const char* const kTexts[] = {"Groceries, week 12", "Office supplies", "Carried over from March",
                              "Car: fuel and parking"};

std::string TypedAmount(Lcg& rng) {
  // Typical typed amounts: whole, two decimals, thousands, small fractions.
  switch (rng.Below(4)) {
    case 0:
      return std::to_string(1 + rng.Below(500));
    case 1:
      return std::to_string(rng.Below(1000)) + "." + std::to_string(10 + rng.Below(90));
    case 2:
      return std::to_string(1 + rng.Below(99)) + "," + std::to_string(100 + rng.Below(900)) + ".5";
    default:
      return "." + std::to_string(1 + rng.Below(9));
  }
}

// One typed entry line: operator, amount, sometimes "%" and a comment.
std::string TypedEntry(Lcg& rng, bool first) {
  static const char kOps[] = {'+', '+', '+', '-', '-', '*', '/'};
  std::string line;
  if (!first) {
    char op = kOps[rng.Below(sizeof(kOps))];
    line += op;
    if (rng.Below(2) == 0) line += ' ';
  }
  if (!first && (line[0] == '*' || line[0] == '/')) {
    line += std::to_string(2 + rng.Below(4));  // keep terms small and never divide by 0
  } else {
    line += TypedAmount(rng);
  }
  if (!first && rng.Below(8) == 0) line += '%';
  if (rng.Below(4) == 0) {
    line += ' ';
    line += kComments[rng.Below(5)];
  }
  return line;
}

// (a) Mixed blocks as a user types them: a heading, entries with every operator,
// "%" and comments, a separator, and under it sometimes nothing (the result is
// inserted), an empty line, a stale result or a typed amount with a comment (both
// overwritten), then an empty line.
std::vector<std::string> MixedTypedTape(int lines) {
  Lcg rng(kSeed);
  std::vector<std::string> tape;
  tape.reserve(static_cast<size_t>(lines) + 16);
  while (static_cast<int>(tape.size()) < lines) {
    if (rng.Below(2) == 0) tape.emplace_back(kTexts[rng.Below(4)]);
    int entries = 2 + static_cast<int>(rng.Below(7));
    for (int i = 0; i < entries; ++i) tape.push_back(TypedEntry(rng, i == 0));
    tape.emplace_back(rng.Below(2) == 0 ? "===" : "---");
    switch (rng.Below(4)) {
      case 0:
        break;  // the next line is text or empty: the result is inserted or written there
      case 1:
        tape.emplace_back("");
        break;
      case 2:
        tape.emplace_back("      +          99.00");
        break;
      default:
        tape.emplace_back("42 subtotal");
        break;
    }
    tape.emplace_back(rng.Below(3) == 0 ? kTexts[rng.Below(4)] : "");
  }
  tape.resize(static_cast<size_t>(lines));
  return tape;
}

// (b) One long run with no separator: every line an entry of the same block.
std::vector<std::string> LongRunTypedTape(int lines) {
  Lcg rng(kSeed);
  std::vector<std::string> tape;
  tape.reserve(static_cast<size_t>(lines));
  for (int i = 0; i < lines; ++i) tape.push_back(TypedEntry(rng, i == 0));
  return tape;
}

// The text numvex-tape would save for a typed tape: already recalculated.
std::vector<std::string> Canonical(std::vector<std::string> typed) {
  MemoryTapeBuffer buffer(std::move(typed));
  QuietHost host;
  TapeEngine engine(buffer, host);
  engine.SetSettings({2, false, kSeps});
  engine.RecalcAll();
  return buffer.Lines();
}

enum Shape { kMixedTyped, kMixedCanonical, kLongRunTyped, kLongRunCanonical };

// Tapes are built once per shape and size and shared by all runs.
const std::vector<std::string>& TapeOf(Shape shape, int lines) {
  static std::map<std::pair<Shape, int>, std::vector<std::string>> cache;
  auto found = cache.find({shape, lines});
  if (found != cache.end()) return found->second;
  std::vector<std::string> tape;
  switch (shape) {
    case kMixedTyped:
      tape = MixedTypedTape(lines);
      break;
    case kMixedCanonical:
      tape = Canonical(MixedTypedTape(lines));
      break;
    case kLongRunTyped:
      tape = LongRunTypedTape(lines);
      break;
    case kLongRunCanonical:
      tape = Canonical(LongRunTypedTape(lines));
      break;
  }
  return cache.emplace(std::make_pair(shape, lines), std::move(tape)).first->second;
}

// ---------------------------------------------------------------------------
// Single lines.
// ---------------------------------------------------------------------------
constexpr int kLineBatch = 1000;

// ReformatEntryLine over typical entry lines, typed (each is rewritten) or already
// canonical (read, formatted, compared, not written).
void BM_ReformatEntryLine(benchmark::State& state) {
  bool canonical = state.range(0) != 0;
  std::vector<std::string> lines = LongRunTypedTape(kLineBatch);
  if (canonical) lines = Canonical(lines);
  MemoryTapeBuffer buffer;
  QuietHost host;
  TapeEngine engine(buffer, host);
  engine.SetSettings({2, false, kSeps});
  LineTimer timer(state);
  Amount sum = 0;
  for (auto _ : state) {
    buffer = MemoryTapeBuffer(lines);
    timer.Start();
    for (int line = 1; line <= kLineBatch; ++line) sum += engine.ReformatEntryLine(line).amount;
    timer.Stop(kLineBatch);
  }
  benchmark::DoNotOptimize(sum);
  state.SetLabel(canonical ? "canonical lines" : "typed lines");
}
BENCHMARK(BM_ReformatEntryLine)->Arg(0)->Arg(1)->UseManualTime()->ComputeStatistics("min", Fastest);

// FormatTapeLine for entries (not rounded) and results (rounded) of typical amounts.
void BM_FormatTapeLine(benchmark::State& state) {
  bool rounded = state.range(0) != 0;
  struct Item {
    char op;
    bool percent;
    Amount amount;
    const char* comment;
  };
  std::vector<Item> items;
  Lcg rng(kSeed);
  static const char kOps[] = {'+', '-', '*', '/', 0};
  for (int i = 0; i < kLineBatch; ++i) {
    Amount amount = static_cast<Amount>(rng.Below(10000000)) / 100;
    if (rng.Below(5) == 0) amount = static_cast<Amount>(rng.Below(1000)) / 7;  // long fraction
    if (rng.Below(10) == 0) amount = -amount;
    const char* comment = rng.Below(4) == 0 ? kComments[rng.Below(5)] : "";
    items.push_back(
        {rounded ? '\0' : kOps[rng.Below(5)], !rounded && rng.Below(8) == 0, amount, comment});
  }
  std::string out;
  out.reserve(64);
  LineTimer timer(state);
  size_t bytes = 0;
  for (auto _ : state) {
    timer.Start();
    for (const Item& item : items) {
      numvex::FormatTapeLine(item.op, item.percent, item.amount, item.comment, rounded, 2, kSeps,
                             &out);
      bytes += out.size();
    }
    timer.Stop(kLineBatch);
  }
  benchmark::DoNotOptimize(bytes);
  state.SetLabel(rounded ? "results, rounded" : "entries, not rounded");
}
BENCHMARK(BM_FormatTapeLine)->Arg(0)->Arg(1)->UseManualTime()->ComputeStatistics("min", Fastest);

// ---------------------------------------------------------------------------
// Whole tapes.
// ---------------------------------------------------------------------------
void RecalcAllOn(benchmark::State& state, Shape shape) {
  int lines = static_cast<int>(state.range(0));
  const std::vector<std::string>& tape = TapeOf(shape, lines);
  QuietHost host;
  LineTimer timer(state);
  int lines_after = 0;
  for (auto _ : state) {
    MemoryTapeBuffer buffer(tape);  // a fresh copy, outside the timed part
    TapeEngine engine(buffer, host);
    engine.SetSettings({2, false, kSeps});
    timer.Start();
    engine.RecalcAll();
    timer.Stop(lines);
    lines_after = buffer.LineCount();
  }
  state.counters["lines_after"] = lines_after;
}

void BM_RecalcAll_MixedTyped(benchmark::State& state) { RecalcAllOn(state, kMixedTyped); }
void BM_RecalcAll_MixedCanonical(benchmark::State& state) { RecalcAllOn(state, kMixedCanonical); }
void BM_RecalcAll_LongRunTyped(benchmark::State& state) { RecalcAllOn(state, kLongRunTyped); }
void BM_RecalcAll_LongRunCanonical(benchmark::State& state) {
  RecalcAllOn(state, kLongRunCanonical);
}

#define TAPE_SIZES(b)                     \
  BENCHMARK(b)                            \
      ->Arg(10000)                        \
      ->Arg(100000)                       \
      ->Arg(1000000)                      \
      ->UseManualTime()                   \
      ->ComputeStatistics("min", Fastest) \
      ->Unit(benchmark::kMillisecond)
TAPE_SIZES(BM_RecalcAll_MixedTyped);
TAPE_SIZES(BM_RecalcAll_MixedCanonical);
TAPE_SIZES(BM_RecalcAll_LongRunTyped);
TAPE_SIZES(BM_RecalcAll_LongRunCanonical);

}  // namespace

int main(int argc, char** argv) {
  numvex::InitTapeArithmetic();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
