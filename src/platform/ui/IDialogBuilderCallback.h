#pragma once

namespace ostrel {

class CControlUI;

// Asked by the builder for element names it does not know; null lets the
// builder try the control factory.
class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  virtual CControlUI* CreateControl(const char* pstrClass) = 0;
};

}  // namespace ostrel
