#pragma once
#include "platform/ui/COptionUI.h"

namespace ostrel {

// An option that toggles on its own (a group is not used).
class CCheckBoxUI : public COptionUI {
 public:
  const char* GetClass() const override { return "CheckBoxUI"; }
  void* GetInterface(const char* pstrName) override;
  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool bCheck, bool bTriggerEvent = true) { Selected(bCheck, bTriggerEvent); }
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
};

}  // namespace ostrel
