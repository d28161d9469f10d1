#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the studio's server lets in. It listens on 127.0.0.1 only, but any web page the
// modder opens could still send requests there: a page of another site names its own host
// (a DNS name pointed at 127.0.0.1, "rebinding") or its own origin, and cannot know the
// random token the studio printed. So every request must carry the token and name the
// server itself as its host, and a browser's request must come from the studio's own page.

namespace studio {

// Request bodies above this are refused: the data files are a few kilobytes.
inline constexpr size_t maxBodyBytes = 1024 * 1024;

// The session's token: 32 hexadecimal digits from the system's random source.
std::string newToken();

// In time independent of where the two first differ, so the token cannot be guessed a
// character at a time.
bool tokenMatches(std::string_view given, std::string_view token);

// "127.0.0.1:PORT" or "localhost:PORT" (what a browser sends for the printed address).
bool hostIsOurs(std::string_view host, uint16_t port);

// No Origin (a plain client or a same-origin GET) or the studio's own page's origin.
bool originIsOurs(std::string_view origin, uint16_t port);

} // namespace studio
