#pragma once
#include "platform/ui/CContainerUI.h"

namespace ostrel {

// Children stacked left to right: fixed sizes kept, the rest shared.
class CHorizontalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override { return "HorizontalLayoutUI"; }
  void* GetInterface(const char* pstrName) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  SIZE EstimateSize(SIZE szAvailable) override;
};

}  // namespace ostrel
