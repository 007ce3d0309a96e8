#pragma once
// The format-string editor: the text of one format string with each variable shown as a bold
// field that is edited only as a whole.
#include <QByteArray>
#include <QRawFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextEdit>
#include <map>
#include <string>
#include <vector>

#include "settings/qv_edit_var.h"

class CQVProfDefault;
class CQVProfFlags;
class CQVProfile;
class CQVPoolLookup;
class CQVFieldObject;

// What the editor needs to turn stored conversions into variables and to make new ones: the
// profile's flags and default conversions and the pool of variables. Not owned.
struct CQVEditContext {
  const CQVProfFlags* flags = nullptr;
  const CQVProfDefault* defaults = nullptr;
  const CQVPoolLookup* pool = nullptr;

  static CQVEditContext FromProfile(const CQVProfile& profile, const CQVPoolLookup& pool);
  bool IsValid() const { return flags && defaults && pool; }
};

class CQVViewEdit : public QTextEdit {
  Q_OBJECT
 public:
  // Item numbers of the two strings that have no string ID of their own.
  static constexpr int kFileHeaderItem = 14000000;
  static constexpr int kFileFooterItem = 15000000;
  // Item kinds: which branch of the tree the string belongs to.
  static constexpr int kKindHeader = 1;
  static constexpr int kKindInput = 2;
  static constexpr int kKindOutput = 3;
  // A limit below zero is no limit.
  static constexpr int kNoLimit = -1;
  // What an accepted edit did: typing merges into one undo step of the document, the field
  // edits stay steps of their own.
  enum class EditKind { kTyping, kInsertField, kReplaceField };
  // The text of message 1103, which the string table leaves empty.
  static const char* const kTooManyVariablesText;

  explicit CQVViewEdit(QWidget* parent = nullptr);
  ~CQVViewEdit() override;

  // The fixed-pitch font of the text: "Courier New" where it is installed, else the first
  // installed fixed-pitch family; 10 points.
  static QFont EditorFont();

  void SetContext(const CQVEditContext& context) { context_ = context; }
  const CQVEditContext& Context() const { return context_; }

  // Loads a string: its item number and kind, its stored text (GBK bytes, with conversions),
  // its variable references (nine digits each, in the order of the conversions), its
  // application codes (three digits each, kept as given) and the limits of the item. Each
  // conversion becomes a field; one that cannot be read shows message 1117 and is left out.
  // The undo history starts anew; the loaded text is taken over once (textTakenOver).
  void ShowString(int item, int kind, const std::string& text, const std::string& variables,
                  const std::string& applications, int maxLength, int maxVariables);
  // Nothing loaded: an empty text, no item.
  void Empty();

  // The edited string as it is stored: text with conversions, variable references and
  // application codes. False, after message 1102 or 1107, when it breaks a limit.
  bool GetString(std::string& text, std::string& variables, std::string& applications) const;
  std::string StoredText() const;
  std::string VariableCodes() const;
  const std::string& Applications() const { return applications_; }
  // The tree hands over a new assignment; it is stored with the next GetString.
  void SetApplications(const std::string& applications);
  // True once an edit was accepted since the string was loaded.
  bool IsChanged() const { return changed_; }

  int Item() const { return item_; }
  int ItemKind() const { return kind_; }
  int MaxLength() const { return maxLength_; }
  int MaxVariables() const { return maxVariables_; }
  CQVEditVar::Direction Direction() const;

  // The variables of the fields, in field order.
  int FieldCount() const;
  const CQVEditVar* Field(int index) const;
  // The variable sheet changed a field's settings: the field takes the new variable.
  bool ReplaceField(int index, const CQVEditVar& variable);
  // The field at the caret (the one the selection is exactly, or the one right after the
  // caret), or -1.
  int FieldAtCaret() const;

