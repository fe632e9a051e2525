#pragma once
// What a failed commit leaves in the write-ahead log. The engine writes a
// commit's pages into the log, then syncs it; when the sync (or a write after
// the commit page) fails it reports the error and rolls back, yet the pages
// may stand whole in the log, and the next start, recovering the log, would
// find the commit there: a save the user was told failed, stored after all.
// Internal to platform/jet.

namespace jet::detail {

class Connection;

// After a commit that reported an error: cuts the log back to the commits the
// engine counts as done, so that the failed one is gone for good and the
// report of the failure stays true. Best effort: false when the log could not
// be cut (the disk refuses even that).
bool forgetFailedCommit(Connection& connection);

}  // namespace jet::detail
