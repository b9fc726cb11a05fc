// What has been drawn on a picture, element by element in user units, so that
// the same picture can be drawn again at any size: as vector paths into a PDF
// or SVG page, or at a printer's resolution.
#pragma once

#include <vector>

#include "graphics/picture.h"

namespace kestra {

enum class ElementKind { Point, Line, Boxes, Arc, Polygon };

struct PictureElement {
  ElementKind kind = ElementKind::Line;
  Colour colour = kBlack;
  bool inverted = false;  // drawn in invert mode
  // Point: x y. Line: x1 y1 x2 y2. Boxes: x1 y1 x2 y2 per box. Arc: x y
  // radius start end (radians). Polygon: x y per corner.
  std::vector<float> values;
  bool operator==(const PictureElement&) const = default;
};

class PictureRecord {
 public:
  // Starts an empty record of a picture with these corners.
  void SetCorners(const UserCorners& corners);
  const UserCorners& Corners() const { return corners_; }
  void Clear();
  // Drops what was drawn on the surface, as a refresh of the picture does.
  void Refresh() { surface_.clear(); }

  // An inverted element drawn over an equal inverted one restores the
  // picture, so the two cancel: the pair leaves the record.
  void Add(PictureElement element, bool persistent);

  // What the picture shows, in drawing order: the persistent elements, then the surface.
  const std::vector<PictureElement>& Persistent() const { return persistent_; }
  const std::vector<PictureElement>& Surface() const { return surface_; }

 private:
  UserCorners corners_;
  std::vector<PictureElement> persistent_;
  std::vector<PictureElement> surface_;
};

// The colours of the boxes and polygons the record fills, each once; marks
// drawn in invert mode have no colour of their own and are left out.
std::vector<Colour> FilledColours(const PictureRecord& record);

}  // namespace kestra
