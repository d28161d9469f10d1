#pragma once
#include <string>
#include <string_view>
namespace studio {
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error);
}
