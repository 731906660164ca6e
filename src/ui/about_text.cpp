#include "ui/about_text.h"

namespace vantrel::ui {

std::string AboutVersionText(unsigned firmwareVersion) {
  std::string text = "Halvix Ver." + std::to_string(firmwareVersion);
  text.insert(text.size() - 1, ".");
  return text;
}

}  // namespace vantrel::ui
