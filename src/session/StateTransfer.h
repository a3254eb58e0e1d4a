#pragma once
// Saving the program's state to a state file and bringing a state file back: the dates, the
// mode, the step unit and the configuration travel in the file; the three display options
// travel in the registry beside it.

#include "session/Compute.h"
#include "session/ProgramState.h"
#include "session/StateFile.h"

#include <QDateTime>
#include <QString>

namespace orbivex {

StateFileContents ToStateFile(const ProgramState& state);

// Writes the state file (replacing an old one only when the new one is complete) and stores
// the three display options in the registry; otherwise says what went wrong.
Status SaveState(const QString& path, const ProgramState& state);

// Reads a state file and applies it. A file that cannot be read, or holds a value out of
// range, changes nothing and gives the description of the fault. Nothing is written to the
// registry: the desktop program keeps the display options it applied
// (WriteDisplayOptionsToRegistry); orbivex-cli leaves the user's settings alone.
Status LoadState(const QString& path, ProgramState& state);

// Applies contents that were read whole: dates, mode options, step unit and configuration;
// then reads the display options from the registry (writing nothing) and rebuilds the
// time-zone lists.
void ApplyStateFile(const StateFileContents& contents, ProgramState& state);

// What follows a successful load (and start-up with the user state file): a natal mode is
// kept, any other mode becomes world transits; when the date of that mode converts the chart
// is computed, otherwise the world date is set to `now` and world transits are computed. A date
// that names a zone this computer lacks is not replaced: its error comes back, the dates of the
// file kept, so that the user learns which zone to mend.
ComputeOutcome ComputeAfterLoad(ProgramState& state, const ComputeContext& context,
                                const QDateTime& now);

// Start without a state: world transits of `now`.
ComputeOutcome StartFresh(ProgramState& state, const ComputeContext& context, const QDateTime& now);

} // namespace orbivex
