// The steps of an open or import that belong to the views and the window:
// the drawing and window code fills them, the batch tool leaves them empty.
#pragma once

namespace kestra {

struct Session;

class OpenObserver {
 public:
  virtual ~OpenObserver() = default;
  // The view scales for the whole grid of the model being loaded.
  virtual void SetUpViewScales(const Session& session) { (void)session; }
  // A new model is in place: enable the model controls, clear the particle
  // runs, lay out and draw the views for CurrentLayer.
  virtual void ShowModel(Session& session) { (void)session; }
  // The open or import was refused: the model loaded before (if any) stays;
  // redraw it unchanged.
  virtual void KeepModel(Session& session) { (void)session; }
};

// For batch work: no views to draw.
class NoViews : public OpenObserver {};

}  // namespace kestra
