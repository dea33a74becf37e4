// The sentinel for a missing or unreadable number, compared by equality everywhere.
#pragma once

#include <cstdint>

namespace merilon {

inline constexpr std::int32_t NO_VALUE = -99999999;
inline constexpr double NO_VALUE_F = -99999999.0;

}  // namespace merilon
