#pragma once
// Writing a log in UTF-8. The writers produce code page 1250 text, as everywhere in the core;
// this sink converts what they write on its way into the file's sink, so no writer needs to know
// the file's encoding (only the ADIF writer, whose lengths then count UTF-8 bytes).

#include <optional>
#include <string>
#include <string_view>

#include "output/output_sink.h"

namespace velmark {

class Utf8Sink : public OutputSink {
  public:
    // Converts into target, which must outlive this sink. With withBom the byte-order mark is
    // written first: a spreadsheet or word processor then knows a CSV or TXT mail-merge file is
    // UTF-8 (ADIF and Cabrillo files go without one, as their readers expect).
    Utf8Sink(OutputSink& target, bool withBom);

    void Write(std::string_view bytes) override;

  private:
    OutputSink& m_target;
    std::string m_converted;
};

// An output file in the chosen encoding: the file itself and, for UTF-8, the converting sink in
// front of it that the writers write through (with the byte-order mark when asked).
class EncodedOutputFile {
  public:
    EncodedOutputFile(const std::string& path, bool utf8, bool withBom) : m_file(path) {
        if (utf8)
            m_utf8.emplace(m_file, withBom);
    }
    // The converting sink holds the file by reference: the pair stays where it was made.
    EncodedOutputFile(const EncodedOutputFile&) = delete;
    EncodedOutputFile& operator=(const EncodedOutputFile&) = delete;

    OutputSink& sink() { return m_utf8 ? static_cast<OutputSink&>(*m_utf8) : m_file; }
    FileSink& file() { return m_file; }

  private:
    FileSink m_file;
    std::optional<Utf8Sink> m_utf8;
};

}  // namespace velmark
