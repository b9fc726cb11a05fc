#include "graphics/picture_record.h"

#include <algorithm>

namespace kestra {

void PictureRecord::SetCorners(const UserCorners& corners) {
  corners_ = corners;
  Clear();
}

void PictureRecord::Clear() {
  persistent_.clear();
  surface_.clear();
}

void PictureRecord::Add(PictureElement element, bool persistent) {
  std::vector<PictureElement>& target = persistent ? persistent_ : surface_;
  if (element.inverted) {
    const auto twin = std::find(target.rbegin(), target.rend(), element);
    if (twin != target.rend()) {
      target.erase(std::next(twin).base());
      return;
    }
  }
  target.push_back(std::move(element));
}

std::vector<Colour> FilledColours(const PictureRecord& record) {
  std::vector<Colour> colours;
  for (const auto* elements : {&record.Persistent(), &record.Surface()})
    for (const PictureElement& e : *elements)
      if ((e.kind == ElementKind::Boxes || e.kind == ElementKind::Polygon) && !e.inverted &&
          std::find(colours.begin(), colours.end(), e.colour) == colours.end())
        colours.push_back(e.colour);
  return colours;
}

}  // namespace kestra
