#pragma once
// The undo steps of a format document. A step keeps the state of what it changed before and
// after, not the edit itself: a string as the document stores it, or the difference a dialog
// made to the whole format. The tree puts the states back and shows them.
#include <QUndoCommand>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "library/frt_header.h"

class CDocFormat;
class CQVViewTree;

// One string as the document stores it (an empty text is no string).
struct CQVStringState {
  std::string text;
  std::string variables;
  std::string applications;

  friend bool operator==(const CQVStringState&, const CQVStringState&) = default;
};

// The parts of a format outside its strings that the dialogs change.
struct CQVFormatSettings {
  CFrtHeader header;
  std::string name;
  char units[4] = {};
  double scales[4] = {};
  std::string defaults[3];

  friend bool operator==(const CQVFormatSettings&, const CQVFormatSettings&) = default;
};

// The whole changeable state of a format.
struct CQVFormatState {
  CQVFormatSettings settings;
  std::map<std::int32_t, CQVStringState> strings;  // by string ID, strings with text only

  // `strings` false: the settings only (a dialog that changes no string; a format may hold
  // 100,000 of them).
  static CQVFormatState Capture(const CDocFormat& format, bool strings = true);
};

// What differs between two states of a format; either side can be put back.
class CQVFormatChange {
 public:
  CQVFormatChange(const CQVFormatState& before, const CQVFormatState& after);

  bool IsEmpty() const { return strings_.empty() && !settingsChanged_; }
  // Puts the state before (after = false) or after the change into the format.
  void Apply(CDocFormat& format, bool after) const;
  bool ChangesString(std::int32_t id) const;

 private:
  struct StringChange {
    std::int32_t id;
    CQVStringState before;
    CQVStringState after;
  };
  std::vector<StringChange> strings_;
  CQVFormatSettings before_;
  CQVFormatSettings after_;
  bool settingsChanged_ = false;
};

// A change of one string: typing, fields, clearing. The change has been made when the step is
// pushed; its first redo does nothing.
class CQVStringCommand : public QUndoCommand {
 public:
  // `merging`: typing, which joins the typing step before it on the same string.
  CQVStringCommand(CQVViewTree& tree, std::int32_t id, CQVStringState before, CQVStringState after,
                   bool merging, const QString& text);

  int id() const override;
  bool mergeWith(const QUndoCommand* other) override;
  void undo() override;
  void redo() override;

 private:
  CQVViewTree& tree_;
  std::int32_t string_;
  CQVStringState before_;
  CQVStringState after_;
  bool merging_;
  bool done_ = true;
};

// A change a dialog made to the format (pool, assignment, properties, settings). Made before
// it is pushed, like the string steps.
class CQVFormatCommand : public QUndoCommand {
 public:
  // `marks`: the step marks the document modified (the properties dialog's does not).
  CQVFormatCommand(CQVViewTree& tree, CQVFormatChange change, const QString& text,
                   bool marks = true);
  bool Marks() const { return marks_; }

  void undo() override;
  void redo() override;

 private:
  CQVViewTree& tree_;
  CQVFormatChange change_;
  bool marks_;
  bool done_ = true;
};

// Whether a step of the history marks the document modified.
bool MarksDocument(const QUndoCommand* command);
