#include "tools/tzsource/DateText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tzsource {

std::string DateText(std::chrono::sys_days date) {
    const std::chrono::year_month_day ymd(date);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()));
    return text;
}

std::optional<std::chrono::sys_days> ParseDate(std::string_view text) {
    const auto digits = [&text](std::size_t from, std::size_t count) {
        const std::string_view part = text.substr(from, count);
        return std::all_of(part.begin(), part.end(),
                           [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digits(0, 4) || !digits(5, 2) ||
        !digits(8, 2)) {
        return std::nullopt;
    }
    const auto number = [&text](std::size_t from, std::size_t count) {
        int value = 0;
        for (char c : text.substr(from, count)) {
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const std::chrono::year_month_day date{std::chrono::year(number(0, 4)),
                                           std::chrono::month(static_cast<unsigned>(number(5, 2))),
                                           std::chrono::day(static_cast<unsigned>(number(8, 2)))};
    return date.ok() ? std::optional(std::chrono::sys_days(date)) : std::nullopt;
}

}  // namespace tzsource
