#pragma once
#include <string>
#include <string_view>
#include <vector>
namespace studio {
std::vector<std::string> docRows(std::string_view markdown, std::string_view key);
}
