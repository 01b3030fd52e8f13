// A settings store in memory for tests: it keeps keys and typed values,
// records every call in order, and can be told to make any operation fail
// with any result.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/KeyStore.h"
#include "platform/ValueFile.h"

class MemoryKeyStore final : public platform::KeyStore {
public:
    enum class Operation { Open, Create, Query, Set, Flush, Close };

    // From now on `operation` answers `result` and does nothing else (a
    // failing close still releases its handle). The target is a key path for
    // Open, Create, Flush and Close and a value name for Query and Set.
    void Fail(Operation operation, std::string target, platform::KeyResult result) {
        m_failures.push_back(Failure{operation, std::move(target), result});
    }

    // Creates the key and the keys above it, as CreateKey does, unrecorded.
    void AddKey(std::string_view path) {
        for (std::size_t end = path.find('\\'); end != std::string_view::npos;
             end = path.find('\\', end + 1)) {
            KeyAt(path.substr(0, end));
        }
        KeyAt(path);
    }
    bool HasKey(std::string_view path) const { return FindKey(path) != nullptr; }

    // Stores a value of any type, in place of one of the same name.
    void PutValue(std::string_view path, std::string_view name, platform::StoredValue value) {
        AddKey(path);
        Key& key = KeyAt(path);
        for (auto& [stored, old] : key.values) {
            if (platform::SameKeyName(stored, name)) {
                old = std::move(value);
                return;
            }
        }
        key.values.emplace_back(std::string(name), std::move(value));
    }
    void PutDword(std::string_view path, std::string_view name, std::uint32_t value) {
        PutValue(path, name, platform::StoredValue{platform::REG_DWORD, Bytes(value)});
    }

    std::optional<platform::StoredValue> Value(std::string_view path, std::string_view name) const {
        const Key* key = FindKey(path);
        const platform::StoredValue* value = key != nullptr ? FindValue(*key, name) : nullptr;
        return value != nullptr ? std::optional(*value) : std::nullopt;
    }
    // The value when it is a REG_DWORD of four bytes.
    std::optional<std::uint32_t> Dword(std::string_view path, std::string_view name) const {
        const std::optional<platform::StoredValue> value = Value(path, name);
        if (!value || value->type != platform::REG_DWORD || value->data.size() != 4) {
            return std::nullopt;
        }
        std::uint32_t number = 0;
        for (std::size_t i = 4; i-- > 0;) {
            number = (number << 8) | std::to_integer<std::uint32_t>(value->data[i]);
        }
        return number;
    }

    // Every call as "<operation> <key path>[ <value name>[=<number set>]]",
    // followed by " !<result>" when the result was not ERROR_SUCCESS.
    const std::vector<std::string>& Calls() const { return m_calls; }
    // The access asked for by each open and create.
    const std::vector<platform::KeyAccess>& Accesses() const { return m_accesses; }
    std::size_t OpenHandles() const { return m_handles.size(); }

    platform::KeyResult OpenKey(std::string_view path, platform::KeyAccess access,
                                platform::KeyHandle& key) override {
        m_accesses.push_back(access);
        platform::KeyResult result = Injected(Operation::Open, path);
        if (result == platform::ERROR_SUCCESS && !HasKey(path)) {
            result = platform::ERROR_FILE_NOT_FOUND;
        }
        return Record("open " + std::string(path), Hand(result, path, key));
    }

    platform::KeyResult CreateKey(std::string_view path, platform::KeyAccess access,
                                  platform::KeyHandle& key) override {
        m_accesses.push_back(access);
        const platform::KeyResult result = Injected(Operation::Create, path);
        if (result == platform::ERROR_SUCCESS) {
            AddKey(path);
        }
        return Record("create " + std::string(path), Hand(result, path, key));
    }

    platform::KeyResult QueryValue(platform::KeyHandle key, std::string_view name,
                                   platform::ValueType& type, std::span<std::byte> data,
                                   std::size_t& size) override {
        const std::string path = PathOf(key);
        platform::KeyResult result = Injected(Operation::Query, name);
        const Key* held = FindKey(path);
        const platform::StoredValue* value = held != nullptr ? FindValue(*held, name) : nullptr;
        if (result == platform::ERROR_SUCCESS) {
            result = !IsOpen(key)       ? platform::ERROR_INVALID_HANDLE
                     : value == nullptr ? platform::ERROR_FILE_NOT_FOUND
                                        : platform::ERROR_SUCCESS;
        }
        if (result == platform::ERROR_SUCCESS) {
            type = value->type;
            size = value->data.size();
            if (size > data.size()) {
                result = platform::ERROR_MORE_DATA;
            } else {
                std::copy(value->data.begin(), value->data.end(), data.begin());
            }
        }
        return Record("query " + path + " " + std::string(name), result);
    }

