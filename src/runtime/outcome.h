// What a deletion came to. Every deletion of the program (of a file, a registry key or value, an
// entry of the URL cache) reports a Windows status: 0 when the thing went, "not found" when it was
// not there, anything else when it stays. Where "nothing is left of it" is what counts, absent
// counts as gone.
#pragma once

#include <windows.h>

namespace rt {

enum class DeleteOutcome { Deleted, Absent, Failed };

constexpr DeleteOutcome OutcomeOf(long status) {
  return status == ERROR_SUCCESS ? DeleteOutcome::Deleted
         : status == ERROR_FILE_NOT_FOUND ? DeleteOutcome::Absent
                                          : DeleteOutcome::Failed;
}

// Deleted, or not there: nothing is left of it.
constexpr bool Gone(long status) { return OutcomeOf(status) != DeleteOutcome::Failed; }

}  // namespace rt
