#pragma once
// Sinks for the writer tests: one that keeps the bytes, and one that takes a given number of
// bytes and then fails the way a full disk does.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "output/output_sink.h"

namespace velmark::testing {

class MemorySink : public OutputSink {
  public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

class FailingSink : public OutputSink {
  public:
    explicit FailingSink(std::size_t capacity) : m_capacity(capacity) {}

    void Write(std::string_view bytes) override {
        const std::size_t room = m_capacity - text.size();
        if (bytes.size() > room) {
            text.append(bytes.substr(0, room));
            throw FileError("No space left on device: out.csv", "out.csv");
        }
        text.append(bytes);
    }
    std::string text;  // the bytes taken before the failure

  private:
    std::size_t m_capacity;
};

}  // namespace velmark::testing
