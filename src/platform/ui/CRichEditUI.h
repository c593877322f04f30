#pragma once
// A multi-line text field: wraps at the box width, Enter starts a new line
// ("wantreturn", on by default), arrows move between lines, placeholder text.

#include "platform/ui/CEditUI.h"

namespace ostrel {

class CRichEditUI : public CEditUI {
 public:
  CRichEditUI();
  const char* GetClass() const override { return "RichEditUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override;
  bool IsWantReturn() const { return m_bWantReturn; }
  void SetWantReturn(bool bWantReturn = true) { m_bWantReturn = bWantReturn; }
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

 protected:
  bool IsMultiLine() const override { return true; }

 private:
  bool m_bWantReturn = true;
};

}  // namespace ostrel
