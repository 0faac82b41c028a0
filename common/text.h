#pragma once
// Text helpers shared by every layer: UTF conversions (text is UTF-8 inside
// the program) and printf-style formatting into std::string.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Invalid sequences become U+FFFD; unpaired surrogates too.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
// Each byte as the Latin-1 character of the same value.
std::string Latin1ToUtf8(std::string_view bytes);

#if defined(__GNUC__)
#define QM_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QM_PRINTF(fmt, args)
#endif

std::string Format(const char* format, ...) QM_PRINTF(1, 2);
std::string FormatV(const char* format, va_list args);

// Replaces printf conversions in a format that comes from the string table
// (not a literal, so the compiler cannot check it) one by one: %s, %d, %u,
// %x and %% only; a missing argument leaves the conversion as it is.
std::string FormatTable(std::string_view format, std::initializer_list<std::string_view> args);

// The part of a path after its last separator (any of separators); the whole
// path when it has none. Windows paths use the backslash only.
std::string BaseName(std::string_view path, std::string_view separators = "\\");

}  // namespace qm
