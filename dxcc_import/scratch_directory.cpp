#include "dxcc_import/scratch_directory.h"

#include <stdlib.h>

#include <cstdlib>

#include "core/errors.h"

namespace velmark::dxcc_import {

ScratchDirectory::ScratchDirectory() {
    // A TMPDIR that names no folder is a file-system failure like any other, shown to the user.
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        const char* variable = std::getenv("TMPDIR");
        const std::string named = variable != nullptr ? variable : "TMPDIR";
        throw FileError(error.message() + ": " + named, named);
    }
    std::string pattern = (temporary / "velmark-dxcc-import-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw FileError::FromErrno(pattern);
    m_path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace velmark::dxcc_import
