#include "platform/ui/CMenuElementUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

namespace {
// The skin's row height, hover colour and the room kept for the check mark.
constexpr int kRowHeight = 28;
constexpr DWORD kHoverColor = 0xFF30353D;
constexpr DWORD kPushedColor = 0xFF0078C8;
constexpr int kCheckRoom = 24;

bool ParseFlag(const char* v) {
  return v && (CDuiString(v).CompareNoCase("true") == 0 || CDuiString(v) == "1");
}
}  // namespace

CMenuElementUI::CMenuElementUI() {
  m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS;
  m_rcTextPadding = RECT{kCheckRoom, 0, 8, 0};
  SetFixedHeight(kRowHeight);
  SetHotBkColor(kHoverColor);
  SetPushedBkColor(kPushedColor);
  SetKeyboardEnabled(false);
}

void* CMenuElementUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("MenuElement") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

void CMenuElementUI::SetChecked(bool bChecked) {
  if (m_bChecked == bChecked) return;
  m_bChecked = bChecked;
  Invalidate();
}

void CMenuElementUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("checkable") == 0) {
    SetCheckable(ParseFlag(pstrValue));
  } else if (name.CompareNoCase("checked") == 0) {
    SetChecked(ParseFlag(pstrValue));
  } else {
    CButtonUI::SetAttribute(pstrName, pstrValue);
  }
}

void CMenuElementUI::PaintText(HDC hDC) {
  CButtonUI::PaintText(hDC);
  if (!m_bCheckable || !m_bChecked || !m_pManager) return;
  RECT mark{m_rcItem.left, m_rcItem.top, m_rcItem.left + kCheckRoom, m_rcItem.bottom};
  DWORD color = StateTextColor();
  if (color == 0) color = m_pManager->GetDefaultFontColor();
  CRenderEngine::DrawText(hDC, m_pManager, mark, "\u2713", color, m_iFont,
                          DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

}  // namespace ostrel
