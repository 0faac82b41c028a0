#pragma once
// The platform's file times: 100 ns ticks since 1601-01-01, UTC. Unix times
// count seconds since 1970-01-01; these are the one place the two meet.

#include <cstdint>
#include <optional>

namespace qm {

constexpr uint64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr uint64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Seconds since 1970 (not before it) as a file time.
constexpr uint64_t FileTimeFromUnixSeconds(uint64_t unixSeconds) {
  return (unixSeconds + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond;
}

// A file time as whole seconds since 1970; none before 1970.
constexpr std::optional<uint64_t> UnixSecondsFromFileTime(uint64_t fileTime) {
  const uint64_t seconds = fileTime / kFileTimeTicksPerSecond;
  if (seconds < kSecondsFrom1601To1970) return std::nullopt;
  return seconds - kSecondsFrom1601To1970;
}

}  // namespace qm
