#include "tools/tzgen/DataFileText.h"

#include "platform/GccRestrictFalsePositive.h"

namespace tzgen {
namespace {

void AppendRule(std::string& line, const TransitionRule& rule) {
    for (int value : {int{rule.bias}, int{rule.month}, int{rule.day}, int{rule.weekday},
                      int{rule.week}, int{rule.hour}, int{rule.minute}}) {
        line += ',';
        line += std::to_string(value);
    }
}

}  // namespace

std::string CleanFieldText(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            clean += '\'';
        } else if (byte < 0x20 || byte == 0x7F) {
            clean += ' ';
        } else {
            clean += c;
        }
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

std::string QuoteField(std::string_view text) {
    if (text.find(',') == std::string_view::npos) {
        return std::string(text);
    }
    // g++ 12 at -O3 takes this string copy for an overlapping one.
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
    return "\"" + std::string(text) + "\"";
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
}

std::string ZoneLine(std::string_view name, std::string_view label, std::string_view remark,
                     const EncodedZone& zone) {
    std::string line = QuoteField(name) + ',' + QuoteField(label) + ',' + QuoteField(remark);
    AppendRule(line, zone.standard);
    AppendRule(line, zone.daylight);
    return line;
}

std::string LocationLine(std::string_view zoneName, std::string_view placeName) {
    return QuoteField(zoneName) + ',' + QuoteField(placeName);
}

}  // namespace tzgen
