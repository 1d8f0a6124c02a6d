#include "product_texts.h"

#include "sys/path_text.h"

namespace {

const char kLineEnd[] = "\r\n";

std::string Line(const std::string& text) { return text + kLineEnd; }

std::string ProgramTarget(const std::string& member) {
  return std::string("%installDir%") + kProgramComponent + "\\" + member;
}

// The shortcut's name: the program's file name without ".exe".
std::string LinkName(const std::string& program) {
  return program.substr(0, program.size() - FileExtension(program).size());
}

}  // namespace

std::string SettingsText(const NewProduct& product) {
  std::string text = Line("[install]") + Line("name=" + product.Name) +
                     Line("defaultDir=%programsdir%" + product.Name + "\\") + Line("UninstTitle=" + product.Name);
  if (!product.Maker.empty()) text += Line("RegRoot=" + product.Maker) + Line("Publisher=" + product.Maker);
  if (product.Programs.empty()) return text;
  text += kLineEnd + Line("[groups]") + Line("1=" + product.Name) + kLineEnd + Line("[links]");
  for (const std::string& program : product.Programs)
    text += Line("%menudir%" + product.Name + "\\" + LinkName(program) + "=" + ProgramTarget(program));
  return text;
}

std::string BaseDescriptorText() {
  std::string text = Line("[component]") + Line(std::string("name=") + kBaseComponent) + kLineEnd + Line("[copy]");
  const std::string target = std::string("%installDir%") + kBaseComponent + "\\";
  text += Line("%thisDir%install.ini=" + target + "install.ini");
  for (const char* file : kEmptyBaseFiles) text += Line(std::string("%thisDir%") + file + "=" + target + file);
  return text;
}

std::string ProgramDescriptorText(const NewProduct& product) {
  std::string text = Line("[component]") + Line(std::string("name=") + kProgramComponent);
  if (!product.Programs.empty()) text += Line("exename=" + product.Programs.front());
  text += Line(std::string("path=%installDir%") + kProgramComponent + "\\") + Line("version=" + product.Version) +
          kLineEnd + Line("[copy]");
  for (const std::string& member : product.Members) text += Line("%thisDir%" + member + "=" + ProgramTarget(member));
  return text;
}
