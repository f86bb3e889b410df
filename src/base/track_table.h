// The channel assignments of the 256 track rows. Entry n belongs to the track shown as n+1;
// 0 leaves the track alone, 1 to 16 is the MIDI channel as the user sees it. Values restored
// from the settings file are kept as they stand, so any signed 32-bit value can occur.
#pragma once

#include <array>
#include <cstdint>

namespace mirlka {

inline constexpr int kTrackCount = 256;

class TrackTable {
  public:
    virtual ~TrackTable() = default;
    virtual std::int32_t Entry(int n) const = 0;
    virtual void SetEntry(int n, std::int32_t value) = 0;
};

// A table held in memory: the stand-in for the list view wherever no window exists.
class ArrayTrackTable final : public TrackTable {
  public:
    std::int32_t Entry(int n) const override { return entries_.at(static_cast<std::size_t>(n)); }
    void SetEntry(int n, std::int32_t value) override {
        entries_.at(static_cast<std::size_t>(n)) = value;
    }

  private:
    std::array<std::int32_t, kTrackCount> entries_{};
};

}  // namespace mirlka
