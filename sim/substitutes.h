#pragma once

#include <cstdint>

// The simulated host's C++ stand-ins for host functions. Each has the host function's
// calling convention and is reached through a jmp stub at the host function's address;
// the compiler checks each one against the signature the plug-in declares in host.h.

namespace sim {

void addSubstitute(uint32_t address, const void* function);
const void* substituteAt(uint32_t address);
void clearSubstitutes();

template <class Operation>
void substitute(const Operation&, typename Operation::Pointer function)
{
    addSubstitute(Operation::address, reinterpret_cast<const void*>(function));
}

// One per family of substitutes (sim/substitutes/*.cpp).
void registerTextSubstitutes();
void registerShapeSubstitutes();
void registerMessageSubstitutes();
void registerEventSiteFunctions();
void registerSpriteSubstitutes();
void registerTextureSubstitutes();
void registerWorldSubstitutes();
void registerHudRadarRoutines();
void registerRouteSubstitutes();
void registerRadarSubstitutes();
void registerPhoneSubstitutes();
void registerOptionSubstitutes();
void registerAimSubstitutes();

inline void registerAllSubstitutes()
{
    clearSubstitutes();
    registerTextSubstitutes();
    registerShapeSubstitutes();
    registerMessageSubstitutes();
    registerEventSiteFunctions();
    registerSpriteSubstitutes();
    registerTextureSubstitutes();
    registerWorldSubstitutes();
    registerHudRadarRoutines();
    registerRouteSubstitutes();
    registerRadarSubstitutes();
    registerPhoneSubstitutes();
    registerOptionSubstitutes();
    registerAimSubstitutes();
}

} // namespace sim
