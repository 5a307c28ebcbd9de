#pragma once
// The one error type of the core: a file-system or conversion failure that stops the running
// command. It carries the system's own message and the file concerned; the command level
// catches it and shows what() in the error box (GUI) or on standard error (batch tool).

#include <stdexcept>
#include <string>

namespace velmark {

class FileError : public std::runtime_error {
public:
    FileError(const std::string& message, std::string path)
        : std::runtime_error(message), m_path(std::move(path)) {}

    // Builds the error from the current errno: "<system message>: <path>".
    static FileError FromErrno(const std::string& path);

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace velmark
