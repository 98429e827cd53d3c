#pragma once

namespace numvex {

// What the tape engine asks of the program that hosts it: the window shows a message
// box, the command-line tool writes a warning, tests record.
class TapeHost {
 public:
  virtual ~TapeHost() = default;
  // A division by zero was written in `line` (the "Error200" message).
  virtual void DivisionByZero(int line) = 0;
  // DocModified changed (the window updates its caption).
  virtual void DocModifiedChanged(bool /*modified*/) {}
  // Around a whole-tape pass: the window shows the busy cursor and takes no input.
  virtual void BeginBusy() {}
  virtual void EndBusy() {}
};

// Hears nothing: a second pass over a tape whose reports the first pass gave.
class QuietTapeHost : public TapeHost {
 public:
  void DivisionByZero(int /*line*/) override {}
};

}  // namespace numvex
