#include "defaults_pages.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "profile/qv_profile.h"
#include "settings/page_widgets.h"

namespace {

// The real-number defaults are those of this data type.
constexpr int kRealDataType = 8;

CQVConversionSettings RealDefaults(const CQVProfDefault& defaults, bool output) {
  CQVConversionSettings settings;
  settings.ApplyDefaults(defaults, kRealDataType, output);
  return settings;
}

}  // namespace

// --- Output defaults --------------------------------------------------------------------------

CQVExportDefaultsPage::CQVExportDefaultsPage(CQVProfile& profile, CDocFormat* format,
                                             QWidget* parent)
    : CQVSettingsPage(kTemplateId, tr("输出"), profile, format, parent) {
  setObjectName(QStringLiteral("outputDefaultsPage"));
  conversion_ = new CQVOutputConversionBox(0, kLengthLimit,
                                           CQVOutputConversionBox::Order::kWidthAfterSign, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(conversion_);
  AddApplyBox(layout);
}

bool CQVExportDefaultsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  const CQVConversionSettings shown = RealDefaults(profile_.Default(), true);
  conversion_->Show(shown);
  // A precision the file leaves below zero is shown as it is: the page takes none.
  conversion_->PrecisionEdit()->setText(QString::number(shown.precision));
  return true;
}

bool CQVExportDefaultsPage::OnKillActive() {
  return conversion_->Check();
}

bool CQVExportDefaultsPage::OnApply() {
  CQVProfDefault& defaults = profile_.Default();
  CQVConversionSettings s = RealDefaults(defaults, true);
  if (!conversion_->Take(s)) return false;
  CQVPrintFDefFloat& d = defaults.PrintFFloat();
  d.SetAlign(s.align);
  d.SetRepresentation(s.representation);
  d.SetSign(s.sign);
  d.SetFillCharacter(s.fillCharacter);
  d.SetAlternateFormat(s.alternateFormat);
  d.SetLength(s.length);
  d.SetPrecision(s.precision);
  defaults.CopyPrintFFloatToOthers();
  if (ApplyAll()) defaults.SavePrintFDefaults();
  return true;
}

// --- Input defaults ---------------------------------------------------------------------------

CQVImportDefaultsPage::CQVImportDefaultsPage(CQVProfile& profile, CDocFormat* format,
                                             QWidget* parent)
    : CQVSettingsPage(kTemplateId, tr("输入"), profile, format, parent) {
  setObjectName(QStringLiteral("inputDefaultsPage"));
  conversion_ = new CQVInputConversionBox(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(conversion_);
  AddApplyBox(layout);
}

bool CQVImportDefaultsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  conversion_->Show(RealDefaults(profile_.Default(), false));
  return true;
}

bool CQVImportDefaultsPage::OnKillActive() {
  return conversion_->Check();
}

bool CQVImportDefaultsPage::OnApply() {
  CQVProfDefault& defaults = profile_.Default();
  CQVConversionSettings s = RealDefaults(defaults, false);
  if (!conversion_->Take(s)) return false;
  CQVScanFDefFloat& d = defaults.ScanFFloat();
  d.SetSubpressAssignment(s.subpressAssignment);
  d.SetRepresentation(s.representation);
  d.SetLength(s.length);
  if (!ApplyAll()) return true;
  CQVScanFDefaultBase* others[3] = {&defaults.ScanFInteger(), &defaults.ScanFStrings(),
                                    &defaults.ScanFChar()};
  for (CQVScanFDefaultBase* other : others) {
    other->SetSubpressAssignment(d.SubpressAssignment());
    other->SetLength(d.Length());
  }
  // Every section is written even after a failure; each failure has shown its message.
  d.Write();
  for (CQVScanFDefaultBase* other : others) other->Write();
  return true;
}
