#pragma once

// Private to the toolkit.

class QObject;

namespace velmora {

// Marks a write of the program into a multi-line edit box, which (unlike a line edit) tells no
// change of its own from the user's: while a ProgramWrite for the box lives, its text changes
// raise content changed but not user edited.
class ProgramWrite {
 public:
  explicit ProgramWrite(const QObject* box) : previous_(Current()) { Current() = box; }
  ~ProgramWrite() { Current() = previous_; }
  ProgramWrite(const ProgramWrite&) = delete;
  ProgramWrite& operator=(const ProgramWrite&) = delete;

  // Whether the program is writing into `box` now.
  static bool Writing(const QObject* box) { return box != nullptr && Current() == box; }

 private:
  // Widgets live on the user-interface thread alone.
  static const QObject*& Current() {
    static const QObject* box = nullptr;
    return box;
  }
  const QObject* previous_;
};

}  // namespace velmora
