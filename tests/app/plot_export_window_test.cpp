// Save Plot As, the text exports and printing on the real window, offscreen.
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QClipboard>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>

#include "app/print_plot_dialog.h"
#include "export/plot_choices.h"
#include "export/result_exports.h"
#include "graphics/plot_device.h"
#include "gui_model.h"
#include "session/time_step_results.h"
#include "support/shell_output.h"

namespace kestra::test {
namespace {

// uniform1 with a particle in the middle of row 5, run both ways.
struct TrackedWindow : OpenWindow {
  TrackedWindow() : OpenWindow("uniform1/lahey", "uniform1.mdl") {
    QTest::mouseClick(window.View(0), Qt::RightButton, {}, CellCentre(10, 5));
    window.ToolbarButton("forward")->trigger();
    window.ToolbarButton("backward")->trigger();
  }
};

QImage Opaque(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

TEST(SavePlotWindow, EveryFormatIsWrittenOffscreen) {
  TrackedWindow w;
  ASSERT_EQ(w.window.particles().ParticleCount(), 1);
  const std::map<std::string, std::string> names = {
      {"DXF", "plot.dxf"},         {"HPGL", "plot.pgl"},        {"MODPATH", "pathline"},
      {"Windows bitmap (BMP)", "plot.bmp"}, {kPlotFormatPng, "plot.png"}, {kPlotFormatSvg, "plot.svg"},
      {kPlotFormatPdf, "plot.pdf"}};
  for (const char* format : kPlotFormatList) {
    SCOPED_TRACE(format);
    const std::string path = w.dir.File(names.at(format));
    ASSERT_TRUE(w.window.SavePlotTo({format, path, true, true}));
    EXPECT_GT(ReadWholeFile(path).size(), 100u);
  }
  // MODPATH records of both directions: the particle code is negative backward.
  const std::string pathlines = ReadWholeFile(w.dir.File("pathline"));
  EXPECT_EQ(pathlines.substr(0, 2), "1 ");
  EXPECT_NE(pathlines.find("\r\n-1 "), std::string::npos);
  // The bitmap holds the window's own pixels: the plan in the upper left.
  const QImage bmp(QString::fromStdString(w.dir.File("plot.bmp")), "BMP");
  const QImage plan = Opaque(w.window.Raster(0).Image());
  EXPECT_EQ(Opaque(bmp).copy(0, 0, plan.width(), plan.height()), plan);
  EXPECT_GT(bmp.width(), plan.width());
  EXPECT_GT(bmp.height(), plan.height());
  // The other pictures are figures: a PNG of its own size, a PDF and an SVG of paths and text, no image.
  EXPECT_EQ(QImage(QString::fromStdString(w.dir.File("plot.png"))).size(), QSize(1600, 1200));
  const std::string pdf = ReadWholeFile(w.dir.File("plot.pdf"));
  EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
  EXPECT_NE(pdf.find("/Font"), std::string::npos);
  const std::string svg = ReadWholeFile(w.dir.File("plot.svg"));
  EXPECT_EQ(svg.find("<image"), std::string::npos);
  EXPECT_NE(svg.find("<text"), std::string::npos);
}

// Saving leaves the screen as it was, release points and pathlines and all,
// so a second save of any format gives the same file as the first.
TEST(SavePlotWindow, SavingTwiceGivesTheSameFileAndKeepsTheScreen) {
  TrackedWindow w;
  const QImage screen = Opaque(w.window.Raster(0).Image());
  for (const auto& [format, name] : {std::pair{"DXF", "plot.dxf"}, std::pair{kPlotFormatPng, "plot.png"}}) {
    SCOPED_TRACE(format);
    const std::string first = w.dir.File(std::string("first_") + name), second = w.dir.File(name);
    ASSERT_TRUE(w.window.SavePlotTo({format, first, true, true}));
    EXPECT_EQ(Opaque(w.window.Raster(0).Image()), screen);
    ASSERT_TRUE(w.window.SavePlotTo({format, second, true, true}));
    EXPECT_EQ(ReadWholeFile(first), ReadWholeFile(second));
  }
}

TEST(SavePlotWindow, PictureWithoutSectionsIsThePlanAlone) {
  TrackedWindow w;
  const std::string path = w.dir.File("plan.bmp");
  ASSERT_TRUE(w.window.SavePlotTo({"Windows bitmap (BMP)", path, false, false}));
  const QImage plan = Opaque(w.window.Raster(0).Image());
  EXPECT_EQ(Opaque(QImage(QString::fromStdString(path))), plan);
}

TEST(SavePlotWindow, HeadsAreSavedUnderTheNameAsTyped) {
  TrackedWindow w;
  const std::string path = w.dir.File("Heads Layer 1.TXT");
  AnswerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Save Heads As");
    dialog.selectFile(QString::fromStdString(path));
    static_cast<QDialog&>(dialog).accept();  // QFileDialog hides its accept
  });
  w.window.findChild<QAction*>("file_save_heads_as")->trigger();
  const std::string text = ReadWholeFile(path);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.substr(0, ExportHeaderLine(20, 10).size()), ExportHeaderLine(20, 10));
}

