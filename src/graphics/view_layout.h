// The view geometry shared by the plan and the two cross-sections: the part
// of the plan shown, the clip window of all drawing, and the scale.
#pragma once

namespace kestra {

// Barrier strips are this many pixels wide.
inline constexpr float kStripPixels = 2;

// The part of the plan that is shown, in plan coordinates (y down from the
// grid's upper edge). Without zoom it is the whole grid.
struct ZoomWindow {
  float Xmin = 0;
  float Ymin = 0;
  float Xmax = 1;
  float Ymax = 1;
  float width = 1;
  float height = 1;
};

// The clip rectangle of all drawing, with the model's elevation range.
struct ViewWindow {
  float Xmin = 0;
  float Ymin = 0;
  float Xmax = 1;
  float Ymax = 1;
  float Zmin = 0;
  float Zmax = 1;
};

struct ViewLayout {
  ZoomWindow zoom;
  ZoomWindow grid;  // the whole grid, set when the model is opened
  ViewWindow view;
  float PixelSize = 1;     // model length of one screen pixel
  float Exaggeration = 1;  // vertical exaggeration of the sections
  bool planShown = true;
  bool sectionsShown = true;
  // The model's elevation range (lowest BOT, highest TOP), set when it is opened.
  float modelZmin = 0;
  float modelZmax = 1;
};

// ViewWindow from the zoom window and the model's elevation range.
inline void SetViewWindow(ViewLayout& layout) {
  layout.view = {layout.zoom.Xmin, layout.zoom.Ymin, layout.zoom.Xmax,
                 layout.zoom.Ymax, layout.modelZmin, layout.modelZmax};
}

}  // namespace kestra
