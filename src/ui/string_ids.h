// Ids of the entries of the program's string table.
#pragma once

namespace mirlka {

inline constexpr unsigned kIdsWebSite = 2;
// Tools-menu entry of the host: key below HKEY_LOCAL_MACHINE, value names and the type's data.
inline constexpr unsigned kIdsToolKey = 3;
inline constexpr unsigned kIdsToolExePathName = 4;
inline constexpr unsigned kIdsToolMenuTextName = 5;
inline constexpr unsigned kIdsToolStatusBarTextName = 6;
inline constexpr unsigned kIdsToolTypeGeneric = 7;
inline constexpr unsigned kIdsToolTypeName = 8;
// Names of the version keys shown in the about box; each id is also the id of the control that
// shows the key's value.
inline constexpr unsigned kIdsVersionFileDescription = 134;
inline constexpr unsigned kIdsVersionLegalCopyright = 135;
inline constexpr unsigned kIdsVersionComments = 136;
// Message-box titles, chosen by the box's icon.
inline constexpr unsigned kIdsTitleError = 137;
inline constexpr unsigned kIdsTitleConfirm = 138;
inline constexpr unsigned kIdsTitleWarning = 139;
inline constexpr unsigned kIdsTitleInformation = 140;
inline constexpr unsigned kIdsMainWindowTitle = 141;
// Messages.
inline constexpr unsigned kIdsAskOpenWebSite = 142;
inline constexpr unsigned kIdsAskOverwritePreset = 143;
inline constexpr unsigned kIdsAskDeletePreset = 144;
inline constexpr unsigned kIdsPresetNotFound = 145;
inline constexpr unsigned kIdsHostBusy = 146;
inline constexpr unsigned kIdsNoConversation = 147;
inline constexpr unsigned kIdsUnexpectedError = 148;
// Column titles of the track list.
inline constexpr unsigned kIdsTrackColumn = 149;
inline constexpr unsigned kIdsChannelColumn = 150;
inline constexpr unsigned kIdsToolDisplayName = 151;
// Sent, but the host stayed connected and silent long after the last expression.
inline constexpr unsigned kIdsHostNotConfirmed = 152;

}  // namespace mirlka
