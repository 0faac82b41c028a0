#include "common/number_format.h"

#include <cmath>

#include "common/text.h"

namespace qm {

namespace {
std::string GroupThousands(const std::string& digits) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  const size_t first = digits.size() % 3;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (i + 3 - first) % 3 == 0) out.push_back('.');
    out.push_back(digits[i]);
  }
  return out;
}
}  // namespace

std::string FormatNumber(uint64_t value) { return GroupThousands(std::to_string(value)); }

std::string FormatNumber(double value, int decimals) {
  if (std::isnan(value) || std::isinf(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-∞" : "∞");
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  const bool negative = value < 0;
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const double scaled = std::round(std::fabs(value) * scale);
  // Past 2^63 a double has no fractional digits left to show anyway.
  if (scaled >= 9.2e18) return (negative ? "-" : "") + GroupThousands(Format("%.0f", std::fabs(value)));
  const auto units = static_cast<uint64_t>(scaled);
  const auto divisor = static_cast<uint64_t>(scale);
  std::string text = GroupThousands(std::to_string(units / divisor));
  if (decimals > 0) {
    std::string fraction = std::to_string(units % divisor);
    text += "," + std::string(static_cast<size_t>(decimals) - fraction.size(), '0') + fraction;
  }
  return (negative && units != 0 ? "-" : "") + text;
}

}  // namespace qm
