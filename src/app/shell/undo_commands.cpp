#include "undo_commands.h"

#include "document/doc_format.h"
#include "library/frt_variable.h"
#include "shell/qv_view_tree.h"

namespace {

// The data types of the three default values, in the order of CQVFormatSettings::defaults.
constexpr int kDefaultTypes[3] = {frt::kTypeFloat2, frt::kTypeLong, frt::kTypeText};
// Typing steps share one merge id; mergeWith tells the strings apart.
constexpr int kTypingMergeId = 1;

}  // namespace

CQVFormatState CQVFormatState::Capture(const CDocFormat& format, bool strings) {
  CQVFormatState state;
  const CFrtFileEx& file = format.Format();
  CQVFormatSettings& s = state.settings;
  s.header = file.Header();
  s.name = file.Name();
  for (int i = 0; i < 4; ++i) {
    s.units[i] = file.UnitCodeOf(i + 1);
    s.scales[i] = file.Scale(i + 1);
  }
  for (int i = 0; i < 3; ++i) s.defaults[i] = file.DefaultString(kDefaultTypes[i]);
  for (int i = 0; strings && i < file.StringCount(); ++i) {
    const auto* string = static_cast<const CFrtStringEx*>(file.StringAt(i));
    // The document addresses a string by the first one of its ID; later ones are not reached.
    if (!string->IsPresent() || format.FindString(string->identity) != string) continue;
    CQVStringState& out = state.strings[string->identity];
    format.GetFormatStringInfo(string->identity, out.text, out.variables, out.applications, string);
  }
  return state;
}

CQVFormatChange::CQVFormatChange(const CQVFormatState& before, const CQVFormatState& after)
    : before_(before.settings),
      after_(after.settings),
      settingsChanged_(!(before.settings == after.settings)) {
  // Both maps are ordered by ID: one merge-like walk finds every string that differs.
  static const CQVStringState kNone;
  auto b = before.strings.begin();
  auto a = after.strings.begin();
  while (b != before.strings.end() || a != after.strings.end()) {
    if (a == after.strings.end() || (b != before.strings.end() && b->first < a->first)) {
      strings_.push_back({b->first, b->second, kNone});
      ++b;
    } else if (b == before.strings.end() || a->first < b->first) {
      strings_.push_back({a->first, kNone, a->second});
      ++a;
    } else {
      if (!(b->second == a->second)) strings_.push_back({b->first, b->second, a->second});
      ++b;
      ++a;
    }
  }
}

void CQVFormatChange::Apply(CDocFormat& format, bool after) const {
  for (const StringChange& change : strings_) {
    const CQVStringState& s = after ? change.after : change.before;
    format.SetFormatString(change.id, s.text, s.variables, s.applications);
  }
  if (!settingsChanged_) return;
  const CQVFormatSettings& s = after ? after_ : before_;
  CFrtFileEx& file = format.Format();
  file.SetHeader(s.header);
  file.SetName(s.name.c_str());
  for (int i = 0; i < 4; ++i) {
    file.SetUnitCode({i + 1, s.units[i]});
    file.SetScale(i + 1, s.scales[i]);
  }
  for (int i = 0; i < 3; ++i) file.SetDefaultString(kDefaultTypes[i], s.defaults[i]);
}

bool CQVFormatChange::ChangesString(std::int32_t id) const {
  for (const StringChange& change : strings_)
    if (change.id == id) return true;
  return false;
}

CQVStringCommand::CQVStringCommand(CQVViewTree& tree, std::int32_t id, CQVStringState before,
                                   CQVStringState after, bool merging, const QString& text)
    : QUndoCommand(text),
      tree_(tree),
      string_(id),
      before_(std::move(before)),
      after_(std::move(after)),
      merging_(merging) {}

int CQVStringCommand::id() const {
  return merging_ ? kTypingMergeId : -1;
}

bool CQVStringCommand::mergeWith(const QUndoCommand* other) {
  const auto* next = dynamic_cast<const CQVStringCommand*>(other);
  if (!next || !next->merging_ || next->string_ != string_) return false;
  after_ = next->after_;
  // Typed and taken back again: the step is dropped.
  setObsolete(after_ == before_);
  return true;
}

void CQVStringCommand::undo() {
  tree_.ApplyString(string_, before_);
}

void CQVStringCommand::redo() {
  if (done_) {
    done_ = false;  // the editor or the tree has made the change already
    return;
  }
  tree_.ApplyString(string_, after_);
}

CQVFormatCommand::CQVFormatCommand(CQVViewTree& tree, CQVFormatChange change, const QString& text,
                                   bool marks)
    : QUndoCommand(text), tree_(tree), change_(std::move(change)), marks_(marks) {}

bool MarksDocument(const QUndoCommand* command) {
  const auto* format = dynamic_cast<const CQVFormatCommand*>(command);
  return !format || format->Marks();
}

void CQVFormatCommand::undo() {
  tree_.ApplyFormatChange(change_, false);
}

void CQVFormatCommand::redo() {
  if (done_) {
    done_ = false;
    return;
  }
  tree_.ApplyFormatChange(change_, true);
}
