#include "platform/ui/ListRow.h"

#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel::listrow {

void DrawBackground(HDC hDC, CControlUI* row, TListInfoUI* info, UINT state, int index, const RECT& rcPaint) {
  if (!info) return;
  const RECT& rc = row->GetPos();
  DWORD color = 0;
  const CDuiString* image = nullptr;
  if (!row->IsEnabled()) {
    color = info->dwDisabledBkColor;
    image = &info->sDisabledImage;
  } else if (state & UISTATE_SELECTED) {
    color = info->dwSelectedBkColor;
    image = &info->sSelectedImage;
  } else if (state & UISTATE_HOT) {
    color = info->dwHotBkColor;
    image = &info->sHotImage;
  } else {
    color =
        info->bAlternateBk && (index % 2 == 1) ? info->dwBkColor : (info->bAlternateBk ? 0 : info->dwBkColor);
    image = &info->sBkImage;
  }
  RECT clip;
  if (color && IntersectRect(&clip, rc, rcPaint))
    CRenderEngine::DrawColor(hDC, clip, row->GetAdjustColor(color));
  if (image && !image->IsEmpty()) CRenderEngine::DrawImageString(hDC, row->GetManager(), rc, rcPaint, *image);
  if (info->dwLineColor)
    CRenderEngine::DrawColor(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom},
                             row->GetAdjustColor(info->dwLineColor));
}

DWORD TextColor(const CControlUI* row, const TListInfoUI* info, UINT state) {
  if (!info) return 0;
  if (!row->IsEnabled()) return info->dwDisabledTextColor;
  if ((state & UISTATE_SELECTED) && info->dwSelectedTextColor) return info->dwSelectedTextColor;
  if ((state & UISTATE_HOT) && info->dwHotTextColor) return info->dwHotTextColor;
  return info->dwTextColor;
}

bool HandleEvent(CControlUI* row, IListItemUI* item, IListOwnerUI* owner, UINT* state, TEventUI& event) {
  CPaintManagerUI* pm = row->GetManager();
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
      if (!row->IsEnabled()) return true;
      if ((event.wKeyState & MK_CONTROL) && owner && owner->IsMultiSelect()) {
        if (item->IsSelected()) {
          owner->UnSelectItem(item->GetIndex());
        } else {
          item->SelectMulti(true);
        }
      } else {
        item->Select(true);
      }
      row->Invalidate();
      return true;
    case UIEVENT_BUTTONUP:
      if (row->IsEnabled() && pm && PtInRect(row->GetPos(), event.ptMouse))
        pm->SendNotify(row, DUI_MSGTYPE_ITEMCLICK, event.wParam, event.lParam);
      return true;
    case UIEVENT_DBLCLICK:
      if (row->IsEnabled()) {
        row->Activate();
        row->Invalidate();
      }
      return true;
    case UIEVENT_KEYDOWN:
      if (row->IsEnabled() && event.chKey == VK_RETURN) {
        row->Activate();
        row->Invalidate();
        return true;
      }
      if (owner) {
        owner->DoEvent(event);
        return true;
      }
      return false;
    case UIEVENT_MOUSEMOVE:
      return true;
    case UIEVENT_MOUSEENTER:
      if (row->IsEnabled()) {
        *state |= UISTATE_HOT;
        row->Invalidate();
      }
      return true;
    case UIEVENT_MOUSELEAVE:
      if (*state & UISTATE_HOT) {
        *state &= ~UISTATE_HOT;
        row->Invalidate();
      }
      return true;
    case UIEVENT_SCROLLWHEEL:
      if (owner) {
        owner->DoEvent(event);
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace ostrel::listrow
