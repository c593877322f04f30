#pragma once
// Creates controls by class name: the toolkit's own classes, then those the
// program registers (RegistControl). Names compare without regard to case.

#include <map>
#include <string>

#include "platform/ui/CDuiString.h"

namespace ostrel {

class CControlUI;
using CreateClass = CControlUI* (*)();

class CControlFactory {
 public:
  static CControlFactory* GetInstance();

  // Null for a name nobody knows.
  CControlUI* CreateControl(const char* pstrClassName) const;
  // The toolkit's own classes only.
  static CControlUI* CreateBuiltinControl(const char* pstrClassName);
  // A later registration under the same name replaces the earlier one.
  void RegistControl(const char* pstrClassName, CreateClass pFunc);
  void UnregistControl(const char* pstrClassName);
  bool IsRegistered(const char* pstrClassName) const;

 private:
  CControlFactory() = default;
  static std::string Key(const char* name);
  std::map<std::string, CreateClass> m_registered;
};

}  // namespace ostrel
