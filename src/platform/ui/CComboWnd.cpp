#include "platform/ui/CComboWnd.h"

#include <algorithm>

#include "platform/ui/CComboUI.h"
#include "platform/ui/CScrollBarUI.h"
#include "platform/ui/CVerticalLayoutUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

bool CComboWnd::Open(CComboUI* pOwner) {
  m_pOwner = pOwner;
  CPaintManagerUI* ownerPm = pOwner->GetManager();
  if (!ownerPm) return false;
  RECT rc = pOwner->GetPos();
  SIZE box = pOwner->GetDropBoxSize();
  int width = box.cx > 0 ? box.cx : rc.right - rc.left;
  // As tall as the visible rows, up to the drop box height.
  int rows = 0;
  for (int i = 0; i < pOwner->GetCount(); ++i) {
    CControlUI* item = pOwner->GetItemAt(i);
    if (!item->IsVisible()) continue;
    SIZE sz = item->EstimateSize(SIZE{width, 0});
    rows += sz.cy > 0 ? sz.cy : ownerPm->GetDPIObj()->Scale(30);
  }
  int height = std::min<int>(std::max(rows, 1) + 2, box.cy > 0 ? box.cy : rows + 2);
  POINT topLeft{rc.left, rc.bottom};
  ClientToScreen(ownerPm->GetPaintWindow(), &topLeft);
  RECT monitor = GetMonitorRect(ownerPm->GetPaintWindow());
  if (topLeft.y + height > monitor.bottom) {
    POINT above{rc.left, rc.top};
    ClientToScreen(ownerPm->GetPaintWindow(), &above);
    topLeft.y = above.y - height;
  }
  m_pm.SetDPI(ownerPm->GetDPIObj()->GetDPI());
  if (!Create(ownerPm->GetPaintWindow(), nullptr, WS_POPUP, WS_EX_TOOLWINDOW, topLeft.x, topLeft.y, width,
              height))
    return false;
  ostrel::ShowWindow(m_hWnd, SW_SHOW);
  return true;
}

void CComboWnd::ReleaseItems() {
  if (m_bReleased || !m_pOwner || !m_pLayout) return;
  m_bReleased = true;
  m_pLayout->SetAutoDestroy(false);
  std::vector<CControlUI*> rows;
  for (int i = 0; i < m_pLayout->GetCount(); ++i) rows.push_back(m_pLayout->GetItemAt(i));
  m_pLayout->RemoveAll();
  CPaintManagerUI* ownerPm = m_pOwner->GetManager();
  for (CControlUI* row : rows) row->SetManager(ownerPm, m_pOwner, false);
  m_pOwner->m_pWindow = nullptr;
  m_pOwner->Invalidate();
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE: {
      m_pm.Init(m_hWnd);
      m_pLayout = new CVerticalLayoutUI;
      m_pLayout->EnableScrollBar(true, false);
      m_pLayout->SetBkColor(0xFF262A31);
      m_pLayout->SetBorderColor(0xFF2F343C);
      m_pLayout->SetBorderSize(1);
      m_pLayout->SetInset(RECT{1, 1, 1, 1});
      m_pm.AttachDialog(m_pLayout);
      if (!m_pOwner->GetDropBoxAttributeList().IsEmpty())
        m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
      m_pLayout->SetAutoDestroy(false);
      for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* row = m_pOwner->GetItemAt(i);
        if (row->IsVisible()) m_pLayout->Add(row);
      }
      m_pm.SetFocus(m_pOwner->GetItemAt(m_pOwner->GetCurSel()));
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) PostMessage(WM_CLOSE);
      break;
    case WM_KILLFOCUS:
      PostMessage(WM_CLOSE);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
        PostMessage(WM_CLOSE);
        return 0;
      }
      if (m_pOwner) {
        TEventUI event;
        event.Type = UIEVENT_KEYDOWN;
        event.chKey = static_cast<char32_t>(wParam);
        event.wParam = wParam;
        m_pOwner->DoEvent(event);
        return 0;
      }
      break;
    case WM_LBUTTONUP: {
      LRESULT r = 0;
      m_pm.MessageHandler(uMsg, wParam, lParam, r);
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      CControlUI* hit = m_pm.FindControl(pt);
      // A row was chosen (a click on the scroll bar keeps the list open).
      if (hit && !hit->GetInterface("ScrollBar")) PostMessage(WM_CLOSE);
      return 0;
    }
    case WM_CLOSE:
      ReleaseItems();
      break;
    case WM_DESTROY:
      ReleaseItems();
      break;
    default:
      break;
  }
  LRESULT r = 0;
  if (m_pm.MessageHandler(uMsg, wParam, lParam, r)) return r;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND) { delete this; }

}  // namespace ostrel
