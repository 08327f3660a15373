// Messages of work done side by side, released in the order of the command
// line: each piece of work has a slot, and what a slot writes goes out at
// once while every earlier slot is finished, and waits in the slot otherwise.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

enum class Channel { kOutput, kErrors };

class OrderedMessages {
 public:
  using Emit = std::function<void(Channel, std::string_view)>;

  explicit OrderedMessages(Emit emit) : emit_(std::move(emit)) {}

  // A new slot after all others. Slots are opened before any work starts.
  size_t Open();
  // Writes a piece of `slot`'s messages; from any thread.
  void Write(size_t slot, Channel channel, std::string_view text);
  // Ends `slot`: it writes nothing more, and what the slots after it kept
  // goes out as far as the next unfinished one.
  void Finish(size_t slot);

 private:
  struct Piece {
    Channel channel;
    std::string text;
  };
  struct Slot {
    std::vector<Piece> kept;
    bool finished = false;
  };

  std::mutex mutex_;
  std::vector<Slot> slots_;
  size_t head_ = 0;  // the first unfinished slot, whose pieces go out at once
  Emit emit_;
};

}  // namespace torvane
