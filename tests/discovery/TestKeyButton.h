#pragma once
// Stands in for the key button control in the test pages: what the page
// base needs of it is its class name.

#include "platform/ui/CButtonUI.h"

namespace ostrel::test {

class TestKeyButton : public CButtonUI {
 public:
  const char* GetClass() const override { return "DeviceKeyButton"; }
};

}  // namespace ostrel::test
