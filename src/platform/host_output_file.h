// Script output on a host file system: writes are gathered in the file's
// pending text and handed to the system about 64 KiB at a time, into a
// temporary file that takes the script's name only once it is whole and on
// disk. Each host says how bytes are written, how its file is flushed and
// closed, and how the temporary file is named or removed.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/file_system.h"

namespace torvane {

class HostOutputFile : public OutputFile {
 public:
  CloseResult Close() final {
    if (state_ == State::kOpen) {
      bool ok = HandOver();
      if (!CloseHostFile()) ok = false;
      state_ = State::kClosed;
      if (!ok || HasFailed()) {
        Discard();
        return ok ? CloseResult::kClosed : CloseResult::kFailed;
      }
    }
    if (state_ == State::kDone) return CloseResult::kClosed;
    switch (TakeName()) {
      case Naming::kNamed:
        state_ = State::kDone;
        return CloseResult::kClosed;
      case Naming::kTaken:
        return CloseResult::kNameTaken;
      case Naming::kFailed:
        break;
    }
    Discard();
    return CloseResult::kFailed;
  }

 protected:
  enum class Naming { kNamed, kTaken, kFailed };

  HostOutputFile() : OutputFile(kHandOverSize) {
    // Room for the usual largest command past the mark, so the text is
    // allocated once per file.
    Pending().ReserveTotal(kHandOverSize + 4096);
  }

  // Bytes that could not be written are dropped: the failure is reported
  // once, for the write that met it.
  bool HandOver() final {
    const bool ok = WriteAll(Pending().Bytes());
    Pending().Clear();
    return ok;
  }

  // For the host's destructor: a file that has not taken its name is
  // closed and removed.
  void Abandon() {
    if (state_ == State::kOpen) {
      CloseHostFile();
      state_ = State::kClosed;
    }
    if (state_ == State::kClosed) Discard();
  }

  // Writes every byte; false when the system refuses one.
  virtual bool WriteAll(std::string_view bytes) = 0;
  // Makes the bytes durable and closes the host's file (once); false when
  // either fails.
  virtual bool CloseHostFile() = 0;
  // Gives the closed temporary file its name, never replacing a file.
  virtual Naming TakeName() = 0;
  // Removes the temporary file.
  virtual void RemoveTemporary() = 0;

 private:
  static constexpr size_t kHandOverSize = 64 * 1024;

  void Discard() {
    RemoveTemporary();
    state_ = State::kDone;
  }

  // kDone: named, or removed.
  enum class State { kOpen, kClosed, kDone } state_ = State::kOpen;
};

}  // namespace torvane
