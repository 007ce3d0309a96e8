#include "format_props_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "library/error_message.h"
#include "library/frt_file.h"
#include "library/string_table.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdTypeExport = 1253;
constexpr int kIdTypeImport = 1254;
constexpr int kIdTypeBoth = 1255;
constexpr int kIdTypeUnknown = 1256;
constexpr int kIdCurrentFormat = 1257;
constexpr int kHeaderFieldLength = 200;

struct FieldInfo {
  int id;
  const char* label;
  bool editable;
  int maxLength;  // GBK bytes; 0: no limit
};

// The single-line fields in the dialog's order (the comment follows them).
constexpr FieldInfo kFields[] = {
    {CFormatPropertiesDlg::kName, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "名称："), false, 15},
    {CFormatPropertiesDlg::kVersion, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "版本："), false, 8},
    {CFormatPropertiesDlg::kAuthor, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "作者："), true,
     kHeaderFieldLength},
    {CFormatPropertiesDlg::kCompany, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "公司："), true,
     kHeaderFieldLength},
    {CFormatPropertiesDlg::kDate, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "创建日期："), false,
     kHeaderFieldLength},
    {CFormatPropertiesDlg::kInstrument, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "仪器类型："),
     false, 9},
    {CFormatPropertiesDlg::kType, QT_TRANSLATE_NOOP("CFormatPropertiesDlg", "格式类型："), false,
     0},
};

using qvui::FromGbk;
using qvui::ToGbk;

// The length message of the dialog's data check.
void ShowTooLong(int maxLength) {
  CErrorMessage::ShowNotice(
      frt::kIdNone,
      CFormatPropertiesDlg::tr("请输入不超过 %1 个字符。").arg(maxLength).toStdString());
}

}  // namespace

CFormatPropertiesDlg::CFormatPropertiesDlg(CFrtFile& format, const std::string& name,
                                           QWidget* parent)
    : CDialogEx(kTemplateId, parent), format_(format), name_(name) {
  setObjectName(QStringLiteral("formatPropertiesDialog"));
  setWindowTitle(CaptionFor(name));
  auto* form = new QFormLayout;
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(kFields[i].id));
    edit->setReadOnly(!kFields[i].editable);
    fields_[i] = edit;
    form->addRow(tr(kFields[i].label), edit);
  }
  comment_ = new QPlainTextEdit(this);
  comment_->setObjectName(QStringLiteral("edit%1").arg(kComment));
  comment_->setTabChangesFocus(true);
  comment_->setMinimumHeight(70);
  form->addRow(tr("说明："), comment_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("确认"));
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CFormatPropertiesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  resize(420, 360);
  OnInitDialog();
}

QString CFormatPropertiesDlg::CaptionFor(const std::string& name) {
  return tr("属性 -") +
         (name.empty() ? QString::fromUtf8(frt::LoadText(kIdCurrentFormat)) : FromGbk(name));
}

QString CFormatPropertiesDlg::TypeText(const CFrtFile& format) {
  int id = kIdTypeUnknown;
  switch (format.DirectionsPresent() & 3) {
    case 1:
      id = kIdTypeExport;
      break;
    case 2:
      id = kIdTypeImport;
      break;
    case 3:
      id = kIdTypeBoth;
      break;
    default:
      break;
  }
  return QString::fromUtf8(frt::LoadText(id));
}

QLineEdit* CFormatPropertiesDlg::Field(int controlId) const {
  for (std::size_t i = 0; i < std::size(kFields); ++i)
    if (kFields[i].id == controlId) return fields_[i];
  return nullptr;
}

bool CFormatPropertiesDlg::OnInitDialog() {
  // Filled when made, so that the dialog can be looked at before it is shown; a second call
  // (from the first show) fills the same values again.
  const CFrtHeader& h = format_.Header();
  Field(kName)->setText(FromGbk(name_));
  Field(kVersion)->setText(FromGbk(h.version.view()));
  Field(kAuthor)->setText(FromGbk(h.author.view()));
  Field(kCompany)->setText(FromGbk(h.company.view()));
  Field(kDate)->setText(FromGbk(h.date.view()));
  Field(kInstrument)->setText(FromGbk(h.instrument.view()));
  Field(kType)->setText(TypeText(format_));
  comment_->setPlainText(FromGbk(h.comment.view()));
  return true;
}

void CFormatPropertiesDlg::accept() {
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const int limit = kFields[i].maxLength;
    if (limit > 0 && ToGbk(fields_[i]->text()).size() > static_cast<std::size_t>(limit)) {
      ShowTooLong(limit);
      fields_[i]->setFocus();
      fields_[i]->selectAll();
      return;
    }
  }
  if (ToGbk(comment_->toPlainText()).size() > static_cast<std::size_t>(kHeaderFieldLength)) {
    ShowTooLong(kHeaderFieldLength);
    comment_->setFocus();
    return;
  }
  format_.SetAuthor(ToGbk(Field(kAuthor)->text()));
  format_.SetCompany(ToGbk(Field(kCompany)->text()));
  // The comment is one line of the format file: typed line breaks become blanks.
  QString comment = comment_->toPlainText();
  comment.replace(QLatin1Char('\n'), QLatin1Char(' '));
  format_.SetComment(ToGbk(comment));
  QDialog::accept();
}
