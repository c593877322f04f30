#include "platform/ui/CNotifyPump.h"

#include "platform/ui/CControlUI.h"

namespace ostrel {

CNotifyPump::CNotifyPump() = default;

bool CNotifyPump::AddVirtualWnd(const CDuiString& strName, CNotifyPump* pObject) {
  if (strName.IsEmpty() || !pObject || m_virtualWnds.count(strName)) return false;
  m_virtualWnds[strName] = pObject;
  return true;
}

bool CNotifyPump::RemoveVirtualWnd(const CDuiString& strName) { return m_virtualWnds.erase(strName) > 0; }

CNotifyPump* CNotifyPump::GetVirtualWnd(const CDuiString& strName) const {
  auto it = m_virtualWnds.find(strName);
  return it == m_virtualWnds.end() ? nullptr : it->second;
}

void CNotifyPump::AddNotifyHandler(const char* type, std::function<void(TNotifyUI&)> handler,
                                   const char* ctrlName) {
  m_messageMap.entries.push_back(DUI_MSGMAP::Entry{type, ctrlName ? ctrlName : "", std::move(handler)});
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
  CDuiString senderName = msg.pSender ? msg.pSender->GetName() : CDuiString();
  for (const DUI_MSGMAP* map = GetMessageMap(); map; map = map->pBaseMap) {
    for (const auto& entry : map->entries) {
      if (entry.sMsgType != msg.sType) continue;
      if (!entry.sCtrlName.IsEmpty() && entry.sCtrlName != senderName) continue;
      entry.handler(msg);
      return true;
    }
  }
  return false;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
  if (!msg.sVirtualWnd.IsEmpty()) {
    if (CNotifyPump* target = GetVirtualWnd(msg.sVirtualWnd)) {
      if (target->LoopDispatch(msg)) return;
    }
  }
  LoopDispatch(msg);
}

}  // namespace ostrel
