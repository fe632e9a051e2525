#pragma once
// "Let pending messages run": a long operation (a scan read in chunks, a
// download) calls RunPendingMessages() between its steps so that the host's
// windows stay alive and its handlers (a Cancel button) can run. The host
// installs what that means for its event loop; without a host nothing runs.
#include <functional>

namespace win {

// Installs the host's pump (an empty function removes it).
void SetPendingMessagesHandler(std::function<void()> handler);

// Runs the messages waiting in the host's queue, then returns.
void RunPendingMessages();

}  // namespace win
