#include "app/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/program_files.h"

namespace kestra::app {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("help_window");
  setWindowTitle(tr("KESTRA Help"));
  resize(760, 640);
  auto* browser = new QTextBrowser(this);
  browser->setObjectName("help_browser");
  browser->setOpenExternalLinks(false);
  const QString guide = ProgramFile("kestra-help.html");
  hasGuide_ = !guide.isEmpty();
  if (hasGuide_)
    browser->setSource(QUrl::fromLocalFile(guide));
  else
    browser->setPlainText(tr("The user guide kestra-help.html was not found beside the program."));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser);
}

}  // namespace kestra::app
