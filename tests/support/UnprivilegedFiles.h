// File permissions that hold for the test even when the suite runs as root
// (as CI does): while a ScopedUnprivilegedFiles lives, the calling thread's
// file accesses are checked as those of an ordinary user, so a read-only
// directory is read-only and a file without read permission is unreadable.
#pragma once

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

class ScopedUnprivilegedFiles {
public:
    // The user whose rights a superuser's test takes on: "nobody".
    static constexpr uid_t kUser = 65534;
    static constexpr gid_t kGroup = 65534;

    ScopedUnprivilegedFiles() : m_switched(::geteuid() == 0) {
        if (m_switched) {
            // The file-system identity is per thread and leaves the real and
            // effective identities alone, so it can be switched back.
            ::setfsgid(kGroup);
            ::setfsuid(kUser);
        }
    }
    ScopedUnprivilegedFiles(const ScopedUnprivilegedFiles&) = delete;
    ScopedUnprivilegedFiles& operator=(const ScopedUnprivilegedFiles&) = delete;
    ~ScopedUnprivilegedFiles() {
        if (m_switched) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }

    // Gives `path` to the user the checks are made for (a no-op for an
    // ordinary user, who owns the test's files anyway) with `mode`. The
    // directories above it must let that user pass: see LetPass().
    static void Own(const std::filesystem::path& path, mode_t mode) {
        if (::geteuid() == 0 && ::chown(path.c_str(), kUser, kGroup) != 0) {
            throw std::runtime_error("cannot give away " + path.string());
        }
        if (::chmod(path.c_str(), mode) != 0) {
            throw std::runtime_error("cannot change the mode of " + path.string());
        }
    }

    // Lets any user look up names in `directory` (a test's private temporary
    // directory), without letting them list or change it.
    static void LetPass(const std::filesystem::path& directory) {
        struct stat status {};
        if (::stat(directory.c_str(), &status) != 0 ||
            ::chmod(directory.c_str(), (status.st_mode & 07777) | 0111) != 0) {
            throw std::runtime_error("cannot open the way through " + directory.string());
        }
    }

private:
    bool m_switched;
};
