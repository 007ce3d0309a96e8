// The format-string editor: fields are atomic, the stored text survives the round trip, the
// limits refuse edits with their messages, and undo goes back step by step.

#include "app_test_support.h"

namespace {

const QString kF1 = QStringLiteral("\x01点号\x02");
const QString kF81 = QStringLiteral("\x01东坐标\x02");
const QString kF82 = QStringLiteral("\x01北坐标\x02");

// How the caret reaches a field.
enum class Reach { kClick, kShiftRight, kDoubleClick };

}  // namespace

class EditorTest : public QObject, Session {
  Q_OBJECT

 private:
  CTestProfile data_;
  std::unique_ptr<CQVViewEdit> edit_;
  std::string conv11_, conv81_, conv82_, ref11_, ref81_, ref82_;

  // "P" <point> " E=" <east> "\tN=" <north>, all three variables.
  std::string ThreeFieldText() const { return "P" + conv11_ + " E=" + conv81_ + "\tN=" + conv82_; }
  std::string ThreeFieldRefs() const { return ref11_ + ref81_ + ref82_; }
  void Load(const std::string& text, const std::string& refs, int maxLength = 200,
            int maxVariables = 5) {
    edit_->ShowString(11001001, CQVViewEdit::kKindOutput, text, refs, "001", maxLength,
                      maxVariables);
  }
  void SetCaret(int position, int anchor = -1) { ::SetCaret(edit_.get(), position, anchor); }

 private slots:
  void initTestCase() {
    QVERIFY(data_.Load());
    conv11_ = data_.Variable(11).BuildConversionText();
    conv81_ = data_.Variable(81).BuildConversionText();
    conv82_ = data_.Variable(82).BuildConversionText();
    ref11_ = data_.Reference(11);
    ref81_ = data_.Reference(81);
    ref82_ = data_.Reference(82);
  }

  void init() {
    sink_.Clear();
    edit_ = std::make_unique<CQVViewEdit>();
    edit_->SetContext(CQVEditContext::FromProfile(*data_.profile, data_.pool));
    edit_->resize(500, 200);
    edit_->show();
    QVERIFY(QTest::qWaitForWindowExposed(edit_.get()));
    edit_->setFocus();
  }
  void cleanup() { edit_.reset(); }

  // --- Showing and taking back stored text -------------------------------------------------

