#pragma once

#include <QString>

// Finds a top-level window of the X display whose title is exactly the given text, or names what
// it plays before " – " and that text, and brings it
// back to its normal state (mapped, neither minimised nor maximised). Nothing else is sent to
// the window's owner. Returns whether such a window was found.
bool RestoreWindowWithTitle(const QString &title);
