#pragma once
#include "platform/ui/UIDefs.h"

namespace ostrel {

// Sees window messages before (pre-filter) or during the paint manager's own handling.
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

}  // namespace ostrel
