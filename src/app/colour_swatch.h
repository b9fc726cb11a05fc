// Colour swatches of the dialogs: a button filled with its colour, and the
// colour dialog preset with it.
#pragma once

#include <QPushButton>
#include <cstdint>
#include <optional>

namespace kestra::app {

void ShowSwatch(QPushButton* swatch, std::int32_t colour);

// The colour chosen in the colour dialog, preset with `current`; empty when cancelled.
std::optional<std::int32_t> ChooseColour(std::int32_t current, QWidget* parent);

}  // namespace kestra::app
