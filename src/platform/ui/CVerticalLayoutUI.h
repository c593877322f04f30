#pragma once
#include "platform/ui/CContainerUI.h"

namespace ostrel {

// Children stacked top to bottom: fixed sizes kept, the rest shared.
class CVerticalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override { return "VerticalLayoutUI"; }
  void* GetInterface(const char* pstrName) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  SIZE EstimateSize(SIZE szAvailable) override;
};

}  // namespace ostrel
