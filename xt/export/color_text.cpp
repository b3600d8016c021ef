#include "xt/export/color_text.h"

namespace xt {
namespace {

void AppendHighByte(std::string& out, std::uint16_t component) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const unsigned high = component >> 8;
  out += kDigits[high >> 4];
  out += kDigits[high & 0x0F];
}

}  // namespace

std::string ColorText(const XtRgb& rgb) {
  std::string text;
  AppendHighByte(text, rgb.red);
  AppendHighByte(text, rgb.green);
  AppendHighByte(text, rgb.blue);
  return text;
}

}  // namespace xt
