// Fault injection for the file layer: a hook consulted before each step that changes files
// (writing bytes, flushing them, renaming a finished temporary onto its target, renaming or
// removing a user's file), so tests can make a step fail as a full disk or a failing medium
// would. The program installs no hook.
#pragma once

#include <functional>

namespace velmora::platform {

enum class FileStep {
    Write,  // a write of file bytes; an injected fault lets part of the bytes through first
    Sync,   // flushing a written file to the medium
    Commit, // renaming a finished temporary onto its target
    Move,   // renaming a user's file (move, trash)
    Remove, // removing a user's file (delete, the source of a move across file systems)
};

// Returns the errno value the step fails with, or 0 to let it run. Install it only while no
// other thread changes files.
using FileFaultHook = std::function<int(FileStep step)>;

// Installs the hook; an empty one switches injection off.
void setFileFaultHook(FileFaultHook hook);

// The errno value the step is to fail with (also stored in errno), 0 when it runs as usual.
int injectedFault(FileStep step);

} // namespace velmora::platform
