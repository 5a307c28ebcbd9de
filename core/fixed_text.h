#pragma once
// A short text of at most N bytes stored inline, for the compact records that are held by the
// hundred thousand (index entries) or written as fixed slots. Assigning a longer text keeps its
// first N bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmark {

template <std::size_t N>
class FixedText {
    static_assert(N <= 255, "the length is kept in one byte");

public:
    FixedText() = default;
    FixedText(std::string_view text) { assign(text); }  // NOLINT: implicit by design

    void assign(std::string_view text) {
        m_length = static_cast<std::uint8_t>(text.size() < N ? text.size() : N);
        for (std::size_t i = 0; i < m_length; ++i) m_bytes[i] = text[i];
    }
    FixedText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    std::string_view view() const { return {m_bytes.data(), m_length}; }
    std::string str() const { return std::string(view()); }
    std::size_t size() const { return m_length; }
    bool empty() const { return m_length == 0; }
    static constexpr std::size_t capacity() { return N; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }

private:
    std::array<char, N> m_bytes{};
    std::uint8_t m_length = 0;
};

}  // namespace velmark
