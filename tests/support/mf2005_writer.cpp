#include "support/mf2005_writer.h"

#include <sstream>

namespace kestra::test {

std::string WriteMf2005Model(const TempDir& dir, std::map<std::string, std::string> packages) {
  packages.try_emplace("DIS", kDefaultDis);
  packages.try_emplace("BAS6", kDefaultBas);
  packages.try_emplace("LPF", kDefaultLpf);
  packages.try_emplace("OC", kDefaultOc);
  std::string nameFile = "# test model\nLIST 2 model.lst\n";
  int unit = 10;
  for (const auto& [fileType, text] : packages) {
    if (text.empty()) continue;
    const std::string fileName = "model." + fileType;
    WriteWholeFile(dir.File(fileName), text);
    nameFile += fileType + " " + std::to_string(unit++) + " " + fileName + "\n";
  }
  nameFile += "DATA(BINARY) 30 model.hds\nDATA(BINARY) 31 model.ddn\nDATA(BINARY) 32 model.cbc REPLACE\n";
  WriteWholeFile(dir.File("model.nam"), nameFile);
  return dir.File("model.nam");
}

TextFile TextOf(const std::string& text, const std::string& path) {
  TextFile file;
  file.path = path;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) file.lines.push_back(line);
  return file;
}

}  // namespace kestra::test
