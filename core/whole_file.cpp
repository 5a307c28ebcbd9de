#include "core/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/errors.h"

namespace velmark {

std::string ReadWholeFile(const std::string& path) {
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file)
        throw FileError::FromErrno(path);
    std::string bytes;
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    // A folder opens for reading on Linux; reading it fails with EISDIR.
    if (std::ferror(file.get()) != 0)
        throw FileError::FromErrno(path);
    return bytes;
}

}  // namespace velmark
