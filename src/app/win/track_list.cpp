#include "app/win/track_list.h"

#include <commctrl.h>

#include <string>

#include "base/decimal.h"
#include "base/win/focus.h"
#include "res/resource.h"
#include "ui/win/res_string.h"
#include "ui/win/system_dpi.h"

namespace mirlka {
namespace {

// Full-row selection and grid lines need common controls 4.70.
constexpr std::uint32_t kExtendedStylesVersion = 0x40046;
constexpr LPARAM kFullRowGridLines = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
constexpr int kChannelChoices = 17;

bool IsSelected(HWND list, int n) {
    return SendMessageA(list, LVM_GETITEMSTATE, n, LVIS_SELECTED) & LVIS_SELECTED;
}

// Column widths in pixels at 96 DPI: the track number and the channel, both short numbers.
constexpr int kTrackColumnWidth = 55;
constexpr int kChannelColumnWidth = 70;

void InsertColumn(HWND list, HINSTANCE module, int index, int format, int width, UINT titleId) {
    std::string title = ResString(titleId, module);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = ScaleToSystemDpi(width);
    column.pszText = title.data();
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

std::int32_t ListViewTable::Entry(int n) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = n;
    SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<std::int32_t>(item.lParam);
}

void ListViewTable::SetEntry(int n, std::int32_t value) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = n;
    item.lParam = value;
    SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    std::string text = value >= 1 ? WriteDecimal(value) : std::string();
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = text.data();
    SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void InitTrackList(HWND list, HINSTANCE module, std::uint32_t commonControlsVersion) {
    InsertColumn(list, module, 0, LVCFMT_CENTER, kTrackColumnWidth, IDS_TRACK_COLUMN);
    InsertColumn(list, module, 1, LVCFMT_RIGHT, kChannelColumnWidth, IDS_CHANNEL_COLUMN);
    for (int n = 0; n < kTrackCount; ++n) {
        std::string number = WriteDecimal(n + 1);
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = n;
        item.pszText = number.data();
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (commonControlsVersion >= kExtendedStylesVersion) {
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kFullRowGridLines);
    }
}

void FillChannelChoices(HWND combo) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    for (int channel = 1; channel < kChannelChoices; ++channel) {
        SendMessageA(combo, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WriteDecimal(channel).c_str()));
    }
}

void ResetTable(HWND list) {
    ListViewTable table(list);
    for (int n = 0; n < kTrackCount; ++n) {
        table.SetEntry(n, 0);
    }
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    int n = -1;
    while ((n = static_cast<int>(
                SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(n), LVNI_SELECTED))) >= 0) {
        rows.push_back(n);
    }
    return rows;
}

void SelectAllRows(HWND list) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void ApplyChannelChoice(const TrackListControls& controls) {
    const LRESULT choice = SendMessageA(controls.channel, CB_GETCURSEL, 0, 0);
    const std::int32_t value = choice == CB_ERR ? 0 : static_cast<std::int32_t>(choice);
    ListViewTable table(controls.list);
    for (int n = 0; n < kTrackCount; ++n) {
        if (IsSelected(controls.list, n)) {
            table.SetEntry(n, value);
        }
    }
}

void RefreshChannelChoice(const TrackListControls& controls) {
    const ListViewTable table(controls.list);
    bool any = false;
    std::int32_t common = -1;
    for (int n = 0; n < kTrackCount; ++n) {
        if (!IsSelected(controls.list, n)) {
            continue;
        }
        const std::int32_t value = table.Entry(n);
        if (!any) {
            any = true;
            common = value;
        } else if (value != common) {
            common = -1;
            break;
        }
    }
    const bool selected = SendMessageA(controls.list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    // A value restored from the file that is no channel (99, -3) has no item: no choice is shown.
    const INT_PTR index = common >= 0 && common < kChannelChoices ? common : -1;
    SendMessageA(controls.channel, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    EnableWindow(controls.channel, selected);
    EnableWindow(controls.channelLabel, selected);
    EnsureFocus(controls.window);
}

}  // namespace mirlka
