#pragma once
#include "platform/ui/UIEvents.h"

namespace ostrel {

// Receives every notification of a paint manager it is added to.
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

}  // namespace ostrel
