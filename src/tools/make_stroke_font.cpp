// Generates the stroke font file data/SCREEN.FON from the Hershey simplex
// font of Debian's hershey-fonts-data:
//   kestra_make_stroke_font /usr/share/hershey-fonts/rowmans.jhf data/SCREEN.FON
#include <fstream>
#include <iostream>
#include <sstream>

#include "graphics/hershey_import.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kestra_make_stroke_font HERSHEY.jhf SCREEN.FON\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  kestra::StrokeFont font;
  std::string error;
  if (!kestra::ImportHersheyFont(text.str(), font, error)) {
    std::cerr << argv[1] << ": " << error << "\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << kestra::StrokeFontText(font);
  if (!out.flush()) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cout << "wrote " << font.glyphs.size() << " glyphs and " << font.strokes.size() << " stroke values\n";
  return 0;
}
