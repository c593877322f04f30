#pragma once
// A list row whose content is the layout
// "XML\CustomControlXML\ComboEditElementItem.xml", built when the row joins
// a window. Ctrl-click flips its selection; a plain click selects it alone;
// Enter activates it and raises "return".

#include "platform/ui/CListContainerElementUI.h"
#include "platform/ui/INotifyUI.h"

namespace ostrel {

class CComboEditContainerElementUI : public CListContainerElementUI, public INotifyUI {
 public:
  static constexpr const char* kContentLayout = "XML\\CustomControlXML\\ComboEditElementItem.xml";

  CComboEditContainerElementUI() = default;
  ~CComboEditContainerElementUI() override = default;

  const char* GetClass() const override { return "ComboEditContainerElement"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override { return CListContainerElementUI::GetControlFlags(); }
  void DoInit() override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintStatusImage(HDC) override {}

  // Never registered with a window, so it receives nothing.
  void Notify(TNotifyUI&) override {}

 private:
  void PassOn(TEventUI& event, bool toContainer);
};

}  // namespace ostrel
