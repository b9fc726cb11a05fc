// The main window: menus, the toolbar Toolbar1, the layer and vertical-position
// boxes, the colour swatch, the three views and the status bar. It owns the
// session of the open model, the particles and the view state; event
// handlers keep the names of the commands and stay thin.
#pragma once

#include <QFileInfo>
#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QString>
#include <optional>

#include "app/capture_zone_dialog.h"
#include "app/export_results_dialog.h"
#include "app/picture_view.h"
#include "app/print_plot_dialog.h"
#include "app/qt_user_interface.h"
#include "app/save_plot_dialog.h"
#include "app/view_area.h"
#include "export/capture_zones.h"
#include "export/dxf_map_file.h"
#include "export/plot_annotation.h"
#include "export/result_exports.h"
#include "graphics/colour_flood.h"
#include "graphics/contours.h"
#include "graphics/draw_inputs.h"
#include "graphics/package_layers.h"
#include "graphics/pathline_drawing.h"
#include "graphics/plot_device.h"
#include "graphics/plot_primitives.h"
#include "graphics/stored_pathlines.h"
#include "graphics/stroke_font.h"
#include "graphics/view_arrangement.h"
#include "render/figure.h"
#include "render/raster_picture.h"
#include "session/open_observer.h"
#include "session/session.h"
#include "settings/layer_porosity.h"
#include "settings/open_choices.h"
#include "tracking/cell_inspection.h"
#include "tracking/endpoint_table.h"
#include "tracking/particle_history.h"
#include "tracking/particle_set.h"
#include "tracking/placement.h"
#include "tracking/track_particles.h"

class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QTableWidget;
class QTimer;
class QToolBar;

namespace kestra::app {

// What a left-button drag on the plan is doing.
struct WorksheetDrag {
  bool DragActive = false;   // the left button is held after a press on the plan
  bool RubberShown = false;  // the rubber band is on the plan
  bool zoom = false;         // the drag chooses a zoom window, else a placement rectangle
  QPointF anchor;
  QPointF corner;
};

// A pan dragged on the plan: where the button went down.
struct PanDrag {
  bool active = false;
  QPointF anchor;
};

// The cross at the pointer position on the sections.
struct SectionMarker {
  float x = 0, y = 0, z = 0;
  bool shown = false;
};

class MainWindow : public QMainWindow, public OpenObserver {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  // Opens a model file or imports a name file, as File, Open Model does.
  void OpenModelPath(const std::string& path);

  QtUserInterface& ui() { return ui_; }
  Session& session() { return session_; }
  const ModelState& model() const { return session_.model; }
  BusyFlags& busy() { return session_.busy; }
  ParticleSet& particles() { return particles_; }
  RunControl& runControl() { return runControl_; }
  const ViewLayout& layout() const { return layout_; }
  const RasterPicture& Raster(int index) const { return pictures_[index]; }
  PictureView* View(int index) const { return views_[index]; }
  float VerticalPosition() const { return verticalPosition_; }
  // Where the particles' runs since the last restart ended, by particle and direction.
  const EndpointCollector& Endpoints() const { return *endpoints_; }
  // True when the pathlines shown no longer match the tracking options or time step.
  bool PathlinesStale() const { return pathsStale_; }

  // The zones drawn on the views, well by well, as BuildCaptureZones gives them.
  const std::vector<CaptureZone>& CaptureZones() const { return captureZones_; }
  // What the next click or drag on the plan chooses for capture zones.
  enum class ZonePick { None, Well, Source };
  ZonePick Picking() const { return zonePick_; }

