// The per-user settings store, addressed like the registry: keys by paths such
// as `Software\Quandelle` under the user's root, typed values inside them, and
// every operation answering with the registry's result codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// The registry's result codes, with their registry names so that the settings
// logic reads as it would against the real registry.
using KeyResult = std::int32_t;
inline constexpr KeyResult ERROR_SUCCESS = 0;
inline constexpr KeyResult ERROR_FILE_NOT_FOUND = 2;
inline constexpr KeyResult ERROR_PATH_NOT_FOUND = 3;
inline constexpr KeyResult ERROR_ACCESS_DENIED = 5;
inline constexpr KeyResult ERROR_INVALID_HANDLE = 6;
inline constexpr KeyResult ERROR_WRITE_PROTECT = 19;
inline constexpr KeyResult ERROR_WRITE_FAULT = 29;
inline constexpr KeyResult ERROR_DISK_FULL = 112;
inline constexpr KeyResult ERROR_INVALID_PARAMETER = 87;
inline constexpr KeyResult ERROR_MORE_DATA = 234;
inline constexpr KeyResult ERROR_BADDB = 1009;
inline constexpr KeyResult ERROR_REGISTRY_CORRUPT = 1015;
inline constexpr KeyResult ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr KeyResult ERROR_NOT_ENOUGH_QUOTA = 1816;

// Whether a result says the store itself is damaged, rather than that one key
// or value is missing or out of reach.
inline bool IsDamagedStore(KeyResult result) {
    return result == ERROR_BADDB || result == ERROR_REGISTRY_CORRUPT;
}

// Key and value names compare without regard to ASCII case, as the
// registry's do.
inline bool SameKeyName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// A short lower-case phrase for a result, fit to follow a colon in a message.
std::string DescribeKeyResult(KeyResult result);

// Value types, numbered as the registry numbers them.
using ValueType = std::uint32_t;
inline constexpr ValueType REG_NONE = 0;
inline constexpr ValueType REG_SZ = 1;
inline constexpr ValueType REG_EXPAND_SZ = 2;
inline constexpr ValueType REG_BINARY = 3;
inline constexpr ValueType REG_DWORD = 4;
inline constexpr ValueType REG_MULTI_SZ = 7;
inline constexpr ValueType REG_QWORD = 11;

// Access rights asked for when a key is opened or created.
using KeyAccess = std::uint32_t;
inline constexpr KeyAccess KEY_READ = 0x20019;
inline constexpr KeyAccess KEY_WRITE = 0x20006;

// An open key. Handles are only meaningful to the store that gave them out.
enum class KeyHandle : std::uint32_t { None = 0 };

class KeyStore {
public:
    virtual ~KeyStore() = default;

    // Opens an existing key; ERROR_FILE_NOT_FOUND when there is none.
    virtual KeyResult OpenKey(std::string_view path, KeyAccess access, KeyHandle& key) = 0;

    // Opens the key, creating it (and the keys above it) when it does not exist.
    // Keys are created without a class, non-volatile, with default security.
    virtual KeyResult CreateKey(std::string_view path, KeyAccess access, KeyHandle& key) = 0;

    // Reads a value's type and bytes into `data`; `size` receives the value's
    // full size. A value larger than `data` gives ERROR_MORE_DATA with the type
    // and size set and `data` untouched; a missing one ERROR_FILE_NOT_FOUND.
    virtual KeyResult QueryValue(KeyHandle key, std::string_view name, ValueType& type,
                                 std::span<std::byte> data, std::size_t& size) = 0;

    // Stores a REG_DWORD value (four bytes, little-endian), replacing any value
    // of that name whatever its type.
    virtual KeyResult SetDwordValue(KeyHandle key, std::string_view name, std::uint32_t value) = 0;

    // Makes everything written through the key durable before returning.
    virtual KeyResult FlushKey(KeyHandle key) = 0;

    // Releases the handle, writing first what was set through it and not yet
    // flushed; the handle is released even when that write fails.
    virtual KeyResult CloseKey(KeyHandle key) = 0;
};

}  // namespace platform