  // "%%" and "\\" are shown single and stored double; white space, line breaks, GBK bytes (also
  // one that is not GBK) and fields in order come back byte for byte, taken over once for the
  // preview.
  void storedTextRoundTrips_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("refs");
    QTest::addColumn<QString>("shown");
    QTest::newRow("percent, backslash")
        << QByteArray("A%%B\\\\C") << QByteArray() << QStringLiteral("A%B\\C");
    QTest::newRow("white space") << QByteArray("a\tb c\nd") << QByteArray()
                                 << QStringLiteral("a\tb c\nd");
    // 0xFF is not GBK: only the text before it is compared.
    QTest::newRow("gbk") << QByteArray::fromStdString(frt::Utf8ToGbk("坐标") + "\xFF" + "x")
                         << QByteArray() << QStringLiteral("坐标");
    QTest::newRow("fields") << QByteArray::fromStdString(ThreeFieldText())
                            << QByteArray::fromStdString(ThreeFieldRefs())
                            << QStringLiteral("P") + kF1 + " E=" + kF81 + "\tN=" + kF82;
  }
  void storedTextRoundTrips() {
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, refs);
    QFETCH(QString, shown);
    QSignalSpy taken(edit_.get(), &CQVViewEdit::textTakenOver);
    Load(stored.toStdString(), refs.toStdString());
    if (QTest::currentDataTag() == QByteArray("gbk"))
      QVERIFY(edit_->EditorText().startsWith(shown));
    else
      QCOMPARE(edit_->EditorText(), shown);
    QCOMPARE(edit_->StoredText(), stored.toStdString());
    QCOMPARE(edit_->VariableCodes(), refs.toStdString());
    QCOMPARE(taken.count(), 1);
    QCOMPARE(taken.first().at(0).toByteArray(), stored);
    QVERIFY(!edit_->IsChanged() && sink_.Empty());
  }

  void blanksAndTabsAreMarkedOnScreen() {
    Load("a b\tc", "");
    const QImage shot = edit_->viewport()->grab().toImage();
    const QRgb ground = shot.pixel(shot.width() - 2, shot.height() - 2);
    // Pixels unlike the ground strictly inside the cells from one position to another.
    auto ink = [&](int from, int to) {
      QTextCursor c(edit_->document());
      c.setPosition(from);
      const QRect left = edit_->cursorRect(c);
      c.setPosition(to);
      const int right = edit_->cursorRect(c).left();
      int n = 0;
      for (int x = left.left() + 2; x < right - 1; ++x)
        for (int y = left.top(); y <= left.bottom(); ++y) n += shot.pixel(x, y) != ground;
      return n;
    };
    QVERIFY(ink(0, 1) > 0);  // the letter "a"
    QVERIFY(ink(1, 2) > 0);  // the blank's dot
    QVERIFY(ink(3, 4) > 0);  // the tab's arrow
    Load("ab", "");
    const QImage plain = edit_->viewport()->grab().toImage();
    QTextCursor c(edit_->document());
    c.setPosition(2);
    const QRect end = edit_->cursorRect(c);
    for (int x = end.left() + 2; x < end.left() + 20; ++x)
      for (int y = end.top(); y <= end.bottom(); ++y) QCOMPARE(plain.pixel(x, y), ground);
  }

  void unreadableConversionsShow1117AndAreLeftOut() {
    // A reference whose code is not in the pool, and a conversion without any reference.
    Load("a" + conv11_ + "b%d", "000000999");
    QCOMPARE(sink_.Ids(), (std::vector<int>{1117, 1117}));
    QCOMPARE(edit_->EditorText(), QStringLiteral("ab"));
    QVERIFY(edit_->IsChanged());  // the repaired string must be stored
  }

  void tooManyVariablesLoadedIsRefusedOnTakeBack() {
    Load(ThreeFieldText(), ThreeFieldRefs(), 200, 2);
    QCOMPARE(sink_.Ids(), std::vector<int>{1107});
    sink_.Clear();
    std::string text, vars, apps;
    QVERIFY(!edit_->GetString(text, vars, apps));
    QCOMPARE(sink_.Ids(), std::vector<int>{1107});
  }

  // --- Fields are atomic --------------------------------------------------------------------

  void caretStepsOverAndKeysRemoveWholeFields() {
    Load(ThreeFieldText(), ThreeFieldRefs());
    SetCaret(1);  // before the first field
    QTest::keyClick(edit_.get(), Qt::Key_Right);
    QCOMPARE(edit_->textCursor().position(), 2);  // the whole field is one step
    QTest::keyClick(edit_.get(), Qt::Key_Backspace);
    QCOMPARE(edit_->StoredText(), "P E=" + conv81_ + "\tN=" + conv82_);
    QCOMPARE(edit_->VariableCodes(), ref81_ + ref82_);
    SetCaret(4);  // before the east field: "P E=" then the field
    QTest::keyClick(edit_.get(), Qt::Key_Delete);
    QCOMPARE(edit_->EditorText(), QStringLiteral("P E=\tN=") + kF82);
    QCOMPARE(edit_->VariableCodes(), ref82_);
  }

  void typingOverASelectionTakesItsFieldsWhole() {
    Load(ThreeFieldText(), ThreeFieldRefs());
    SetCaret(3, 0);  // "P", the first field, " "
    QTest::keyClicks(edit_.get(), "Q");
    QCOMPARE(edit_->VariableCodes(), ref81_ + ref82_);
  }

  // A field is reached by a click, by Shift+arrow or by a double-click, and is then selected
  // whole: Enter opens its sheet (a double-click at once) and typing changes nothing.
  // Regression: a click left the caret before the field, and Enter broke the line there.
  void aReachedFieldOpensOnEnter_data() {
    QTest::addColumn<Reach>("way");
    QTest::newRow("click") << Reach::kClick;
    QTest::newRow("shift+right") << Reach::kShiftRight;
    QTest::newRow("double-click") << Reach::kDoubleClick;
  }
  void aReachedFieldOpensOnEnter() {
    QFETCH(Reach, way);
    Load(ThreeFieldText(), ThreeFieldRefs());
    QSignalSpy activated(edit_.get(), &CQVViewEdit::fieldActivated);
    QTextCursor c(edit_->document());
    c.setPosition(5);  // before the east field
    const QRect left = edit_->cursorRect(c);
    c.setPosition(6);
    const QPoint middle((left.left() + edit_->cursorRect(c).left()) / 2, left.center().y());
    SetCaret(5);
    if (way == Reach::kShiftRight)
      QTest::keyClick(edit_.get(), Qt::Key_Right, Qt::ShiftModifier);
    else if (way == Reach::kClick)
      QTest::mouseClick(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    else
      QTest::mouseDClick(edit_->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    if (way != Reach::kDoubleClick) QTest::keyClick(edit_.get(), Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.first().at(0).toInt(), 1);
    QTest::keyClicks(edit_.get(), "x");
    QCOMPARE(edit_->StoredText(), ThreeFieldText());
  }

  // --- Typing ------------------------------------------------------------------------------

  void typedTextGoesInAndIsTakenOver() {
    Load("ab", "");
    QSignalSpy taken(edit_.get(), &CQVViewEdit::textTakenOver);
    SetCaret(1);
    QTest::keyClicks(edit_.get(), "%x");
    TypeText(edit_.get(), QStringLiteral("测"));
    QTest::keyClick(edit_.get(), Qt::Key_Tab);
    QCOMPARE(edit_->EditorText(), QStringLiteral("a%x测\tb"));
    QCOMPARE(edit_->StoredText(), "a%%x" + frt::Utf8ToGbk("测") + "\tb");
    QCOMPARE(taken.last().at(0).toByteArray().toStdString(), edit_->StoredText());
  }

  void controlCharactersCutAndEnter() {
    Load("ab", "");
    SetCaret(1);
    TypeText(edit_.get(), QStringLiteral("\x01\x02") + QChar::ObjectReplacementCharacter);
    SetCaret(2, 0);
    QTest::keyClick(edit_.get(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit_->EditorText(), QStringLiteral("ab"));
    QVERIFY(!edit_->IsChanged());
    // Enter over a selection does nothing; at the caret it breaks the line.
    QTest::keyClick(edit_.get(), Qt::Key_Return);
    QCOMPARE(edit_->StoredText(), std::string("ab"));
    SetCaret(1);
    QTest::keyClick(edit_.get(), Qt::Key_Return);
    QCOMPARE(edit_->StoredText(), std::string("a\nb"));
  }

  void overwriteModeNeverOverwritesAField() {
    Load("x" + conv11_ + "yz", ref11_);
    QTest::keyClick(edit_.get(), Qt::Key_Insert);
    QVERIFY(!edit_->InsertMode());
    SetCaret(0);
    QTest::keyClicks(edit_.get(), "A");  // replaces "x"
    QTest::keyClicks(edit_.get(), "B");  // would overwrite the field: dropped
    QCOMPARE(edit_->EditorText(), QStringLiteral("A") + kF1 + "yz");
    SetCaret(2);
    QTest::keyClicks(edit_.get(), "C");
    QCOMPARE(edit_->EditorText(), QStringLiteral("A") + kF1 + "Cz");
  }

  void tooLongTextIsRefusedWith1102() {
    Load("abc", "", 4);
    QSignalSpy modified(edit_.get(), &CQVViewEdit::modified);
    SetCaret(3);
    QTest::keyClicks(edit_.get(), "d");
    QVERIFY(sink_.Empty());
    QTest::keyClicks(edit_.get(), "e");
    QCOMPARE(sink_.Ids(), std::vector<int>{1102});
    QCOMPARE(edit_->StoredText(), std::string("abcd"));
    QCOMPARE(modified.count(), 1);
    // A "%" counts twice: it is stored doubled.
    SetCaret(0);
    QTest::keyClick(edit_.get(), Qt::Key_Delete);
    QTest::keyClicks(edit_.get(), "%");
    QCOMPARE(sink_.Ids(), (std::vector<int>{1102, 1102}));
    QCOMPARE(edit_->StoredText(), std::string("bcd"));
  }

  // --- Inserting variables ------------------------------------------------------------------

  void insertVariableAtTheCaret() {
    Load("ab", "");
    SetCaret(1);
    QVERIFY(edit_->InsertVariableCode(81));
    QCOMPARE(edit_->StoredText(), "a" + conv81_ + "b");
    QVERIFY(!edit_->InsertVariableCode(555));  // not in the pool
    QCOMPARE(edit_->FieldCount(), 1);
  }

  void insertBeyondTheLimitsShows1103Or1102() {
    Load(ThreeFieldText(), ThreeFieldRefs(), 200, 3);
    QVERIFY(!edit_->InsertVariable(data_.Variable(83)));
    QCOMPARE(sink_.Ids(), std::vector<int>{1103});
    sink_.Clear();
    Load("ab", "", 3);
    QVERIFY(!edit_->InsertVariable(data_.Variable(81)));
    QCOMPARE(sink_.Ids(), std::vector<int>{1102});
    QCOMPARE(edit_->StoredText(), std::string("ab"));
  }

  void replaceFieldKeepsItsPlace() {
    Load(ThreeFieldText(), ThreeFieldRefs());
    QVERIFY(edit_->ReplaceField(1, data_.Variable(83)));
    QCOMPARE(edit_->VariableCodes(), ref11_ + data_.Reference(83) + ref82_);
    QVERIFY(!edit_->ReplaceField(3, data_.Variable(83)));
    Load(conv81_ + "x", ref81_);  // a field at the very start
    QVERIFY(edit_->ReplaceField(0, data_.Variable(83)));
  }

  // --- Paste and undo -----------------------------------------------------------------------

  void pasteAndCopy() {
    Load("ab", "", 6);
    SetCaret(1);
    QApplication::clipboard()->setText(QStringLiteral("x\x01y") +
                                       QChar::ObjectReplacementCharacter);
    edit_->paste();
    QCOMPARE(edit_->EditorText(), QStringLiteral("axyb"));
    QApplication::clipboard()->setText(QStringLiteral("12345"));
    edit_->paste();
    QCOMPARE(sink_.Ids(), std::vector<int>{1102});
    QCOMPARE(edit_->EditorText(), QStringLiteral("axyb"));
    // Fields stay out of what is copied.
    Load("a" + conv11_ + "b", ref11_);
    edit_->selectAll();
    edit_->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ab"));
  }

  void undoGoesBackOneAcceptedEditAtATime() {
    Load(ThreeFieldText(), ThreeFieldRefs(), 200, 5);
    SetCaret(2);
    QTest::keyClick(edit_.get(), Qt::Key_Backspace);  // the first field
    QTest::keyClicks(edit_.get(), "z");
    QVERIFY(edit_->InsertVariableCode(83));
    QTest::keyClick(edit_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit_->VariableCodes(), ref81_ + ref82_);
    edit_->Undo();
    QCOMPARE(edit_->EditorText(), QStringLiteral("P E=") + kF81 + "\tN=" + kF82);
    edit_->Undo();
    QCOMPARE(edit_->StoredText(), ThreeFieldText());
    QVERIFY(!edit_->CanUndo());
    // A refused edit leaves nothing to undo.
    Load("abc", "", 3);
    QTest::keyClicks(edit_.get(), "d");
    QVERIFY(!edit_->CanUndo());
  }
};

QUARVEL_APP_TEST_MAIN(EditorTest)

#include "editor_test.moc"
