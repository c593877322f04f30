#pragma once

namespace ostrel {

// Xlib's default error handler ends the process. A request about a window
// the server has just destroyed (a menu closing while SDL still talks about
// it, or closing its display) is harmless: errors are logged and the program
// goes on.
void InstallXErrorLogger();

}  // namespace ostrel
