// A new file on a host file system: writes are gathered in the file's
// pending text and handed to the system about 64 KiB at a time, into a
// temporary file that takes its name only once it is whole and on disk.
// Each host says how bytes are written and their write-out started, how
// its files are made durable together, and how a temporary file is named
// or removed.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/file_system.h"

namespace torvane {

class HostOutputFile : public OutputFile {
 public:
  SealResult Seal() final {
    if (state_ != State::kOpen) return SealResult::kFailed;
    const bool ok = HandOver() && StartWriteOut();
    // Nothing more is written: a file waiting for its commit holds no
    // buffer.
    Pending().Release();
    if (ok && !HasFailed()) {
      state_ = State::kSealed;
      return SealResult::kSealed;
    }
    Discard();
    return ok ? SealResult::kIncomplete : SealResult::kFailed;
  }

  NameResult TakeName() final {
    if (state_ == State::kNamed) return NameResult::kNamed;
    if (state_ != State::kDurable) {
      Discard();
      return NameResult::kFailed;
    }
    switch (Name()) {
      case Naming::kNamed:
        state_ = State::kNamed;
        return NameResult::kNamed;
      case Naming::kTaken:
        return NameResult::kNameTaken;
      case Naming::kFailed:
        break;
    }
    Discard();
    return NameResult::kFailed;
  }

  // For the host's MakeDurable: the file is on disk (or could not be made
  // so) and its host file is closed.
  void Settle(bool durable) {
    if (state_ != State::kSealed) return;
    if (!CloseHostFile()) durable = false;
    state_ = durable ? State::kDurable : State::kFailed;
  }
  bool IsSealed() const { return state_ == State::kSealed; }

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
  // removed.
  void Abandon() {
    if (state_ != State::kNamed && state_ != State::kRemoved) Discard();
  }

  // Writes every byte; false when the system refuses one.
  virtual bool WriteAll(std::string_view bytes) = 0;
  // Starts writing the file's bytes out to disk without waiting for them;
  // false when the system says they cannot be.
  virtual bool StartWriteOut() = 0;
  // Closes the host's file (once; again does nothing); false when that
  // fails.
  virtual bool CloseHostFile() = 0;
  // Gives the closed temporary file its name.
  virtual Naming Name() = 0;
  // Removes the temporary file.
  virtual void RemoveTemporary() = 0;

 private:
  static constexpr size_t kHandOverSize = 64 * 1024;

  void Discard() {
    CloseHostFile();
    RemoveTemporary();
    state_ = State::kRemoved;
  }

  // kDurable: on disk, its host file closed; kFailed: could not be made
  // durable; kRemoved: its temporary file is gone.
  enum class State { kOpen, kSealed, kDurable, kFailed, kNamed, kRemoved } state_ = State::kOpen;
};

}  // namespace torvane
