#include "os/win32/windows_error.h"

#include <cerrno>

namespace kestrafon::os {

int ErrnoFromWindowsError(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return EBUSY;  // another program has the file open
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    default: return EIO;
  }
}

}  // namespace kestrafon::os
