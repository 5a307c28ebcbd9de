#pragma once
// Most text fields have a declared capacity; storing a longer text keeps its first N bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmark {

inline std::string KeepFirst(std::string_view text, std::size_t capacity) {
    return std::string(text.substr(0, capacity));
}

inline void AssignBounded(std::string& target, std::string_view text, std::size_t capacity) {
    target.assign(text.substr(0, capacity));
}

}  // namespace velmark
