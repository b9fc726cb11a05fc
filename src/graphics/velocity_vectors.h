// Velocity vectors: the cell-centre velocities as arrows centred on the cell
// centres, on the plan for the current layer and on both sections for the
// projection row and column. One scale for all: the fastest cell of the
// model gets an arrow of VelocityVectors/Size pixels.
#pragma once

#include "core/user_interface.h"
#include "graphics/plot_primitives.h"
#include "settings/settings.h"

namespace kestra {

inline constexpr const char* kDrawVectorsHint = "Draw Velocity Vectors; Press ESC to Break";

// The picture an arrow head goes to.
enum class ArrowView { Plan = 1, RowSection = 2, ColumnSection = 3 };

struct VectorInputs {
  const Settings& settings;
  UserInterface& ui;
  float maxSpeed = 0;  // the largest cell-centre speed of the velocities
};

// Model units of half an arrow per unit of velocity: (Size * PixelSize / Vmax) / 2.
// 0 when Vmax is not a positive finite number (no flow): every arrow is a dot.
float VectorScaleFactor(int sizePixels, float pixelSize, float maxSpeed);

// Plan arrows of the current layer, then the section arrows. Nothing before
// the flow terms are loaded or while the vectors are switched off. Esc ends
// the plan pass and skips the sections. Into the plot while PlotToFile is on.
void DrawVelocityVectors(PlotContext& context, const VectorInputs& inputs);

// The arrows of the projection row and of the projection column; also drawn
// on their own when the section position moves.
void DrawRowSectionVectors(PlotContext& context, const VectorInputs& inputs);
void DrawColumnSectionVectors(PlotContext& context, const VectorInputs& inputs);

// The two barbs of an arrow from start (x1, y1) to end (x2, y2): head length
// a along the shaft back from the end, half-width b across it. Section
// coordinates are the picture's own ((x, z) and (z, y)); a and b are in
// screen proportions there, so the head is not distorted by the exaggeration.
void DrawArrowHead(PlotContext& context, ArrowView view, float x1, float y1, float x2, float y2, Colour colour, float a,
                   float b, bool toFile, bool toScreen);

}  // namespace kestra
