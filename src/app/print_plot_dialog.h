// The dialog "Print Plot": which picture is printed (the plan alone or with
// sections), its size and margins on the sheet in millimetres, a preview of
// the page, the printer set-up and the print itself.
#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <string>

#include "core/user_interface.h"
#include "export/page_layout.h"
#include "settings/settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QTimer;
class QPainter;
class QRectF;

namespace kestra::app {

class PagePreview;

// Slot 0 the plan alone, 1 with the right section, 2 with the lower
// section, 3 with both: the PicOption entries.
using PrintPictures = std::array<QImage, 4>;
// Draws the picture of a slot as vector paths into a rectangle in points of
// the painter; the printer then gets the drawing at its own resolution
// rather than the preview's pixels.
using PrintDrawing = std::function<void(QPainter& painter, const QRectF& points, int slot)>;

class PrintPlotDialog : public QDialog {
  Q_OBJECT

 public:
  // The layout is kept in `settings` (ImageSettings and the include
  // switches) and written to `settingsPath` when the dialog closes.
  PrintPlotDialog(Settings& settings, const std::string& settingsPath, const PrintPictures& pictures,
                  bool sectionsShown, QPrinter& printer, UserInterface& ui, QWidget* parent,
                  PrintDrawing drawing = {});

  int PlotPictureIndex() const { return pictureIndex_; }
  const ImageLayout& Layout() const { return layout_; }
  PageGeometry Page() const;

  // The three buttons: "Print", "Close" and "Printer...".
  void PrintImage();
  void CloseDialog();
  void SetUpPrinter();

 public slots:
  void reject() override;

 private:
  QLineEdit* AddField(int index);
  QCheckBox* AddCheck(int index, const QString& caption, bool checked);
  double Aspect() const;
  void PicOption_Click(int index);
  void Text1_Change(int index);
  void Check1_Click();
  void ApplyOptions();
  void Refresh();
  void ShowFields();
  void StoreLayout();
  void Finish(bool storeIncludeSwitches);

  Settings& settings_;
  const std::string settingsPath_;
  PrintPictures pictures_;
  PrintDrawing drawing_;
  QPrinter& printer_;
  UserInterface& ui_;
  int pictureIndex_ = 0;
  ImageLayout layout_;
  QComboBox* picOption_ = nullptr;
  std::array<QLineEdit*, 4> fields_{};
  QCheckBox* fullPage_ = nullptr;
  QCheckBox* centre_ = nullptr;
  QTimer* typingTimer_ = nullptr;
  PagePreview* preview_ = nullptr;
};

}  // namespace kestra::app
