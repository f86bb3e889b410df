// The batch of Execute as a CAL program file, for the host's Run CAL command: where no
// conversation with the host can be had, or to keep, read or pass on what Execute would do.
#pragma once

#include <string>
#include <string_view>

#include "base/track_table.h"

namespace mirlka {

// A few comment lines naming `tool` (its name and version, ASCII) and what the program does,
// then one (do ...) block holding, a line each, exactly the narrow texts that Execute sends for
// `table`, in its order: every assigned row's expression, then the closing one. Lines end with
// CR LF. No date or time: the same table always gives the same bytes.
std::string BuildCalProgram(const TrackTable& table, std::string_view tool);

}  // namespace mirlka
