// A data file opened for reading while denying writers: the program reads its
// catalogue once and must not see it half rewritten by another program.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

namespace platform {

class SharedReadFile {
public:
    // Opens a regular file for reading and takes a shared advisory lock on it.
    // Returns nothing when the file is missing, is not a regular file (a
    // directory, a FIFO, a device), cannot be opened, or another process holds
    // an exclusive lock on it (it is being written).
    static std::optional<SharedReadFile> Open(const std::filesystem::path& path);

    SharedReadFile(SharedReadFile&& other) noexcept;
    SharedReadFile& operator=(SharedReadFile&& other) noexcept;
    SharedReadFile(const SharedReadFile&) = delete;
    SharedReadFile& operator=(const SharedReadFile&) = delete;
    ~SharedReadFile();

    // Reads up to `size` bytes; 0 at the end of the file. Throws
    // std::system_error when the read fails.
    std::size_t Read(char* buffer, std::size_t size);

private:
    explicit SharedReadFile(int descriptor) : m_descriptor(descriptor) {}

    int m_descriptor = -1;
};

}  // namespace platform
