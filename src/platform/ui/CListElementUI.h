#pragma once
// The base of label-like rows: index in the owner, selection, activation
// ("itemactivate"), and the owner's colours for each state.

#include "platform/ui/CControlUI.h"
#include "platform/ui/ListItemControl.h"

namespace ostrel {

class CListElementUI : public ListItemControl<CControlUI> {
 public:
  const char* GetClass() const override { return "ListElementUI"; }
  void* GetInterface(const char* pstrName) override;
};

}  // namespace ostrel
