#pragma once

#include <QRect>
#include <QString>

// What the player remembers of the user's choices between runs, in Settings.ini in the per-user
// folder. A missing file or value gives the first-start choice; a damaged value is ignored.
struct RememberedSettings
{
    int volume = 50;
    bool muted = false;
    QString fileFolder;         // where the file chooser was last used
    QString discFolder;         // where the disc chooser was last used
    QRect window;               // the window's last normal place and size; empty when none
    bool playWholeList = false; // a list entry that plays to its end is followed by the next

    static RememberedSettings Load(const QString &appDataFolder);
    // Writes the values that differ from what the file holds.
    void Save(const QString &appDataFolder) const;
};
