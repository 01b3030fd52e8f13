#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>

namespace platform {
namespace {

// The temporary file of one replacement: closed and removed unless the rename
// took it over.
class TemporaryFile {
public:
    ~TemporaryFile() {
        CloseDescriptor();
        if (!m_path.empty()) {
            ::unlink(m_path.c_str());
        }
    }

    int Create(const std::filesystem::path& target, std::filesystem::perms permissions) {
        // A unique name, so that two programs saving at once never write
        // into the same temporary file; the dot keeps it out of listings.
        std::string pattern =
            (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
        m_descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (m_descriptor < 0) {
            return errno;
        }
        m_path = pattern;
        if (::fchmod(m_descriptor, static_cast<mode_t>(permissions)) != 0) {
            return errno;
        }
        return 0;
    }

    int Write(std::string_view contents) {
        while (!contents.empty()) {
            const ssize_t written = ::write(m_descriptor, contents.data(), contents.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return written < 0 ? errno : EIO;
            }
            contents.remove_prefix(static_cast<std::size_t>(written));
        }
        return 0;
    }

    int Sync() { return ::fsync(m_descriptor) == 0 ? 0 : errno; }

    int Close() { return CloseDescriptor(); }

    int RenameOver(const std::filesystem::path& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0) {
            return errno;
        }
        m_path.clear();
        return 0;
    }

private:
    int CloseDescriptor() {
        if (m_descriptor < 0) {
            return 0;
        }
        // The descriptor is gone after close() whatever it reports, so it is
        // never closed twice.
        const int result = ::close(m_descriptor);
        m_descriptor = -1;
        return result == 0 ? 0 : errno;
    }

    int m_descriptor = -1;
    std::string m_path;
};

int SyncDirectory(const std::filesystem::path& directory) {
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    int result = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    if (result == EINVAL || result == ENOTSUP) {
        result = 0;
    }
    return result;
}

}  // namespace

int ReplaceFileAtomically(const std::filesystem::path& target, std::string_view contents,
                          std::filesystem::perms permissions, const WriteStepHook& hook) {
    TemporaryFile file;
    const std::pair<WriteStep, std::function<int()>> steps[] = {
        {WriteStep::CreateTemporary, [&] { return file.Create(target, permissions); }},
        {WriteStep::Write, [&] { return file.Write(contents); }},
        {WriteStep::SyncFile, [&] { return file.Sync(); }},
        {WriteStep::CloseFile, [&] { return file.Close(); }},
        {WriteStep::Rename, [&] { return file.RenameOver(target); }},
        {WriteStep::SyncDirectory, [&] { return SyncDirectory(target.parent_path()); }},
    };
    for (const auto& [step, action] : steps) {
        int result = hook ? hook(step) : 0;
        if (result == 0) {
            result = action();
        }
        if (result != 0) {
            return result;
        }
    }
    return 0;
}

}  // namespace platform
