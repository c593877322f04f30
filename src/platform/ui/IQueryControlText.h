#pragma once
#include "platform/ui/CDuiString.h"

namespace ostrel {

// The window's hook for language texts: asked first for every text key; an
// empty answer lets the loaded language file answer.
class IQueryControlText {
 public:
  virtual ~IQueryControlText() = default;
  virtual CDuiString QueryControlText(const char* lpstrId, const char* lpstrType) = 0;
};

}  // namespace ostrel
