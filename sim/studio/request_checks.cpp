#include "studio/request_checks.h"

#include <random>

namespace studio {

std::string newToken()
{
    std::random_device random;
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        uint32_t word = random();
        for (int j = 0; j < 8; ++j, word >>= 4)
            token += digits[word & 15u];
    }
    return token;
}

bool tokenMatches(std::string_view given, std::string_view token)
{
    if (given.size() != token.size() || token.empty())
        return false;
    unsigned char differ = 0;
    for (size_t i = 0; i < token.size(); ++i)
        differ |= static_cast<unsigned char>(given[i] ^ token[i]);
    return differ == 0;
}

bool hostIsOurs(std::string_view host, uint16_t port)
{
    const std::string suffix = ":" + std::to_string(port);
    return host == "127.0.0.1" + suffix || host == "localhost" + suffix;
}

bool originIsOurs(std::string_view origin, uint16_t port)
{
    return origin.empty() || (origin.substr(0, 7) == "http://" && hostIsOurs(origin.substr(7), port));
}

} // namespace studio
