#include "shell/SkinObserver.h"

namespace ostrel {

SkinObserverImpl& SkinObserver::Instance() {
  static SkinObserverImpl* observer = new SkinObserverImpl();
  return *observer;
}

}  // namespace ostrel
