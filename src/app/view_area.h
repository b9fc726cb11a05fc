// The white area of the window under the plan and the two sections. Around
// the pictures it writes what the saved figure writes: the sections'
// captions and elevation axes in the model's unit. The gaps between the plan
// and the sections are the edge that the user drags to make the sections
// deeper or shallower.
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
  QRect plan;
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

 signals:
  // The edge was dragged to give the sections `pixels` of depth.
  void SectionEdgeDragged(float pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Edge { None, UnderPlan, BesidePlan };
  Edge EdgeAt(QPoint point) const;

  ViewFrame frame_;
  Edge dragged_ = Edge::None;
};

}  // namespace kestra::app
