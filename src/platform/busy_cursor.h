// The hourglass cursor for the life of a piece of work, restored however the work ends.
#pragma once

#include "platform/platform.h"

namespace merilon {

class BusyCursor {
 public:
  explicit BusyCursor(Platform& platform) : platform_(platform) { platform_.setBusyCursor(true); }
  ~BusyCursor() { platform_.setBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Platform& platform_;
};

}  // namespace merilon
