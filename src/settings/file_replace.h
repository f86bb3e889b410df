// Puts a completely written temporary file in place of the target in one step, so that the
// target is either the old file or the new one, never a shortened mix.
#pragma once

#include <string>

namespace mirlka {

// Replaces target by temp (both in the same directory). On false the target is unchanged and
// temp is still there; removing it is the caller's job.
bool ReplaceFileAtomically(const std::string& temp, const std::string& target);

}  // namespace mirlka
