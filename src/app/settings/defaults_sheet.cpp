// The sheet "变量的默认设置". The flags page is the variable sheet's, in its
// profile mode: the same list of checkable flags, bound to the profile instead
// of one variable.
#include <QDialog>

#include "settings/defaults_pages.h"
#include "settings/variable_pages.h"

namespace {
constexpr int kIdDefaultsSheet = 524;
}

std::unique_ptr<CPropertySheetEx> MakeDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                           QWidget* parent) {
  auto sheet = std::make_unique<CQvPropertySheet>(kIdDefaultsSheet, parent);
  sheet->setObjectName(QStringLiteral("defaultSettingsSheet"));
  sheet->AddPage(new CQVConversionDefaultsPage(CQVEditVar::Direction::kOutput, profile, format));
  sheet->AddPage(new CQVVariableFlagsPage(profile));
  sheet->AddPage(new CQVConversionDefaultsPage(CQVEditVar::Direction::kInput, profile, format));
  sheet->RemoveApplyButton(true);
  sheet->resize(380, sheet->sizeHint().height());
  return sheet;
}

int RunDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent) {
  std::unique_ptr<CPropertySheetEx> sheet = MakeDefaultSettingsSheet(profile, format, parent);
  return sheet->DoModal();
}