  // The model path given on the command line, opened when the window is first shown.
  void SetCommandLine(const QString& path) { commandLine_ = path; }
  // The plot of Save Plot As written to the chosen file, as after OK in its
  // dialog; false, after a message, when it could not be written.
  bool SavePlotTo(const SavePlotChoice& choice);
  // The four pictures the print dialog offers, from the views as they stand.
  PrintPictures PrintPicturesOfViews() const;
  // What the printer gets for each of those pictures: the figure drawn as vectors.
  PrintDrawing PrintDrawingOfViews() const;
  // The views as a figure, with the sections chosen as far as they are shown.
  FigureViews FigureOfViews(bool lowerSection, bool rightSection) const;
  FigureViews FigureOfSlot(int slot) const;
  FigureFacts FactsOfFigureViews(const FigureViews& views) const;
  // Enables or disables the toolbar's model buttons and the two boxes together.
  void SetModelControlsEnabled(bool enabled);
  // The toolbar button with the given key ("open", "set particle", ...).
  QAction* ToolbarButton(const QString& key) const;
  // A command ended by a failure it did not handle: says so and leaves no
  // busy state behind, so that the window takes commands again.
  void CommandFailed(const std::string& what);

  // OpenObserver: the steps of an open that belong to the window.
  void SetUpViewScales(const Session& session) override;
  void ShowModel(Session& session) override;
  void KeepModel(Session& session) override;

 public slots:
  void Form_Activate();
  void file_open_model_Click();
  void file_import_model_Click();
  void file_load_particles_Click();
  void file_save_particles_as_Click();
  void file_save_heads_as_Click();
  void file_save_drawdowns_as_Click();
  void file_save_velocity_as_Click();
  void file_save_plot_as_Click();
  void file_export_results_Click();
  void File_Print_Click();
  void file_copy_picture_Click();
  void file_exit_Click();
  void run_forward_Click();
  void run_backward_Click();
  void run_step_forward_Click();
  void run_step_backward_Click();
  void run_restart_Click();
  void run_delete_all_particles_Click();
  void edit_undo_Click();
  void edit_redo_Click();
  void run_results_Click();
  void run_capture_zone_Click();
  void run_source_zone_Click();
  void run_clear_capture_zones_Click();
  void options_particle_tracking_Click();
  void options_maps_Click();
  void options_environment_Click();
  void options_model_position_Click();
  void help_contents_Click();
  void help_about_Click();
  void Toolbar1_ButtonClick(QAction* button);

 signals:
  // The end points changed: a run ended or a restart put the particles back.
  void ResultsChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum PictureIndex { kPlan = 0, kRowSection = 1, kColumnSection = 2 };

  // Building the window.
  QMenu* AddMenu(const char* objectName, const QString& title);
  QAction* AddItem(QMenu* menu, const char* objectName, const QString& text, bool enabled = false);
  void BuildMenus();
  void BuildToolbar();
  void BuildViews();
  void BuildStatusBar();
  bool ModelLoadedAndBusy() const { return session_.model.HasModel() && IsBusy(session_.model, session_.busy); }
  // True, after a beep, when a command must not run now.
  bool RefuseCommand();
  static OpenChoices WindowOpenChoices();
  // Where the file dialogs of the model's own files start.
  QString ModelFolder() const { return QFileInfo(QString::fromStdString(session_.model.ModelPath)).absolutePath(); }
  void FillRecentModels();

  // Drawing (main_window_drawing.cpp).
  PlotContext Context();
  DrawInputs Inputs();
  void Form_Resize();
  void ArrangeViews();
  void FrameViews();
  void GiveSpareWidthToPanels();
  void ResizeSections(float pixels);
  void DrawPlanMarks(QPainter& painter);
  // The redraw after a view change: the model drawn, then the particles'
  // release points and the pathlines of the runs since the last restart.
  void RedrawViews(bool arrange);
  void RedrawParticles();
  void DrawStoredPathlines();
  // The pathline drawing of the screen: backward colour, spaced marks.
  void SetUpScreenPathlines(PathlineDrawing& drawing) const;
  // Particles back to their release points, their pathlines and end points gone.
  void ResetRuns();
  void RefreshViews();
  // Velocity vectors and base maps over the plan (main_window_maps.cpp).
  void DrawOverlays(PlotContext& context);
  void DrawSectionVectors(PlotContext& context);
  void LoadMapFont();

