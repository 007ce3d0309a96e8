#pragma once
// Builds template files for tests: a minimal valid catalogue that each test bends into the case
// it needs, key by key.
#include <string>
#include <utility>
#include <vector>

namespace testfiles {

class TplBuilder {
 public:
  // One pool variable (code 1), instrument INST with template Kite_Basic, one application
  // and one export definition of block 1 with one string and the allowed code 1.
  static TplBuilder Minimal() {
    TplBuilder b;
    b.Set("FileHeader", "Type", "FRT_TPL")
        .Set("FileHeader", "Version", "1.00")
        .Set("FileHeader", "Company", "Test company")
        .Variable(1, "Point", 1, 11, 0, "P1")
        .Set("Instruments", "InstrumentList", "INST")
        .Set("TemplateList", "Template_INST", "Kite_Basic")
        .Generalities("Kite_Basic")
        .Set("Kite_Basic_Applications", "List", "Survey")
        .Set("Kite_Basic_Application_Survey", "Id", "101")
        .Set("Kite_Basic_Application_Survey", "Header", "0")
        .Set("Kite_Basic_Formatstring_List", "Export", "Measure")
        .Definition("Kite_Basic_Export_Measure", 1, 1, 0, {1});
    return b;
  }

  // Replaces the value of the key, or adds the key at the end of its section (made when new).
  TplBuilder& Set(const std::string& section, const std::string& key, const std::string& value) {
    auto& lines = Section(section);
    for (auto& [k, v] : lines) {
      if (k == key) {
        v = value;
        return *this;
      }
    }
    lines.emplace_back(key, value);
    return *this;
  }
  TplBuilder& Remove(const std::string& section, const std::string& key) {
    auto& lines = Section(section);
    for (auto it = lines.begin(); it != lines.end(); ++it) {
      if (it->first == key) {
        lines.erase(it);
        break;
      }
    }
    return *this;
  }
  TplBuilder& Variable(int i, const std::string& name, int code, int type, int unitType,
                       const std::string& def) {
    const std::string n = std::to_string(i);
    return Set("Variables", "Name" + n, name)
        .Set("Variables", "Code" + n, std::to_string(code))
        .Set("Variables", "Type" + n, std::to_string(type))
        .Set("Variables", "UnitType" + n, std::to_string(unitType))
        .Set("Variables", "Default" + n, def);
  }
  TplBuilder& Generalities(const std::string& name, int fileHeader = 0, int footer = 0,
                           int defaultStrings = 0) {
    const std::string s = name + "_Generalities";
    return Set(s, "StrLength", "40")
        .Set(s, "FileHeader", std::to_string(fileHeader))
        .Set(s, "FileHeaderLength", fileHeader ? "100" : "0")
        .Set(s, "FileFooter", std::to_string(footer))
        .Set(s, "FileFooterLength", footer ? "100" : "0")
        .Set(s, "PrintFDefaultStrings", std::to_string(defaultStrings));
  }
  // A definition section with ID, Length, StrCount, VarCount, Header and its codes.
  TplBuilder& Definition(const std::string& section, int block, int strCount, int header,
                         const std::vector<int>& codes) {
    Set(section, "ID", std::to_string(block))
        .Set(section, "Length", "200")
        .Set(section, "StrCount", std::to_string(strCount))
        .Set(section, "VarCount", "5")
        .Set(section, "Header", std::to_string(header));
    for (std::size_t i = 0; i < codes.size(); ++i)
      Set(section + "_Variables", "Code" + std::to_string(i + 1), std::to_string(codes[i]));
    return *this;
  }

  std::string Text() const {
    std::string out;
    for (const auto& [name, lines] : sections_) {
      out += "[" + name + "]\r\n";
      for (const auto& [k, v] : lines) out += k + "=" + v + "\r\n";
      out += "; --\r\n";
    }
    return out;
  }

 private:
  using Lines = std::vector<std::pair<std::string, std::string>>;
  Lines& Section(const std::string& name) {
    for (auto& [n, lines] : sections_) {
      if (n == name) return lines;
    }
    sections_.emplace_back(name, Lines{});
    return sections_.back().second;
  }
  std::vector<std::pair<std::string, Lines>> sections_;
};

}  // namespace testfiles
