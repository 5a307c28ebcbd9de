// velmark-chm-normalize FILE.chm: clears the two compile times that chmcmd stores in a help
// file, so that the same sources always give the same bytes. They are the timestamp of the
// ITSF header (bytes 16 to 19) and the #SYSTEM entry of code 10. #SYSTEM lies in the
// uncompressed content section, whose file offset the version 3 header keeps at byte 0x58;
// chmlib gives the entry's place inside that section. The help control reads neither value.

#include <chm_lib.h>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

constexpr std::size_t kHeaderTimestamp = 0x10;
constexpr std::size_t kHeaderVersion = 0x04;
constexpr std::size_t kContentOffset = 0x58;
constexpr std::uint16_t kSystemTimestamp = 10;

std::uint64_t littleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

int fail(const std::string& path, const std::string& why) {
    std::cerr << "velmark-chm-normalize: " << path << ": " << why << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmark-chm-normalize FILE.chm\n";
        return 2;
    }
    const std::string path = argv[1];
    chmFile* chm = chm_open(path.c_str());
    if (chm == nullptr) {
        return fail(path, "not a compiled help file");
    }
    chmUnitInfo system{};
    const bool found = chm_resolve_object(chm, "/#SYSTEM", &system) == CHM_RESOLVE_SUCCESS;
    chm_close(chm);
    if (!found || system.space != CHM_UNCOMPRESSED) {
        return fail(path, "no uncompressed #SYSTEM");
    }

    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (bytes.size() < kContentOffset + 8 || bytes.compare(0, 4, "ITSF") != 0 ||
        littleEndian(bytes, kHeaderVersion, 4) != 3) {
        return fail(path, "not an ITSF version 3 file");
    }
    const std::uint64_t start = littleEndian(bytes, kContentOffset, 8) + system.start;
    if (start + system.length > bytes.size()) {
        return fail(path, "#SYSTEM lies beyond the end of the file");
    }
    bytes.replace(kHeaderTimestamp, 4, 4, '\0');
    // #SYSTEM: a 32-bit version, then entries of a 16-bit code, a 16-bit length and the data.
    const std::size_t end = static_cast<std::size_t>(start + system.length);
    for (std::size_t at = static_cast<std::size_t>(start) + 4; at + 4 <= end;) {
        const auto code = static_cast<std::uint16_t>(littleEndian(bytes, at, 2));
        const auto length = static_cast<std::size_t>(littleEndian(bytes, at + 2, 2));
        if (at + 4 + length > end) {
            return fail(path, "damaged #SYSTEM entry");
        }
        if (code == kSystemTimestamp) {
            bytes.replace(at + 4, length, length, '\0');
        }
        at += 4 + length;
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        return fail(path, "cannot be written");
    }
    return 0;
}
