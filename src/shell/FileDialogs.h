#pragma once
// Every file choice of the program: open and save in the skinned file
// dialog, with the types of the program's files.

#include <span>

#include "platform/ui/CDuiString.h"
#include "platform/ui/FileDialogFilter.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

inline constexpr FileDialogFilter kProfileFileFilter[] = {{"filter_profile_text", "*.json;"}};
inline constexpr FileDialogFilter kMacroFileFilter[] = {{"filter_macro_text", "*.mac;"}};
inline constexpr FileDialogFilter kShootFileFilter[] = {{"filter_shoot_text", "*.shoot;"}};
// The skin picker's own picture.
inline constexpr FileDialogFilter kSkinPictureFilter[] = {{"filter_png_text", "*.png"},
                                                          {"filter_all_text", "*.*"}};

// True with the chosen full path; false, with `path` emptied, when the
// dialog was cancelled or nothing was chosen.
bool ShowOpenFileDialog(std::span<const FileDialogFilter> filter, HWND owner, CDuiString& path);
// A name without extension gets the type's extension; replacing an existing
// file asks first.
bool ShowSaveFileDialog(std::span<const FileDialogFilter> filter, HWND owner, CDuiString& path);

}  // namespace ostrel
