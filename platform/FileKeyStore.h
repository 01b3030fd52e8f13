// The settings store kept as files under the user's configuration directory:
// the key `Software\<Company>` is the directory <Company>/, the key
// `Software\<Company>\<Program>` is the text file <Company>/<Program>.conf
// holding that key's values (see ValueFile.h for the format).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/KeyStore.h"
#include "platform/ValueFile.h"

namespace platform {

// What stands for the registry's damaged-store results here: opening or
// creating a company key answers ERROR_BADDB when its path is not a
// directory, and ERROR_REGISTRY_CORRUPT when any .conf file in it is not a
// valid settings file (see ValueFile::Parse; a directory, a device or a
// dangling link in its place counts too). Such a file is never written.
//
// Values set through a key are written when the key is flushed or closed, all
// at once by an atomic replacement, over the file as it is on disk at that
// moment: values of other names are kept as they are, and of two programs
// writing the same value the later one wins. A file the user made read-only
// is not replaced (ERROR_ACCESS_DENIED); a replaced file keeps its
// permissions, a new one is private to the user (0600, directories 0700).
// The access asked for at open is not checked then: whether a key can be
// written shows when it is written, so a read-only file can still be read.
class FileKeyStore final : public KeyStore {
public:
    // The store of the user running the program, under UserConfigDirectory().
    FileKeyStore();

    // The store under `configDirectory`. Without one no key exists and none
    // can be created (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND). `hook`
    // may interrupt every file replacement (see AtomicFile.h).
    explicit FileKeyStore(std::optional<std::filesystem::path> configDirectory,
                          WriteStepHook hook = {});

    KeyResult OpenKey(std::string_view path, KeyAccess access, KeyHandle& key) override;
    KeyResult CreateKey(std::string_view path, KeyAccess access, KeyHandle& key) override;
    KeyResult QueryValue(KeyHandle key, std::string_view name, ValueType& type,
                         std::span<std::byte> data, std::size_t& size) override;
    KeyResult SetDwordValue(KeyHandle key, std::string_view name, std::uint32_t value) override;
    KeyResult FlushKey(KeyHandle key) override;
    KeyResult CloseKey(KeyHandle key) override;

private:
    // Where a key lives: a company key is a directory; a program key is a
    // file in its company's directory.
    struct Location {
        std::filesystem::path directory;
        std::optional<std::filesystem::path> file;
    };

    struct OpenedKey {
        Location location;
        std::optional<ValueFile> values;  // program keys only
        std::vector<std::pair<std::string, std::uint32_t>> unwritten;
    };

    std::optional<Location> Locate(std::string_view path) const;
    KeyResult OpenOrCreate(std::string_view path, bool create, KeyHandle& key);
    KeyResult CreateDirectory(const std::filesystem::path& directory) const;
    KeyResult CreateKeyFile(const std::filesystem::path& file) const;
    KeyResult WriteUnwritten(OpenedKey& key) const;
    KeyHandle Hold(OpenedKey key);
    OpenedKey* Find(KeyHandle key);

    std::optional<std::filesystem::path> m_root;
    WriteStepHook m_hook;
    std::map<KeyHandle, OpenedKey> m_keys;
    std::uint32_t m_lastHandle = 0;
};

}  // namespace platform
