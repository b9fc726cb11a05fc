// The white area of the window under the plan and the two sections. Around
// the pictures it writes what the saved figure writes: the sections'
// captions and elevation axes in the model's unit.
#pragma once

#include <QRect>
#include <QWidget>

#include "export/plot_annotation.h"
#include "graphics/picture.h"

namespace kestra::app {

// Where a view lies in the area and the model extent it shows.
struct FramedView {
  QRect rect;
  UserCorners corners;
};

// What is written around the views; nothing while no sections are shown.
struct ViewFrame {
  bool sectionsShown = false;
  FramedView rowSection;
  FramedView columnSection;
  std::string elevationTitle;  // "Elevation (m)"
  std::string rowCaption;      // "Row 13, vertical exaggeration 3.3"
  std::string columnCaption;   // "Column 15"
};

class ViewArea : public QWidget {
  Q_OBJECT

 public:
  explicit ViewArea(QWidget* parent);

  void SetFrame(ViewFrame frame);
  const ViewFrame& Frame() const { return frame_; }

  // Pixels the frame takes left of the views for the row section's axis of
  // elevations from `lowest` to `highest` along `length` pixels.
  int LeftMargin(double lowest, double highest, int length) const;
  // Pixels under the views for the row section's caption, and for the
  // column section's axis and caption where the corner beside the row
  // section of `rowSectionPixels` is too small for them.
  int BottomMargin(int rowSectionPixels) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ViewFrame frame_;
};

}  // namespace kestra::app
