#pragma once
// What the playlist window needs of the player window: where it is, to sit
// beside it.
#include "platform/form_host.h"

namespace kestrafon {

class PlayerWindowLink {
 public:
  virtual ~PlayerWindowLink() = default;
  virtual platform::Point PlayerPosition() = 0;
  virtual platform::Point PlayerOuterSize() = 0;
};

}  // namespace kestrafon
