#pragma once
// Fonts made available to this process only (fontconfig application fonts),
// the stand-in for registering font files from memory. Text renderers that
// cache font lists compare PrivateFontGeneration() and reload when it moved.

#include <cstdint>
#include <string>

namespace ostrel {

using PrivateFontHandle = std::uint64_t;  // 0: not registered

// Registers the font file; 0 when the file is missing or holds no usable face.
PrivateFontHandle AddPrivateFont(const std::string& path);
// Removes one registered font; false for an unknown handle.
bool RemovePrivateFont(PrivateFontHandle handle);
// Changes whenever the set of private fonts changes.
std::uint64_t PrivateFontGeneration();

}  // namespace ostrel
