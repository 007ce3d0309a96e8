#include "qv_view_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QRawFont>
#include <QScrollBar>
#include <QStaticText>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextObjectInterface>
#include <algorithm>

#include "library/error_message.h"
#include "library/string_table.h"
#include "library/text_encoding.h"
#include "profile/qv_profile.h"

namespace {

constexpr int kFieldObjectType = QTextFormat::UserObject + 1;
constexpr int kFieldIdProperty = QTextFormat::UserProperty + 1;
constexpr int kFieldNameProperty = QTextFormat::UserProperty + 2;
constexpr QChar kFieldChar = QChar::ObjectReplacementCharacter;

constexpr int kIdTooLong = 1102;
constexpr int kIdTooManyToInsert = 1103;
constexpr int kIdTooManyVariables = 1107;
constexpr int kIdBadString = 1117;

bool IsFieldFormat(const QTextFormat& format) {
  return format.objectType() == kFieldObjectType;
}

bool Over(std::size_t value, int limit) {
  return limit >= 0 && value > static_cast<std::size_t>(limit);
}

// Stored text (GBK) to the editor's text: "%%" shows as "%", two backslashes as one, every
// line end as a line break.
QString ToDisplay(std::string_view gbk) {
  const QString in = QString::fromStdString(frt::GbkToUtf8Lossless(gbk));
  QString out;
  out.reserve(in.size());
  for (qsizetype i = 0; i < in.size(); ++i) {
    const QChar c = in[i];
    const QChar next = i + 1 < in.size() ? in[i + 1] : QChar();
    if ((c == u'%' && next == u'%') || (c == u'\\' && next == u'\\')) {
      out += c;
      ++i;
    } else if (c == u'\r') {
      out += u'\n';
      if (next == u'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// The editor's plain text back to stored text: each "%" and each backslash doubled.
std::string ToStored(const QString& shown) {
  QString out;
  out.reserve(shown.size() + 8);
  for (QChar c : shown) {
    if (c == u'%' || c == u'\\') out += c;
    if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == u'\r') c = u'\n';
    out += c;
  }
  return frt::Utf8ToGbkLossless(out.toStdString());
}

// Typed or pasted text as the editor accepts it: no field markers, no control characters
// besides tab and line break.
QString CleanInput(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    QChar c = text[i];
    if (c == u'\r') {
      out += u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      continue;
    }
    if (c == kFieldChar || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
      if (c != kFieldChar) out += u'\n';
      continue;
    }
    if (c.unicode() < 0x20 && c != u'\t' && c != u'\n') continue;
    if (c.unicode() == 0x7F) continue;
    out += c;
  }
  return out;
}

QString FieldName(const CQVEditVar& variable) {
  if (const CQVPoolInfo* info = variable.PoolVariable())
    return QString::fromStdString(frt::GbkToUtf8(info->name));
  return QStringLiteral("?%1").arg(variable.Code());
}

}  // namespace

// Paints a field: its variable's name in bold on a light ground, as one character. Every field
// is made from the editor's normal format, so the bold font, its metrics and each name's shaped
// text are worked out once (per base font) instead of on every layout and paint.
class CQVFieldObject : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)
 public:
  explicit CQVFieldObject(QObject* parent) : QObject(parent) {}

  void SetBaseFont(const QFont& base) {
    bold_ = base;
    bold_.setBold(true);
    metrics_ = QFontMetricsF(bold_);
    names_.clear();
  }

  QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
    // The object stands on the baseline; its descent is painted below the rectangle.
    return {Shaped(format).width + 4, metrics_.ascent()};
  }

  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                  const QTextFormat& format) override {
    const Name& name = Shaped(format);
    const QBrush selected = format.background();
    const bool isSelected = selected.style() != Qt::NoBrush;
    const QRectF ground = rect.adjusted(0, 0, 0, metrics_.descent());
    painter->fillRect(ground, isSelected ? selected : QBrush(QColor(0xe4, 0xec, 0xf8)));
    const QPen pen = painter->pen();
    const QFont font = painter->font();
    painter->setPen(isSelected ? format.foreground().color() : QColor(0x10, 0x10, 0x60));
    painter->setFont(bold_);
    // A static text is placed by its top: the baseline is one ascent below.
    painter->drawStaticText(QPointF(rect.left() + 2, rect.bottom() - metrics_.ascent()), name.text);
    painter->setFont(font);
    painter->setPen(pen);
  }

 private:
  struct Name {
    QStaticText text;
    qreal width = 0;
  };

  const Name& Shaped(const QTextFormat& format) {
    const QString text = format.property(kFieldNameProperty).toString();
    auto it = names_.find(text);
    if (it == names_.end()) {
      Name name;
      name.text.setText(text);
      name.text.setTextFormat(Qt::PlainText);
      name.text.setPerformanceHint(QStaticText::AggressiveCaching);
      name.text.prepare(QTransform(), bold_);
      name.width = metrics_.horizontalAdvance(text);
      it = names_.insert(text, name);
    }
    return *it;
  }

  QFont bold_;
  QFontMetricsF metrics_{QFont()};
  QHash<QString, Name> names_;
};

