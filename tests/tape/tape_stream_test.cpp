// A tape streamed through the engine a stretch at a time comes out as the whole-document
// recalculation writes it, with the same divisions by zero at the same lines.
#include "tape/tape_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/random_text.h"
#include "tape/document_file.h"

namespace numvex {
namespace {

class Recorder : public TapeHost {
 public:
  void DivisionByZero(int line) override { lines.push_back(line); }
  std::vector<int> lines;
};

std::FILE* FileOf(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return file;
}

std::string Contents(std::FILE* file) {
  std::string bytes(static_cast<size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  return bytes;
}

// A document of tape lines, with breaks of every kind when `mixed`.
std::string RandomTape(testing::RandomText& random, bool mixed) {
  // clang-format off
  static const char* const kLines[] = {
      "12.5", "+3", "-1,000.25 rent", "*2", "/0", "/4", "50%", "---", "===", "", "  ",
      "Groceries", "42 subtotal", "      +          99.00", "7 -", "+", "=", "1e400", "--"};
  // clang-format on
  static const char* const kBreaks[] = {"\n", "\r\n", "\r"};
  std::string bytes;
  for (unsigned n = random.Below(60); n > 0; --n) {
    bytes += kLines[random.Below(sizeof(kLines) / sizeof(kLines[0]))];
    bytes += mixed ? kBreaks[random.Below(3)] : "\n";
  }
  if (!bytes.empty() && random.OneIn(3)) bytes.pop_back();  // no final break, or a lone CR
  return bytes;
}

TEST(TapeStream, WritesWhatTheWholeDocumentRecalculationWrites) {
  TapeSettings settings;
  settings.seps = {'.', ','};
  testing::RandomText random(17);
  for (int i = 0; i < 400; ++i) {
    const std::string bytes = RandomTape(random, i % 2 == 1);
    MemoryTapeBuffer whole;
    const LineBreak style = SplitDocument(bytes, &whole);
    Recorder whole_host;
    TapeEngine engine(whole, whole_host);
    engine.SetSettings(settings);
    engine.RecalcAll();

    std::FILE* in = FileOf(bytes);
    BreakScan scan;
    ASSERT_TRUE(ScanBreaks(in, &scan));
    EXPECT_EQ(scan.style, style) << i;
    EXPECT_EQ(scan.canonical_layout, HasCanonicalLayout(bytes, style)) << i;
    std::rewind(in);
    std::FILE* out = std::tmpfile();
    Recorder stream_host;
    bool changed = false;
    // Cut wherever it may be, and read a few bytes at a time: lines and CR LF pairs lie
    // across reads.
    ASSERT_TRUE(TapeStream(settings, stream_host, 1, 1 + i % 7).Run(in, style, out, &changed));
    EXPECT_EQ(Contents(out), JoinDocument(whole, style)) << i;
    EXPECT_EQ(changed, whole.WriteCount() > 0) << i;
    EXPECT_EQ(stream_host.lines, whole_host.lines) << i;
    std::fclose(in);
    std::fclose(out);
  }
}

}  // namespace
}  // namespace numvex
