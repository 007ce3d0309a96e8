#pragma once
// The format properties dialog: the header of a format. Author, company and comment can be
// changed; the other fields are shown only, yet every field's length is checked on "确认".
#include <QString>

#include "uilib/dialog_ex.h"

class CFrtFile;
class QLineEdit;
class QPlainTextEdit;

class CFormatPropertiesDlg : public CDialogEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 229;
  // Control ids of the fields, in the dialog's order.
  enum FieldId : int {
    kName = 2085,
    kVersion = 2084,
    kAuthor = 2083,
    kCompany = 2082,
    kDate = 2081,
    kInstrument = 2080,
    kType = 2079,
    kComment = 2078,
  };

  // `name` is the format's name (GBK, as the format holds it). The format is not owned.
  CFormatPropertiesDlg(CFrtFile& format, const std::string& name, QWidget* parent = nullptr);

  // "输出格式", "输入格式", "输入/输出格式 format" or "Unknown" by the strings the format holds.
  static QString TypeText(const CFrtFile& format);
  // "属性 -" and the name, or "当前格式" for a format without one.
  static QString CaptionFor(const std::string& name);

  QLineEdit* Field(int controlId) const;
  QPlainTextEdit* Comment() const { return comment_; }

 public slots:
  // Checks the lengths, then writes author, company and comment into the header.
  void accept() override;

 protected:
  bool OnInitDialog() override;

 private:
  CFrtFile& format_;
  std::string name_;
  QLineEdit* fields_[7] = {};
  QPlainTextEdit* comment_ = nullptr;
};
