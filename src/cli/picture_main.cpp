// kestra-cli-plot: the batch tool with its picture output, which needs Qt's
// graphics libraries. kestra-cli hands its plot command to it.
#include <QString>
#include <QtGlobal>
#include <iostream>

#include "cli/commands.h"

namespace {

// Qt's notes on its own set-up (a missing XDG_RUNTIME_DIR, font database
// hints) are not the user's business; only its errors reach the error stream.
void QtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "kestra-cli: Qt: " << message.toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QtErrorsOnly);
  return kestra::cli::RunCommandLine(kestra::cli::Arguments(argv + 1, argv + argc), std::cout, std::cerr);
}