    platform::KeyResult SetDwordValue(platform::KeyHandle key, std::string_view name,
                                      std::uint32_t value) override {
        const std::string path = PathOf(key);
        platform::KeyResult result = Injected(Operation::Set, name);
        if (result == platform::ERROR_SUCCESS && !IsOpen(key)) {
            result = platform::ERROR_INVALID_HANDLE;
        }
        if (result == platform::ERROR_SUCCESS) {
            PutDword(path, name, value);
        }
        const auto shown = static_cast<std::int64_t>(static_cast<std::int32_t>(value));
        return Record("set " + path + " " + std::string(name) + "=" + std::to_string(shown),
                      result);
    }

    platform::KeyResult FlushKey(platform::KeyHandle key) override {
        const std::string path = PathOf(key);
        platform::KeyResult result = Injected(Operation::Flush, path);
        if (result == platform::ERROR_SUCCESS && !IsOpen(key)) {
            result = platform::ERROR_INVALID_HANDLE;
        }
        return Record("flush " + path, result);
    }

    platform::KeyResult CloseKey(platform::KeyHandle key) override {
        const std::string path = PathOf(key);
        platform::KeyResult result = Injected(Operation::Close, path);
        if (m_handles.erase(key) == 0) {
            result = platform::ERROR_INVALID_HANDLE;
        }
        return Record("close " + path, result);
    }

private:
    struct Key {
        std::string path;
        std::vector<std::pair<std::string, platform::StoredValue>> values;
    };
    struct Failure {
        Operation operation;
        std::string target;
        platform::KeyResult result;
    };

    static std::vector<std::byte> Bytes(std::uint32_t value) {
        return {static_cast<std::byte>(value), static_cast<std::byte>(value >> 8),
                static_cast<std::byte>(value >> 16), static_cast<std::byte>(value >> 24)};
    }

    static const platform::StoredValue* FindValue(const Key& key, std::string_view name) {
        for (const auto& [stored, value] : key.values) {
            if (platform::SameKeyName(stored, name)) {
                return &value;
            }
        }
        return nullptr;
    }

    std::size_t IndexOfKey(std::string_view path) const {
        const auto found = std::find_if(m_keys.begin(), m_keys.end(), [path](const Key& key) {
            return platform::SameKeyName(key.path, path);
        });
        return static_cast<std::size_t>(found - m_keys.begin());
    }

    const Key* FindKey(std::string_view path) const {
        const std::size_t index = IndexOfKey(path);
        return index == m_keys.size() ? nullptr : &m_keys[index];
    }

    // The key, created (alone) when it does not exist.
    Key& KeyAt(std::string_view path) {
        const std::size_t index = IndexOfKey(path);
        return index == m_keys.size() ? m_keys.emplace_back(Key{std::string(path), {}})
                                      : m_keys[index];
    }

    platform::KeyResult Injected(Operation operation, std::string_view target) const {
        for (const Failure& failure : m_failures) {
            if (failure.operation == operation && platform::SameKeyName(failure.target, target)) {
                return failure.result;
            }
        }
        return platform::ERROR_SUCCESS;
    }

    platform::KeyResult Hand(platform::KeyResult result, std::string_view path,
                             platform::KeyHandle& key) {
        if (result == platform::ERROR_SUCCESS) {
            key = static_cast<platform::KeyHandle>(++m_lastHandle);
            m_handles.emplace(key, std::string(path));
        }
        return result;
    }

    bool IsOpen(platform::KeyHandle key) const { return m_handles.count(key) != 0; }

    std::string PathOf(platform::KeyHandle key) const {
        const auto found = m_handles.find(key);
        return found == m_handles.end() ? "<not open>" : found->second;
    }

    platform::KeyResult Record(std::string call, platform::KeyResult result) {
        if (result != platform::ERROR_SUCCESS) {
            call += " !" + std::to_string(result);
        }
        m_calls.push_back(std::move(call));
        return result;
    }

    std::vector<Key> m_keys;
    std::vector<Failure> m_failures;
    std::map<platform::KeyHandle, std::string> m_handles;
    std::vector<std::string> m_calls;
    std::vector<platform::KeyAccess> m_accesses;
    std::uint32_t m_lastHandle = 0;
};
