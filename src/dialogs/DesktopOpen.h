#pragma once

class QUrl;
class QWidget;

// Hands an address or folder to the desktop's own program for it; when no program could open
// it, the user is told in the message box instead of nothing happening.
void OpenWithDesktop(const QWidget *owner, const QUrl &address);
