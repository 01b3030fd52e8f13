#include "tools/tzgen/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "tools/tzsource/TzdataTables.h"

namespace tzgen {
namespace {

bool HoldsAlready(const std::filesystem::path& path, std::string_view text) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;  // nor would reading a FIFO ever end
    }
    const auto current = tzsource::ReadTextFile(path.string());
    return current && *current == text;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

FileReplacement Failure(const std::string& what, int error) {
    return {FileReplacement::Outcome::Failed, what + ": " + std::strerror(error)};
}

}  // namespace

FileReplacement ReplaceFile(const std::filesystem::path& path, std::string_view text) {
    if (HoldsAlready(path, text)) {
        return {FileReplacement::Outcome::Unchanged, {}};
    }
    const std::filesystem::path directory =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    // A hidden name beside the file, unique for each writer.
    std::string hidden = path.filename().string();
    hidden.insert(0, 1, '.');
    hidden.append(".XXXXXX");
    std::string temporary = (directory / hidden).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return Failure("cannot create a file in " + directory.string(), errno);
    }
    // The data is for every user of the machine, whatever the umask.
    const bool written = WriteAll(fd, text) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        return Failure("cannot write " + temporary, error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure("cannot replace " + path.string(), error);
    }
    return {FileReplacement::Outcome::Written, {}};
}

}  // namespace tzgen
