#include "host/cal_program.h"

#include "host/cal_batch.h"

namespace mirlka {

std::string BuildCalProgram(const TrackTable& table, std::string_view tool) {
    std::string program =
        "; Written by " + std::string(tool) +
        ": the MIDI channels of tracks, as its Execute sends them.\r\n"
        "; Each line but the last sets the channel of one track and of every event on it;\r\n"
        "; tracks and channels are counted from 0 (track 1 is 0).\r\n"
        "; Run it in Cakewalk with its Run CAL command.\r\n"
        "(do\r\n";
    for (int row = 0; row < kTrackCount; ++row) {
        if (const std::int32_t entry = table.Entry(row); entry != 0) {
            program += BuildTrackExpression(row, entry, TextForm::Narrow).narrow + "\r\n";
        }
    }
    return program + ClosingExpression(TextForm::Narrow).narrow + "\r\n)\r\n";
}

}  // namespace mirlka
