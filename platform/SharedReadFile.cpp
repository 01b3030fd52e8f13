#include "platform/SharedReadFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace platform {

std::optional<SharedReadFile> SharedReadFile::Open(const std::filesystem::path& path) {
    // O_NONBLOCK keeps a FIFO without a writer from hanging the open; such a
    // file is refused below anyway, since only regular files hold data.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        return std::nullopt;
    }
    SharedReadFile file(descriptor);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    if (::flock(descriptor, LOCK_SH | LOCK_NB) != 0) {
        return std::nullopt;
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return std::nullopt;
    }
    return file;
}

SharedReadFile::SharedReadFile(SharedReadFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)) {}

SharedReadFile& SharedReadFile::operator=(SharedReadFile&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

SharedReadFile::~SharedReadFile() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);  // releases the lock as well
    }
}

std::size_t SharedReadFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t count = ::read(m_descriptor, buffer, size);
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "read");
        }
    }
}

}  // namespace platform
