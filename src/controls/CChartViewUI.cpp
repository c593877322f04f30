#include "controls/CChartViewUI.h"

#include <algorithm>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

namespace {
// Slice colours, from the skin's palette first.
constexpr DWORD kSliceColors[] = {0xFF0099FF, 0xFF0078C8, 0xFF9AA3AD, 0xFFE5484D, 0xFF30353D, 0xFFFFFFFF};
constexpr int kSliceColorCount = sizeof(kSliceColors) / sizeof(kSliceColors[0]);
}  // namespace

void CChartViewUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  CDuiString value(pstrValue ? pstrValue : "");
  if (name.CompareNoCase("view") == 0) {
    if (value.CompareNoCase("pie") == 0) {
      m_view = View::Pie;
    } else if (value.CompareNoCase("histpgram") == 0) {
      m_view = View::Histogram;
    }
  } else if (name.CompareNoCase("shadowimage") == 0) {
    m_sShadowImage = value;
  } else if (name.CompareNoCase("shadowimageheight") == 0) {
    m_nShadowHeight = value.ToInt(0);
  } else if (name.CompareNoCase("pillarimage") == 0) {
    m_sPillarImage = value;
  } else if (name.CompareNoCase("pillarimagewidth") == 0) {
    m_nPillarWidth = value.ToInt(0);
  } else if (name.CompareNoCase("showhtml") == 0) {
    m_bShowHtml = value == "true";
  } else if (name.CompareNoCase("showtext") == 0) {
    m_bShowText = value == "true";
  } else if (name.CompareNoCase("font") == 0) {
    m_iFont = value.ToInt(-1);
  } else {
    // The base knows none of the chart's own names; giving them to it too
    // would only report them as unknown.
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
  Invalidate();
}

void CChartViewUI::AddItem(const char* text, double value) {
  m_items.push_back(Item{CDuiString(text), value});
  Invalidate();
}

void CChartViewUI::RemoveAllItems() {
  m_items.clear();
  Invalidate();
}

bool CChartViewUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  RECT test;
  if (!IntersectRect(&test, rcPaint, m_rcItem)) return true;
  if (!CControlUI::DoPaint(hDC, rcPaint, pStopControl)) return false;
  if (m_view == View::Pie) {
    DrawPie(hDC);
  } else {
    DrawHistogram(hDC);
  }
  return true;
}

void CChartViewUI::DrawPie(HDC hDC) {
  double total = 0;
  for (const Item& item : m_items) total += std::max(0.0, item.value);
  if (total <= 0) return;
  // A circle centred in the control, as large as the shorter side allows.
  int side = std::min(GetWidth(), GetHeight());
  RECT circle{m_rcItem.left + (GetWidth() - side) / 2, m_rcItem.top + (GetHeight() - side) / 2, 0, 0};
  circle.right = circle.left + side;
  circle.bottom = circle.top + side;
  double start = -90.0;
  int index = 0;
  for (const Item& item : m_items) {
    if (item.value <= 0) continue;
    double sweep = item.value / total * 360.0;
    CRenderEngine::FillPie(hDC, circle, start, sweep,
                           GetAdjustColor(kSliceColors[index++ % kSliceColorCount]));
    start += sweep;
  }
}

void CChartViewUI::DrawHistogram(HDC hDC) {
  int bottom = m_rcItem.bottom - TextBand();
  if (!m_sShadowImage.IsEmpty()) {
    RECT shadow{m_rcItem.left, bottom - m_nShadowHeight, m_rcItem.right, bottom};
    if (!CRenderEngine::DrawImageString(hDC, m_pManager, shadow, m_rcPaint, m_sShadowImage)) {
      // A missing image is not tried again on every paint.
      m_sShadowImage.Empty();
    }
  }
  if (m_items.empty()) return;
  double highest = 0;
  for (const Item& item : m_items) highest = std::max(highest, item.value);
  int count = static_cast<int>(m_items.size());
  int slot = GetWidth() / count;
  if (slot <= 0) return;
  int barWidth = m_nPillarWidth > 0 ? std::min(m_nPillarWidth, slot) : std::max(1, slot / 2);
  int usable = bottom - m_rcItem.top;
  for (int i = 0; i < count; ++i) {
    const Item& item = m_items[i];
    int left = m_rcItem.left + i * slot + (slot - barWidth) / 2;
    int height = highest > 0 ? static_cast<int>(std::max(0.0, item.value) / highest * usable) : 0;
    RECT bar{left, bottom - height, left + barWidth, bottom};
    if (height > 0) {
      if (m_sPillarImage.IsEmpty() ||
          !CRenderEngine::DrawImageString(hDC, m_pManager, bar, m_rcPaint, m_sPillarImage)) {
        CRenderEngine::DrawColor(hDC, bar, GetAdjustColor(kSliceColors[0]));
      }
    }
    if (m_bShowText && !item.text.IsEmpty()) {
      RECT text{m_rcItem.left + i * slot, bottom, m_rcItem.left + (i + 1) * slot, m_rcItem.bottom};
      UINT style = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
      CRenderEngine::DrawText(hDC, m_pManager, text, item.text, 0xFF9AA3AD, m_iFont, style);
    }
  }
}

}  // namespace ostrel
