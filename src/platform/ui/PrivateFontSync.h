#pragma once
// Text drawing notices fonts registered with the process after it started
// (os/PrivateFonts): Pango's font map caches fontconfig's font list, so a
// change of the private font set gets a fresh default font map.

namespace ostrel {

// Call before laying out text (UI thread). True when the private fonts
// changed since the last call and the default font map was replaced: text
// layouts and contexts made before must be dropped.
bool SyncPrivateFonts();

}  // namespace ostrel