const char* const CQVViewEdit::kTooManyVariablesText =
    QT_TRANSLATE_NOOP("CQVViewEdit", "不能再插入变量:\n这个格式字串的变量已达到最大数目。\n");

CQVEditContext CQVEditContext::FromProfile(const CQVProfile& profile, const CQVPoolLookup& pool) {
  return {&profile.Flags(), &profile.Default(), &pool};
}

// The editor's fixed-pitch font: the first wanted family that is installed, looked up once, so
// that font matching does not walk missing families on every layout.
QFont CQVViewEdit::EditorFont() {
  static const QString family = [] {
    for (const char* wanted :
         {"Courier New", "DejaVu Sans Mono", "Liberation Mono", "WenQuanYi Micro Hei Mono"}) {
      const QString name = QString::fromLatin1(wanted);
      if (QFontDatabase::hasFamily(name)) return name;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }();
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(10);  // 200 twips
  return font;
}

CQVViewEdit::CQVViewEdit(QWidget* parent)
    : QTextEdit(parent), fieldObject_(new CQVFieldObject(this)) {
  setAcceptRichText(false);
  setAcceptDrops(false);
  setUndoRedoEnabled(false);  // the editor keeps its own history of accepted edits

  const QFont font = EditorFont();
  document()->setDefaultFont(font);
  normalFormat_.setFont(font);
  normalFormat_.setFontWeight(QFont::Normal);
  normalFormat_.setFontItalic(false);
  normalFormat_.setFontUnderline(false);
  normalFormat_.setFontStrikeOut(false);
  fieldObject_->SetBaseFont(normalFormat_.font());
  const QFontMetricsF metrics(normalFormat_.font());
  markSize_ = std::max<qreal>(2, metrics.height() / 8);
  markHeight_ = metrics.xHeight() / 2;

  // Blanks and tabs are marked by paintEvent: the layout's own ShowTabsAndSpaces makes every
  // blank a run of its own and multiplies the shaping work of each keystroke.
  document()->documentLayout()->registerHandler(kFieldObjectType, fieldObject_);
  setCurrentCharFormat(normalFormat_);
}

CQVViewEdit::~CQVViewEdit() = default;

CQVEditVar::Direction CQVViewEdit::Direction() const {
  return kind_ == kKindInput ? CQVEditVar::Direction::kInput : CQVEditVar::Direction::kOutput;
}

QTextCharFormat CQVViewEdit::FieldFormat(const CQVEditVar& variable) {
  const int id = nextFieldId_++;
  variables_.insert_or_assign(id, variable);
  QTextCharFormat format = normalFormat_;
  format.setObjectType(kFieldObjectType);
  format.setProperty(kFieldIdProperty, id);
  format.setProperty(kFieldNameProperty, FieldName(variable));
  return format;
}

void CQVViewEdit::InsertField(QTextCursor& cursor, const CQVEditVar& variable) {
  cursor.insertText(QString(kFieldChar), FieldFormat(variable));
  cursor.setCharFormat(normalFormat_);
}

bool CQVViewEdit::IsFieldAt(int position) const {
  if (position < 0 || position >= document()->characterCount() - 1) return false;
  if (document()->characterAt(position) != kFieldChar) return false;
  QTextCursor c(document());
  c.setPosition(position + 1);  // the format of the character before the position
  return IsFieldFormat(c.charFormat());
}

void CQVViewEdit::Walk(std::string* stored, std::vector<const CQVEditVar*>* fields) const {
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    if (stored && b != document()->begin()) *stored += '\n';
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const QTextCharFormat format = f.charFormat();
      if (!IsFieldFormat(format)) {
        if (stored) *stored += ToStored(f.text());
        continue;
      }
      auto found = variables_.find(format.property(kFieldIdProperty).toInt());
      const CQVEditVar* variable = found != variables_.end() ? &found->second : nullptr;
      for (int i = 0; i < f.length(); ++i) {
        if (fields) fields->push_back(variable);
        if (stored && variable) *stored += variable->BuildConversionText();
      }
    }
  }
}

