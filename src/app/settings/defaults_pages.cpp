#include "defaults_pages.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <iterator>

#include "library/frt_variable.h"
#include "profile/qv_profile.h"

namespace {

constexpr int kIdOutputDefaultsPage = 206;
constexpr int kIdInputDefaultsPage = 207;
// The real-number defaults are those of this data type.
constexpr int kRealDataType = frt::kTypeFloat;

}  // namespace

CQVConversionDefaultsPage::CQVConversionDefaultsPage(CQVEditVar::Direction direction,
                                                     CQVProfile& profile, CDocFormat* format,
                                                     QWidget* parent)
    : CQVSettingsPage(direction == CQVEditVar::Direction::kOutput ? kIdOutputDefaultsPage
                                                                  : kIdInputDefaultsPage,
                      direction == CQVEditVar::Direction::kOutput ? tr("输出") : tr("输入"),
                      profile, format, parent),
      output_(direction == CQVEditVar::Direction::kOutput) {
  setObjectName(output_ ? QStringLiteral("outputDefaultsPage")
                        : QStringLiteral("inputDefaultsPage"));
  if (output_)
    conversion_ = new CQVOutputConversionBox(0, kLengthLimit,
                                             CQVOutputConversionBox::Order::kWidthAfterSign, this);
  else
    conversion_ = new CQVInputConversionBox(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(conversion_);
  AddApplyBox(layout);
}

CQVOutputConversionBox* CQVConversionDefaultsPage::OutputConversion() const {
  return qobject_cast<CQVOutputConversionBox*>(conversion_);
}

CQVInputConversionBox* CQVConversionDefaultsPage::InputConversion() const {
  return qobject_cast<CQVInputConversionBox*>(conversion_);
}

bool CQVConversionDefaultsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  CQVConversionSettings shown;
  shown.ApplyDefaults(profile_.Default(), kRealDataType, output_);
  conversion_->Show(shown);
  // A precision the file leaves below zero is shown as it is: the page takes none.
  if (output_) OutputConversion()->PrecisionEdit()->setText(QString::number(shown.precision));
  return true;
}

bool CQVConversionDefaultsPage::OnKillActive() {
  return conversion_->Check();
}

bool CQVConversionDefaultsPage::OnApply() {
  CQVConversionSettings settings;
  settings.ApplyDefaults(profile_.Default(), kRealDataType, output_);
  if (!conversion_->Take(settings)) return false;
  if (output_)
    StoreOutput(settings);
  else
    StoreInput(settings);
  return true;
}

void CQVConversionDefaultsPage::StoreOutput(const CQVConversionSettings& s) {
  CQVProfDefault& defaults = profile_.Default();
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
}

void CQVConversionDefaultsPage::StoreInput(const CQVConversionSettings& s) {
  CQVProfDefault& defaults = profile_.Default();
  defaults.ScanFFloat().SetRepresentation(s.representation);
  // The real-number defaults first; "作用于每一格式" hands SubpressAssignment and Length on to
  // the other kinds and writes every section, even after a failure (each has shown its message).
  CQVScanFDefaultBase* kinds[] = {&defaults.ScanFFloat(), &defaults.ScanFInteger(),
                                  &defaults.ScanFStrings(), &defaults.ScanFChar()};
  const std::size_t count = ApplyAll() ? std::size(kinds) : 1;
  for (std::size_t i = 0; i < count; ++i) {
    kinds[i]->SetSubpressAssignment(s.subpressAssignment);
    kinds[i]->SetLength(s.length);
  }
  if (!ApplyAll()) return;
  for (CQVScanFDefaultBase* kind : kinds) kind->Write();
}
