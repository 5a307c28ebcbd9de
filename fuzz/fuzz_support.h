#pragma once
// What the fuzz targets share: a user interface that answers nothing and shows nothing, the
// English texts, a scratch directory for the targets whose code under test reads files, a way
// to cut one fuzz input into several texts, and the reading of a whole ADIF log.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/qso_record.h"
#include "core/user_interface.h"
#include "input/adif_reader.h"
#include "input/byte_source.h"
#include "input/log_data_error.h"
#include "settings/text_table.h"

namespace velmark::fuzz {

// Shows nothing; every question is cancelled or answered No.
using SilentUserInterface = velmark::SilentUserInterface;

// The English text table, filled once.
inline const TNazwyJezykowe& EnglishTexts() {
    static const auto* const texts = [] {
        auto* table = new TNazwyJezykowe;
        table->Fill(kLanguageEnglish);
        return table;
    }();
    return *texts;
}

// For LLVMFuzzerInitialize: the DXCC list loader reports comma errors on standard error as
// well; the fuzzer's own output stays readable without them.
inline void DiscardStandardError() {
    static std::ostringstream discarded;
    std::cerr.rdbuf(discarded.rdbuf());
}

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

// Reads an ADIF log as the input phase does, the header and then every record, handing each
// record to eachRecord; a log refused with a message is an expected outcome.
template <typename EachRecord>
void ReadAdifLog(std::string log, InputEncoding encoding, EachRecord eachRecord) {
    // A fuzz input cannot hold more records than this; the bound only guards against a reader
    // that stops consuming input.
    constexpr std::int32_t kMaxRecords = 1 << 20;
    ByteSource source = ByteSource::FromString(std::move(log), "fuzz.adi", encoding);
    AdifReader reader(source);
    TObiektyInputOutput processing;
    TStrukturaADIF catalogue;
    ColumnList columns;
    try {
        reader.ReadAdifHeader(processing);
        for (std::int32_t number = 1; number <= kMaxRecords; ++number) {
            processing.InputRecord.Clear();
            RecordTarget target{catalogue, columns, processing.InputRecord, number};
            if (!reader.ReadAdifRecord(target))
                break;
            eachRecord(static_cast<const QsoRecord&>(processing.InputRecord));
        }
    } catch (const LogDataError&) {
    }
}

}  // namespace velmark::fuzz
