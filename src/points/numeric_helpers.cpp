#include "points/numeric_helpers.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "points/no_value.h"

namespace merilon {

double parseFloatText(std::string_view s) {
  const auto v = parseDouble(s);
  return v ? *v : NO_VALUE_F;
}

std::int32_t parseIntText(std::string_view s) {
  const auto v = parseInt32(s);
  return v ? *v : NO_VALUE;
}

double round2(double v) { return std::nearbyint(v * 100.0) / 100.0; }

double round3(double v) { return std::nearbyint(v * 1000.0) / 1000.0; }

bool decimalKeyFilter(Platform& platform, char32_t key) {
  if (key == 8 || key == 9 || (key >= U'0' && key <= U'9') || key == U'.' || key == U'-') {
    return true;
  }
  platform.beep();
  return false;
}

bool integerKeyFilter(Platform& platform, char32_t key) {
  if (key == 8 || key == 9 || (key >= U'0' && key <= U'9')) return true;
  platform.beep();
  return false;
}

bool fileExists(const std::filesystem::path& name) {
  if (name.empty()) return false;
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) return false;
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::string stripExtension(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return name;
  const auto slash = name.find_last_of("/\\");
  if (slash != std::string::npos && slash > dot) return name;
  return name.substr(0, dot);
}

std::string upperExtension(const std::string& name) {
  return upperCase(name.substr(stripExtension(name).size()));
}

bool confirmOverwrite(Platform& platform, const std::string& fileName, MessageIcon icon) {
  if (!fileExists(fileName)) return true;
  return showMessage(platform, icon, MessageButtons::YesNo, "Zapis do pliku",
                     "Plik: " + fileName + " istnieje. Czy mimo to zapisywać?",
                     DialogResult::No) == DialogResult::Yes;
}

void polarPoint(double x0, double y0, double a, double d, double& x, double& y) {
  x = x0 + d * std::cos(a - std::numbers::pi);
  y = y0 + d * std::sin(a - std::numbers::pi);
}

double pointDistance(double x1, double y1, double x2, double y2) {
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

DialogResult showMessage(Platform& platform, MessageIcon icon, MessageButtons buttons,
                         const std::string& title, const std::string& text,
                         DialogResult defaultButton) {
  MessageRequest request;
  request.icon = icon;
  request.buttons = buttons;
  request.title = title;
  request.text = text;
  request.defaultButton = defaultButton;
  return platform.showMessage(request);
}

}  // namespace merilon
