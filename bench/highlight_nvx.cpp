// Throughput of the tape highlighter, driven the way the editor drives it, over 10 MB of tape
// and 10 MB of C-like text (a source file opened with the tape syntax chosen).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "highlight/syn_nvx.h"

namespace numvex {
namespace {

constexpr size_t kTextBytes = 10u << 20;

// All lines in one buffer, each ended by a byte 0, as an editor's line store would hand them.
struct Document {
  std::string bytes;
  std::vector<size_t> starts;
  size_t text_bytes = 0;  // without the terminators

  void Add(const std::string& line) {
    starts.push_back(bytes.size());
    bytes += line;
    bytes += '\0';
    text_bytes += line.size() + 1;  // count the line break the editor would strip
  }
};

std::string Amount(std::mt19937& rng) {
  std::uniform_int_distribution<int> cents(1, 99999999);
  long long value = cents(rng) % (rng() % 3 == 0 ? 100000000 : 1000000);
  std::string whole = std::to_string(value / 100);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(i, ",");
  const int cents_part = static_cast<int>(value % 100);
  const char frac[] = {'.', static_cast<char>('0' + cents_part / 10),
                       static_cast<char>('0' + cents_part % 10), '\0'};
  // The integer part right-aligned in twelve columns, the decimal point in column 20.
  return std::string(whole.size() < 12 ? 12 - whole.size() : 0, ' ') + whole + frac;
}

Document TapeText() {
  static const char* const kComments[] = {"rent",     "groceries", "fuel",    "insurance",
                                          "vat 19 %", "Gehalt",    "Zinsen",  "Miete M\xE4rz",
                                          "phone",    "repairs",   "interest"};
  static const char kOps[] = {'+', '+', '+', '-', '*', '/'};
  std::mt19937 rng(2024);
  const std::string mark = "\xA0";
  Document doc;
  while (doc.text_bytes < kTextBytes) {
    const int entries = 2 + static_cast<int>(rng() % 6);
    for (int i = 0; i < entries; ++i) {
      std::string line = "      ";
      line += kOps[rng() % sizeof kOps];
      line += Amount(rng);
      if (rng() % 2 == 0) line += std::string("  ") + kComments[rng() % 11];
      doc.Add(line);
    }
    doc.Add("      ----------------");
    doc.Add("      +" + Amount(rng) + "  total");
    switch (rng() % 6) {
      case 0:
        doc.Add("# " + std::string(kComments[rng() % 11]) + " for the quarter, see below");
        break;
      case 1:
        doc.Add("Receipts: [notepad.exe receipts-2024.txt]  and [page 2]");
        break;
      case 2:
        doc.Add("Checked " + mark + "twice" + mark + " by the accountant");
        break;
      case 3:  // a stretch marked over three lines
        doc.Add(mark + "open questions:");
        doc.Add("  the fuel bill = 5 * 12.40, [ask] later");
        doc.Add("  done" + mark + " next");
        break;
      default:
        doc.Add("");
        break;
    }
  }
  return doc;
}

Document CLikeText() {
  static const char* const kLines[] = {
      "#include <stdio.h>",
      "",
      "/* Sums the prices of one order; see [docs/orders.md] for the rules. */",
      "static double order_total(const double *price, int count, double vat) {",
      "  double total = 0.0;",
      "  for (int i = 0; i < count; ++i) {",
      "    total += price[i] * (1.0 + vat / 100.0);  // vat in percent",
      "    if (total > 1e9) return -1;",
      "  }",
      "  printf(\"%d items: %.2f\\n\", count, total);",
      "  return round(total * 100) / 100;",
      "}",
      "\tint matrix[16][16] = {{0x1F, 255, -3}, {42}};",
      "#define MAX_ITEMS 1024"};
  Document doc;
  size_t i = 0;
  while (doc.text_bytes < kTextBytes) doc.Add(kLines[i++ % (sizeof kLines / sizeof *kLines)]);
  return doc;
}

// Real C++: this program's own sources, repeated to the same size. The generated text above
// packs more tokens per byte than real code does.
Document ProjectSources() {
  std::filesystem::path root = std::filesystem::path(__FILE__).parent_path().parent_path() / "src";
  std::string all;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  Document doc;
  if (all.empty()) return doc;
  while (doc.text_bytes < kTextBytes) {
    size_t start = 0;
    while (start < all.size() && doc.text_bytes < kTextBytes) {
      size_t end = all.find('\n', start);
      if (end == std::string::npos) end = all.size();
      doc.Add(all.substr(start, end - start));
      start = end + 1;
    }
  }
  return doc;
}

// The editor's loop per line: restore the state, start the line, read the tokens, store the
// end state.
void ScanDocument(benchmark::State& state, const Document& doc) {
  std::unique_ptr<TSynCustomHighlighter> highlighter = MakeMainWindowNvx();
  TSynCustomHighlighter& hl = *highlighter;
  std::uint64_t tokens = 0;
  for (auto _ : state) {
    std::uint64_t sum = 0;
    hl.ResetScanState();
    TScanState range = hl.ScanState();
    for (size_t start : doc.starts) {
      hl.SetScanState(range);
      hl.StartLine(doc.bytes.data() + start, 1);
      while (!hl.AtLineEnd()) {
        sum += static_cast<std::uint64_t>(hl.TokenStart() + hl.TokenKind());
        ++tokens;
        hl.NextToken();
      }
      range = hl.ScanState();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.text_bytes));
  state.counters["tokens/s"] =
      benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}

void BM_NvxTape(benchmark::State& state) {
  static const Document doc = TapeText();
  ScanDocument(state, doc);
}
BENCHMARK(BM_NvxTape)->Unit(benchmark::kMillisecond);

void BM_NvxCLike(benchmark::State& state) {
  static const Document doc = CLikeText();
  ScanDocument(state, doc);
}
BENCHMARK(BM_NvxCLike)->Unit(benchmark::kMillisecond);

void BM_NvxProjectSources(benchmark::State& state) {
  static const Document doc = ProjectSources();
  if (doc.text_bytes == 0) {
    state.SkipWithError("the program's sources were not found beside the benchmark");
    return;
  }
  ScanDocument(state, doc);
}
BENCHMARK(BM_NvxProjectSources)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace numvex

BENCHMARK_MAIN();
