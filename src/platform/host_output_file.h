// Script output on a host file system: writes are gathered in the file's
// pending text and handed to the system about 64 KiB at a time. Each host
// says how bytes are written and how its file is closed.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/file_system.h"

namespace torvane {

class HostOutputFile : public OutputFile {
 public:
  bool Close() final {
    bool ok = HandOver();
    if (!CloseHostFile()) ok = false;
    return ok;
  }

 protected:
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

  // Writes every byte; false when the system refuses one.
  virtual bool WriteAll(std::string_view bytes) = 0;
  // Closes the host's file (once); false when that fails.
  virtual bool CloseHostFile() = 0;

 private:
  static constexpr size_t kHandOverSize = 64 * 1024;
};

}  // namespace torvane
