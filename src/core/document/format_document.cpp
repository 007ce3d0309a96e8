#include "document/format_document.h"

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "library/error_message.h"

namespace {
constexpr int kIdBadTemplateName = 1202;
constexpr int kIdBadVersion = 1203;
}  // namespace

CFormatDocument::CFormatDocument(const CDocContext& context)
    : context_(context), format_(context) {}

bool CFormatDocument::New(const CFormatTemplate* formatTemplate) {
  if (!formatTemplate && context_.catalogue)
    formatTemplate = context_.catalogue->FindTemplate(kNewTemplateName);
  if (!formatTemplate) return false;
  template_ = formatTemplate;
  format_.SetTemplate(formatTemplate);
  if (!format_.InitNew()) return false;
  path_.clear();
  modified_ = true;
  return true;
}

bool CFormatDocument::New(std::string_view templateName) {
  const CFormatTemplate* t =
      context_.catalogue ? context_.catalogue->FindTemplate(templateName) : nullptr;
  return t ? New(t) : false;
}

bool CFormatDocument::Open(const std::string& path) {
  std::string name;
  if (!format_.PeekTemplateName(path, name)) {
    // The message is the system's own; why the file could not be opened goes beside it.
    const frt::OpenFailure& failure = format_.Format().LastOpenFailure();
    CErrorMessage::ShowMessage(kIdBadVersion, true, {},
                               failure.Failed() ? path + ": " + failure.Reason() : std::string());
    return false;
  }
  if (name.empty()) {
    CErrorMessage::ShowMessage(kIdBadTemplateName, true);
    return false;
  }
  const CFormatTemplate* t = context_.catalogue ? context_.catalogue->FindTemplate(name) : nullptr;
  if (!t) {
    CErrorMessage::ShowMessage(kIdBadTemplateName, true, "\n" + name);
    return false;
  }
  template_ = t;
  format_.SetTemplate(t);
  if (!format_.Load(path)) return false;
  path_ = path;
  modified_ = false;
  return true;
}

bool CFormatDocument::CheckApplications(CUnassignedString& out) const {
  return format_.FindUnassignedString(out);
}

CFormatDocument::SaveResult CFormatDocument::Save(const std::string& path,
                                                  CUnassignedString* unassigned) {
  CUnassignedString where;
  if (!CheckApplications(where)) {
    if (unassigned) *unassigned = where;
    return SaveResult::kUnassigned;
  }
  if (!format_.Save(path)) return SaveResult::kWriteFailed;
  path_ = path;
  modified_ = false;
  return SaveResult::kSaved;
}
