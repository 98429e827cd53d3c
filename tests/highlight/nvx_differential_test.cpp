// The tape scanner against the plain statement of its rules (nvx_reference_scan.h): the same
// tokens and end ranges, bytes after a byte 0 ignored.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "common/random_text.h"
#include "highlight/syn_nvx.h"
#include "nvx_reference_scan.h"

namespace numvex {
namespace {

using testing::LineScan;

// The lines as a document in three set-ups, and each line also from every range in `states`.
void Compare(const std::vector<std::string>& lines, const std::vector<TScanState>& states = {}) {
  const std::pair<const char*, testing::NvxRules> kSetups[] = {
      {"Default", {}},
      {"MainWindow", {false, {}, {}}},
      {"WithLists",
       {true, {"i", "line", "run", "b1", "zz", "total"}, {"i", "sqrt", "kind", "\xC0", "Nvx"}}}};
  int failures = 0;
  for (const auto& [name, rules] : kSetups) {
    TSynhighNvx nvx;
    nvx.SetHighlightVarsAndFunctions(rules.names);
    nvx.LocalVariables() = rules.locals;
    nvx.GlobalVariables() = rules.globals;
    testing::NvxReference reference(rules);
    TScanState carried = TSynhighNvx::kRangeNormal;
    for (size_t i = 0; i < lines.size() && failures < 10; ++i) {
      std::vector<TScanState> from = {carried};
      from.insert(from.end(), states.begin(), states.end());
      const std::string tail = std::string(1, '\0') + lines[(i + 1) % lines.size()];
      for (TScanState state : from) {
        const LineScan expected = reference.Scan(lines[i], state);
        const LineScan scanned = testing::ScanLine(nvx, lines[i] + tail, state);
        if (state == from[0]) carried = expected.end_state;
        if (scanned == expected) continue;
        EXPECT_EQ(scanned, expected)
            << name << ": " << ::testing::PrintToString(lines[i]) << " from " << state;
        ++failures;
      }
    }
  }
}

// This program's sources, then tape lines.
TEST(NvxDifferentialTest, ProgramSourcesAndTapeText) {
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
  static const char* const kNotes[] = {"rent", "vat 19 %", "Miete M\xE4rz", "x=5",   "sqrt(2)",
                                       "a\t5", "(5)",      "[page 2]",      "# done"};
  static const char* const kOps[] = {"+", "-", "*", "/", "=", "-", "--", " -"};
  testing::RandomText random(77);
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
  Compare(lines);
}

// Every byte and pair; every byte at every place of a 16-byte block, on lines short, long and too
// long for the per-line map; every cut of a long line; runs of every length; arbitrary bytes.
TEST(NvxDifferentialTest, GeneratedLines) {
  std::vector<std::string> lines;
  for (int a = 1; a <= 255; ++a) {
    const std::string byte(1, static_cast<char>(a));
    lines.push_back(byte);
    for (int b = 1; b <= 255; ++b) lines.push_back(byte + static_cast<char>(b));
    for (size_t at : {0, 1, 7, 14, 15, 16, 17, 31, 32, 63, 64, 65}) {
      lines.push_back(std::string(at, 'w') + byte + "word");
      lines.push_back(std::string(at, ' ') + byte + "  5");
      lines.push_back("- " + std::string(at, '7') + byte + "\xA0z");
    }
    lines.push_back(std::string(250, 'k') + byte + std::string(10, 'k'));
    lines.push_back(std::string(300, ' ') + byte + std::string(20, 'q'));
  }
  const std::string base = "abc  defghijklmnopqrstuvwxyz_0123 \t\x01  x=5 - 12,5 \xC0\x80 z" +
                           std::string(37, ' ') + std::string(41, 'q') + "\xA0mark  " +
                           std::string(19, '\t') + "7";
  for (size_t cut = 0; cut <= base.size(); ++cut) {
    lines.push_back(base.substr(0, cut));
    lines.push_back(base.substr(cut));
    lines.push_back("-" + base.substr(0, cut) + " 5");
  }
  testing::RandomText random(90210);
  const std::string others = "#[]-+*/^().,,..=\r\n\xA0\xA0\xF7\x81\xBF\"";
  const std::pair<std::string, unsigned> kRuns[] = {{"abzAZ_\x80\xC0\xE4\xFFsqrtSQRT01579", 40},
                                                    {std::string(" \t\x01\x0B\x0C\x0E\x1F", 7), 40},
                                                    {" ", 24},
                                                    {"0123456789,.", 12}};
  for (int n = 0; n < 30000; ++n) {
    std::string line;
    for (unsigned pieces = random.Below(12); pieces > 0; --pieces) {
      const unsigned piece = random.Below(6);
      line += piece < 4 ? random.Run(kRuns[piece].first, kRuns[piece].second)
                        : std::string(1, random.OneOf(others));
    }
    lines.push_back(line);
  }
  for (int n = 0; n < 6000; ++n) {
    std::string line;
    for (unsigned i = random.Below(n % 10 == 0 ? 800 : 120); i > 0; --i) {
      line += random.OneIn(8) ? std::string(random.Below(70), random.OneOf("a _\x80\xC0Z9"))
                              : random.Bytes(1);
    }
    lines.push_back(line);
  }
  Compare(lines, {0, 1, 2, 3, 9, 258});
}

}  // namespace
}  // namespace numvex
