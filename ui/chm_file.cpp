#include "ui/chm_file.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace velmark::ui {
namespace {

// No help topic, picture or table of contents comes near this; a damaged directory entry can
// claim any length, and the reader must not try to allocate it.
constexpr std::uint64_t kMaxObjectSize = 64 * 1024 * 1024;

// The ITSF header of a .chm: its version, its length, the directory's place and, from version
// 3 on, the offset of the uncompressed content section.
constexpr std::size_t kHeaderSize = 0x60;
constexpr std::size_t kHeaderVersion = 0x04;
constexpr std::size_t kHeaderLength = 0x08;
constexpr std::size_t kHeaderDirectoryOffset = 0x48;
constexpr std::size_t kHeaderDirectoryLength = 0x50;
constexpr std::size_t kHeaderContentOffset = 0x58;

// #SYSTEM entry codes (Microsoft's compiler and chmcmd agree on these).
constexpr std::uint16_t kSystemContentsFile = 0;
constexpr std::uint16_t kSystemDefaultTopic = 2;
constexpr std::uint16_t kSystemTitle = 3;

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint64_t littleEndian64(std::string_view bytes, std::size_t at) {
    return (static_cast<std::uint64_t>(littleEndian32(bytes, at + 4)) << 32) |
           littleEndian32(bytes, at);
}

std::uint16_t littleEndian16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// A text stored NUL-ended inside a field; the field's end also ends it.
std::string untilNul(std::string_view field) {
    return std::string(field.substr(0, field.find('\0')));
}

// A path inside the archive as the archive spells its entries: with a leading "/".
std::string archivePath(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    if (result.empty() || result.front() != '/') {
        result.insert(result.begin(), '/');
    }
    return result;
}

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           lowerCase(text.substr(text.size() - ending.size())) == ending;
}

}  // namespace

bool IsCompiledHelpFileName(std::string_view path) {
    return endsWith(path, ".chm");
}

ArchiveIndex::ArchiveIndex(const std::vector<std::string>& paths) : m_paths(paths) {
    std::sort(m_paths.begin(), m_paths.end());
    for (const std::string& path : m_paths) {
        m_byLower.emplace(lowerCase(path), path);
    }
}

std::optional<std::string> ArchiveIndex::Find(std::string_view path) const {
    const auto found = m_byLower.find(lowerCase(path));
    if (found == m_byLower.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::map<std::uint32_t, std::string> ParseContextMap(std::string_view ivb,
                                                     std::string_view strings) {
    std::map<std::uint32_t, std::string> map;
    if (ivb.size() < 4) {
        return map;
    }
    const std::size_t declared = littleEndian32(ivb, 0);
    const std::size_t available = std::min(declared, ivb.size() - 4);
    for (std::size_t at = 4; at + 8 <= 4 + available; at += 8) {
        const std::uint32_t context = littleEndian32(ivb, at);
        const std::size_t offset = littleEndian32(ivb, at + 4);
        if (offset >= strings.size()) {
            continue;
        }
        std::string path = untilNul(strings.substr(offset));
        if (!path.empty()) {
            map.emplace(context, std::move(path));
        }
    }
    return map;
}

std::optional<std::string> ResolveTopicPath(std::string_view mapped, const ArchiveIndex& archive) {
    std::string path(mapped);
    std::string anchor;
    if (const auto hash = path.find('#'); hash != std::string::npos) {
        anchor = path.substr(hash);
        path.erase(hash);
    }
    std::replace(path.begin(), path.end(), '\\', '/');
    // Longest first: the whole path, then what follows each "/" from the left.
    for (std::size_t start = 0; start < path.size();) {
        if (auto found = archive.Find(archivePath(std::string_view(path).substr(start)))) {
            return *found + anchor;
        }
        const std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) {
            break;
        }
        start = slash + 1;
    }
    return std::nullopt;
}

std::unique_ptr<ChmFile> ChmFile::Open(const std::string& path, OpenFailure& failure) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        failure = OpenFailure::Missing;
        return nullptr;
    }
    chmFile* handle = chm_open(path.c_str());
    if (handle == nullptr) {
        failure = OpenFailure::Unreadable;
        return nullptr;
    }
    std::unique_ptr<ChmFile> file(new ChmFile(path, handle));
    if (!file->isComplete()) {
        failure = OpenFailure::Unreadable;
        return nullptr;
    }
    file->readFileList();
    file->readSystem();
    const auto ivb = file->Read("/#IVB");
    const auto strings = file->Read("/#STRINGS");
    if (ivb && strings) {
        file->m_contextMap = ParseContextMap(*ivb, *strings);
    }
    failure = OpenFailure::None;
    return file;
}

