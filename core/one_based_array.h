#pragma once
// Fixed-capacity arrays numbered from 1, as the program's tables are (entry 1 is the first
// catalogue entry, position 1 the first QSO). Every access is range-checked: an index outside
// 1..N throws std::out_of_range instead of touching memory it does not own.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace velmark {

template <typename T, std::size_t N>
class OneBasedArray {
public:
    static constexpr std::size_t kCapacity = N;

    T& operator[](std::size_t index) { return m_items[checked(index)]; }
    const T& operator[](std::size_t index) const { return m_items[checked(index)]; }

    static constexpr std::size_t capacity() { return N; }
    void fill(const T& value) { m_items.fill(value); }

private:
    static std::size_t checked(std::size_t index) {
        if (index < 1 || index > N) {
            throw std::out_of_range("index " + std::to_string(index) + " outside 1.." +
                                    std::to_string(N));
        }
        return index - 1;
    }

    std::array<T, N> m_items{};
};

}  // namespace velmark
