#include "app/recent_models.h"

#include <QFileInfo>
#include <QSettings>

namespace kestra::app {
namespace {

constexpr const char* kRecentKey = "window/recentModels";
constexpr const char* kFolderKey = "window/lastModelFolder";

void Store(const QStringList& models) { QSettings().setValue(kRecentKey, models); }

}  // namespace

QStringList RecentModels() { return QSettings().value(kRecentKey).toStringList(); }

void RememberModel(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList models = RecentModels();
  models.removeAll(absolute);
  models.prepend(absolute);
  while (models.size() > kRecentModelCount) models.removeLast();
  Store(models);
  RememberModelFolder(QFileInfo(absolute).absolutePath());
}

void ForgetModel(const QString& path) {
  QStringList models = RecentModels();
  models.removeAll(path);
  Store(models);
}

QString LastModelFolder() { return QSettings().value(kFolderKey).toString(); }

void RememberModelFolder(const QString& folder) { QSettings().setValue(kFolderKey, folder); }

}  // namespace kestra::app
