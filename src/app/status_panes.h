// The eight status panes of the main window with their captions: pointer
// position, cell, head, the two speeds, the time step and the particle
// count. Each pane has a fixed width, so that the bar does not jump as the
// values change, and a tooltip that gives its units.
#pragma once

#include <QString>
#include <vector>

class QLabel;
class QStatusBar;

namespace kestra::app {

inline constexpr int kStatusPaneCount = 8;

// Adds the captions and the panes "Status_pane0".."Status_pane7" to `bar`.
std::vector<QLabel*> AddStatusPanes(QStatusBar* bar);

// The tooltips of the panes and captions, naming `timeUnit` (the model's
// time unit, e.g. "days") in the speeds.
void DescribeStatusPanes(const std::vector<QLabel*>& panes, const QString& timeUnit);

}  // namespace kestra::app