  // Capture zones (main_window_capture.cpp).
  void StartPicking(ZonePick pick, const char* hint);
  void StopPicking();
  void CaptureZoneOfCell(CellIndex cell);
  void SourceZoneOfRectangle(QPointF a, QPointF b);
  // Asks for the times, tracks from `start` and draws its zones.
  void BuildZones(const WellScreen& start, bool fromSource, const std::string& description);

  // Exports (main_window_exports.cpp).
  // The file a save goes to, asked for until it is one that may be written
  // and, when it exists, may be replaced; nothing when the user cancels.
  std::optional<std::string> AskFileToWrite(const char* title);
  void SaveResults(ResultExport kind, const char* title);

  // Tracking (main_window_runs.cpp).
  void RunParticles(TrackMode mode);
  void SetRunButtonsRunning(bool running);
  void ShowLoadedResults();
  void BuildTimeControl();
  void BuildCellInspector();
  void BuildLegend();
  // A panel on the right, shown and hidden by an item of the Options menu.
  void AddPanel(QDockWidget* dock, const char* actionName, const QString& actionText);
  // The legend's lines for the open model as the views now show it.
  void UpdateLegend();
  void LegendSwitched(QListWidgetItem* line);
  void BuildFloodMenu(QMenu* options);
  // The flood of the current layer, when one is chosen, and its colour bar.
  void UpdateFlood();
  // The inspector's lines for the cell under the pointer at plan point
  // `point` (none outside the grid).
  void ShowCellInInspector(CellIndex cell, QPointF point);
  // The boundary terms of `cell` in the budget of the step shown.
  std::vector<CellTerm> TermsOfCell(CellIndex cell);
  void AddPathlineUnderPointer(QPointF point, std::vector<InspectedValue>& lines) const;
  // How the particle's run ended, naming the package of a sink cell.
  std::string EndDescription(const Endpoint& end) const;
  void SetUpTimeControl();
  void TimeControlChanged();
  // After CurrentPeriod and CurrentStep changed from the previous ones: the
  // step's results (or the previous step back), panes and time control.
  void ShowChangedTimeStep(int previousPeriod, int previousStep);
  // After a particle edit: `before` is what the set held before it.
  void RecordParticleEdit(std::vector<ParticleRecord> before);
  void ShowRestoredParticles(Restored how);
  void EnableParticleItems();
  // True when there are no unsaved particles or the user agrees to lose them.
  bool MayDiscardParticles();
  QString TrackingOffText() const;
  bool RefuseWithoutFlowField();
  void StopRequested();
  void ShowParticleCount();

  // The plan and the boxes (main_window_worksheet.cpp).
  void model_worksheet_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
  void model_worksheet_MouseMove(Qt::MouseButtons buttons, QPointF point);
  void model_worksheet_MouseUp(Qt::MouseButton button, QPointF point);
  void MoveSections(CellIndex cell);
  void SetParticleAtPointer(QPointF point);
  void PlaceParticlesInRectangle(QPointF a, QPointF b);
  void DeleteParticlesInRectangle(QPointF a, QPointF b);
  void FinishZoomDrag(QPointF point);
  // Navigation (main_window_navigation.cpp).
  void model_worksheet_Wheel(double steps, QPointF point);
  bool StartPan(Qt::MouseButton button, QPointF point);
  void MovePan(QPointF point);
  void FinishPan(QPointF point);
  bool PanKey(QKeyEvent* event);
  bool layer_spin_edit_KeyDown(int key);
  bool local_coordinate_edit_Leave();
  bool BoxGotFocus(bool& editFlag);
  void RefuseEntry(const QString& reason);
  void ClearPointerReadout();
  void ShowPointerReadout(QPointF point);
  void RemoveSectionMarker();
  void PlaceSectionMarker(float x, float y, float z);
  void StoreLayerPorosity(const LayerPorosity& porosity);
  void particle_color_Click();
  void ShowParticleColour();

