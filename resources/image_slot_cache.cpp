#include "resources/image_slot_cache.h"

namespace qm {

std::optional<size_t> ImageSlotCache::Find(size_t key) {
  auto found = slots_.find(key);
  if (found == slots_.end()) return std::nullopt;
  recent_.splice(recent_.begin(), recent_, found->second);
  return found->second->slot;
}

std::optional<ImageSlotCache::Placement> ImageSlotCache::Place(size_t key) {
  if (capacity_ == 0) return std::nullopt;
  Placement placement;
  if (slots_.size() < capacity_) {
    placement.slot = slots_.size();
  } else {
    const Entry oldest = recent_.back();
    recent_.pop_back();
    slots_.erase(oldest.key);
    placement.slot = oldest.slot;
    placement.evicted = oldest.key;
  }
  recent_.push_front(Entry{key, placement.slot});
  slots_[key] = recent_.begin();
  return placement;
}

void ImageSlotCache::Clear() {
  recent_.clear();
  slots_.clear();
}

}  // namespace qm
