#pragma once
// When an animated icon shows its next frame. The ticks come every 100 ms
// from a timer; a frame changes on the first tick after more than one period
// since the last change. Times are 32-bit tick counts, which wrap after
// 49.7 days: only the elapsed time (now - last change, modulo 2^32) is
// compared, never a sum that could wrap.

#include <cstdint>
#include <optional>

namespace qm {

class AnimationClock {
 public:
  static constexpr uint32_t kDefaultPeriod = 1000;

  void SetPeriod(uint32_t periodMs) { m_period = periodMs; }
  uint32_t Period() const { return m_period; }
  // The frame shown, -1 before the first.
  int Current() const { return m_current; }

  // A timer tick at tick count `now` for an animation of frameCount frames:
  // the frame to show now, or nullopt when the shown one stays (and always
  // for no frames). The first tick shows frame 0 whatever the time.
  std::optional<int> Tick(uint32_t now, int frameCount);

 private:
  int m_current = -1;
  uint32_t m_period = kDefaultPeriod;
  uint32_t m_lastChange = 0;
};

}  // namespace qm
