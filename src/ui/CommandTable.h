#pragma once

#include <QString>

class DRUI;

// The window's menus, in the order the menu strip shows them; None holds the commands that are
// keys only.
enum class MenuId
{
    File,
    Controls,
    Video,
    Audio,
    Tools,
    Help,
    None,
};

// One command of the window: its menu entry (what the entry carries as data, its text key),
// its keys and what it does. Keys, menus and the user guide's key list all come from one table
// of these (DRUI::CommandTable).
struct Command
{
    MenuId menu;
    QString id;               // the entry's data; handlers never compare it
    const char *textKey;      // the entry's text; none for a key only
    bool dotted;              // the entry opens a dialog: "..." after its text
    bool enabledAtStart;      // else enabled once something has been shown on the video page
    const char *keys;         // QKeySequence texts separated by "; "; none for no key
    void (*run)(DRUI &window); // none: the entry opens a submenu
};
