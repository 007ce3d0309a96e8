#pragma once
// What the GUI tests share: a loaded settings profile from the shipped data in a scratch
// application folder, a small pool of variables, and conversions built the way the editor
// builds them.
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "catalogue/data_locations.h"
#include "catalogue/ini_reader.h"
#include "library/text_encoding.h"
#include "profile/qv_profile.h"
#include "settings/qv_edit_var.h"

struct CTestProfile {
  QTemporaryDir dir;
  CDataLocations locations;
  CIniReader reader;
  std::unique_ptr<CQVProfile> profile;
  CQVPoolTable pool;

  // False when the shipped settings could not be loaded.
  bool Load() {
    CDataLocationOptions options;
    options.appDir = dir.filePath(QStringLiteral("app")).toStdString();
    options.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    if (locations.Resolve(options) != frt::kOk) return false;
    if (locations.PrepareAppDir() != frt::kOk) return false;
    profile = std::make_unique<CQVProfile>(reader, locations);
    pool.Add({11, 11, 0, frt::Utf8ToGbk("点号")});
    pool.Add({81, 8, 2, frt::Utf8ToGbk("东坐标")});
    pool.Add({82, 8, 2, frt::Utf8ToGbk("北坐标")});
    pool.Add({83, 8, 2, frt::Utf8ToGbk("高程")});
    return profile->Read() != 0;
  }

  CQVEditVar Variable(int code, CQVEditVar::Direction d = CQVEditVar::Direction::kOutput) const {
    return CQVEditVar(*profile, pool, code, d);
  }
  std::string Reference(int code) const {  // empty when it cannot be built
    std::string reference;
    return Variable(code).BuildReference(reference) ? reference : std::string();
  }
};
