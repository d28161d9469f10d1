#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "studio/session.h"

namespace studio {

// Serves the page and its requests on 127.0.0.1:`port` (0: any free port) until stopped.
// `ready` is called with the port once it listens; `stop` receives the function that stops
// it (from another thread or a signal). False with `error` when it cannot listen.
bool serve(Session& session, const std::string& token, uint16_t port, const std::function<void(uint16_t)>& ready,
           std::function<void()>& stop, std::string& error);

} // namespace studio
