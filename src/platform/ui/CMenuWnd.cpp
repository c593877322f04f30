#include "platform/ui/CMenuWnd.h"

#include <algorithm>

#include "platform/os/DebugLog.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CMenuElementUI.h"
#include "platform/ui/CVerticalLayoutUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

CMenuWnd* CMenuWnd::s_openMenu = nullptr;
const CMenuWnd* CMenuWnd::s_finalised = nullptr;

namespace {
const bool kChecked = true;
const bool kUnchecked = false;
}  // namespace

void* CMenuWnd::CheckedValue() { return const_cast<bool*>(&kChecked); }
void* CMenuWnd::UncheckedValue() { return const_cast<bool*>(&kUnchecked); }

bool CMenuWnd::IsCheckedIn(const CheckInfo& info, const char* name, bool fallback) {
  void* value = info.Find(name);
  return value ? *static_cast<const bool*>(value) : fallback;
}

RECT CMenuWnd::PlaceMenu(POINT point, SIZE size, DWORD alignment, const RECT& monitor) {
  auto place = [](int at, int extent, bool before, int low, int high) {
    int start = before ? at - extent : at;
    // Flip to the other side of the point when this side runs off the monitor.
    if (!before && start + extent > high && at - extent >= low) start = at - extent;
    if (before && start < low && at + extent <= high) start = at;
    return std::clamp(start, low, std::max(low, high - extent));
  };
  int x = place(point.x, size.cx, (alignment & eMenuAlignment_Right) != 0, monitor.left, monitor.right);
  int y = place(point.y, size.cy, (alignment & eMenuAlignment_Bottom) != 0, monitor.top, monitor.bottom);
  return RECT{x, y, x + size.cx, y + size.cy};
}

CMenuWnd* CMenuWnd::CreateMenu(const char* xml, POINT point, CPaintManagerUI* pMainPaintManager,
                               CheckInfo* pMenuCheckInfo, DWORD dwAlignment) {
  HWND receiver = pMainPaintManager ? pMainPaintManager->GetPaintWindow() : nullptr;
  if (!xml || !IsWindow(receiver)) return nullptr;
  DestroyMenu();
  auto* menu = new CMenuWnd();
  menu->m_sXml = xml;
  menu->m_hWndReceiver = receiver;
  menu->m_pCheckInfo = pMenuCheckInfo;
  s_finalised = nullptr;
  if (!menu->Create(receiver, "menu", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0)) {
    // A layout that did not build took the object with its window; a window
    // the backend refused never had one.
    if (s_finalised != menu) delete menu;
    DebugPrintf("ui: menu '%s' could not be opened", xml);
    return nullptr;
  }
  s_openMenu = menu;
  HWND hwnd = menu->GetHWND();
  RECT rc = PlaceMenu(point, menu->ContentSize(), dwAlignment, GetMonitorRect(hwnd));
  SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  menu->ShowWindow(true, true);
  return menu;
}

void CMenuWnd::DestroyMenu() {
  if (s_openMenu && s_openMenu->GetHWND()) DestroyWindow(s_openMenu->GetHWND());
  s_openMenu = nullptr;
}

SIZE CMenuWnd::ContentSize() {
  RECT rc{};
  GetWindowRect(m_hWnd, &rc);
  SIZE size{rc.right - rc.left, rc.bottom - rc.top};
  auto* root = dynamic_cast<CContainerUI*>(m_pm.GetRoot());
  if (!root || (size.cx > 0 && size.cy > 0)) return size;
  // A layout without a height is as tall as its rows.
  RECT inset = root->GetInset();
  int height = inset.top + inset.bottom;
  int width = inset.left + inset.right;
  int rows = 0;
  for (int i = 0; i < root->GetCount(); ++i) {
    CControlUI* item = root->GetItemAt(i);
    if (!item->IsVisible() || item->IsFloat()) continue;
    RECT pad = item->GetPadding();
    height += item->GetFixedHeight() + pad.top + pad.bottom;
    width = std::max<int>(width, item->GetFixedWidth() + pad.left + pad.right + inset.left + inset.right);
    ++rows;
  }
  if (rows > 1) height += root->GetChildPadding() * (rows - 1);
  if (size.cx <= 0) size.cx = std::max<int>(width, 120);
  if (size.cy <= 0) size.cy = height;
  return size;
}

CControlUI* CMenuWnd::CreateControl(const char* pstrClass) {
  CDuiString name(pstrClass);
  if (name.CompareNoCase("MenuElement") == 0) return new CMenuElementUI();
  if (name.CompareNoCase("Menu") == 0) return new CVerticalLayoutUI();
  return nullptr;
}

void CMenuWnd::InitWindow() {
  if (!m_pCheckInfo) return;
  for (CControlUI* c : m_pm.FindSubControlsByClass(nullptr, "MenuElementUI")) {
    auto* item = static_cast<CMenuElementUI*>(c);
    item->SetChecked(IsCheckedIn(*m_pCheckInfo, item->GetName().GetData(), item->IsChecked()));
  }
}

void CMenuWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender && !m_bChosen) {
    auto* item = static_cast<CMenuElementUI*>(msg.pSender->GetInterface("MenuElement"));
    if (item && item->IsEnabled()) {
      m_bChosen = true;
      bool checked = item->IsChecked();
      if (item->IsCheckable()) {
        checked = !checked;
        item->SetChecked(checked);
        if (m_pCheckInfo)
          m_pCheckInfo->Set(item->GetName().GetData(), checked ? CheckedValue() : UncheckedValue());
      }
      MenuCmd* cmd = NewMenuCmd(item->GetName().GetData(), item->GetUserData().GetData(),
                                item->GetText().GetData(), checked);
      if (!ostrel::PostMessage(m_hWndReceiver, WM_MENUCLICK, reinterpret_cast<WPARAM>(cmd), 0))
        CPaintManagerUI::DeletePtr(cmd);
      Close(IDOK);
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

LRESULT CMenuWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  // Another window became active or the program lost the focus: the menu goes.
  if ((uMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) || uMsg == WM_KILLFOCUS) Close(IDCANCEL);
  return 0;
}

LRESULT CMenuWnd::ResponseDefaultKeyEvent(WPARAM wParam) {
  if (wParam != VK_ESCAPE) return 0;
  Close(IDCANCEL);
  return 1;
}

void CMenuWnd::OnFinalMessage(HWND hWnd) {
  WindowImplBase::OnFinalMessage(hWnd);
  if (s_openMenu == this) s_openMenu = nullptr;
  s_finalised = this;
  delete this;
}

}  // namespace ostrel
