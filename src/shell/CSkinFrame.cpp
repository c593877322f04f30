#include "shell/CSkinFrame.h"

#include <strings.h>

#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/WindowApi.h"
#include "shell/FileDialogs.h"
#include "shell/SkinChangedParam.h"
#include "shell/SkinImageStore.h"
#include "shell/SkinObserver.h"

namespace ostrel {
namespace {

bool Is(const CDuiString& name, const char* what) { return strcasecmp(name.GetData(), what) == 0; }

void PublishPicture(const CDuiString& path) {
  SkinChangedParam p;
  p.bColor = false;
  p.bgimage = path;
  SkinObserver::Instance().Publish(p);
}

}  // namespace

HWND CSkinFrame::Open(HWND parent, CControlUI* anchor) {
  CSkinFrame* frame = new CSkinFrame(parent, anchor);
  if (frame->m_bGone) {
    delete frame;
    return nullptr;
  }
  return frame->GetHWND();
}

CSkinFrame::CSkinFrame(HWND parent, CControlUI* anchor) : m_hParent(parent), m_pAnchor(anchor) {
  Create(nullptr, "skinframe", WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  m_bConstructed = true;
}

LRESULT CSkinFrame::OnCreate() {
  SetIcon(kIconResource);
  DWORD style = GetWindowStyle(m_hWnd);
  style &= ~WS_CAPTION;
  SetWindowStyle(m_hWnd, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  m_pm.Init(m_hWnd);
  CDialogBuilder builder;
  CControlUI* root = builder.Create("skin.xml", nullptr, nullptr, &m_pm);
  if (!root) {
    OutputDebugString("skinframe: skin.xml did not build");
    return -1;
  }
  m_pm.AttachDialog(root);
  m_pm.AddNotifier(this);
  PlaceBelowAnchor();
  return 0;
}

void CSkinFrame::PlaceBelowAnchor() {
  if (!m_pAnchor || !m_hParent) return;
  RECT anchor = m_pAnchor->GetPos();
  POINT pt{anchor.right - m_pm.GetInitSize().cx, anchor.bottom};
  ClientToScreen(m_hParent, &pt);
  SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CSkinFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE:
      return OnCreate();
    case WM_KILLFOCUS:
      if (!m_bChoosing) Close();
      return 0;
    case WM_ACTIVATE:
      // Our window system reports the loss of focus as deactivation.
      if ((wParam & 0xFFFF) == WA_INACTIVE && !m_bChoosing) Close();
      break;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      return 0;
    case WM_NCACTIVATE:
      if (IsIconic(m_hWnd)) break;
      return wParam ? 0 : 1;
    case WM_DESTROY:
    case WM_CLOSE:
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    default:
      break;
  }
  LRESULT lRes = 0;
  if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CSkinFrame::Notify(TNotifyUI& msg) {
  if (msg.sType == "click" && msg.pSender) OnClick(msg.pSender);
}

void CSkinFrame::OnClick(CControlUI* sender) {
  const CDuiString& name = sender->GetName();
  if (Is(name, "skin_image_btn")) {
    CDuiString path = sender->GetUserData();
    PublishPicture(path);
    SkinImageStore::WriteSkinImage(true, path.str());
  } else if (Is(name, "skin_reset")) {
    PublishPicture(SkinImageStore::kDefaultImage);
    SkinImageStore::WriteSkinImage(false, SkinImageStore::kDefaultImage);
  } else if (Is(name, "skin_color_btn")) {
    SkinChangedParam p;
    p.bColor = true;
    p.bkcolor = sender->GetBkColor();
    SkinObserver::Instance().Publish(p);
  } else if (Is(name, "skin_color") || Is(name, "skin_image")) {
    if (auto* tab = static_cast<CTabLayoutUI*>(m_pm.FindControl("skin_tab")))
      tab->SelectItem(Is(name, "skin_color") ? 1 : 0);
  } else if (Is(name, "skin_Custom")) {
    ChooseOwnPicture();
  }
}

void CSkinFrame::ChooseOwnPicture() {
  m_bChoosing = true;
  CDuiString path;
  bool chosen = ShowOpenFileDialog(kSkinPictureFilter, m_hWnd, path);
  m_bChoosing = false;
  if (chosen) PublishPicture(path);
  // The picker has lost the focus to the dialog; it is done either way.
  Close();
}

void CSkinFrame::OnFinalMessage(HWND) {
  m_pm.RemoveNotifier(this);
  m_bGone = true;
  if (m_bConstructed) delete this;
}

}  // namespace ostrel
