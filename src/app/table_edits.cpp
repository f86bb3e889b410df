#include "app/table_edits.h"

namespace mirlka {
namespace {

constexpr std::int32_t kLastChannel = 16;

// Moves the table from `from`'s last state to its own, keeping where it was in `to`.
bool Step(std::deque<TableValues>& from, std::deque<TableValues>& to, TrackTable& table) {
    if (from.empty()) {
        return false;
    }
    to.push_back(ReadValues(table));
    WriteValues(table, from.back());
    from.pop_back();
    return true;
}

}  // namespace

TableValues ReadValues(const TrackTable& table) {
    TableValues values{};
    for (int n = 0; n < kTrackCount; ++n) {
        values[static_cast<std::size_t>(n)] = table.Entry(n);
    }
    return values;
}

void WriteValues(TrackTable& table, const TableValues& values) {
    for (int n = 0; n < kTrackCount; ++n) {
        const std::int32_t value = values[static_cast<std::size_t>(n)];
        if (table.Entry(n) != value) {
            table.SetEntry(n, value);
        }
    }
}

void NumberRows(TrackTable& table, const std::vector<int>& selected) {
    if (selected.empty()) {
        return;
    }
    std::int32_t channel = table.Entry(selected.front());
    if (channel < 1 || channel > kLastChannel) {
        channel = 1;
    }
    for (const int n : selected) {
        table.SetEntry(n, channel);
        channel = channel % kLastChannel + 1;
    }
}

void TableHistory::Record(const TableValues& before, const TableValues& after) {
    if (before == after) {
        return;
    }
    redo_.clear();
    undo_.push_back(before);
    if (undo_.size() > kSteps) {
        undo_.pop_front();
    }
}

bool TableHistory::Undo(TrackTable& table) {
    return Step(undo_, redo_, table);
}

bool TableHistory::Redo(TrackTable& table) {
    return Step(redo_, undo_, table);
}

}  // namespace mirlka
