#pragma once
// Writing a log in UTF-8. The writers produce code page 1250 text, as everywhere in the core;
// this sink converts what they write on its way into the file's sink, so no writer needs to know
// the file's encoding (only the ADIF writer, whose lengths then count UTF-8 bytes).

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

}  // namespace velmark
