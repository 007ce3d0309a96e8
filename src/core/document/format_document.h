#pragma once
#include <string>
#include <string_view>

#include "document/doc_format.h"

class CFormatTemplate;

// The window-free part of a format document: new, open and save on one CDocFormat and its
// template. The editor's document class and the command-line tool both build on it; titles,
// views and the questions before closing stay with the editor.
class CFormatDocument {
 public:
  // The template every new format is made for unless another is named.
  static constexpr const char* kNewTemplateName = "Kite_Basic";

  enum class SaveResult {
    kSaved,
    kUnassigned,   // an export string has text but no application; nothing written
    kWriteFailed,  // message 1113 shown; the previous file is whole
  };

  explicit CFormatDocument(const CDocContext& context);

  // A new format for the template (nullptr: "Kite_Basic" of the catalogue). False without a
  // message when there is no such template. A new format counts as modified.
  bool New(const CFormatTemplate* formatTemplate = nullptr);
  bool New(std::string_view templateName);
  // Header peek, template lookup, load and checks. Messages 1203 (header unreadable; when the
  // file could not be opened, its detail is "PATH: reason") and 1202
  // (no template name, or one the catalogue does not know: extra text "\n" + name), then those
  // of the load and the checks.
  bool Open(const std::string& path);
  // The application assignment rule the editor runs before every save (it shows 1108 and
  // selects `out.block`); true when every export string with text has an application.
  bool CheckApplications(CUnassignedString& out) const;
  // The assignment rule, then the write. On kUnassigned `unassigned` (when given) tells where.
  SaveResult Save(const std::string& path, CUnassignedString* unassigned = nullptr);

  CDocFormat& Format() { return format_; }
  const CDocFormat& Format() const { return format_; }
  const CFormatTemplate* Template() const { return template_; }
  const std::string& Path() const { return path_; }
  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

 private:
  CDocContext context_;
  CDocFormat format_;
  const CFormatTemplate* template_ = nullptr;
  std::string path_;
  bool modified_ = false;
};
