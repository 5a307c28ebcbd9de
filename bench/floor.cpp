// The machine's floor for a sort run: the file work a run cannot avoid, done as plainly and as
// fast as the C library allows, so that a whole run can be compared with it.
//
//   velmark-bench-floor INPUT QSO_COUNT OUTPUT_BYTES WORK_DIR
//
// Reads INPUT once, writes a file of QSO_COUNT records of 2052 bytes (the size of a TYM.LOG)
// and reads it back, writes a file of OUTPUT_BYTES bytes, then deletes the two files it made.
// Measure it from outside (/usr/bin/time -v), like the run it stands beside.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRecordSize = 2052;
constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void fail(const std::string& what) {
    std::perror(what.c_str());
    std::exit(1);
}

std::FILE* openFile(const std::string& path, const char* mode) {
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr)
        fail(path);
    return file;
}

void closeFile(std::FILE* file, const std::string& path) {
    if (std::fclose(file) != 0)
        fail(path);
}

// Reads a file to its end; the byte sum keeps the reads from being left out.
unsigned long readAll(const std::string& path, std::size_t blockSize) {
    std::FILE* file = openFile(path, "rb");
    std::vector<unsigned char> block(blockSize);
    unsigned long sum = 0;
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
        for (std::size_t i = 0; i < got; i += 512) sum += block[i];
    }
    if (std::ferror(file))
        fail(path);
    closeFile(file, path);
    return sum;
}

void writeBytes(const std::string& path, unsigned long long total, std::size_t blockSize) {
    std::FILE* file = openFile(path, "wb");
    std::vector<unsigned char> block(blockSize, 'x');
    while (total > 0) {
        const std::size_t size =
            total < block.size() ? static_cast<std::size_t>(total) : block.size();
        if (std::fwrite(block.data(), 1, size, file) != size)
            fail(path);
        total -= size;
    }
    closeFile(file, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s INPUT QSO_COUNT OUTPUT_BYTES WORK_DIR\n", argv[0]);
        return 2;
    }
    const std::string input = argv[1];
    const unsigned long long qsos = std::strtoull(argv[2], nullptr, 10);
    const unsigned long long outputBytes = std::strtoull(argv[3], nullptr, 10);
    const std::string records = std::string(argv[4]) + "/floor-records.bin";
    const std::string output = std::string(argv[4]) + "/floor-output.bin";

    unsigned long sum = readAll(input, kChunk);
    writeBytes(records, qsos * kRecordSize, kRecordSize);
    sum += readAll(records, kRecordSize);
    writeBytes(output, outputBytes, kChunk);
    std::remove(records.c_str());
    std::remove(output.c_str());
    std::printf("floor done (%lu)\n", sum);
    return 0;
}
