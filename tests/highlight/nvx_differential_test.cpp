// The tape highlighter's scanner against the plain statement of its rules (nvx_reference_scan.h):
// the same tokens, kinds and end ranges on this program's own sources, on tape text and on
// generated lines whose runs of letters and blanks end anywhere in and around 16-byte blocks.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/random_text.h"
#include "highlight/syn_nvx.h"
#include "nvx_reference_scan.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::Escaped;
using testing::NvxReferenceOptions;
using testing::NvxReferenceScanner;
using testing::NvxReferenceToken;
using testing::RandomText;

struct Configuration {
  const char* name;
  NvxReferenceOptions options;
};

std::vector<Configuration> Configurations() {
  NvxReferenceOptions main_window;
  main_window.highlight_vars_and_functions = false;
  NvxReferenceOptions with_lists;
  with_lists.local_variables = {"i", "line", "run", "b1", "zz", "total"};
  with_lists.global_variables = {"i", "sqrt", "kind", "\xC0", "Nvx"};
  return {{"Default", NvxReferenceOptions{}},
          {"MainWindow", main_window},
          {"WithVariableLists", with_lists}};
}

std::unique_ptr<TSynhighNvx> MakeNvx(const NvxReferenceOptions& options) {
  auto nvx = std::make_unique<TSynhighNvx>();
  nvx->SetHighlightVarsAndFunctions(options.highlight_vars_and_functions);
  nvx->LocalVariables() = options.local_variables;
  nvx->GlobalVariables() = options.global_variables;
  return nvx;
}

// Compares one line from one starting range; returns false after reporting a difference.
bool SameScan(TSynCustomHighlighter& hl, NvxReferenceScanner& reference, const std::string& line,
              TScanState state, TScanState* end_state, const char* config) {
  TScanState expected_end = 0;
  const std::vector<NvxReferenceToken> expected = reference.Scan(line, state, &expected_end);
  std::vector<NvxReferenceToken> actual;
  hl.SetScanState(state);
  hl.StartLine(line.c_str(), 1);
  while (!hl.AtLineEnd() && actual.size() <= line.size()) {
    actual.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenKind()});
    hl.NextToken();
  }
  *end_state = hl.ScanState();
  if (actual == expected && *end_state == expected_end) return true;
  auto text = [](const std::vector<NvxReferenceToken>& tokens) {
    std::string out;
    for (const auto& t : tokens)
      out += " " + std::to_string(t.start) + ":" + std::to_string(t.length) + ":" +
             std::to_string(t.kind);
    return out;
  };
  ADD_FAILURE() << config << ": \"" << Escaped(line) << "\" from " << state << ": expected"
                << text(expected) << ", end " << expected_end << "; scanned" << text(actual)
                << ", end " << *end_state;
  return false;
}

// Scans the lines as the editor does, carrying the range from line to line, and stops at the
// first difference. Returns the number of lines compared.
int CompareDocument(const std::vector<std::string>& lines) {
  int compared = 0;
  for (const Configuration& config : Configurations()) {
    auto nvx = MakeNvx(config.options);
    NvxReferenceScanner reference(config.options);
    TScanState state = TSynhighNvx::kRangeNormal;
    for (const std::string& line : lines) {
      if (!SameScan(*nvx, reference, line, state, &state, config.name)) return compared;
      ++compared;
    }
  }
  return compared;
}

TEST(NvxDifferentialTest, ProgramSources) {
  const auto root = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  std::vector<std::string> lines;
  for (const char* dir : {"src", "tests", "bench"}) {
    if (!std::filesystem::is_directory(root / dir)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / dir)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
  }
  ASSERT_GT(lines.size(), 5000u) << "the program's sources were not found beside the tests";
  EXPECT_EQ(CompareDocument(lines), static_cast<int>(3 * lines.size()));
}

TEST(NvxDifferentialTest, TapeText) {
  static const char* const kNotes[] = {"rent", "vat 19 %", "Miete M\xE4rz", "x=5",   "sqrt(2)",
                                       "a\t5", "(5)",      "[page 2]",      "# done"};
  static const char* const kOps[] = {"+", "-", "*", "/", "=", "-", "--", " -"};
  RandomText random(77);
  std::vector<std::string> lines;
  for (int n = 0; n < 20000; ++n) {
    std::string line(random.Below(12), ' ');
    line += kOps[random.Below(8)];
    line += random.Run(random.OneIn(4) ? "\t" : " ", 7);
    line += std::to_string(random.Below(100000)) + (random.OneIn(2) ? ",5" : ".25");
    if (random.OneIn(3)) line += "  " + std::string(kNotes[random.Below(9)]);
    if (random.OneIn(9)) line.insert(random.Below(static_cast<unsigned>(line.size()) + 1), "\xA0");
    if (random.OneIn(7)) line += random.Run(" ", 4);
    lines.push_back(line);
  }
  EXPECT_EQ(CompareDocument(lines), static_cast<int>(3 * lines.size()));
}

