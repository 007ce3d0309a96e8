#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "library/frt_file.h"
#include "library/frt_string.h"

class CFormatTemplate;
class CFormatTemplateManager;
class CQVProfile;
class CFrtEngine;
namespace frt {
class FileSystem;
}

// What a document needs of the application: the catalogue, the settings profile and the one
// renderer (whose value source the application has set). None of them is owned.
struct CDocContext {
  const CFormatTemplateManager* catalogue = nullptr;
  const CQVProfile* profile = nullptr;
  CFrtEngine* engine = nullptr;
  // Where saves go; null for the real file system.
  frt::FileSystem* fileSystem = nullptr;
};

// The export block whose strings are not all assigned to applications, and its first string
// with text but without an application (0 when the mismatch comes from a string with
// applications but no text).
struct CUnassignedString {
  int block = -1;
  std::int32_t id = 0;
};

// The format one document edits: a library format tied to its template, addressed by string
// IDs (kind * 1000000 + block * 1000 + index) and by settings keys. Operations return 1 or 0 and
// show their own messages.
class CDocFormat {
 public:
  static constexpr std::size_t kSampleBufferSize = 10000;
  static constexpr std::int32_t kKindFactor = 1000000;
  // The kind of a string, the first part of its ID: its key's direction * 10 + section.
  enum StringKind : int {
    kKindExport = 11,  // the strings of an export block
    kKindBlockHeader = 12,
    kKindApplicationHeader = 13,
    kKindFileHeader = 14,
    kKindFileFooter = 15,
    kKindDefault = 17,  // an export block's fallback string
    kKindImport = 21,
    kKindImportHeader = 24,
    kKindRestriction = 26,
  };
  static constexpr std::int32_t kApplicationHeaderKind = kKindApplicationHeader * kKindFactor;
  static constexpr std::size_t kVariableGroup = 9;
  static constexpr std::size_t kApplicationGroup = 3;

  explicit CDocFormat(const CDocContext& context);
  ~CDocFormat();
  CDocFormat(const CDocFormat&) = delete;
  CDocFormat& operator=(const CDocFormat&) = delete;

  void SetTemplate(const CFormatTemplate* formatTemplate) { template_ = formatTemplate; }
  const CFormatTemplate* Template() const { return template_; }
  const CDocContext& Context() const { return context_; }
  CFrtFileEx& Format() { return *format_; }
  const CFrtFileEx& Format() const { return *format_; }

  // A fresh format for the template: header, capacity, units, scales and default strings.
  int InitNew();

  // Settings by key: "%N", "#W" "#L" "#T" "#P", "&W" "&L" "&T" "&P", "@Dd" "@Df" "@Ds".
  int SetFileHeader(std::string_view key, const char* value);
  int GetFileHeader(std::string_view key, std::string& value) const;

  // Reads only the header of the file into this format; the template name it holds, or false
  // (and an empty name).
  bool PeekTemplateName(const std::string& path, std::string& name);
  // Reads the whole file, numbers its strings and runs the checks.
  int Load(const std::string& path);
  // After a failed load: the line of the file (from 1, counted as an editor counts) where the
  // fault is; 0 when the fault is not at one line (e.g. a line that is missing).
  int FaultLine() const { return faultLine_; }
  // True when the texts read so far (header, name, defaults, strings) are not GBK but UTF-8:
  // the file was most likely saved in the wrong encoding and shows garbled.
  bool TextLooksLikeUtf8() const;
  // Names the format after the file and writes it; the previous file stays whole on failure.
  int Save(const std::string& path);

  // The text, the variable code string and the application code string of a string, found by
  // ID unless `string` is given.
  int GetFormatStringInfo(std::int32_t id, std::string& text, std::string& variables,
                          std::string& applications, const CFrtStringEx* string = nullptr) const;
  // Creates, replaces or empties the string of this ID (or the given string). 0 when the
  // string could not be created or a variable group names no pool variable (that group is
  // left out).
  int SetFormatString(std::int32_t id, std::string_view text, std::string_view variables,
                      std::string_view applications, CFrtStringEx* string = nullptr);
  // The sample output of a text with its variables, or the message of the failure, both as the
  // format's bytes (GBK); `result` (when given) receives the result code.
  std::string RenderSample(std::string_view text, std::string_view variables,
                           frt::Result* result = nullptr);

  void SetUnit(int unitType, char code);
  std::string GetUnit(int unitType) const;

  // The first string with this ID (in list order), or nullptr. Constant time.
  CFrtStringEx* FindString(std::int32_t id) const;
  // Numbers every string of the list anew, in list order.
  void NormaliseIds();

  // The application assignment rule over the export definitions of the template, in their
  // order: every string (index 1 to the definition's string count) with text has an
  // application. False and the first block that breaks it.
  bool FindUnassignedString(CUnassignedString& out) const;

  // String ID parts.
  static std::int32_t KindPart(std::int32_t id) { return id / kKindFactor * kKindFactor; }
  static int Kind(std::int32_t id) { return id / kKindFactor; }
  static int BlockOf(std::int32_t id) { return (id - KindPart(id)) / 1000; }
  static int IndexOf(std::int32_t id) { return id % 1000; }
  static bool IsExportId(std::int32_t id) { return id / kKindFactor / 10 == 1; }
  static std::int32_t MakeId(int kind, int block, int index) {
    return kind * kKindFactor + block * 1000 + index;
  }
  static bool IsApplicationHeaderId(std::int32_t id, int& application);
  // The kind of a key record: direction * 10 + section.
  static int KindOfKey(const CFrtKey& key) { return key.direction * 10 + key.section; }

  // Appends the variable code string of a string: one 9-digit group per variable.
  static void AppendVariableCodes(const CFrtString& string, std::string& out);
  // One variable of a 9-digit group, with type and unit type from the pool; false when the
  // group is not nine digits or its code is not in the pool.
  bool VariableOfGroup(std::string_view group, CFrtVariable& variable) const;

 private:
  friend class CDocFormatCheck;  // sets the fault line of a failed check

  void SetId(CFrtStringEx* string, std::int32_t id);
  void IndexString(CFrtStringEx* string);
  bool AddVariables(CFrtString& string, std::string_view variables) const;

  const CFormatTemplate* template_ = nullptr;
  CDocContext context_;
  std::unique_ptr<CFrtFileEx> format_;
  std::unique_ptr<char[]> buffer_;
  std::unique_ptr<CFrtStringEx> scratch_;
  std::unordered_map<std::int32_t, CFrtStringEx*> byId_;
  int faultLine_ = 0;
};
