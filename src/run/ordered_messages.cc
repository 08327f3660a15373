// The ordering of messages from sectors converted side by side.
#include "run/ordered_messages.h"

#include <utility>

namespace torvane {

size_t OrderedMessages::Open() {
  const std::lock_guard lock(mutex_);
  slots_.emplace_back();
  return slots_.size() - 1;
}

void OrderedMessages::Write(size_t slot, Channel channel, std::string_view text) {
  const std::lock_guard lock(mutex_);
  if (slot == head_) {
    emit_(channel, text);
    return;
  }
  std::vector<Piece>& kept = slots_[slot].kept;
  if (!kept.empty() && kept.back().channel == channel) {
    kept.back().text += text;
  } else {
    kept.push_back({channel, std::string(text)});
  }
}

void OrderedMessages::Finish(size_t slot) {
  const std::lock_guard lock(mutex_);
  slots_[slot].finished = true;
  while (head_ < slots_.size() && slots_[head_].finished) {
    if (++head_ == slots_.size()) break;
    for (const Piece& piece : std::exchange(slots_[head_].kept, {})) {
      emit_(piece.channel, piece.text);
    }
  }
}

}  // namespace torvane