  QtUserInterface ui_{this};
  Session session_;
  ParticleSet particles_;
  ParticleHistory particleHistory_;
  RunControl runControl_;
  std::optional<EndpointCollector> endpoints_;
  StoredPathlines storedPaths_;
  bool pathsStale_ = false;  // the tracking options or time step changed since they were tracked
  QTimer* repaintClock_ = nullptr;
  PlotDevice device_;
  ViewLayout layout_;
  ViewPlacement placement_;
  QSize viewSpace_;  // the space the views were last arranged in
  RasterPicture pictures_[3];
  PictureView* views_[3] = {};
  PackageLayerReader packages_;
  PlacementCounts placementCounts_ = SuggestedPlacementCounts();
  struct {
    std::string modelPath;  // the model the choice was made for
    SavePlotChoice choice;
  } savePlot_;
  struct {
    std::string modelPath;  // the model the choice was made for
    ExportResultsChoice choice;
  } exportResults_;
  std::vector<CaptureZone> captureZones_;
  CaptureZoneChoice captureChoice_;
  ZonePick zonePick_ = ZonePick::None;
  WorksheetDrag drag_;
  PanDrag pan_;
  bool spaceHeld_ = false;
  SectionMarker marker_;
  QPointF lastPointer_;
  bool pointerOnPlan_ = false;  // the pointer's last move was over the plan
  float verticalPosition_ = 0.5f;
  bool redrawAgain_ = false;
  bool gridPlotSwitch_ = false;  // lets the grid into plots; set by the environment options
  QString commandLine_;
  StrokeFont strokeFont_;  // contour labels and map texts; read at start-up
  DxfMapCache mapCache_;

  ViewArea* viewArea_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  std::vector<QLabel*> statusPanes_;
  QLabel* resultsLabel_ = nullptr;  // what of the time step's results loaded
  QSpinBox* layerBox_ = nullptr;
  QTableWidget* inspector_ = nullptr;  // the cell under the pointer, in the dock
  QLabel* floodBar_ = nullptr;         // the colour bar of the flood, under the legend
  QListWidget* legend_ = nullptr;
  std::vector<LegendItem> legendItems_;  // the legend's lines, in its order
  struct PresentCells {
    Settings settings;
    int period = 0;
    std::string model;
    std::vector<Colour> colours;
  } presentCells_;  // the cell kinds the model has, for the legend
  std::optional<FloodQuantity> floodQuantity_;
  // What the flood was made from: it is made again only when one of these
  // changes, not at every redraw (its range spans every layer).
  struct FloodSource {
    std::optional<FloodQuantity> quantity;
    int layer = 0, period = 0, step = 0;
    std::string model;
    bool heads = false, drawdowns = false, velocities = false;
    Settings settings;
    bool operator==(const FloodSource&) const = default;
  } floodSource_;
  ColourFlood flood_;
  ContourCache contourLines_;  // the contour lines drawn last, for redraws after a zoom or a pan
  struct InspectedCell {
    CellIndex cell;
    int period = 0, step = 0;
    std::vector<std::string> packages;
    std::vector<CellTerm> terms;
  } inspected_;  // the packages and budget terms of the last cell inspected, read once per cell
  struct StepTerms {
    std::string model;
    int period = 0, step = 0;
    CellTermTable table;
  } stepTerms_;  // the boundary terms of every cell in the step shown, read at its first inspection
  QSpinBox* periodBox_ = nullptr;  // the time step shown, for a model of more than one
  QSpinBox* stepBox_ = nullptr;
  QLineEdit* verticalPositionBox_ = nullptr;
  QFrame* colorSwatch_ = nullptr;
};

}  // namespace kestra::app
