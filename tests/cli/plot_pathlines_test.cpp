// kestra-cli plot with a particle file: the particles are tracked and their
// pathlines retraced into every kind of plot file.
#include <gtest/gtest.h>

#include <QImage>
#include <sstream>

#include "cli/commands.h"
#include "cli_runner.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/particle_file.h"

namespace kestra::cli {
namespace {

// uniform1 with three particles in the middle of column 10: forward they
// run to column 20, backward to column 1.
struct PlotScene {
  PlotScene() {
    model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
    ParticleSet set;
    set.DefaultParticleColor = 0x00FF00;  // green: no cell type is drawn green
    for (std::int16_t row : {3, 5, 7})
      set.Particles.push_back(NewParticle(set, CellIndex{10, row, 1}, LocalPoint{0.5f, 0.5f, 0.5f}, 5.0f));
    particles = dir.File("column10.par");
    test::RecordingInterface ui;
    EXPECT_TRUE(WriteParticleFile(particles, set, ui));
  }
  int Write(const std::string& name, bool withParticles, std::string* errors = nullptr) {
    Arguments args{model, "--out", dir.File(name)};
    if (withParticles) args.insert(args.end(), {"--particles", particles, "--forward", "--backward"});
    return Plot(args, errors);
  }
  test::TempDir dir;
  std::string model, particles;
};

constexpr QRgb kForwardColour = qRgb(0, 255, 0);   // the particles' colour
constexpr QRgb kBackwardColour = qRgb(0, 0, 255);  // the settings' default for backward paths

int PixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

TEST(PlotPathlines, DrawingsGainThePathlinesAndSvgAndPdfHoldThePicture) {
  PlotScene scene;
  std::string errors;
  for (const char* name : {"with.dxf", "with.plt", "plot.svg", "plot.pdf", "plot.bmp"})
    ASSERT_EQ(scene.Write(name, true, &errors), 0) << errors;
  for (const char* name : {"without.dxf", "without.plt"}) ASSERT_EQ(scene.Write(name, false, &errors), 0) << errors;
  const std::string with = test::ReadWholeFile(scene.dir.File("with.dxf"));
  const std::string without = test::ReadWholeFile(scene.dir.File("without.dxf"));
  EXPECT_GT(CountOf(with, "\r\nLINE\r\n"), CountOf(without, "\r\nLINE\r\n") + 10);
  EXPECT_GT(test::ReadWholeFile(scene.dir.File("with.plt")).size(),
            test::ReadWholeFile(scene.dir.File("without.plt")).size());
  const std::string svg = test::ReadWholeFile(scene.dir.File("plot.svg"));
  EXPECT_EQ(svg.substr(0, 5), "<?xml");
  EXPECT_NE(svg.find("data:image/png;base64,"), std::string::npos);
  EXPECT_EQ(test::ReadWholeFile(scene.dir.File("plot.pdf")).substr(0, 5), "%PDF-");
  const QImage bmp(QString::fromStdString(scene.dir.File("plot.bmp")), "BMP");
  EXPECT_GT(PixelsOf(bmp, kForwardColour), 100);
}

TEST(PlotPathlines, PictureShowsThePathlinesBothWays) {
  PlotScene scene;
  std::string errors;
  ASSERT_EQ(scene.Write("with.png", true, &errors), 0) << errors;
  ASSERT_EQ(scene.Write("without.png", false, &errors), 0) << errors;
  const QImage with(QString::fromStdString(scene.dir.File("with.png")));
  const QImage without(QString::fromStdString(scene.dir.File("without.png")));
  ASSERT_FALSE(with.isNull());
  EXPECT_EQ(PixelsOf(without, kForwardColour), 0);
  EXPECT_EQ(PixelsOf(without, kBackwardColour), 0);
  // Three lines across the whole plan (200 units wide) and the row section,
  // forward in the particles' colour, backward in the backward colour.
  EXPECT_GT(PixelsOf(with, kForwardColour) + PixelsOf(with, kBackwardColour), 3 * with.width() / 2);
  EXPECT_GT(PixelsOf(with, kForwardColour), 0);
  // The backward pathlines reach the left edge of the plan.
  int left = with.width();
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      if (with.pixel(x, y) == kBackwardColour) left = std::min(left, x);
  EXPECT_LT(left, with.width() / 20);
}

TEST(PlotPathlines, TitleAndLegendWidenThePictureAroundTheSameViews) {
  PlotScene scene;
  std::string errors;
  ASSERT_EQ(scene.Write("plain.png", true, &errors), 0) << errors;
  ASSERT_EQ(Plot({scene.model, "--out", scene.dir.File("report.png"), "--particles", scene.particles, "--forward",
                  "--backward", "--legend", "--title", "uniform1"}, &errors), 0) << errors;
  const QImage plain(QString::fromStdString(scene.dir.File("plain.png")));
  const QImage report(QString::fromStdString(scene.dir.File("report.png")));
  ASSERT_FALSE(report.isNull());
  EXPECT_GT(report.width(), plain.width() + 100);
  EXPECT_GT(report.height(), plain.height() + 40);
  // The views sit unchanged inside the margins: find the plain picture's
  // first row of pixels somewhere in the report.
  bool found = false;
  const QImage firstRow = plain.copy(0, 0, plain.width(), 1).convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y + plain.height() <= report.height() && !found; ++y)
    for (int x = 0; x + plain.width() <= report.width() && !found; ++x)
      found = report.copy(x, y, plain.width(), 1).convertToFormat(QImage::Format_RGB32) == firstRow;
  EXPECT_TRUE(found);
  // The legend's pathline entry in the particles' green, beside the views.
  EXPECT_GT(PixelsOf(report.copy(plain.width(), 0, report.width() - plain.width(), report.height()), kForwardColour), 20);
}

TEST(PlotPathlines, MissingParticleFileIsReported) {
  PlotScene scene;
  std::string errors;
  EXPECT_EQ(Plot({scene.model, "--out", scene.dir.File("p.dxf"), "--particles", scene.dir.File("none.par")}, &errors),
            1);
  EXPECT_NE(errors.find("none.par"), std::string::npos) << errors;
  EXPECT_FALSE(std::filesystem::exists(scene.dir.File("p.dxf")));
}

// The tracking options are those of track, the sink rule and release time too.
TEST(PlotPathlines, TakesTheTrackingOptionsOfTrack) {
  PlotScene scene;
  std::string errors;
  const std::string out = scene.dir.File("sinks.dxf");
  EXPECT_EQ(Plot({scene.model, "--out", out, "--particles", scene.particles, "--sinks", "all"}, &errors), 0) << errors;
  EXPECT_EQ(Plot({scene.model, "--out", out, "--particles", scene.particles, "--sinks", "some"}, &errors), 2);
  EXPECT_EQ(Plot({scene.model, "--out", out, "--particles", scene.particles, "--release-time", "end"}, &errors), 2);
  EXPECT_NE(errors.find("--release-time needs --pathlines"), std::string::npos) << errors;
  EXPECT_EQ(Plot({scene.model, "--out", out, "--particles", scene.particles, "--pathlines", "--release-time", "5"},
                 &errors),
            2);
  EXPECT_NE(errors.find("beyond the end of the simulation"), std::string::npos) << errors;
}

}  // namespace
}  // namespace kestra::cli
