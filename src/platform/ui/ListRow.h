#pragma once
// Behaviour shared by the list rows (label rows and container rows): the
// background for the row's state, and the mouse and key handling that
// selects, multi-selects and activates.

#include "platform/ui/IListItemUI.h"
#include "platform/ui/IListOwnerUI.h"
#include "platform/ui/UIEvents.h"

namespace ostrel {

class CControlUI;

namespace listrow {

// Row state bits kept by the rows (UISTATE_HOT, UISTATE_SELECTED).
void DrawBackground(HDC hDC, CControlUI* row, TListInfoUI* info, UINT state, int index, const RECT& rcPaint);
DWORD TextColor(const CControlUI* row, const TListInfoUI* info, UINT state);
// Handles the events rows share; false when the row should pass it on.
bool HandleEvent(CControlUI* row, IListItemUI* item, IListOwnerUI* owner, UINT* state, TEventUI& event);

}  // namespace listrow
}  // namespace ostrel
