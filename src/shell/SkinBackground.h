#pragma once
// How the main window shows a skin change: on its control "root", a plain
// colour without picture, or a picture over no colour.

#include "shell/SkinChangedParam.h"

namespace ostrel {

class CPaintManagerUI;

class SkinBackground {
 public:
  // The result of the main window's OnSkinChanged: 1 (0 without "root").
  static int Apply(CPaintManagerUI* pm, const SkinChangedParam& param);
};

}  // namespace ostrel