std::vector<const CQVEditVar*> CQVViewEdit::Fields() const {
  std::vector<const CQVEditVar*> out;
  Walk(nullptr, &out);
  return out;
}

int CQVViewEdit::FieldCount() const {
  return static_cast<int>(Fields().size());
}

const CQVEditVar* CQVViewEdit::Field(int index) const {
  const auto fields = Fields();
  return index >= 0 && index < static_cast<int>(fields.size()) ? fields[index] : nullptr;
}

std::string CQVViewEdit::StoredText() const {
  std::string out;
  Walk(&out, nullptr);
  return out;
}

std::string CQVViewEdit::VariableCodes() const {
  std::string out;
  std::string reference;
  for (const CQVEditVar* v : Fields())
    if (v && v->BuildReference(reference)) out += reference;
  return out;
}

QString CQVViewEdit::EditorText() const {
  QString out;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    if (b != document()->begin()) out += u'\n';
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (!IsFieldFormat(f.charFormat())) {
        out += f.text();
        continue;
      }
      const QString name = f.charFormat().property(kFieldNameProperty).toString();
      for (int i = 0; i < f.length(); ++i) out += QChar(1) + name + QChar(2);
    }
  }
  return out;
}

void CQVViewEdit::SetApplications(const std::string& applications) {
  applications_ = applications;
}

bool CQVViewEdit::GetString(std::string& text, std::string& variables,
                            std::string& applications) const {
  const std::string stored = StoredText();
  if (Over(stored.size(), maxLength_)) {
    CErrorMessage::ShowMessage(kIdTooLong, true);
    return false;
  }
  const std::size_t count = Fields().size();
  if (Over(count, maxVariables_)) {
    CErrorMessage::ShowMessage(kIdTooManyVariables, true);
    return false;
  }
  text = stored;
  variables = VariableCodes();
  applications = applications_;
  return true;
}

void CQVViewEdit::Empty() {
  item_ = 0;
  kind_ = 0;
  maxLength_ = 0;
  maxVariables_ = 0;
  applications_.clear();
  undo_.clear();
  changed_ = false;
  Restore(Snapshot{});
}

void CQVViewEdit::ShowString(int item, int kind, const std::string& text,
                             const std::string& variables, const std::string& applications,
                             int maxLength, int maxVariables) {
  item_ = item;
  kind_ = kind;
  maxLength_ = maxLength;
  maxVariables_ = maxVariables;
  applications_ = applications;
  undo_.clear();
  changed_ = false;

  // Each reference takes the next conversion of the text; the text between stays plain.
  Snapshot shown;
  std::string_view rest = text;
  const std::size_t count = variables.size() / CQVEditVar::kReferenceLength;
  bool dropped = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string reference =
        variables.substr(i * CQVEditVar::kReferenceLength, CQVEditVar::kReferenceLength);
    std::size_t start = 0;
    std::size_t length = 0;
    const bool found = CQVEditVar::FindConversion(rest, start, length);
    bool parsed = false;
    if (found && context_.IsValid()) {
      std::string piece = reference + std::string(rest);
      CQVEditVar variable(*context_.flags, *context_.defaults, *context_.pool, piece, Direction(),
                          parsed);
      if (parsed) {
        shown.text += ToDisplay(rest.substr(0, start)) + kFieldChar;
        shown.fields.push_back(variable);
      }
    }
    if (!parsed) {
      CErrorMessage::ShowNotice(kIdBadString);
      dropped = true;
      if (found) shown.text += ToDisplay(rest.substr(0, start));
    }
    if (found) rest.remove_prefix(start + length);
  }
  // Conversions without a reference have no variable to show.
  std::size_t start = 0;
  std::size_t length = 0;
  while (CQVEditVar::FindConversion(rest, start, length)) {
    CErrorMessage::ShowNotice(kIdBadString);
    dropped = true;
    shown.text += ToDisplay(rest.substr(0, start));
    rest.remove_prefix(start + length);
  }
  shown.text += ToDisplay(rest);
  Restore(shown);
  if (Over(static_cast<std::size_t>(FieldCount()), maxVariables_))
    CErrorMessage::ShowMessage(kIdTooManyVariables, true);
  // A string that had to be repaired is a change the tree must store.
  changed_ = dropped;
  std::string stored;
  std::vector<const CQVEditVar*> fields;
  Walk(&stored, &fields);
  TakeOver(stored, fields);
}