ChmFile::ChmFile(std::string path, chmFile* handle) : m_path(std::move(path)), m_handle(handle) {}

ChmFile::~ChmFile() {
    chm_close(m_handle);
}

bool ChmFile::liesInFile(std::uint64_t start, std::uint64_t length) const {
    return m_contentOffset <= m_fileSize && start <= m_fileSize - m_contentOffset &&
           length <= m_fileSize - m_contentOffset - start;
}

bool ChmFile::isComplete() {
    std::error_code error;
    m_fileSize = std::filesystem::file_size(m_path, error);
    std::string header(kHeaderSize, '\0');
    std::ifstream in(m_path, std::ios::binary);
    if (error || !in.read(header.data(), static_cast<std::streamsize>(header.size()))) {
        return false;
    }
    // Version 3 headers give the content offset; in version 2 the content follows the
    // directory.
    if (littleEndian32(header, kHeaderVersion) >= 3 &&
        littleEndian32(header, kHeaderLength) >= kHeaderSize) {
        m_contentOffset = littleEndian64(header, kHeaderContentOffset);
    } else {
        m_contentOffset = littleEndian64(header, kHeaderDirectoryOffset) +
                          littleEndian64(header, kHeaderDirectoryLength);
    }
    // Every compressed file lies in this one stream of the uncompressed section.
    chmUnitInfo compressed{};
    if (chm_resolve_object(m_handle, "::DataSpace/Storage/MSCompressed/Content", &compressed) ==
        CHM_RESOLVE_SUCCESS) {
        return liesInFile(compressed.start, compressed.length);
    }
    return m_contentOffset <= m_fileSize;
}

std::optional<std::string> ChmFile::Read(std::string_view path) const {
    chmUnitInfo unit{};
    const std::string wanted = archivePath(path);
    if (chm_resolve_object(m_handle, wanted.c_str(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > kMaxObjectSize ||
        (unit.space == CHM_UNCOMPRESSED && !liesInFile(unit.start, unit.length))) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    if (unit.length == 0) {
        return bytes;
    }
    const LONGINT64 read =
        chm_retrieve_object(m_handle, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(unit.length));
    if (read != static_cast<LONGINT64>(unit.length)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> ChmFile::TopicForContext(std::uint32_t context) const {
    const auto mapped = m_contextMap.find(context);
    if (mapped == m_contextMap.end()) {
        return std::nullopt;
    }
    return ResolveTopicPath(mapped->second, m_files);
}

void ChmFile::readFileList() {
    std::vector<std::string> paths;
    const auto collect = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        static_cast<std::vector<std::string>*>(context)->emplace_back(unit->path);
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &paths);
    m_files = ArchiveIndex(paths);
}

void ChmFile::readSystem() {
    const auto system = Read("/#SYSTEM");
    // A 32-bit version, then entries of a 16-bit code, a 16-bit length and that many bytes.
    if (system) {
        const std::string_view bytes(*system);
        for (std::size_t at = 4; at + 4 <= bytes.size();) {
            const std::uint16_t code = littleEndian16(bytes, at);
            const std::size_t length = littleEndian16(bytes, at + 2);
            if (at + 4 + length > bytes.size()) {
                break;
            }
            const std::string value = untilNul(bytes.substr(at + 4, length));
            if (code == kSystemTitle) {
                m_title = value;
            } else if (!value.empty() && code == kSystemDefaultTopic) {
                m_defaultTopic = m_files.Find(archivePath(value)).value_or("");
            } else if (!value.empty() && code == kSystemContentsFile) {
                m_contentsFile = m_files.Find(archivePath(value)).value_or("");
            }
            at += 4 + length;
        }
    }
    if (m_contentsFile.empty()) {
        const auto& paths = m_files.Paths();
        const auto hhc = std::find_if(paths.begin(), paths.end(), [](const std::string& path) {
            return endsWith(path, ".hhc");
        });
        if (hhc != paths.end()) {
            m_contentsFile = *hhc;
        }
    }
}

}  // namespace velmark::ui
