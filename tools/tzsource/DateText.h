// Calendar dates as the tools write and read them: "2026-12-08".
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tzsource {

std::string DateText(std::chrono::sys_days date);

// Exactly ten characters, YYYY-MM-DD, naming a real date; nothing otherwise.
std::optional<std::chrono::sys_days> ParseDate(std::string_view text);

}  // namespace tzsource
