#include "render/figure_content.h"

#include "core/world_position.h"
#include "export/capture_zone_drawing.h"
#include "graphics/contours.h"

namespace kestra {
namespace {

bool ContoursPossible(const Session& session) {
  return !session.contours.levels.empty() && ContourSource(session.model, session.settings,
                                                            session.loaded.headsLoaded, session.loaded.drawdownsLoaded);
}

void SetPathlines(DrawnContent& content, const FigureRequest& request) {
  content.forwardPathlines = request.forwardPathlines;
  content.backwardPathlines = request.backwardPathlines;
  content.forwardColour = request.forwardColour;
}

DrawnContent ContentOf(const Session& session, const FigureViews& views, const FigureRequest& request) {
  DrawnContent drawn;
  std::vector<const PictureRecord*> shown{&views.plan};
  if (views.rowSectionShown) shown.push_back(&views.rowSection);
  if (views.columnSectionShown) shown.push_back(&views.columnSection);
  for (const PictureRecord* record : shown)
    for (const Colour colour : FilledColours(*record)) drawn.filledColours.push_back(colour);
  const Settings& s = session.settings;
  drawn.contours = IsOn(s.contourDisplay) && ContoursPossible(session);
  if (drawn.contours) drawn.contourColour = session.contours.levels.front().colour;
  drawn.vectors = IsOn(s.vectorsVisible) && session.model.flowTermsLoaded;
  drawn.waterTable = IsOn(s.showWaterTable) && session.loaded.headsLoaded &&
                     (views.rowSectionShown || views.columnSectionShown);
  SetPathlines(drawn, request);
  return drawn;
}

}  // namespace

void SetPathlinesOf(FigureRequest& request, const ParticleSet& particles) {
  for (const ParticleRecord& p : particles.Particles) {
    request.forwardPathlines = request.forwardPathlines || p.forward.released;
    request.backwardPathlines = request.backwardPathlines || p.backward.released;
  }
  if (!particles.Particles.empty()) request.forwardColour = particles.Particles.front().ParticleColor;
}

std::vector<LegendItem> WindowLegend(const Session& session, std::vector<Colour> presentColours,
                                     const FigureRequest& request) {
  DrawnContent offered;
  offered.filledColours = std::move(presentColours);
  offered.contours = ContoursPossible(session);
  if (offered.contours) offered.contourColour = session.contours.levels.front().colour;
  offered.vectors = session.model.flowTermsLoaded;
  offered.waterTable = session.loaded.headsLoaded && IsOn(session.settings.sectionsVisible);
  SetPathlines(offered, request);
  return LegendItems(session.settings, offered);
}

FigureViews FigureViewsOf(const RasterPicture& plan, const RasterPicture& rowSection,
                          const RasterPicture& columnSection, const ViewPlacement& placement,
                          const ViewLayout& layout, bool lowerSection, bool rightSection) {
  return {plan.Record(),
          rowSection.Record(),
          columnSection.Record(),
          placement,
          layout.sectionsShown && lowerSection,
          layout.sectionsShown && rightSection};
}

FigureFacts FigureFactsOf(const Session& session, const ViewLayout& layout, const FigureViews& views,
                          const FigureRequest& request) {
  FigureFacts facts = FactsOfFigure(session.model, session.settings, session.periods, layout, request.title);
  facts.notes = request.notes;
  facts.legend = LegendEntries(session.settings, ContentOf(session, views, request));
  if (request.zones)
    for (const LegendEntry& entry : CaptureZoneLegend(*request.zones, session.periods.timeUnit))
      facts.legend.push_back(entry);
  if (request.flood && !request.flood->Empty()) {
    const std::string title = FloodTitle(request.flood->quantity, LengthUnitSymbol(session.model.lengthUnit),
                                         SingularTimeUnitName(session.periods.timeUnit));
    facts.colourBar = ColourBar{title, request.flood->low, request.flood->high};
  }
  return facts;
}

}  // namespace kestra
