#include "app/qt_user_interface.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

namespace kestra::app {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: break;
  }
  return QMessageBox::Information;
}

}  // namespace

void QtUserInterface::Beep() {
  ++beeps_;
  QApplication::beep();
}

void QtUserInterface::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
  QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                  window_);
  box.exec();
}

bool QtUserInterface::AskYesNo(const std::string& text, const std::string& title) {
  return QMessageBox::question(window_, QString::fromStdString(title), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

// Nested busy sections keep the pointer until the outermost one ends.
void QtUserInterface::SetHourglass(bool on) {
  if (on) {
    if (hourglassDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (hourglassDepth_ > 0 && --hourglassDepth_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

void QtUserInterface::SetMeter(int percent) {
  if (!meter_) return;
  meter_->setValue(percent);
  // The meter is seen only while a long operation advances it.
  meter_->setVisible(percent > 0);
}

void QtUserInterface::SetHint(const std::string& text) {
  if (hint_) hint_->setText(QString::fromStdString(text));
}

void QtUserInterface::SetWindowTitle(const std::string& title) {
  if (window_) window_->setWindowTitle(QString::fromStdString(title));
}

void QtUserInterface::SetStatusPane(int pane, const std::string& text) {
  if (pane >= 0 && pane < static_cast<int>(panes_.size()) && panes_[pane])
    panes_[pane]->setText(QString::fromStdString(text));
}

void QtUserInterface::ProcessEvents() { QApplication::processEvents(); }

namespace {

// Takes the key presses while a long drawing lets events run.
class EscapeWatcher : public QObject {
 public:
  explicit EscapeWatcher(UserInterface& ui) : ui_(ui) {}
  bool escape = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) escape = true;
    else ui_.Beep();
    return true;
  }

 private:
  UserInterface& ui_;
};

}  // namespace

bool QtUserInterface::EscapePressed() {
  EscapeWatcher watcher(*this);
  qApp->installEventFilter(&watcher);
  QApplication::processEvents();
  qApp->removeEventFilter(&watcher);
  return watcher.escape;
}

void QtUserInterface::AttachStatus(QProgressBar* meter, QLabel* hint, std::vector<QLabel*> panes) {
  meter_ = meter;
  hint_ = hint;
  panes_.assign(panes.begin(), panes.end());
}

}  // namespace kestra::app
