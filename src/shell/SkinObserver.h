#pragma once
// The process-wide skin observer: created on first use, never destroyed (the
// main window may unsubscribe during the process's exit).

#include "shell/ObserverImpl.h"
#include "shell/ReceiverImpl.h"
#include "shell/SkinChangedParam.h"

namespace ostrel {

using SkinObserverImpl = ObserverImpl<int, SkinChangedParam>;
using SkinReceiverImpl = ReceiverImpl<int, SkinChangedParam>;

class SkinObserver {
 public:
  static SkinObserverImpl& Instance();
};

}  // namespace ostrel
