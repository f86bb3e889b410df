// What the main window's edit commands do to the track table, apart from any window: numbering
// the selected rows, and the history that takes changes back and does them again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "base/track_table.h"

namespace mirlka {

// All 256 entries at one moment.
using TableValues = std::array<std::int32_t, kTrackCount>;

TableValues ReadValues(const TrackTable& table);
// Sets the entries that differ from `values`, so that only the rows that change are touched.
void WriteValues(TrackTable& table, const TableValues& values);

// Gives the `selected` rows (ascending) consecutive channels: the first keeps its channel when it
// has one from 1 to 16 and gets 1 otherwise, each following one the next, 16 followed by 1.
void NumberRows(TrackTable& table, const std::vector<int>& selected);

// The changes made to the table during the run, each as the values before it, to be taken back
// (undo) and done again (redo); the oldest of more than kSteps is forgotten.
class TableHistory {
  public:
    static constexpr std::size_t kSteps = 100;

    // A change from `before` to `after` is one step, and the steps that could have been done
    // again are dropped; a change that left every value as it was is none.
    void Record(const TableValues& before, const TableValues& after);
    // Each gives the table the values it had before the last step taken (or after the last step
    // taken back); false, the table untouched, when there is none.
    bool Undo(TrackTable& table);
    bool Redo(TrackTable& table);
    std::size_t UndoSteps() const { return undo_.size(); }
    std::size_t RedoSteps() const { return redo_.size(); }

  private:
    std::deque<TableValues> undo_, redo_;
};

}  // namespace mirlka
