#pragma once

namespace platform {

// Ends the process at once with the exit code. Standard output is flushed; no
// destructors, atexit handlers or stack unwinding run.
[[noreturn]] void ExitProcessNow(int code);

}  // namespace platform
