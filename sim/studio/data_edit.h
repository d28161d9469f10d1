#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>
namespace studio {
enum class FileKind { Settings, Layout, Colours };
struct ValueChange { std::string key; std::vector<std::string> values; };
std::optional<std::string> applyChanges(std::string_view text, FileKind kind, const std::vector<ValueChange>& changes,
                                        std::string& error);
}
