// A main window on the screen with a copy of a shared test model opened
// from the command line, for the GUI tests.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <QLabel>
#include <QTimer>
#include <string>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include "app/main_window.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra::test {

class OpenWindow {
 public:
  // Copies the model folder (below the shared test data) and opens `model`.
  OpenWindow(const std::string& folder, const std::string& model) {
    std::filesystem::copy(TestDataDir() / folder, dir.path(), std::filesystem::copy_options::recursive);
    modelPath = dir.File(model);
    window.resize(1200, 900);
    window.SetCommandLine(QString::fromStdString(modelPath));
    window.show();
    WaitFor([&] { return window.model().HasModel(); });
  }

  // Lets events run until `done` or two seconds have passed.
  template <typename Done>
  static bool WaitFor(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  // The plan's widget pixel of a plan point.
  QPoint PlanPixel(float x, float y) const { return window.View(0)->ToPixel(x, y); }
  // The centre of cell (column, row).
  QPoint CellCentre(int column, int row) const {
    return PlanPixel(window.model().XCENTER[column], window.model().YCENTER[row]);
  }

  TempDir dir;
  std::string modelPath;
  app::MainWindow window;
};

// The child of `dialog` named `name`; the test fails when there is none.
template <typename Widget>
Widget* Field(QWidget& dialog, const QString& name) {
  auto* field = dialog.findChild<Widget*>(name);
  EXPECT_NE(field, nullptr) << name.toStdString();
  return field;
}

// Fills the line edits of `dialog` (name, text), presses OK and gives the
// message shown ("" when none).
inline std::string Submit(QDialog& dialog, RecordingInterface& ui,
                          std::initializer_list<std::pair<const char*, const char*>> entries) {
  for (const auto& [name, text] : entries) Field<QLineEdit>(dialog, name)->setText(text);
  ui.messages.clear();
  dialog.accept();
  return ui.LastMessage();
}

// Answers the next modal dialog once it is up: `answer` fills it and presses
// its buttons; a dialog left open is cancelled.
template <typename Dialog = QDialog>
void AnswerNextDialog(std::type_identity_t<std::function<void(Dialog&)>> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

// Closes the message box a failing command is about to show.
inline void CloseNextMessageBox(int afterMilliseconds = 0) {
  QTimer::singleShot(afterMilliseconds, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
}

// The next message box: its text kept, closed by `button` (or closed when
// it has none); then `then`.
inline void AnswerMessage(std::string& text, QMessageBox::StandardButton button = QMessageBox::Ok,
                          std::function<void()> then = {}) {
  QTimer::singleShot(0, [&text, button, then] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text().toStdString();
    if (then) then();
    if (QAbstractButton* answer = box->button(button)) answer->click();
    else box->close();
  });
}

inline QString Pane(app::MainWindow& window, int pane) {
  return window.findChild<QLabel*>(QString("Status_pane%1").arg(pane))->text();
}

// A pointer move over a widget with the given buttons held.
// The value the cell inspector shows in its line `name`, or "(no line name)".
inline std::string InspectedLine(QTableWidget* table, const std::string& name) {
  for (int row = 0; row < table->rowCount(); ++row)
    if (table->item(row, 0)->text().toStdString() == name) return table->item(row, 1)->text().toStdString();
  return "(no line " + name + ")";
}

inline void MovePointer(QWidget* widget, QPoint to, Qt::MouseButtons buttons = Qt::NoButton) {
  QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, buttons, {});
  QApplication::sendEvent(widget, &move);
}

inline void Drag(QWidget* view, Qt::MouseButton button, QPoint from, QPoint to) {
  QTest::mousePress(view, button, {}, from);
  MovePointer(view, to, button);
  QTest::mouseRelease(view, button, {}, to);
}

inline void Wheel(QWidget* view, QPoint at, int notches) {
  QWheelEvent wheel(QPointF(at), QPointF(view->mapToGlobal(at)), {}, QPoint(0, 120 * notches), Qt::NoButton, {},
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
}

// Pixels of the picture that differ from a copy taken earlier.
inline int ChangedPixels(const QImage& before, const QImage& after) {
  int changed = 0;
  for (int y = 0; y < std::min(before.height(), after.height()); ++y)
    for (int x = 0; x < std::min(before.width(), after.width()); ++x) changed += before.pixel(x, y) != after.pixel(x, y);
  return changed;
}

// Pixels of exactly the colour in the image.
inline int PixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

}  // namespace kestra::test
