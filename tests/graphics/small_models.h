// Small models built by hand for the drawing tests.
#pragma once

#include "core/model_state.h"
#include "graphics/view_arrangement.h"
#include "graphics/view_layout.h"

namespace kestra::test {

// A model of equal cells, every cell active, layers 10 units thick from 100 down.
inline ModelState UniformModel(int ncol, int nrow, int nlay, float cellWidth, float cellHeight) {
  ModelState model;
  DimensionModel(model, ncol, nrow, nlay);
  for (int j = 1; j <= ncol; ++j) model.DELR[j] = cellWidth;
  for (int i = 1; i <= nrow; ++i) model.DELC[i] = cellHeight;
  ComputeGridGeometry(model);
  SetDefaultOrigin(model);
  for (int k = 1; k <= nlay; ++k)
    for (int i = 1; i <= nrow; ++i)
      for (int j = 1; j <= ncol; ++j) {
        model.IBOUND(j, i, k) = 1;
        model.TOP(j, i, k) = 100 - 10.0f * (k - 1);
        model.BOT(j, i, k) = 100 - 10.0f * k;
      }
  model.ModelPath = "/nowhere/model.mdl";
  return model;
}

// The whole grid shown, elevations of the model, one unit per pixel.
inline ViewLayout WholeGridLayout(const ModelState& model) {
  ViewLayout layout;
  layout.grid = WholeGridZoom(model);
  layout.zoom = layout.grid;
  layout.modelZmin = 100 - 10.0f * model.NLAY;
  layout.modelZmax = 100;
  SetViewWindow(layout);
  return layout;
}

}  // namespace kestra::test
