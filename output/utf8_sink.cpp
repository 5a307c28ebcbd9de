#include "output/utf8_sink.h"

#include "core/cp1250.h"
#include "core/text_encoding.h"

namespace velmark {

Utf8Sink::Utf8Sink(OutputSink& target, bool withBom) : m_target(target) {
    if (withBom) {
        m_target.Write(kUtf8Bom);
    }
}

void Utf8Sink::Write(std::string_view bytes) {
    // Most of what a log holds is ASCII, which is the same in both.
    if (AsciiRunLength(bytes) == bytes.size()) {
        m_target.Write(bytes);
        return;
    }
    m_converted = Cp1250ToUtf8(bytes);
    m_target.Write(m_converted);
}

}  // namespace velmark
