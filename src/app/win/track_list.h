// The track list (a report-view list control) and the channel combo below it. The list's rows are
// the track table's only storage: entry n is the item data of row n.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/track_table.h"

namespace mirlka {

// The controls that show the table and the channel choice for its selected rows.
struct TrackListControls {
    HWND window = nullptr;  // the main window, whose dialog manager moves the focus
    HWND list = nullptr;
    HWND channel = nullptr;  // drop-down list: index 0 = no channel, 1 to 16 = that channel
    HWND channelLabel = nullptr;
};

// The track table held by the list control itself.
class ListViewTable final : public TrackTable {
  public:
    explicit ListViewTable(HWND list) : list_(list) {}
    std::int32_t Entry(int n) const override;
    // Sets the row's item data, then its channel text: the number for 1 and more, else nothing.
    void SetEntry(int n, std::int32_t value) override;

  private:
    HWND list_;
};

// Columns "track" and "channel" (titles from `module`'s string table) and the 256 numbered rows,
// all blank. Common controls 4.70 and later also draw grid lines and select whole rows.
void InitTrackList(HWND list, HINSTANCE module, std::uint32_t commonControlsVersion);

// The channel combo's choices: none, then 1 to 16.
void FillChannelChoices(HWND combo);

// Every entry to 0; the selection stays.
void ResetTable(HWND list);

// The selected rows, in ascending order.
std::vector<int> SelectedRows(HWND list);

// Every row selected; the focused row stays.
void SelectAllRows(HWND list);

// Writes the channel combo's choice (none counting as 0) into every selected row.
void ApplyChannelChoice(const TrackListControls& controls);

// Shows in the combo the value that all selected rows share (no choice when they differ) and
// enables combo and label while any row is selected.
void RefreshChannelChoice(const TrackListControls& controls);

}  // namespace mirlka
