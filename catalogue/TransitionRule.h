// One of a zone's two yearly rules: an offset in minutes and the wall-clock
// moment of a daylight-saving transition, narrowed to the stored widths.
#pragma once

#include <array>
#include <compare>
#include <cstdint>

struct TransitionRule {
    std::int16_t bias = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t weekday = 0;
    std::uint8_t week = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;

    friend auto operator<=>(const TransitionRule&, const TransitionRule&) = default;
};

// The seven numbers of a rule as read from text, in field order: bias, month,
// day, weekday, week, hour, minute.
using RuleNumbers = std::array<std::int32_t, 7>;

// Keeps the low bits of each number: 16 for the bias, read back as signed, and
// 8 for the six date fields, read as unsigned (so -1 becomes 255). Nothing is
// range-checked here; the rule evaluation copes with any value.
constexpr TransitionRule NarrowRule(const RuleNumbers& numbers) {
    const auto low8 = [](std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); };
    return TransitionRule{
        .bias = static_cast<std::int16_t>(static_cast<std::uint16_t>(numbers[0] & 0xFFFF)),
        .month = low8(numbers[1]),
        .day = low8(numbers[2]),
        .weekday = low8(numbers[3]),
        .week = low8(numbers[4]),
        .hour = low8(numbers[5]),
        .minute = low8(numbers[6]),
    };
}
