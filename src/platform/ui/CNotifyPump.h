#pragma once
// Routes notifications to handlers by type (and optionally control name),
// through a chain of maps from the most derived class to its bases, and to
// named "virtual windows": pumps registered under a name receive the
// notifications of controls whose "virtualwnd" is that name.

#include <functional>
#include <map>
#include <vector>

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIEvents.h"

namespace ostrel {

class CNotifyPump;

// One map level: entries tried in order, then the base level.
struct DUI_MSGMAP {
  struct Entry {
    CDuiString sMsgType;
    CDuiString sCtrlName;  // empty: any control
    std::function<void(TNotifyUI&)> handler;
  };
  const DUI_MSGMAP* pBaseMap = nullptr;
  std::vector<Entry> entries;
};

class CNotifyPump {
 public:
  CNotifyPump();
  virtual ~CNotifyPump() = default;

  bool AddVirtualWnd(const CDuiString& strName, CNotifyPump* pObject);
  bool RemoveVirtualWnd(const CDuiString& strName);
  CNotifyPump* GetVirtualWnd(const CDuiString& strName) const;
  // Virtual window first (when the notification names one), then the map chain.
  void NotifyPump(TNotifyUI& msg);
  // True when an entry handled it.
  bool LoopDispatch(TNotifyUI& msg);

  // The notify map of this object; derived classes answer with their own
  // map whose base is the map of their base class.
  virtual const DUI_MSGMAP* GetMessageMap() const { return &m_messageMap; }

 protected:
  // Adds an entry to this object's own map level.
  void AddNotifyHandler(const char* type, std::function<void(TNotifyUI&)> handler,
                        const char* ctrlName = nullptr);
  template <typename T>
  void AddNotifyHandler(const char* type, void (T::*method)(TNotifyUI&), const char* ctrlName = nullptr) {
    T* self = static_cast<T*>(this);
    AddNotifyHandler(
        type, [self, method](TNotifyUI& m) { (self->*method)(m); }, ctrlName);
  }

  DUI_MSGMAP m_messageMap;

 private:
  std::map<CDuiString, CNotifyPump*> m_virtualWnds;
};

}  // namespace ostrel
