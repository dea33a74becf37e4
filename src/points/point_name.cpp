#include "points/point_name.h"

#include <algorithm>

#include "platform/cp1250.h"

namespace merilon {

PointName PointName::fromBytes(std::string_view cp1250) {
  PointName n;
  n.length = static_cast<std::uint8_t>(std::min(cp1250.size(), kMaxLength));
  std::copy_n(cp1250.data(), n.length, n.bytes.data());
  return n;
}

PointName PointName::fromText(std::string_view utf8) {
  if (isAscii(utf8)) return fromBytes(utf8);
  return fromBytes(encodeCp1250(utf8));
}

std::string PointName::text() const { return decodeCp1250(raw()); }

}  // namespace merilon
