// The line buffer and the conversion between file bytes and lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tape/document_text.h"
#include "tape/tape_buffer.h"

namespace numvex {
namespace {

TEST(MemoryTapeBuffer, BehavesLikeAListOfLinesUnderRandomEdits) {
  std::mt19937 rng(3);
  MemoryTapeBuffer buffer;
  std::vector<std::string> model;
  for (int step = 0; step < 20000; ++step) {
    int count = static_cast<int>(model.size());
    int op = static_cast<int>(rng() % 4);
    std::string text = std::to_string(step);
    if (op == 0 || count == 0) {
      int before = 1 + static_cast<int>(rng() % (count + 1));
      buffer.InsertLine(before, text);
      model.insert(model.begin() + before - 1, text);
    } else if (op == 1) {
      int line = 1 + static_cast<int>(rng() % count);
      buffer.DeleteLine(line);
      model.erase(model.begin() + line - 1);
    } else if (op == 2) {
      int line = 1 + static_cast<int>(rng() % count);
      buffer.ReplaceLine(line, text);
      model[line - 1] = text;
    } else {
      buffer.AppendLine(text);
      model.push_back(text);
    }
    ASSERT_EQ(buffer.LineCount(), static_cast<int>(model.size()));
    if (step % 97 == 0) {
      ASSERT_EQ(buffer.Lines(), model) << "step " << step;
    }
  }
  EXPECT_EQ(buffer.Lines(), model);
}

TEST(MemoryTapeBuffer, RejectsLinesOutsideTheDocument) {
  MemoryTapeBuffer buffer({"a"});
  EXPECT_THROW(buffer.Line(0), std::out_of_range);
  EXPECT_THROW(buffer.Line(2), std::out_of_range);
  EXPECT_THROW(buffer.InsertLine(3, "x"), std::out_of_range);
  EXPECT_THROW(buffer.DeleteLine(2), std::out_of_range);
  EXPECT_NO_THROW(buffer.InsertLine(2, "b"));
}

struct SplitCase {
  std::string bytes;
  std::vector<std::string> lines;
  LineBreak style;
  std::string written;
};

TEST(Document, SplitsAndJoinsAsTheProgramSaves) {
  const SplitCase cases[] = {
      {"", {}, LineBreak::LF, ""},
      {"a", {"a"}, LineBreak::LF, "a\n"},
      {"a\nb\n", {"a", "b"}, LineBreak::LF, "a\nb\n"},
      {"a\r\nb\r\n", {"a", "b"}, LineBreak::CRLF, "a\r\nb\r\n"},
      {"a\nb\r\nc", {"a", "b", "c"}, LineBreak::CRLF, "a\r\nb\r\nc\r\n"},
      {"a\rb", {"a", "b"}, LineBreak::CRLF, "a\r\nb\r\n"},
      {"\n", {""}, LineBreak::LF, "\n"},
      {"\n\n", {"", ""}, LineBreak::LF, "\n\n"},
      {std::string("a\0b\n", 4), {std::string("a\0b", 3)}, LineBreak::LF, std::string("a\0b\n", 4)},
  };
  for (const SplitCase& c : cases) {
    MemoryTapeBuffer buffer;
    EXPECT_EQ(SplitDocument(c.bytes, &buffer), c.style);
    EXPECT_EQ(buffer.Lines(), c.lines);
    EXPECT_EQ(JoinDocument(buffer, c.style), c.written);
  }
}

TEST(Document, EveryByteButLineBreaksSurvives) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    if (b != '\n' && b != '\r') bytes.push_back(static_cast<char>(b));
  }
  bytes += "\n";
  MemoryTapeBuffer buffer;
  SplitDocument(bytes, &buffer);
  ASSERT_EQ(buffer.LineCount(), 1);
  EXPECT_EQ(JoinDocument(buffer, LineBreak::LF), bytes);
}

}  // namespace
}  // namespace numvex
