#pragma once
// The engine's per-thread pseudo-random generator (image IDs, temporary file
// names, GUID-shaped identifiers). It is seeded once per thread from the
// system's entropy and the clock and never re-seeded, so two draws within
// one clock tick differ.
namespace scanvelt {

// A uniform number in [0, 1).
double RandomUnit();

}  // namespace scanvelt
