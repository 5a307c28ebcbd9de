#pragma once
// What the fuzz targets share: a user interface that answers nothing and shows nothing, a
// scratch directory for the targets whose code under test reads files, and a way to cut one
// fuzz input into several texts.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/user_interface.h"

namespace velmark::fuzz {

// Shows nothing; every question is cancelled or answered No.
class SilentUserInterface : public UserInterface {
  public:
    void SetCaption(const std::string&) override {}
    void SetProgress(int) override {}
    void AppendMessage(const std::string&) override {}
    void ShowEndButtons(bool) override {}
    void ProcessEvents() override {}
    void ErrorBox(const std::string&, BoxOffset) override {}
    bool WarningBox(const std::string&, BoxOffset) override { return false; }
    void PlainMessage(const std::string&) override {}
    std::string InputBox(const std::string&, const std::string&,
                         const std::string& proposed) override {
        return proposed;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void Beep() override {}
};

// One directory per fuzzing process, made on first use and removed when the process ends, so
// parallel fuzzers never share files and a long run leaves nothing behind.
inline const std::filesystem::path& ScratchDirectory() {
    // Never destroyed: the exit handler below still needs it after static objects are gone.
    static const std::filesystem::path* const directory = [] {
        auto* path = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                               ("velmark-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchDirectory(), ignored);
        });
        return path;
    }();
    return *directory;
}

// Writes bytes to a file, replacing it; aborts when the scratch directory is unusable, since
// every later input would then test nothing.
inline void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

// The input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Cuts the input at NUL bytes into at most `count` parts (the last part keeps any further NUL
// bytes); missing parts are empty. Lets one input carry a file and the values used on it.
inline std::vector<std::string_view> SplitAtNul(std::string_view input, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t nul = input.find('\0');
        if (nul == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, nul));
        input.remove_prefix(nul + 1);
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

}  // namespace velmark::fuzz
