#pragma once

#include <cstdint>

// The one platform-specific part of laying out the host's image: reserving its range at
// the host's fixed addresses and setting page access.

namespace sim {

enum class Access { None, Read, ReadWrite, ReadExecute, ReadWriteExecute };

bool mapFixedRange(uint32_t begin, uint32_t end);
void unmapFixedRange(uint32_t begin, uint32_t end);
bool setAccess(uint32_t begin, uint32_t end, Access access);

} // namespace sim
