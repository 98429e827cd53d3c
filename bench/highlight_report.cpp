// Throughput of the report-syntax highlighter, driven the way the editor drives it: per line
// `SetScanState`, `StartLine`, then `TokenStart`/`TokenKind`/`NextToken` until `AtLineEnd`.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "highlight/syn_zel_rep.h"

namespace {

using numvex::TScanState;
using numvex::TzelRepSyn;

constexpr size_t kTextBytes = 10u << 20;

// All lines in one buffer, each ended by a byte 0, so the scanner reads them in place.
struct Text {
  std::string bytes;
  std::vector<size_t> starts;
  size_t payload = 0;  // bytes of line content, without the terminators
  void Add(const std::string& line) {
    starts.push_back(bytes.size());
    bytes += line;
    bytes += '\0';
    payload += line.size();
  }
};

std::string Identifier(std::mt19937& rng) {
  static const char* const kWords[] = {"total", "amount", "x",  "rate_2", "Customer", "i",
                                       "print", "sum",    "y1", "net",    "VAT",      "count"};
  return kWords[rng() % (sizeof(kWords) / sizeof(kWords[0]))];
}

std::string Number(std::mt19937& rng) {
  switch (rng() % 3) {
    case 0:
      return std::to_string(rng() % 1000);
    case 1:
      return std::to_string(rng() % 100000) + "." + std::to_string(rng() % 100);
    default:
      return std::to_string(1 + rng() % 999) + "," + std::to_string(100 + rng() % 900) + "." +
             std::to_string(10 + rng() % 90);
  }
}

const Text& CLikeText() {
  static const Text text = [] {
    Text t;
    std::mt19937 rng(7);
    while (t.payload < kTextBytes) {
      const unsigned pick = rng() % 10;
      std::string line(2 * (rng() % 4), ' ');
      if (pick == 0) {
        line = "#define " + Identifier(rng) + " = " + Number(rng);
      } else if (pick == 1) {
        line += "/* " + Identifier(rng) + " " + Identifier(rng) + " and more words */";
      } else if (pick == 2) {
        t.Add(line + "/* a comment that runs");
        t.Add("   over several lines, " + Number(rng) + " (with parentheses)");
        line = "   and ends here */ " + Identifier(rng) + ";";
      } else if (pick == 3) {
        line += "printf(\"" + Identifier(rng) + " = %d\\n\", " + Identifier(rng) + ");";
      } else {
        line += Identifier(rng) + " = " + Identifier(rng) + "(" + Number(rng) + ", " +
                Identifier(rng) + ") * (" + Number(rng) + " - -" + Number(rng) + ");";
        if (pick == 9) line += "\t// note";
      }
      t.Add(line);
    }
    return t;
  }();
  return text;
}

std::string RightAligned(const std::string& s, size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

const Text& TapeText() {
  static const Text text = [] {
    Text t;
    std::mt19937 rng(11);
    while (t.payload < kTextBytes) {
      const int entries = 2 + static_cast<int>(rng() % 6);
      for (int i = 0; i < entries; ++i) {
        static const char kOps[] = {'+', '-', '*', '/', '\xF7'};
        std::string line = "      ";
        line += i == 0 ? ' ' : kOps[rng() % 5];
        line += RightAligned(Number(rng), 20);
        if (rng() % 4 == 0) line += "   # " + Identifier(rng) + " " + Identifier(rng);
        t.Add(line);
      }
      t.Add("       " + std::string(20, '='));
      t.Add("      =" + RightAligned(Number(rng), 20));
      t.Add("");
      if (rng() % 5 == 0) t.Add("Groceries week " + std::to_string(rng() % 52) + ":");
    }
    return t;
  }();
  return text;
}

// `Scanner` is the concrete class (calls the compiler can resolve, as for a caller holding a
// TzelRepSyn) or the base class (every call virtual, as from the editor adapter).
template <typename Scanner>
void ScanText(benchmark::State& state, const Text& text) {
  TzelRepSyn concrete;
  Scanner& syn = concrete;
  const char* base = text.bytes.data();
  std::uint64_t tokens = 0;
  for (auto _ : state) {
    syn.ResetScanState();
    TScanState range = syn.ScanState();
    std::uint64_t sum = 0;
    int line_number = 1;
    for (size_t start : text.starts) {
      syn.SetScanState(range);
      syn.StartLine(base + start, line_number++);
      while (!syn.AtLineEnd()) {
        sum += static_cast<std::uint64_t>(syn.TokenStart()) + syn.TokenKind();
        ++tokens;
        syn.NextToken();
      }
      range = syn.ScanState();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(range);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.payload));
  // Short tokens cost more per byte; the figure puts the two texts side by side.
  state.counters["bytes_per_token"] = static_cast<double>(text.payload) *
                                      static_cast<double>(state.iterations()) /
                                      static_cast<double>(tokens);
}

void BM_ReportSyntaxCLike(benchmark::State& state) { ScanText<TzelRepSyn>(state, CLikeText()); }
void BM_ReportSyntaxTape(benchmark::State& state) { ScanText<TzelRepSyn>(state, TapeText()); }
void BM_ReportSyntaxCLikeVirtual(benchmark::State& state) {
  ScanText<numvex::TSynCustomHighlighter>(state, CLikeText());
}
void BM_ReportSyntaxTapeVirtual(benchmark::State& state) {
  ScanText<numvex::TSynCustomHighlighter>(state, TapeText());
}

BENCHMARK(BM_ReportSyntaxCLike)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportSyntaxTape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportSyntaxCLikeVirtual)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportSyntaxTapeVirtual)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
