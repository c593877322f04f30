#include "platform/ui/XErrorLogger.h"

#include <X11/Xlib.h>

#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

int LogXError(Display* display, XErrorEvent* event) {
  char text[128] = {};
  XGetErrorText(display, event->error_code, text, sizeof text);
  DebugPrintf("ui: X error ignored: %s (request %d, resource 0x%lx)", text, event->request_code,
              event->resourceid);
  return 0;
}

}  // namespace

void InstallXErrorLogger() { XSetErrorHandler(&LogXError); }

}  // namespace ostrel
