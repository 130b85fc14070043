#include <cerrno>
#include <cstring>

#include "common/system_error.h"

namespace tosilk {
namespace {

SystemError::Kind KindOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return SystemError::Kind::kNotFound;
    case EACCES:
    case EPERM:
      return SystemError::Kind::kAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return SystemError::Kind::kDiskFull;
    case EROFS:
      return SystemError::Kind::kReadOnly;
    case ENAMETOOLONG:
      return SystemError::Kind::kPathTooLong;
    case ENOEXEC:
      return SystemError::Kind::kNotExecutable;
    default:
      return SystemError::Kind::kOther;
  }
}

}  // namespace

SystemError LastSystemError() { return SystemErrorOf(static_cast<unsigned long>(errno)); }

SystemError SystemErrorOf(unsigned long code) {
  const int error = static_cast<int>(code);
  return {KindOf(error), code, std::strerror(error)};
}

}  // namespace tosilk
