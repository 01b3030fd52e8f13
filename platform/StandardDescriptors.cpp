#include "platform/StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

void OpenClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            // The lower ones are open by now, so this is the lowest free
            // number, which open() takes. Without /dev/null it stays closed:
            // there is nothing safer to put there.
            ::open("/dev/null", O_RDWR);
        }
    }
}

}  // namespace platform
