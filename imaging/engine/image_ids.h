#pragma once
// Image IDs: drawn at random from 1 to 99,999,999 when an image is registered,
// and drawn again while the number is taken by another image of the thread.
#include <cstdint>
#include <functional>

namespace scanvelt {

inline constexpr int32_t kLowestImageId = 1;
inline constexpr int32_t kHighestImageId = 99'999'999;

// A new ID: never 0, never above kHighestImageId, never one that names an
// image of this thread's table.
int32_t NewImageId();

// Where this thread's candidates come from: each call gives one candidate,
// which NewImageId checks and draws again when unfit. An empty function
// restores the thread's own uniform generator. Lets tests decide the draws.
void SetImageIdSource(std::function<int32_t()> source);

}  // namespace scanvelt
