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

TEST(PlotPathlines, DrawingsAndFiguresGainThePathlines) {
  PlotScene scene;
  std::string errors;
  for (const char* name : {"with.dxf", "with.plt", "with.svg", "plot.pdf", "plot.bmp"})
    ASSERT_EQ(scene.Write(name, true, &errors), 0) << errors;
  for (const char* name : {"without.dxf", "without.plt", "without.svg"})
    ASSERT_EQ(scene.Write(name, false, &errors), 0) << errors;
  const std::string with = test::ReadWholeFile(scene.dir.File("with.dxf"));
  const std::string without = test::ReadWholeFile(scene.dir.File("without.dxf"));
  EXPECT_GT(CountOf(with, "\r\nLINE\r\n"), CountOf(without, "\r\nLINE\r\n") + 10);
  EXPECT_GT(test::ReadWholeFile(scene.dir.File("with.plt")).size(),
            test::ReadWholeFile(scene.dir.File("without.plt")).size());
  // The figure draws them in the particles' colour and names both directions in its legend.
  const std::string svg = test::ReadWholeFile(scene.dir.File("with.svg"));
  const std::string plainSvg = test::ReadWholeFile(scene.dir.File("without.svg"));
  for (const char* shown : {"#00ff00", "Forward pathlines", "Backward pathlines"}) {
    EXPECT_NE(svg.find(shown), std::string::npos) << shown;
    EXPECT_EQ(plainSvg.find(shown), std::string::npos) << shown;
  }
  EXPECT_EQ(test::ReadWholeFile(scene.dir.File("plot.pdf")).substr(0, 5), "%PDF-");
  const QImage bmp(QString::fromStdString(scene.dir.File("plot.bmp")), "BMP");
  EXPECT_GT(PixelsOf(bmp, kForwardColour), 100);
}

// The bitmap is the views' own pixels, so a pathline's colour is exact there.
TEST(PlotPathlines, BitmapShowsThePathlinesBothWays) {
  PlotScene scene;
  std::string errors;
  ASSERT_EQ(scene.Write("with.bmp", true, &errors), 0) << errors;
  ASSERT_EQ(scene.Write("without.bmp", false, &errors), 0) << errors;
  const QImage with(QString::fromStdString(scene.dir.File("with.bmp")), "BMP");
  const QImage without(QString::fromStdString(scene.dir.File("without.bmp")), "BMP");
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

TEST(PlotPathlines, TheTitleAskedForReplacesTheDefault) {
  PlotScene scene;
  std::string errors;
  ASSERT_EQ(Plot({scene.model, "--out", scene.dir.File("report.svg"), "--title", "Site A capture"}, &errors), 0)
      << errors;
  const std::string svg = test::ReadWholeFile(scene.dir.File("report.svg"));
  EXPECT_NE(svg.find("Site A capture"), std::string::npos);
  EXPECT_EQ(svg.find("uniform1: layer 1"), std::string::npos);
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
