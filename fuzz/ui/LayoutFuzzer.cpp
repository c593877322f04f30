// Layout text from anywhere (a damaged or hostile skin) must build, lay out
// and paint without crashing. Seeds: fuzz/seeds/fuzz_ui_layout/.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CPaintManagerUI.h"

// Fontconfig, Pango and GLib keep process-wide caches of every face and
// size asked for; they are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libpango\nleak:libharfbuzz\nleak:libglib\nleak:libgobject\nleak:libcairo\n"
         "leak:libpixman\nleak:libfreetype\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Keep the debug log out of the user's state folder and off the terminal.
  setenv("XDG_STATE_HOME", "/tmp/ostrel-fuzz-ui-state", 1);
  ostrel::SetDebugToStderr(false);
  ostrel::CPaintManagerUI::SetResourcePath("/nonexistent-ostrel-skin/");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  // Only text that reads as a layout (not as a file name) is of interest.
  if (text.find('<') == std::string::npos) text.insert(0, "<");
  ostrel::CPaintManagerUI pm;
  ostrel::CDialogBuilder builder;
  ostrel::CControlUI* root = builder.Create(text.c_str(), nullptr, nullptr, &pm);
  if (!root) return 0;
  pm.AttachDialog(root);  // the manager owns and deletes the tree
  root->SetPos(ostrel::RECT{0, 0, 320, 200}, false);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 320, 200);
  cairo_t* cr = cairo_create(surface);
  root->Paint(cr, ostrel::RECT{0, 0, 320, 200}, nullptr);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return 0;
}
