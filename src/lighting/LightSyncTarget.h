#pragma once
// A page the lighting synchronisation writes into while it is paused.

#include "lighting/LedColour.h"

namespace ostrel {

class LightSyncTarget {
 public:
  virtual ~LightSyncTarget() = default;
  virtual bool IsSyncPaused() const = 0;
  // Gives every LED of the page's main zone the same entry.
  virtual void FillSyncColour(LedColour colour) = 0;
};

}  // namespace ostrel
