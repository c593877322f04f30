#pragma once
// Stands in for the selection panel that holds a page's key buttons.

#include "platform/ui/CContainerUI.h"

namespace ostrel::test {

class TestSelectPanel : public CContainerUI {
 public:
  const char* GetClass() const override { return "SelectPanel"; }
};

}  // namespace ostrel::test
