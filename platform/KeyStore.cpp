#include "platform/KeyStore.h"

namespace platform {

std::string DescribeKeyResult(KeyResult result) {
    switch (result) {
        case ERROR_SUCCESS: return "the operation completed successfully";
        case ERROR_FILE_NOT_FOUND: return "the key or value does not exist";
        case ERROR_PATH_NOT_FOUND: return "there is no settings directory";
        case ERROR_ACCESS_DENIED: return "access is denied";
        case ERROR_INVALID_HANDLE: return "the key is not open";
        case ERROR_WRITE_PROTECT: return "the file system is read-only";
        case ERROR_WRITE_FAULT: return "the settings file could not be written";
        case ERROR_DISK_FULL: return "there is not enough space on the disk";
        case ERROR_INVALID_PARAMETER: return "the name cannot be stored";
        case ERROR_MORE_DATA: return "the value is larger than expected";
        case ERROR_BADDB:
        case ERROR_REGISTRY_CORRUPT: return "the settings store is damaged";
        case ERROR_REGISTRY_IO_FAILED: return "an input or output operation failed";
        case ERROR_NOT_ENOUGH_QUOTA: return "the settings file would grow beyond its size limit";
    }
    return "error " + std::to_string(result);
}

}  // namespace platform