CQVViewEdit::Snapshot CQVViewEdit::TakeSnapshot() const {
  Snapshot s;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    if (b != document()->begin()) s.text += u'\n';
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (!IsFieldFormat(f.charFormat())) {
        s.text += f.text();
        continue;
      }
      auto found = variables_.find(f.charFormat().property(kFieldIdProperty).toInt());
      for (int i = 0; i < f.length() && found != variables_.end(); ++i) {
        s.text += kFieldChar;
        s.fields.push_back(found->second);
      }
    }
  }
  s.anchor = textCursor().anchor();
  s.position = textCursor().position();
  return s;
}

void CQVViewEdit::Restore(const Snapshot& snapshot) {
  const bool blocked = document()->blockSignals(true);
  QTextCursor c(document());
  // One edit block: the document is laid out once at its end, not after every insertion.
  c.beginEditBlock();
  c.select(QTextCursor::Document);
  c.removeSelectedText();
  c.setBlockCharFormat(normalFormat_);
  c.setCharFormat(normalFormat_);
  variables_.clear();
  std::size_t field = 0;
  QString run;
  auto flush = [&] {
    if (!run.isEmpty()) c.insertText(run, normalFormat_);
    run.clear();
  };
  for (QChar ch : snapshot.text) {
    if (ch == kFieldChar && field < snapshot.fields.size()) {
      flush();
      InsertField(c, snapshot.fields[field++]);
    } else if (ch == u'\n') {
      flush();
      c.insertBlock(QTextBlockFormat(), normalFormat_);
    } else if (ch != kFieldChar) {
      run += ch;
    }
  }
  flush();
  c.endEditBlock();
  document()->blockSignals(blocked);
  const int end = document()->characterCount() - 1;
  QTextCursor caret(document());
  caret.setPosition(std::clamp(snapshot.anchor, 0, end));
  caret.setPosition(std::clamp(snapshot.position, 0, end), QTextCursor::KeepAnchor);
  caret.setCharFormat(normalFormat_);
  setTextCursor(caret);
  setCurrentCharFormat(normalFormat_);
  viewport()->update();
}

void CQVViewEdit::TakeOver(const std::string& stored,
                           const std::vector<const CQVEditVar*>& fields) {
  std::string codes;
  codes.reserve(fields.size() * CQVEditVar::kReferenceLength);
  std::string reference;
  for (const CQVEditVar* v : fields)
    if (v && v->BuildReference(reference)) codes += reference;
  emit textTakenOver(QByteArray(stored.data(), static_cast<qsizetype>(stored.size())),
                     QByteArray(codes.data(), static_cast<qsizetype>(codes.size())));
}

bool CQVViewEdit::FinishEdit(Snapshot before, EditKind kind) {
  // The text and the fields are walked once; the limits, the pruning and the take-over share
  // them.
  std::string stored;
  std::vector<const CQVEditVar*> fields;
  Walk(&stored, &fields);
  if (Over(stored.size(), maxLength_)) {
    Restore(before);
    CErrorMessage::ShowMessage(kIdTooLong, true);
    return false;
  }
  if (Over(fields.size(), maxVariables_) && fields.size() > before.fields.size()) {
    Restore(before);
    CErrorMessage::ShowMessage(kIdTooManyVariables, true);
    return false;
  }
  // Fields that were removed are gone from the text; their variables live on in the history.
  std::vector<const CQVEditVar*> kept = fields;
  std::sort(kept.begin(), kept.end());
  for (auto it = variables_.begin(); it != variables_.end();) {
    const bool used = std::binary_search(kept.begin(), kept.end(), &it->second);
    it = used ? std::next(it) : variables_.erase(it);
  }
  undo_.push_back(std::move(before));
  changed_ = true;
  emit modified();
  TakeOver(stored, fields);
  emit edited(kind);
  return true;
}

