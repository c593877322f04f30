#pragma once
#include "platform/ui/CLabelUI.h"

namespace ostrel {

// A label for running text: wraps at word boundaries, top-aligned.
class CTextUI : public CLabelUI {
 public:
  CTextUI();
  const char* GetClass() const override { return "TextUI"; }
  void* GetInterface(const char* pstrName) override;
};

}  // namespace ostrel
