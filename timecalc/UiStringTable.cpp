#include "timecalc/UiStringTable.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

#include "olvanta/Config.h"

namespace {

// A field of `Width` bytes: the text, blanks up to Width - 1, then a zero byte.
template <std::size_t Width>
struct UiField {
    std::array<char, Width> bytes{};

    template <std::size_t N>
    consteval explicit UiField(const char (&text)[N]) {
        static_assert(N <= Width, "text does not fit its field");
        std::fill(bytes.begin(), bytes.end() - 1, ' ');
        std::copy(text, text + N - 1, bytes.begin());
        bytes.back() = '\0';
    }

    constexpr std::string_view Padded() const { return {bytes.data(), Width - 1}; }
};

constexpr UiField<135> kTimezonesDataError(
    "Timezones data could not be retreived! For support please visit " OLVANTA_SUPPORT_URL);
constexpr UiField<135> kLocationsDataError(
    "Locations data could not be retreived! For support please visit " OLVANTA_SUPPORT_URL);
constexpr UiField<33> kTimeDifference("Time difference");
constexpr UiField<33> kBaseLocationGmtPlus("Base location: GMT+");
constexpr UiField<33> kBaseLocationGmt("Base location: GMT");
constexpr UiField<33> kRemoteLocationGmtPlus("Remote location: GMT+");
constexpr UiField<33> kRemoteLocationGmt("Remote location: GMT");

struct Entry {
    std::string_view padded;
    std::size_t width;
};

template <std::size_t Width>
constexpr Entry EntryOf(const UiField<Width>& field) {
    return Entry{field.Padded(), Width};
}

// In the order of the UiString enumeration.
constexpr std::array kTable{
    EntryOf(kTimezonesDataError),  EntryOf(kLocationsDataError), EntryOf(kTimeDifference),
    EntryOf(kBaseLocationGmtPlus), EntryOf(kBaseLocationGmt),    EntryOf(kRemoteLocationGmtPlus),
    EntryOf(kRemoteLocationGmt),
};

const Entry& EntryFor(UiString id) {
    const auto index = static_cast<std::size_t>(id);
    if (index >= kTable.size()) {
        throw std::out_of_range("unknown UI string");
    }
    return kTable[index];
}

}  // namespace

std::size_t CopyUiString(UiString id, std::span<char, kUiStringBufferSize> buffer) {
    std::string_view text = EntryFor(id).padded;
    const std::size_t lastNonBlank = text.find_last_not_of(' ');
    text = lastNonBlank == std::string_view::npos ? std::string_view{}
                                                  : text.substr(0, lastNonBlank + 1);
    const std::size_t count = std::min(text.size(), kUiStringBufferSize - 1);
    std::copy_n(text.begin(), count, buffer.begin());
    return count;
}

std::string UiText(UiString id) {
    std::array<char, kUiStringBufferSize> buffer{};
    const std::size_t count = CopyUiString(id, buffer);
    return std::string(buffer.data(), count);
}

std::size_t UiStringWidth(UiString id) {
    return EntryFor(id).width;
}
