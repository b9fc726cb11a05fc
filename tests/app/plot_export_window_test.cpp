// Save Plot As, the text exports and printing on the real window, offscreen.
#include <QAction>
#include <QFileDialog>
#include <gtest/gtest.h>

#include "export/plot_choices.h"
#include "export/result_exports.h"
#include "graphics/plot_device.h"
#include "gui_model.h"

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

TEST(PrintWindow, PicturesComeFromTheViews) {
  TrackedWindow w;
  const app::PrintPictures pictures = w.window.PrintPicturesOfViews();
  const QImage plan = Opaque(w.window.Raster(0).Image());
  EXPECT_EQ(Opaque(pictures[0]), plan);
  EXPECT_EQ(pictures[1].height(), plan.height());
  EXPECT_GT(pictures[1].width(), plan.width());
  EXPECT_EQ(pictures[2].width(), plan.width());
  EXPECT_GT(pictures[2].height(), plan.height());
  EXPECT_EQ(pictures[3].size(), QSize(pictures[1].width(), pictures[2].height()));
}

}  // namespace
}  // namespace kestra::test
