#pragma once
// The tool tip of the SDL backend: one small borderless window that never
// takes the focus, showing one text (lines split at '\n') below the pointer,
// in the skin's colours.

#include <SDL2/SDL.h>

#include <string>

#include "platform/ui/UIDefs.h"

namespace ostrel {

class CSdlToolTip {
 public:
  CSdlToolTip() = default;
  ~CSdlToolTip();
  CSdlToolTip(const CSdlToolTip&) = delete;
  CSdlToolTip& operator=(const CSdlToolTip&) = delete;

  // Shows `text` near `anchor` (screen coordinates of the pointer), kept
  // inside `monitor`.
  void Show(const std::string& text, POINT anchor, const RECT& monitor);
  void Hide();
  bool IsVisible() const { return visible_; }
  const std::string& Text() const { return text_; }
  // Repaints after an expose.
  void Redraw();
  SDL_Window* Window() const { return window_; }

 private:
  void Paint();

  SDL_Window* window_ = nullptr;
  std::string text_;
  bool visible_ = false;
};

}  // namespace ostrel
