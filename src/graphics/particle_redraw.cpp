#include "graphics/particle_redraw.h"

#include "core/number_format.h"
#include "graphics/pathline_drawing.h"
#include "tracking/placement.h"

namespace kestra {
namespace {

constexpr int kParticlePane = 7;

// A dot `width` pixels across centred on (a, b); the picture's axes may
// count a pixel differently (the sections' elevation axis is exaggerated).
void DrawReleaseDot(Picture& picture, float a, float b, float pixelA, float pixelB, float width, Colour colour) {
  const float halfA = width * pixelA / 2, halfB = width * pixelB / 2;
  picture.FillBox({a - halfA, b - halfB, a + halfA, b + halfB}, colour);
}

bool InsideViewBox(const ViewWindow& w, float x, float y, float z) {
  return x >= w.Xmin && x <= w.Xmax && y >= w.Ymin && y <= w.Ymax && z >= w.Zmin && z <= w.Zmax;
}

class BusyWhile {
 public:
  explicit BusyWhile(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyWhile() { flag_ = false; }
  BusyWhile(const BusyWhile&) = delete;
  BusyWhile& operator=(const BusyWhile&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void DrawReleasePoint(PlotContext& context, const Settings& settings, const TrackingSettings& tracking,
                      const ParticleRecord& particle, int dotFactor) {
  const ModelState& model = context.model;
  const ViewLayout& layout = context.layout;
  const CellIndex cell = particle.startCell;
  const int j = cell.column, i = cell.row;
  if (!model.Shape().Contains(j, i, cell.layer)) return;
  const float x = model.XEDGE[j - 1] + particle.startLocal.x * model.DELR[j];
  const float y = model.YEDGE[i - 1] + particle.startLocal.y * model.DELC[i];
  const float z = ElevationOfLocalHeight(model, settings, cell, particle.startLocal.z);
  if (!InsideViewBox(layout.view, x, y, z)) return;
  const Colour colour = PathlineColour(model, tracking, particle.ParticleColor, cell.layer);
  const auto width = static_cast<float>(particle.PenWidth * dotFactor);
  const float pixel = layout.PixelSize;
  const float elevationPixel = layout.PixelSize / layout.Exaggeration;
  if (layout.planShown) DrawReleaseDot(context.plan, x, y, pixel, pixel, width, colour);
  if (!layout.sectionsShown) return;
  DrawReleaseDot(context.rowSection, x, z, pixel, elevationPixel, width, colour);
  DrawReleaseDot(context.columnSection, z, y, elevationPixel, pixel, width, colour);
}

void RedrawParticles(ParticleRedraw& redraw, int dotFactor) {
  PlotContext& context = redraw.context;
  const ModelState& model = context.model;
  if (IsBusy(model, redraw.busy) || redraw.particles.Particles.empty()) return;
  redraw.ui.SetStatusPane(kParticlePane, IntegerMaskText(redraw.particles.ParticleCount()));
  ViewLayout& layout = context.layout;
  SetViewWindow(layout);
  const BusyWhile running(redraw.busy.particleRedraw);
  const Hourglass hourglass(redraw.ui);
  redraw.control.breakRequested = false;
  for (const ParticleRecord& particle : redraw.particles.Particles) {
    redraw.ui.ProcessEvents();
    if (redraw.control.breakRequested) break;
    DrawReleasePoint(context, redraw.settings, redraw.tracking, particle, dotFactor);
  }
}

}  // namespace kestra
