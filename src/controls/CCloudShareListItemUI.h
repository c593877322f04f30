#pragma once
// A list row that draws a 1-px frame around itself while the pointer is
// over it (and it is not selected), in the owning list's hot colour.

#include "platform/ui/CListContainerElementUI.h"

namespace ostrel {

class CCloudShareListItemUI : public CListContainerElementUI {
 public:
  CCloudShareListItemUI() = default;
  ~CCloudShareListItemUI() override = default;

  const char* GetClass() const override { return "CloudShareListItemUI"; }
  void* GetInterface(const char* pstrName) override {
    return CListContainerElementUI::GetInterface(pstrName);
  }
  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  void DrawItemBk(HDC hDC, const RECT& rcItem) override;

  bool IsHot() const { return (m_uButtonState & UISTATE_HOT) != 0; }
};

}  // namespace ostrel
