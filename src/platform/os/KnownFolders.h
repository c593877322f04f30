#pragma once
// The folders the program works with, resolved from the environment on each
// call (tests and users may change XDG variables between calls).

#include <string>

namespace ostrel {

// The folder of the running executable, with a trailing '/'. Tests may point
// it elsewhere (an empty string restores the real one).
std::string ProgramFolder();
void SetProgramFolderOverride(const std::string& folder);

// XDG base folders with their defaults below $HOME, each with a trailing '/'.
std::string ConfigHome();  // $XDG_CONFIG_HOME or ~/.config/
std::string StateHome();   // $XDG_STATE_HOME or ~/.local/state/
std::string CacheHome();   // $XDG_CACHE_HOME or ~/.cache/
// $XDG_RUNTIME_DIR, or empty when it is unset or empty.
std::string RuntimeDir();

// Accepts the design's backslash paths ("XML\\DeviceXml\\mousedevice.xml").
std::string ToNativePath(std::string path);

}  // namespace ostrel
