#pragma once
// Errors as values for everything that reads untrusted bytes: a result holds
// either a value or a code with the offset where reading stopped.

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace qm {

enum class ReadError {
  OutOfBounds,   // a read or a range past the end of the data
  BadSignature,  // a magic number that is not there
  BadValue,      // a field whose value makes no sense
  TooDeep,       // nesting past its cap
  TooMany,       // a count past its cap
  Loop,          // a structure that points back into itself
  NotFound,      // what was asked for is not in the data
  Io,            // the file could not be read
};

struct ParseError {
  ReadError code = ReadError::OutOfBounds;
  uint64_t offset = 0;
};

std::string DescribeError(const ParseError& error);

// E is ParseError for parsers; the file opener reports its own FileError.
template <class T, class E = ParseError>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}  // NOLINT: implicit by design
  Result(E error) : state_(error) {}             // NOLINT
  static Result Fail(ReadError code, uint64_t offset) requires std::is_same_v<E, ParseError> {
    return Result(ParseError{code, offset});
  }

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }
  const T& value() const& { return std::get<T>(state_); }
  T& value() & { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }
  const E& error() const { return std::get<E>(state_); }
  T value_or(T fallback) const { return ok() ? value() : fallback; }

 private:
  std::variant<T, E> state_;
};

// Propagates a failed result from the current function.
#define QM_TRY(var, expr)                         \
  auto var##_result = (expr);                     \
  if (!var##_result) return var##_result.error(); \
  auto var = std::move(var##_result).value()

}  // namespace qm
