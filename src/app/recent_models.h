// The window's own preferences across sessions: the models opened last (for
// File, Recent Models) and the folder the open dialog starts in. A model's
// settings stay in the model's settings file.
#pragma once

#include <QString>
#include <QStringList>

namespace kestra::app {

inline constexpr int kRecentModelCount = 8;

// The recently opened models, the newest first.
QStringList RecentModels();
// Puts `path` first in the list (once), keeps at most kRecentModelCount
// and makes its folder the one the open dialog starts in.
void RememberModel(const QString& path);
// Removes a model that could not be found any more.
void ForgetModel(const QString& path);
// The folder of the last model opened or chosen; empty when none.
QString LastModelFolder();
void RememberModelFolder(const QString& folder);

}  // namespace kestra::app