// Lines put together from runs of letters, digits and blanks of every length up to well past
// 16 bytes, with the bytes that start or end comments, links, marked stretches and minus
// lines mixed in; each scanned from every range, and as a document.
TEST(NvxDifferentialTest, GeneratedLines) {
  RandomText random(90210);
  const std::string letters = "abzAZ_\x80\xC0\xE4\xFFsqrtSQRT01579";
  const std::string blanks = std::string(" \t\x01\x0B\x0C\x0E\x1F", 7);
  const std::string others = "#[]-+*/^().,,..=\r\n\xA0\xA0\xF7\x81\xBF\"";
  const std::pair<std::string, unsigned> kRuns[] = {
      {letters, 40}, {blanks, 40}, {" ", 24}, {"0123456789,.", 12}};
  std::vector<std::string> lines;
  for (int n = 0; n < 30000; ++n) {
    std::string line;
    for (unsigned pieces = random.Below(12); pieces > 0; --pieces) {
      const unsigned piece = random.Below(6);
      line += piece < 4 ? random.Run(kRuns[piece].first, kRuns[piece].second)
                        : std::string(1, random.OneOf(others));
    }
    lines.push_back(line);
  }
  EXPECT_EQ(CompareDocument(lines), static_cast<int>(3 * lines.size()));

  int failures = 0;
  for (const Configuration& config : Configurations()) {
    auto nvx = MakeNvx(config.options);
    NvxReferenceScanner reference(config.options);
    for (size_t i = 0; i < lines.size() && failures < 10; i += 3) {
      for (TScanState state : {0, 1, 2, 3, 9, 258}) {
        TScanState end = 0;
        if (!SameScan(*nvx, reference, lines[i], state, &end, config.name)) ++failures;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

// Every cut of a long line of letters and blanks: each run end falls once on every offset of
// a 16-byte block, and each line end once on every offset too.
TEST(NvxDifferentialTest, RunsEndingAtEveryOffset) {
  const std::string base = "abc  defghijklmnopqrstuvwxyz_0123 \t\x01  x=5 - 12,5 " +
                           std::string("\xC0\x80 z") + std::string(37, ' ') + std::string(41, 'q') +
                           "\xA0mark  " + std::string(19, '\t') + "7";
  std::vector<std::string> lines;
  for (size_t cut = 0; cut <= base.size(); ++cut) {
    lines.push_back(base.substr(0, cut));
    lines.push_back(base.substr(cut));
    lines.push_back("-" + base.substr(0, cut) + " 5");
  }
  EXPECT_EQ(CompareDocument(lines), static_cast<int>(3 * lines.size()));
}

// Every byte value at every place of a 16-byte block, inside words, blanks and amounts, on
// lines short enough to scan byte by byte, long enough to scan by blocks, and too long for
// the per-line map.
TEST(NvxDifferentialTest, EveryByteEverywhere) {
  std::vector<std::string> lines;
  for (int b = 1; b <= 255; ++b) {
    const std::string byte(1, static_cast<char>(b));
    for (int at : {0, 1, 7, 14, 15, 16, 17, 31, 32, 63, 64, 65}) {
      lines.push_back(std::string(static_cast<size_t>(at), 'w') + byte + "word");
      lines.push_back(std::string(static_cast<size_t>(at), ' ') + byte + "  5");
      lines.push_back("- " + std::string(static_cast<size_t>(at), '7') + byte + "\xA0z");
    }
    lines.push_back(std::string(250, 'k') + byte + std::string(10, 'k'));
    lines.push_back(std::string(300, ' ') + byte + std::string(20, 'q'));
  }
  EXPECT_EQ(CompareDocument(lines), static_cast<int>(3 * lines.size()));
}

// Lines of arbitrary bytes, up to three times the length the per-line map covers.
TEST(NvxDifferentialTest, RandomBytes) {
  RandomText random(31337);
  std::vector<std::string> lines;
  for (int n = 0; n < 6000; ++n) {
    std::string line;
    for (unsigned i = random.Below(n % 10 == 0 ? 800 : 120); i > 0; --i) {
      // Runs of one class now and then, so that runs cross block and word boundaries.
      line += random.OneIn(8) ? std::string(random.Below(70), random.OneOf("a _\x80\xC0Z9"))
                              : random.Bytes(1);
    }
    lines.push_back(line);
  }
  EXPECT_EQ(CompareDocument(lines), static_cast<int>(3 * lines.size()));
}

}  // namespace
}  // namespace numvex
