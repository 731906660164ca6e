#pragma once

#include <optional>
#include <string>

namespace vantrel::ui {

// A window rectangle as the profile file keeps it: right and bottom lie just outside.
struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const WindowRect&) const = default;
};

// "left,top,right,bottom"
std::string FormatWindowRect(const WindowRect& rect);
// Four numbers as "%d,%d,%d,%d" scans them, or nothing.
std::optional<WindowRect> ParseWindowRect(const std::string& text);

}  // namespace vantrel::ui