void CQVViewEdit::Undo() {
  if (undo_.empty()) return;
  Snapshot previous = std::move(undo_.back());
  undo_.pop_back();
  Restore(previous);
  changed_ = true;
  emit modified();
  std::string stored;
  std::vector<const CQVEditVar*> fields;
  Walk(&stored, &fields);
  TakeOver(stored, fields);
  emit edited(EditKind::kTyping);
}

int CQVViewEdit::FieldAtCaret() const {
  const QTextCursor c = textCursor();
  int position = c.position();
  if (c.hasSelection()) {
    if (c.selectionEnd() - c.selectionStart() != 1) return -1;
    position = c.selectionStart();
  }
  if (!IsFieldAt(position)) return -1;
  int index = 0;
  for (int p = 0; p < position; ++p)
    if (IsFieldAt(p)) ++index;
  return index;
}

bool CQVViewEdit::InsertVariable(const CQVEditVar& variable) {
  if (maxVariables_ >= 0 && FieldCount() >= maxVariables_) {
    CErrorMessage::ShowText(kIdTooManyToInsert, true, tr(kTooManyVariablesText).toStdString());
    return false;
  }
  Snapshot before = TakeSnapshot();
  QTextCursor c = textCursor();
  c.removeSelectedText();
  InsertField(c, variable);
  setTextCursor(c);
  return FinishEdit(std::move(before), EditKind::kInsertField);
}

bool CQVViewEdit::InsertVariableCode(int code) {
  if (!context_.IsValid()) return false;
  CQVEditVar variable(*context_.flags, *context_.defaults, *context_.pool, code, Direction());
  std::string reference;
  if (!variable.BuildReference(reference)) return false;  // a field that could not be stored
  return InsertVariable(variable);
}

bool CQVViewEdit::ReplaceField(int index, const CQVEditVar& variable) {
  int seen = -1;
  for (int p = 0; p < document()->characterCount() - 1; ++p) {
    if (!IsFieldAt(p) || ++seen != index) continue;
    Snapshot before = TakeSnapshot();
    QTextCursor c(document());
    c.setPosition(p);
    c.setPosition(p + 1, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    InsertField(c, variable);
    return FinishEdit(std::move(before), EditKind::kReplaceField);
  }
  return false;
}

void CQVViewEdit::TypeText(const QString& typed) {
  const QString text = CleanInput(typed);
  // Typing at a field changes nothing: a field is edited in its sheet only.
  if (text.isEmpty() || AtField()) return;
  Snapshot before = TakeSnapshot();
  QTextCursor c = textCursor();
  c.beginEditBlock();
  if (c.hasSelection()) {
    c.removeSelectedText();  // fields in it go whole: each is one character
    c.insertText(text, normalFormat_);
  } else if (!insertMode_) {
    for (QChar ch : text) {
      const int p = c.position();
      if (IsFieldAt(p)) break;  // a field is never overwritten
      if (ch != u'\n' && !c.atBlockEnd()) c.deleteChar();
      if (ch == u'\n')
        c.insertBlock(QTextBlockFormat(), normalFormat_);
      else
        c.insertText(QString(ch), normalFormat_);
    }
  } else {
    c.insertText(text, normalFormat_);
  }
  c.endEditBlock();
  if (c.position() == before.position && !c.hasSelection() && before.anchor == before.position)
    return;  // nothing was typed
  setTextCursor(c);
  FinishEdit(std::move(before));
}

void CQVViewEdit::Backspace(bool forward) {
  QTextCursor c = textCursor();
  if (!c.hasSelection() && (forward ? c.atEnd() : c.atStart())) return;
  Snapshot before = TakeSnapshot();
  if (c.hasSelection())
    c.removeSelectedText();
  else if (forward)
    c.deleteChar();  // a field is one character: it goes whole
  else
    c.deletePreviousChar();
  setTextCursor(c);
  FinishEdit(std::move(before));
}

void CQVViewEdit::Enter() {
  QTextCursor c = textCursor();
  if (c.hasSelection()) {
    // Enter at a field opens its sheet; any other selection keeps Enter out.
    if (AtField()) emit fieldActivated(FieldAtCaret());
    return;
  }
  Snapshot before = TakeSnapshot();
  c.insertBlock(QTextBlockFormat(), normalFormat_);
  setTextCursor(c);
  FinishEdit(std::move(before));
}

bool CQVViewEdit::event(QEvent* event) {
  // The text control claims the undo keys for itself; the window's actions are to get them.
  if (externalUndo_ && event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
      event->ignore();
      return false;
    }
  }
  return QTextEdit::event(event);
}