TEST(SavePlotWindow, VelocitiesSavedBeforeAnyVectorIsDrawnAreTheModelsOwn) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  const std::string path = w.dir.File("velocity.txt");
  AnswerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
    dialog.selectFile(QString::fromStdString(path));
    static_cast<QDialog&>(dialog).accept();  // QFileDialog hides its accept
  });
  w.window.findChild<QAction*>("file_save_velocity_as")->trigger();
  ASSERT_TRUE(CellVelocitiesReady(w.window.session()));
  std::ostringstream expected;
  const Settings& s = w.window.session().settings;
  WriteResultExport(expected, w.window.model(), 1, ResultExport::Velocity, {s.HNOFLO, s.HDRY});
  EXPECT_EQ(ReadWholeFile(path), expected.str());
}

// Answers the next file dialog with `path`, after `then` has set up the
// answer to what follows it.
void ChooseFile(const std::string& path, std::function<void()> then = {}) {
  AnswerNextDialog<QFileDialog>([path, then](QFileDialog& dialog) {
    dialog.selectFile(QString::fromStdString(path));
    if (then) then();
    static_cast<QDialog&>(dialog).accept();
  });
}

// A file the model reads is refused, and "No" to replacing a file asks
// again: the heads go to the third file chosen.
TEST(SavePlotWindow, SavedHeadsNeverReplaceAModelFileAndNoAsksAgain) {
  TrackedWindow w;
  const std::string modelHeads = w.window.model().HeadPath, taken = w.dir.File("taken.txt");
  const std::string fresh = w.dir.File("fresh.txt"), heads = ReadWholeFile(modelHeads);
  WriteWholeFile(taken, "keep");
  std::string refusal, question;
  const auto third = [&] { ChooseFile(fresh); };
  const auto second = [&] { ChooseFile(taken, [&] { AnswerMessage(question, QMessageBox::No, third); }); };
  ChooseFile(modelHeads, [&] { AnswerMessage(refusal, QMessageBox::Ok, second); });
  w.window.findChild<QAction*>("file_save_heads_as")->trigger();
  EXPECT_NE(refusal.find("is a file the model reads"), std::string::npos) << refusal;
  EXPECT_EQ(question, taken + " already exists. Overwrite?");
  EXPECT_EQ(ReadWholeFile(modelHeads), heads);
  EXPECT_EQ(ReadWholeFile(taken), "keep");
  EXPECT_FALSE(ReadWholeFile(fresh).empty());
}

// Ctrl+C puts the views on the clipboard as the screen shows them.
TEST(SavePlotWindow, CopyPictureGivesTheViewsToTheClipboard) {
  TrackedWindow w;
  QApplication::clipboard()->clear();
  w.window.findChild<QAction*>("file_copy_picture")->trigger();
  const QImage copied = QApplication::clipboard()->image();
  const QImage plan = Opaque(w.window.Raster(0).Image());
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(Opaque(copied).copy(0, 0, plan.width(), plan.height()), plan);
  EXPECT_EQ(w.window.findChild<QAction*>("file_copy_picture")->shortcut(), QKeySequence::Copy);
}

// The words of a PDF's text that are no numbers: titles, captions, legend.
std::set<std::string> WordsOfPdf(const std::string& pdf) {
  std::istringstream text(RunShell("pdftotext -raw '" + pdf + "' -").output);
  std::set<std::string> words;
  for (std::string word; text >> word;)
    if (word.find_first_of("0123456789") == std::string::npos) words.insert(word);
  return words;
}

TEST(PrintWindow, PrintToPdfGivesTheFigureOfSavePlotAs) {
  TrackedWindow w;
  const app::PrintPictures previews = w.window.PrintPicturesOfViews();
  for (const QImage& preview : previews) EXPECT_FALSE(preview.isNull());
  EXPECT_GT(previews[3].width(), previews[0].width());
  EXPECT_GT(previews[3].height(), previews[0].height());

  const std::string saved = w.dir.File("saved.pdf");
  ASSERT_TRUE(w.window.SavePlotTo({kPlotFormatPdf, saved, true, true}));
  const std::string printed = w.dir.File("printed.pdf");
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printed));
    Session& session = w.window.session();
    RecordingInterface ui;
    app::PrintPlotDialog dialog(session.settings, session.settingsPath, previews, true, printer, ui, nullptr,
                                w.window.PrintDrawingOfViews());
    dialog.findChild<QComboBox*>("PicOption")->setCurrentIndex(3);  // both sections
    dialog.PrintImage();
  }
  const std::string pdf = ReadWholeFile(printed);
  EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
  if (!RunShell("pdftotext -v").available) GTEST_SKIP() << "poppler-utils is not installed";
  const std::set<std::string> words = WordsOfPdf(saved);
  EXPECT_TRUE(words.contains("Column"));
  EXPECT_TRUE(words.contains("Row"));
  EXPECT_EQ(WordsOfPdf(printed), words);
}

}  // namespace
}  // namespace kestra::test
