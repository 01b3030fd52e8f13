#include "platform/FileKeyStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/UserConfigDirectory.h"

namespace platform {
namespace {

constexpr std::string_view kKeyFileExtension = ".conf";
constexpr std::filesystem::perms kPrivateFile =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

KeyResult ResultOfErrno(int error) {
    switch (error) {
        case 0: return ERROR_SUCCESS;
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM: return ERROR_ACCESS_DENIED;
        case EROFS: return ERROR_WRITE_PROTECT;
        case ENOSPC:
        case EDQUOT: return ERROR_DISK_FULL;
        default: return ERROR_REGISTRY_IO_FAILED;
    }
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    int Get() const { return m_descriptor; }

private:
    int m_descriptor;
};

// A key's file as it is on disk now.
struct KeyFile {
    KeyResult result = ERROR_SUCCESS;
    std::optional<ValueFile> values;
    bool exists = false;
    std::filesystem::path target;  // the file itself, through a symbolic link
    std::filesystem::perms permissions = kPrivateFile;
};

// Reads at most one byte more than a settings file may hold.
KeyResult ReadLimited(int descriptor, std::string& text) {
    text.resize(ValueFile::kMaxSize + 1);
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t count = ::read(descriptor, text.data() + filled, text.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return ResultOfErrno(errno);
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    text.resize(filled);
    return ERROR_SUCCESS;
}

KeyFile ReadKeyFile(const std::filesystem::path& path) {
    KeyFile file;
    file.target = path;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        file.result = errno == ENOENT ? ERROR_FILE_NOT_FOUND : ResultOfErrno(errno);
        return file;
    }
    file.exists = true;
    // Whatever stands in the file's place and is not a regular file (a
    // dangling link, a directory, a device) is damage, and is not opened:
    // opening a device may have effects of its own.
    std::error_code error;
    if (S_ISLNK(status.st_mode)) {
        file.target = std::filesystem::canonical(path, error);
    }
    if (error || ::stat(file.target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        file.result = ERROR_REGISTRY_CORRUPT;
        return file;
    }
    const Descriptor descriptor(
        ::open(file.target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (descriptor.Get() < 0) {
        file.result = ResultOfErrno(errno);
        return file;
    }
    if (::fstat(descriptor.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        file.result = ERROR_REGISTRY_CORRUPT;
        return file;
    }
    file.permissions = static_cast<std::filesystem::perms>(status.st_mode & 07777);
    std::string text;
    file.result = ReadLimited(descriptor.Get(), text);
    if (file.result == ERROR_SUCCESS) {
        file.values = ValueFile::Parse(text);
        file.result = file.values ? ERROR_SUCCESS : ERROR_REGISTRY_CORRUPT;
    }
    return file;
}

bool IsKeyFileName(const std::string& name) {
    return name.size() > kKeyFileExtension.size() && name.ends_with(kKeyFileExtension);
}

// A company directory is sound when it is a directory and every key file in
// it is a valid settings file; with `wholeCompany` false only the first holds.
KeyResult CheckCompanyDirectory(const std::filesystem::path& directory, bool wholeCompany) {
    struct stat status {};
    if (::stat(directory.c_str(), &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? ERROR_FILE_NOT_FOUND : ResultOfErrno(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return ERROR_BADDB;
    }
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end;
         wholeCompany && !error && entry != end; entry.increment(error)) {
        if (IsKeyFileName(entry->path().filename().string()) &&
            ReadKeyFile(entry->path()).result == ERROR_REGISTRY_CORRUPT) {
            return ERROR_REGISTRY_CORRUPT;
        }
    }
    return ResultOfErrno(error.value());
}

// Names that are one plain component of a file path.
bool IsUsableKeyName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) {
               return c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
           });
}

}  // namespace

FileKeyStore::FileKeyStore() : FileKeyStore(UserConfigDirectory()) {}

FileKeyStore::FileKeyStore(std::optional<std::filesystem::path> configDirectory, WriteStepHook hook)
    : m_root(std::move(configDirectory)), m_hook(std::move(hook)) {}

std::optional<FileKeyStore::Location> FileKeyStore::Locate(std::string_view path) const {
    std::vector<std::string_view> names;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find('\\', start);
        names.push_back(path.substr(start, end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (!m_root || names.size() < 2 || names.size() > 3 || !SameKeyName(names[0], "Software") ||
        !std::all_of(names.begin() + 1, names.end(), IsUsableKeyName)) {
        return std::nullopt;
    }
    Location location{*m_root / names[1], std::nullopt};
    if (names.size() == 3) {
        location.file = location.directory / std::string(names[2]).append(kKeyFileExtension);
    }
    return location;
}

KeyResult FileKeyStore::OpenKey(std::string_view path, KeyAccess, KeyHandle& key) {
    return OpenOrCreate(path, false, key);
}

KeyResult FileKeyStore::CreateKey(std::string_view path, KeyAccess, KeyHandle& key) {
    return OpenOrCreate(path, true, key);
}

KeyResult FileKeyStore::OpenOrCreate(std::string_view path, bool create, KeyHandle& key) {
    const std::optional<Location> location = Locate(path);
    if (!location) {
        // Without a configuration directory there is nowhere to create a key.
        if (!m_root) {
            return create ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
        }
        return create ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
    }
    KeyResult result = create ? CreateDirectory(location->directory) : ERROR_SUCCESS;
    if (result == ERROR_SUCCESS) {
        result = CheckCompanyDirectory(location->directory, !location->file);
    }
    if (result != ERROR_SUCCESS) {
        return result;
    }
    OpenedKey opened{*location, std::nullopt, {}};
    if (location->file) {
        KeyFile file = ReadKeyFile(*location->file);
        if (create && file.result == ERROR_FILE_NOT_FOUND) {
            file.result = CreateKeyFile(*location->file);
            if (file.result == ERROR_SUCCESS) {
                file = ReadKeyFile(*location->file);
            }
        }
        if (file.result != ERROR_SUCCESS) {
            return file.result;
        }
        opened.values = std::move(file.values);
    }
    key = Hold(std::move(opened));
    return ERROR_SUCCESS;
}

KeyResult FileKeyStore::CreateDirectory(const std::filesystem::path& directory) const {
    // Created one level at a time, so that a configuration directory that
    // does not exist yet is private to the user as well.
    std::filesystem::path partial;
    for (const std::filesystem::path& name : directory) {
        partial /= name;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                       : ResultOfErrno(errno);
        }
    }
    return ERROR_SUCCESS;
}

KeyResult FileKeyStore::CreateKeyFile(const std::filesystem::path& file) const {
    static constexpr std::string_view kNewKeyFile =
        "; Settings kept by the program, one value per line.\n";
    return ResultOfErrno(ReplaceFileAtomically(file, kNewKeyFile, kPrivateFile, m_hook));
}

KeyHandle FileKeyStore::Hold(OpenedKey key) {
    const auto handle = static_cast<KeyHandle>(++m_lastHandle);
    m_keys.emplace(handle, std::move(key));
    return handle;
}

FileKeyStore::OpenedKey* FileKeyStore::Find(KeyHandle key) {
    const auto found = m_keys.find(key);
    return found == m_keys.end() ? nullptr : &found->second;
}

KeyResult FileKeyStore::QueryValue(KeyHandle key, std::string_view name, ValueType& type,
                                   std::span<std::byte> data, std::size_t& size) {
    const OpenedKey* opened = Find(key);
    if (opened == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const StoredValue* value = opened->values ? opened->values->Find(name) : nullptr;
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    type = value->type;
    size = value->data.size();
    if (size > data.size()) {
        return ERROR_MORE_DATA;
    }
    std::copy(value->data.begin(), value->data.end(), data.begin());
    return ERROR_SUCCESS;
}

KeyResult FileKeyStore::SetDwordValue(KeyHandle key, std::string_view name, std::uint32_t value) {
    OpenedKey* opened = Find(key);
    if (opened == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (!opened->values) {
        return ERROR_ACCESS_DENIED;  // a company key is a directory and holds no values
    }
    if (!opened->values->SetDword(name, value)) {
        return ERROR_INVALID_PARAMETER;
    }
    opened->unwritten.emplace_back(name, value);
    return ERROR_SUCCESS;
}

KeyResult FileKeyStore::FlushKey(KeyHandle key) {
    OpenedKey* opened = Find(key);
    return opened == nullptr ? ERROR_INVALID_HANDLE : WriteUnwritten(*opened);
}

KeyResult FileKeyStore::CloseKey(KeyHandle key) {
    const auto found = m_keys.find(key);
    if (found == m_keys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    const KeyResult result = WriteUnwritten(found->second);
    m_keys.erase(found);
    return result;
}

KeyResult FileKeyStore::WriteUnwritten(OpenedKey& key) const {
    if (key.unwritten.empty()) {
        return ERROR_SUCCESS;
    }
    // The file is read again, so that what others wrote since the key was
    // opened is kept, and a file damaged meanwhile is left alone.
    KeyFile current = ReadKeyFile(*key.location.file);
    if (current.result == ERROR_FILE_NOT_FOUND) {
        current.result = ERROR_SUCCESS;
        current.values = ValueFile::Parse("");
    }
    if (current.result != ERROR_SUCCESS) {
        return current.result;
    }
    for (const auto& [name, value] : key.unwritten) {
        current.values->SetDword(name, value);
    }
    const std::string text = current.values->Text();
    if (text.size() > ValueFile::kMaxSize) {
        return ERROR_NOT_ENOUGH_QUOTA;
    }
    if (current.exists && ::faccessat(AT_FDCWD, current.target.c_str(), W_OK, AT_EACCESS) != 0) {
        return ResultOfErrno(errno);
    }
    const int error = ReplaceFileAtomically(current.target, text, current.permissions, m_hook);
    if (error != 0) {
        return ResultOfErrno(error);
    }
    key.values = std::move(current.values);
    key.unwritten.clear();
    return ERROR_SUCCESS;
}

}  // namespace platform
