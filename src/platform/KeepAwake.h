#pragma once

// Keeps the screen saver and system sleep away for the rest of the process's life, whether or
// not something plays. Where the desktop offers no such service, nothing happens. The services
// are asked without waiting for their answers; the sleep lock is kept once it comes, which
// needs the event loop.
void KeepSystemAndDisplayAwake();
