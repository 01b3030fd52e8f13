#include "platform/ExecutablePath.h"

#include <system_error>

namespace platform {

std::filesystem::path ExecutableDirectory() {
    // /proc/self/exe is the kernel's own record of the image, already resolved
    // through every link; its length is not bounded by a fixed buffer.
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    return executable.parent_path();
}

}  // namespace platform
