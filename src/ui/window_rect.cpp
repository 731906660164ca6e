#include "ui/window_rect.h"

#include <cstdio>

namespace vantrel::ui {

std::string FormatWindowRect(const WindowRect& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

std::optional<WindowRect> ParseWindowRect(const std::string& text) {
  WindowRect rect;
  if (std::sscanf(text.c_str(), "%d,%d,%d,%d", &rect.left, &rect.top, &rect.right, &rect.bottom) !=
      4) {
    return std::nullopt;
  }
  return rect;
}

}  // namespace vantrel::ui
