#include "core/errors.h"

#include <cerrno>
#include <cstring>

namespace velmark {

FileError FileError::FromErrno(const std::string& path) {
    const int code = errno;
    return FileError(std::string(std::strerror(code)) + ": " + path, path);
}

}  // namespace velmark
