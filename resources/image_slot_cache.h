#pragma once
// Which pictures of a long list hold a place in a small image list. A tree
// of 1,840 icon images draws only the few rows on screen, so the pictures
// are made when a row is drawn and kept in at most `capacity` slots; when
// all are taken, the picture drawn longest ago gives up its slot.

#include <cstddef>
#include <list>
#include <optional>
#include <unordered_map>

namespace qm {

class ImageSlotCache {
 public:
  explicit ImageSlotCache(size_t capacity) : capacity_(capacity) {}

  // The slot that holds key, now the most recently used; nullopt if none.
  std::optional<size_t> Find(size_t key);

  struct Placement {
    size_t slot = 0;
    std::optional<size_t> evicted;  // the key that held the slot before
  };
  // A slot for key, which must hold none: the next unused one (0, 1, 2...)
  // while there are any, else the least recently used one. A capacity of 0
  // gives nothing.
  std::optional<Placement> Place(size_t key);

  // Every slot free again, from 0.
  void Clear();
  size_t size() const { return slots_.size(); }
  size_t capacity() const { return capacity_; }

 private:
  struct Entry {
    size_t key;
    size_t slot;
  };
  size_t capacity_;
  std::list<Entry> recent_;  // most recently used first
  std::unordered_map<size_t, std::list<Entry>::iterator> slots_;
};

}  // namespace qm
