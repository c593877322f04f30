#include "shell/SkinBackground.h"

#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

int SkinBackground::Apply(CPaintManagerUI* pm, const SkinChangedParam& param) {
  CControlUI* root = pm ? pm->FindControl("root") : nullptr;
  if (!root) return 0;
  if (param.bColor) {
    root->SetBkColor(param.bkcolor);
    root->SetBkImage("");
  } else {
    root->SetBkColor(0);
    root->SetBkImage(param.bgimage);
  }
  return 1;
}

}  // namespace ostrel
