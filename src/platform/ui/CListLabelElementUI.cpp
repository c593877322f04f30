#include "platform/ui/CListLabelElementUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/ListRow.h"

namespace ostrel {

namespace {
constexpr int kDefaultRowHeight = 30;
}

CListLabelElementUI::CListLabelElementUI() = default;

void* CListLabelElementUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("ListLabelElement") == 0) return this;
  return CListElementUI::GetInterface(pstrName);
}

SIZE CListLabelElementUI::EstimateSize(SIZE szAvailable) {
  SIZE sz = CControlUI::EstimateSize(szAvailable);
  if (sz.cy == 0) sz.cy = m_pManager ? m_pManager->GetDPIObj()->Scale(kDefaultRowHeight) : kDefaultRowHeight;
  return sz;
}

bool CListLabelElementUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI*) {
  if (!IntersectRect(&m_rcPaint, rcPaint, m_rcItem)) return true;
  DrawItemBk(hDC, m_rcItem);
  PaintBkImage(hDC);
  DrawItemText(hDC, m_rcItem);
  PaintBorder(hDC);
  return true;
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
  CDuiString text = GetText();
  if (text.IsEmpty() || !m_pOwner || !m_pManager) return;
  TListInfoUI* info = m_pOwner->GetListInfo();
  RECT pad = m_pManager->GetDPIObj()->Scale(info->rcTextPadding);
  RECT rc{rcItem.left + pad.left, rcItem.top + pad.top, rcItem.right - pad.right, rcItem.bottom - pad.bottom};
  DWORD color = listrow::TextColor(this, info, m_uButtonState);
  if (color == 0)
    color = IsEnabled() ? m_pManager->GetDefaultFontColor() : m_pManager->GetDefaultDisabledColor();
  CRenderEngine::DrawText(hDC, m_pManager, rc, text, GetAdjustColor(color), info->nFont, info->uTextStyle);
}

}  // namespace ostrel
