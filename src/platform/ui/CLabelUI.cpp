#include "platform/ui/CLabelUI.h"

#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

CLabelUI::CLabelUI() = default;

void* CLabelUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Label") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetText(const char* pstrText) {
  CDuiString text(pstrText);
  if (m_sText == text) return;
  CControlUI::SetText(pstrText);
  if (m_bAutoCalcWidth || m_bAutoCalcHeight) NeedParentUpdate();
}

void CLabelUI::SetTextStyle(UINT uStyle) {
  m_uTextStyle = uStyle;
  Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor) {
  m_dwTextColor = dwTextColor;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
  m_dwDisabledTextColor = dwTextColor;
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  Invalidate();
}

RECT CLabelUI::GetTextPadding() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_rcTextPadding) : m_rcTextPadding;
}

void CLabelUI::SetTextPadding(RECT rc) {
  m_rcTextPadding = rc;
  Invalidate();
}

void CLabelUI::SetShowHtml(bool bShowHtml) {
  m_bShowHtml = bShowHtml;
  Invalidate();
}

void CLabelUI::SetAutoCalcWidth(bool b) {
  m_bAutoCalcWidth = b;
  NeedParentUpdate();
}

void CLabelUI::SetAutoCalcHeight(bool b) {
  m_bAutoCalcHeight = b;
  NeedParentUpdate();
}

CDuiString CLabelUI::DisplayText() const {
  CDuiString text = GetText();
  if (!m_bShowHtml) return text;
  // Markup in braces ({b}, {c #FF0000}) is not drawn; the plain text is.
  std::string out;
  const std::string& s = text.str();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '{' || s[i] == '<') {
      char close = s[i] == '{' ? '}' : '>';
      std::size_t end = s.find(close, i);
      if (end != std::string::npos) {
        i = end;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return CDuiString(out);
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable) {
  SIZE sz = CControlUI::EstimateSize(szAvailable);
  if ((m_bAutoCalcWidth || m_bAutoCalcHeight) && m_pManager) {
    RECT pad = GetTextPadding();
    int maxWidth = m_bAutoCalcHeight && sz.cx > 0 ? sz.cx - pad.left - pad.right : -1;
    SIZE text = CRenderEngine::GetTextSize(m_pManager, DisplayText(), m_iFont, m_uTextStyle, maxWidth);
    if (m_bAutoCalcWidth) sz.cx = text.cx + pad.left + pad.right;
    if (m_bAutoCalcHeight) sz.cy = text.cy + pad.top + pad.bottom;
  }
  return sz;
}

DWORD CLabelUI::ResolveTextColor(DWORD dwColor) const {
  if (dwColor != 0) return GetAdjustColor(dwColor);
  if (!m_pManager) return 0xFF000000;
  return GetAdjustColor(IsEnabled() ? m_pManager->GetDefaultFontColor()
                                    : m_pManager->GetDefaultDisabledColor());
}

void CLabelUI::DrawLabelText(HDC hDC, DWORD dwColor) {
  CDuiString text = DisplayText();
  if (text.IsEmpty()) return;
  RECT pad = GetTextPadding();
  RECT rc{m_rcItem.left + pad.left, m_rcItem.top + pad.top, m_rcItem.right - pad.right,
          m_rcItem.bottom - pad.bottom};
  CRenderEngine::DrawText(hDC, m_pManager, rc, text, dwColor, m_iFont, m_uTextStyle);
}

void CLabelUI::PaintText(HDC hDC) {
  DWORD color = IsEnabled() ? m_dwTextColor : (m_dwDisabledTextColor ? m_dwDisabledTextColor : 0);
  DrawLabelText(hDC, ResolveTextColor(color));
}

void CLabelUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  CDuiString value(pstrValue);
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("align")) {
    if (value.Find("left") >= 0) m_uTextStyle &= ~(DT_CENTER | DT_RIGHT);
    if (value.Find("center") >= 0) m_uTextStyle = (m_uTextStyle & ~DT_RIGHT) | DT_CENTER;
    if (value.Find("right") >= 0) m_uTextStyle = (m_uTextStyle & ~DT_CENTER) | DT_RIGHT;
    if (value.Find("top") >= 0) m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM);
    if (value.Find("vcenter") >= 0) m_uTextStyle = (m_uTextStyle & ~DT_BOTTOM) | DT_VCENTER;
    if (value.Find("bottom") >= 0) m_uTextStyle = (m_uTextStyle & ~DT_VCENTER) | DT_BOTTOM;
    Invalidate();
  } else if (is("valign")) {
    m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM);
    if (value.Find("vcenter") >= 0 || value.Find("center") >= 0) m_uTextStyle |= DT_VCENTER;
    if (value.Find("bottom") >= 0) m_uTextStyle |= DT_BOTTOM;
    Invalidate();
  } else if (is("endellipsis")) {
    SetTextStyle(ParseBool(value) ? (m_uTextStyle | DT_END_ELLIPSIS) : (m_uTextStyle & ~DT_END_ELLIPSIS));
  } else if (is("wordbreak") || is("multiline")) {
    SetTextStyle(ParseBool(value) ? ((m_uTextStyle | DT_WORDBREAK) & ~DT_SINGLELINE)
                                  : ((m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE));
  } else if (is("font")) {
    SetFont(std::atoi(value));
  } else if (is("textcolor")) {
    SetTextColor(ParseColor(value));
  } else if (is("disabledtextcolor")) {
    SetDisabledTextColor(ParseColor(value));
  } else if (is("textpadding")) {
    SetTextPadding(ParseRect(value));
  } else if (is("showhtml")) {
    SetShowHtml(ParseBool(value));
  } else if (is("autocalcwidth")) {
    SetAutoCalcWidth(ParseBool(value));
  } else if (is("autocalcheight")) {
    SetAutoCalcHeight(ParseBool(value));
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
