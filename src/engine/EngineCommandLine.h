#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the engine's command line is made from.
struct EngineLaunch
{
    unsigned long long windowId = 0; // native window the engine draws into
    int sourceKind = 0;              // 0 file, 1 DVD, 2 Blu-ray
    bool titleChosen = false;        // a Blu-ray or DVD title was picked explicitly
    std::optional<int> titleNumber;  // the engine's number of that title, when known
    QString path;                    // file, DVD folder or Blu-ray folder, absolute
};

// The engine's arguments in the order the engine expects them; the source path comes last. An
// absolute path can never be taken for an option or an address, whatever characters it holds.
QStringList BuildEngineArguments(const EngineLaunch &launch);
