#include "app/program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kestra::app {

QString ProgramFile(const QString& name) {
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QDir(QCoreApplication::applicationDirPath() + "/../share/kestra").filePath(name);
  if (QFileInfo::exists(installed)) return QDir::cleanPath(installed);
  return {};
}

}  // namespace kestra::app
