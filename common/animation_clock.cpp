#include "common/animation_clock.h"

namespace qm {

std::optional<int> AnimationClock::Tick(uint32_t now, int frameCount) {
  if (frameCount <= 0) return std::nullopt;
  if (m_current >= 0 && now - m_lastChange <= m_period) return std::nullopt;
  m_lastChange = now;
  m_current = m_current + 1 < frameCount ? m_current + 1 : 0;
  return m_current;
}

}  // namespace qm
