#include "dxcc_import/scratch_directory.h"

#include <stdlib.h>

#include "core/errors.h"

namespace velmark::dxcc_import {

ScratchDirectory::ScratchDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmark-dxcc-import-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw FileError::FromErrno(pattern);
    m_path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace velmark::dxcc_import