void CQVViewEdit::keyPressEvent(QKeyEvent* event) {
  if (isReadOnly() || !isEnabled()) {
    QTextEdit::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::Undo)) {
    Undo();
    return;
  }
  // Cut, redo and the word and line deletions would go round the field rules.
  if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Redo) ||
      event->matches(QKeySequence::DeleteStartOfWord) ||
      event->matches(QKeySequence::DeleteEndOfWord) ||
      event->matches(QKeySequence::DeleteEndOfLine) ||
      event->matches(QKeySequence::DeleteCompleteLine)) {
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Copy) ||
      event->matches(QKeySequence::SelectAll)) {
    QTextEdit::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Insert:
      if (event->modifiers() == Qt::NoModifier) {
        insertMode_ = !insertMode_;
        setOverwriteMode(!insertMode_);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Backspace:
      Backspace(false);
      event->accept();
      return;
    case Qt::Key_Delete:
      Backspace(true);
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Enter();
      event->accept();
      return;
    case Qt::Key_Tab:
      if (event->modifiers() == Qt::NoModifier) {
        TypeText(QStringLiteral("\t"));
        event->accept();
        return;
      }
      break;
    default:
      break;
  }
  const QString text = event->text();
  if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
    TypeText(text);  // control characters (0x01, 0x02, ...) are dropped there
    event->accept();
    return;
  }
  if (!text.isEmpty() && text[0].unicode() < 0x20) {
    event->accept();  // Ctrl+A/B/X/Z as characters: never into the text
    return;
  }
  QTextEdit::keyPressEvent(event);  // caret movement and selection
}

void CQVViewEdit::paintEvent(QPaintEvent* event) {
  QTextEdit::paintEvent(event);
  PaintWhiteSpace(event->rect());
}

CQVViewEdit::Blank CQVViewEdit::BlankOf(const QRawFont& font) {
  for (const auto& [known, blank] : blanks_)
    if (known == font) return blank;
  Blank blank;
  const QList<quint32> glyphs = font.glyphIndexesForString(QStringLiteral(" "));
  if (glyphs.size() == 1 && glyphs[0] != 0) {
    blank.glyph = glyphs[0];
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    if (!advances.isEmpty()) blank.advance = advances[0].x();
  }
  blanks_.emplace_back(font, blank);
  return blanks_.back().second;
}

void CQVViewEdit::PaintWhiteSpace(const QRect& area) {
  // Only the lines in the repainted area are looked at. The blanks of a line are found among
  // the glyphs of one look-up of its glyph runs (each position look-up of its own would lay out
  // the line's fields again); tabs, which are rare, are placed one by one.
  const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  QList<QRectF> dots;
  QList<QLineF> arrows;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    const QRectF box = layout->blockBoundingRect(b).translated(offset);
    if (box.bottom() < area.top()) continue;
    if (box.top() > area.bottom()) break;
    const QTextLayout* lines = b.layout();
    if (!lines) continue;
    const QString text = b.text();
    const QPointF origin = lines->position() + offset;
    for (int i = 0; i < lines->lineCount(); ++i) {
      const QTextLine line = lines->lineAt(i);
      const qreal top = origin.y() + line.y();
      if (top + line.height() < area.top()) continue;
      if (top > area.bottom()) break;
      const qreal middle = top + line.ascent() - markHeight_;
      const int end = std::min<int>(line.textStart() + line.textLength(), text.size());
      bool blanks = false;
      for (int p = line.textStart(); p < end; ++p) {
        if (text[p] == u' ') blanks = true;
        if (text[p] != u'\t') continue;
        const qreal x0 = origin.x() + line.cursorToX(p) + 1;
        const qreal x1 = std::max(x0 + 4, origin.x() + line.cursorToX(p + 1) - 2);
        const qreal head = std::max<qreal>(2, markHeight_);
        arrows.append({x0, middle, x1, middle});
        arrows.append({x1 - head, middle - head, x1, middle});
        arrows.append({x1 - head, middle + head, x1, middle});
      }
      if (!blanks) continue;
      for (const QGlyphRun& run : line.glyphRuns()) {
        const Blank blank = BlankOf(run.rawFont());
        if (blank.glyph == 0) continue;
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g) {
          if (glyphs[g] != blank.glyph) continue;
          const qreal x = origin.x() + positions[g].x() + blank.advance / 2;
          dots.append(QRectF(x - markSize_ / 2, middle - markSize_ / 2, markSize_, markSize_));
        }
      }
    }
  }
  if (dots.isEmpty() && arrows.isEmpty()) return;
  QPainter painter(viewport());
  // Half way between the text and its ground: visible, yet quieter than the text.
  const QColor text = palette().color(QPalette::Text);
  const QColor base = palette().color(QPalette::Base);
  const QColor mark((text.red() + base.red()) / 2, (text.green() + base.green()) / 2,
                    (text.blue() + base.blue()) / 2);
  painter.setPen(Qt::NoPen);
  painter.setBrush(mark);
  painter.drawRects(dots);
  painter.setPen(QPen(mark, 1));
  painter.drawLines(arrows);
}

void CQVViewEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty() || isReadOnly()) {
    QTextEdit::inputMethodEvent(event);
    return;
  }
  const QString commit = event->commitString();
  QInputMethodEvent rest(event->preeditString(), event->attributes());
  QTextEdit::inputMethodEvent(&rest);
  TypeText(commit);
  event->accept();
}

int CQVViewEdit::FieldUnder(const QPoint& at) const {
  const QTextCursor near = cursorForPosition(at);
  for (int p : {near.position(), near.position() - 1}) {
    if (!IsFieldAt(p)) continue;
    QTextCursor left(document());
    left.setPosition(p);
    QTextCursor right(document());
    right.setPosition(p + 1);
    const QRect a = cursorRect(left);
    const QRect b = cursorRect(right);
    if (at.x() >= a.left() && at.x() <= b.right() && at.y() >= a.top() && at.y() <= a.bottom())
      return p;
  }
  return -1;
}

void CQVViewEdit::SelectField(int position) {
  QTextCursor select(document());
  select.setPosition(position);
  select.setPosition(position + 1, QTextCursor::KeepAnchor);
  setTextCursor(select);
}

bool CQVViewEdit::AtField() const {
  return textCursor().hasSelection() && FieldAtCaret() >= 0;
}

void CQVViewEdit::mousePressEvent(QMouseEvent* event) {
  // Shift+click and the other buttons keep their usual meaning (extend the selection, ...).
  const int field = event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier
                        ? FieldUnder(event->position().toPoint())
                        : -1;
  if (field < 0) {
    QTextEdit::mousePressEvent(event);
    return;
  }
  // Handled whole: the base view would take the press inside a selection for the start of a
  // drag and put the caret beside the field on release.
  SelectField(field);
  event->accept();
}

void CQVViewEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (const int field = FieldUnder(event->position().toPoint()); field >= 0) {
    SelectField(field);
    event->accept();
    emit fieldActivated(FieldAtCaret());
    return;
  }
  QTextEdit::mouseDoubleClickEvent(event);
}

void CQVViewEdit::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuRequested(event->globalPos());
  event->accept();
}

bool CQVViewEdit::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText();
}

void CQVViewEdit::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText() || isReadOnly() || AtField()) return;  // as typing at a field
  const QString text = CleanInput(source->text());
  if (text.isEmpty() && !textCursor().hasSelection()) return;
  Snapshot before = TakeSnapshot();
  QTextCursor c = textCursor();
  c.removeSelectedText();
  c.insertText(text, normalFormat_);
  setTextCursor(c);
  FinishEdit(std::move(before));
}

QMimeData* CQVViewEdit::createMimeDataFromSelection() const {
  // Fields stay in the editor: a copy holds the plain text around them.
  auto* data = new QMimeData;
  QString text = textCursor().selection().toPlainText();
  text.remove(kFieldChar);
  data->setText(text);
  return data;
}

#include "qv_view_edit.moc"
