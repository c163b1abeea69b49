// Noticing that standard input has ended, so that a program started by a test or a script
// goes away with the pipe that feeds it.
#pragma once

#include <functional>

namespace standin {

// Calls onEnd, from a thread of its own, once standard input has reached its end. Only a pipe,
// a socket or a terminal can end this way; input from a file or the null device is ignored,
// or a program started with `< /dev/null` would stop at once.
void WatchInputEnd(std::function<void()> onEnd);

}  // namespace standin