  // Inserts a field at the caret (replacing a selection). Refused with message 1103 when the
  // string has its maximum number of variables, with 1102 when the text gets too long.
  bool InsertVariable(const CQVEditVar& variable);
  // The same for a variable of the pool, made with the context's defaults.
  bool InsertVariableCode(int code);

  // The text as the editor holds it: fields as 0x01 name 0x02, line breaks as '\n'.
  QString EditorText() const;
  bool InsertMode() const { return insertMode_; }
  bool CanUndo() const { return !undo_.empty(); }
  // The undo and redo keys are left to the window's actions (the document's undo history)
  // instead of this editor's own history of the loaded string.
  void SetExternalUndo(bool external) { externalUndo_ = external; }

 public slots:
  // Goes back to the text before the last accepted edit.
  void Undo();

 signals:
  // After every accepted change (and once after loading): the stored text and the variable
  // references, GBK bytes, for the owner to keep and to render the preview from.
  void textTakenOver(const QByteArray& storedText, const QByteArray& variables);
  // An edit was accepted (the document is to be marked modified).
  void modified();
  // The same, with what the edit did; emitted after modified and textTakenOver.
  void edited(CQVViewEdit::EditKind kind);
  // A field was double-clicked or Enter was pressed on it: the variable sheet is to open.
  void fieldActivated(int index);
  // Right button: the owner (the format tree) shows its context menu there.
  void contextMenuRequested(const QPoint& globalPos);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Draws the text, then a dot on every blank and an arrow on every tab of the lines shown.
  void paintEvent(QPaintEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  // A click on a field selects the field: the caret is at that field.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  // The whole state an edit can be refused back to, and an undo step.
  struct Snapshot {
    QString text;  // fields as U+FFFC, line breaks as '\n'
    std::vector<CQVEditVar> fields;
    int anchor = 0;
    int position = 0;
  };

  Snapshot TakeSnapshot() const;
  void Restore(const Snapshot& snapshot);
  // Checks the edited text against the limits; refuses (back to `before`, with the message) or
  // accepts (undo step, signals).
  bool FinishEdit(Snapshot before, EditKind kind = EditKind::kTyping);
  // Emits textTakenOver for the stored text and the fields of the document.
  void TakeOver(const std::string& stored, const std::vector<const CQVEditVar*>& fields);
  // One walk over the document: the stored text and the fields in order (either may be null).
  void Walk(std::string* stored, std::vector<const CQVEditVar*>* fields) const;
  std::vector<const CQVEditVar*> Fields() const;
  void PaintWhiteSpace(const QRect& area);
  // The glyph of a blank in a font of the layout and its advance (glyph 0, which no blank has,
  // when the font lacks one).
  struct Blank {
    quint32 glyph = 0;
    qreal advance = 0;
  };
  Blank BlankOf(const QRawFont& font);
  QTextCharFormat FieldFormat(const CQVEditVar& variable);
  void InsertField(QTextCursor& cursor, const CQVEditVar& variable);
  bool IsFieldAt(int position) const;
  // The position of the field under a point of the viewport, or -1.
  int FieldUnder(const QPoint& at) const;
  void SelectField(int position);
  // The caret is at a field: the selection is exactly one field.
  bool AtField() const;

  void TypeText(const QString& text);
  void Backspace(bool forward);
  void Enter();

  CQVEditContext context_;
  CQVFieldObject* fieldObject_;
  QTextCharFormat normalFormat_;
  std::map<int, CQVEditVar> variables_;  // by field id
  int nextFieldId_ = 1;
  std::vector<Snapshot> undo_;
  std::string applications_;
  int item_ = 0;
  int kind_ = 0;
  int maxLength_ = 0;
  int maxVariables_ = 0;
  bool insertMode_ = true;
  bool changed_ = false;
  bool externalUndo_ = false;
  // The white-space marks: side of a blank's dot, and how far above the baseline marks sit.
  qreal markSize_ = 2;
  qreal markHeight_ = 3;
  std::vector<std::pair<QRawFont, Blank>> blanks_;  // by the fonts met so far
};
