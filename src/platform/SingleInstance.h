#pragma once

// Takes the machine-wide single-instance lock for the rest of the process's life. Returns true
// when another copy already holds it. A lock that cannot be taken for any other reason lets this
// copy run. The operating system frees the lock when the process ends, crashes included.
bool IsAnotherInstanceRunning();
