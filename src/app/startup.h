// The start of the program: one instance at a time and the start-up picture.
#pragma once

#include <QLockFile>
#include <memory>

namespace kestra::app {

// Holds the lock of the running instance; empty when another instance runs.
std::unique_ptr<QLockFile> LockSingleInstance();

// Shows the start-up picture centred on the screen for `milliseconds`, with
// the busy pointer; a missing or unreadable picture is skipped silently.
void ShowStartupPicture(int milliseconds);

}  // namespace kestra::app
