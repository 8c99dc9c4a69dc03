#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

// The character tests and readers the entry parser builds its syntaxes from.
namespace tavi::entry {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// The value of a digit string; a string too long for any entry reads as a value beyond every
// range the parser accepts.
inline int32_t decimalOf(std::string_view digits) {
    constexpr int32_t kBeyondEveryRange = 100000000;
    int32_t value = 0;
    for (const char digit : digits) {
        value = std::min(value * 10 + (digit - '0'), kBeyondEveryRange);
    }
    return value;
}

// The digits read as hexadecimal: the binary-coded decimal form of a decimal number. Only the
// last eight digits fit the word.
inline int32_t bcdOf(std::string_view digits) {
    uint32_t value = 0;
    for (const char digit : digits) {
        value = value * 16 + static_cast<uint32_t>(digit - '0');
    }
    return static_cast<int32_t>(value);
}

// Digits and at most one "." with at least one digit; with oneDecimal the "." may only stand
// before the last character.
inline bool isDecimalText(std::string_view text, bool oneDecimal) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '.'; })) {
        return false;
    }
    const auto dots = std::count(text.begin(), text.end(), '.');
    if (dots > 1 || static_cast<std::size_t>(dots) == text.size()) {
        return false;
    }
    return !oneDecimal || dots == 0 || text.find('.') + 2 == text.size();
}

// The text without the unit mark its page shows after the value ("°" after an angle, "T" after a
// true direction), so that a value recalled into the scratch pad is taken back as shown.
inline std::string_view withoutUnitMark(std::string_view text, std::string_view mark) {
    if (text.size() > mark.size() && text.substr(text.size() - mark.size()) == mark) {
        text.remove_suffix(mark.size());
    }
    return text;
}

// The value of a text that passed isDecimalText.
inline double decimalValue(std::string_view text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return value;
}

// The pieces between the separators, without the empty ones.
inline std::vector<std::string_view> pieces(std::string_view text, char separator) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) {
            result.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

// The shared rule of the "first/second" entries: without "/" only the first part, with a
// leading "/" only the second, otherwise the text before the last "/" by the first syntax and,
// once that is accepted, the text after it by the second.
template <class First, class Second>
bool parseTwoParts(std::string_view text, First first, Second second) {
    if (text.empty()) {
        return false;
    }
    const std::size_t slash = text.rfind('/');
    if (slash == std::string_view::npos) {
        return first(text);
    }
    const std::string_view right = text.substr(slash + 1);
    if (text.front() == '/') {
        return second(right);
    }
    return first(text.substr(0, slash)) && second(right);
}

} // namespace tavi::entry
