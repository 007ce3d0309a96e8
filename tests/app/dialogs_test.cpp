// The dialogs on their own, on a running workspace: the string pool dialogs and the tree's pool
// commands (saving, overwriting, loading into a format of another template, deleting, the
// properties), the application assignment (moves keep names and numbers, the lists hold only what
// may still be assigned, OK writes every string of the block, cancel leaves the document and the
// marks as they were), and the settings sheets (scales and default values of a format, with and
// without "作用于每一格式", range checks that keep the sheet open, the output defaults).
#include "app_test_support.h"
#include "catalogue/format_template_manager.h"
#include "pool/pool_commands.h"
#include "settings/defaults_pages.h"

using Direction = CQVEditVar::Direction;

namespace {

constexpr std::int32_t kBasicMeasure1 = 11010001;  // Kite_Basic 测量数据, strings 1 and 2
constexpr std::int32_t kBasicMeasure2 = 11010002;
constexpr std::int32_t kCoordinates1 = 11012001;  // 坐标数据, string 1 (both templates)

QListWidgetItem* Find(const QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

void Select(QListWidget* list, const QString& text) {
  QListWidgetItem* item = Find(list, text);
  QVERIFY2(item, qPrintable(text));
  list->setCurrentItem(item);
}

void DoubleClick(QListWidget* list, const QString& text) {
  QListWidgetItem* item = Find(list, text);
  QVERIFY2(item, qPrintable(text));
  list->scrollToItem(item);
  const QRect r = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

// The string and state of one applicationsMarked signal.
std::pair<int, bool> MarkOf(const QList<QVariant>& signal) {
  return {signal.at(0).toInt(), signal.at(1).toBool()};
}

// The file with the value of one key of one section replaced, as the key writer does it.
QByteArray WithValue(QByteArray ini, const char* section, const char* key,
                     const QByteArray& value) {
  const qsizetype start = ini.indexOf(QByteArray("[") + section + "]\n");
  if (start < 0) return {};
  const qsizetype at = ini.indexOf(QByteArray("\n") + key + "=", start) + 1;
  if (at <= 0) return {};
  const qsizetype from = at + qstrlen(key) + 1;
  ini.replace(from, ini.indexOf('\n', from) - from, value);
  return ini;
}

QPushButton* Ok(CPropertySheetEx& sheet) {
  return sheet.Buttons()->button(QDialogButtonBox::Ok);
}

void ClickTab(CPropertySheetEx& sheet, int index) {
  QTabBar* bar = sheet.Tabs()->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

// A click on the box's indicator, at its left end.
void Toggle(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

void Retype(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

template <class Page>
Page* PageOf(CPropertySheetEx& sheet, int index) {
  return qobject_cast<Page*>(sheet.Page(index));
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private:
  CDialogsFixture data_;
  std::unique_ptr<CFormatDocument> document_;  // a new Kite_Basic format for the settings

  CStringPool& Pool() { return *data_.workspace.Pool(); }
  CQVProfile& Profile() { return *data_.workspace.Profile(); }
  CDocFormat& Format() { return document_->Format(); }
  QByteArray Ini() { return ReadAll(data_.SettingsPath()); }
  std::string Setting(const char* key) {
    std::string value;
    Format().GetFileHeader(key, value);
    return value;
  }

  void EmptyPool() {
    std::vector<std::string> names;
    for (const auto& [name, entry] : Pool().Entries()) names.push_back(name);
    for (const std::string& name : names) Pool().Remove(name);
    Pool().Save();
  }

  // A Kite_Basic output string in the pool as the tree puts one there.
  void AddEntry(const char* name, int block, const char* text, std::vector<int> codes) {
    CFrtString string;
    string.key = KeyOfStringId(11000001 + block * 1000);
    string.SetText(text);
    for (int code : codes) {
      CFrtVariable variable;
      variable.code = static_cast<std::uint16_t>(code);
      string.AddVariable(variable);
    }
    Pool().Add(MakePoolEntry(string, Gbk(name), "Kite_Basic", "Monday, December 07, 2026"));
  }

  // A Kite_Basic format whose block 10 has text in the given strings (with these applications).
  std::unique_ptr<CFormatDocument> WithStrings(
      std::initializer_list<std::pair<std::int32_t, const char*>> strings) {
    auto document = data_.NewFormat("Kite_Basic");
    if (!document) return nullptr;
    for (const auto& [id, applications] : strings)
      document->Format().SetFormatString(id, "P%s", VariableGroup(1), applications);
    return document;
  }

 private slots:
  void initTestCase() { QVERIFY(data_.Start()); }

  void init() {
    EmptyPool();
    document_ = data_.NewFormat("Kite_Basic");
    QVERIFY(document_);
    data_.sink.Clear();
  }

  // --- The string pool --------------------------------------------------------------------------

  void savingAnEmptyStringWarns() {
    auto document = data_.NewFormat("Kite_Basic");
    QVERIFY(document);
    bool ran = false;
    QVERIFY(!SaveStringToPool(document->Format(), Pool(), kBasicMeasure1, nullptr,
                              [&](CStringPoolDialog&) {
                                ran = true;
                                return int(QDialog::Accepted);
                              }));
    QVERIFY(!ran);
    QCOMPARE(data_.sink.Ids(), std::vector<int>({1110}));
  }

  void saveThenOverwriteAskingFirst() {
    CDocFormat& format = Format();
    format.SetFormatString(kBasicMeasure1, "P%s", VariableGroup(1), "101");

    const QString name = QStringLiteral("站点A");
    bool saved =
        SaveStringToPool(format, Pool(), kBasicMeasure1, nullptr, [&](CStringPoolDialog& d) {
          d.show();
          [&] { QVERIFY(!d.Button(1006)->isEnabled()); }();  // until a name is typed
          TypeText(d.NameEdit(), name);
          QTest::mouseClick(d.Button(1006), Qt::LeftButton);
          return d.result();
        });
    QVERIFY(saved);
    QVERIFY(data_.sink.Empty());
    CFrtStringEx* entry = nullptr;
    QCOMPARE(Pool().FindByName(Gbk("站点A"), entry), frt::kOk);
    QCOMPARE(std::string(entry->extra[kPoolTemplate].view()), std::string("Kite_Basic"));

    // The same name again: "no" keeps the dialog open, "yes" replaces the entry.
    format.SetFormatString(kBasicMeasure1, "Q%s", VariableGroup(1), "101");
    bool stayedOpen = false;
    saved = SaveStringToPool(format, Pool(), kBasicMeasure1, nullptr, [&](CStringPoolDialog& d) {
      d.show();
      TypeText(d.NameEdit(), name);
      data_.sink.QueueAnswer(false);
      QTest::mouseClick(d.Button(1006), Qt::LeftButton);
      stayedOpen = d.isVisible() && d.result() != QDialog::Accepted;
      data_.sink.QueueAnswer(true);
      QTest::mouseClick(d.Button(1006), Qt::LeftButton);
      return d.result();
    });
    QVERIFY(stayedOpen);
    QVERIFY(saved);
    QCOMPARE(data_.sink.Ids(), std::vector<int>({3, 3}));
    QCOMPARE(Pool().EntryCount(), 1);
    QCOMPARE(Pool().FindByName(Gbk("站点A"), entry), frt::kOk);
    QCOMPARE(std::string(entry->TextView()), std::string("Q%s"));
    QCOMPARE(Pool().IsModified(), 0);  // written at once
  }

  void loadIntoAnotherTemplate() {
    AddEntry("坐标", 12, "C%s,%s", {1, 2});
    AddEntry("外来", 12, "X%s", {1, 999});  // a code the catalogue does not know
    auto document = data_.NewFormat("Kite_GNSS");
    QVERIFY(document);
    CDocFormat& format = document->Format();

    auto pick = [&](const QString& name) {
      return [&, name](CStringPoolDialog& d) {
        d.show();
        // The format's own template has no entries: the first template is taken.
        [&] { QCOMPARE(Texts(d.Templates()), QStringList({"Kite_Basic"})); }();
        d.Names()->setCurrentRow(Texts(d.Names()).indexOf(name));
        QTest::mouseClick(d.Button(1006), Qt::LeftButton);
        return d.result();
      };
    };

    QVERIFY(LoadStringFromPool(format, Pool(), kCoordinates1, nullptr, pick("坐标")));
    const std::string variables = Info(format, kCoordinates1).variables;
    QCOMPARE(variables.substr(6, 3) + variables.substr(15, 3), std::string("001002"));
    QVERIFY(data_.sink.Empty());  // the string was empty: no question

    // The string has text now: 1150 first; "no" changes nothing.
    data_.sink.QueueAnswer(false);
    QVERIFY(!LoadStringFromPool(format, Pool(), kCoordinates1, nullptr, pick("坐标")));
    QCOMPARE(data_.sink.Ids(), std::vector<int>({1150}));
    QCOMPARE(Info(format, kCoordinates1).text, std::string("C%s,%s"));

    // A variable the catalogue does not know: 1149, nothing loaded.
    data_.sink.Clear();
    data_.sink.QueueAnswer(true);
    QVERIFY(!LoadStringFromPool(format, Pool(), kCoordinates1, nullptr, pick("外来")));
    QCOMPARE(data_.sink.Ids(), std::vector<int>({1150, 1149}));
    QCOMPARE(Info(format, kCoordinates1).text, std::string("C%s,%s"));
  }

  void deletingTheLastEntryOfABlockType() {
    AddEntry("Alpha", 10, "A%s", {1});
    AddEntry("Beta", 12, "B%s", {1});
    CStringPoolDialog d(Pool(), data_.workspace.Catalogue(), "Kite_Basic",
                        KeyOfStringId(kCoordinates1), CStringPoolDialog::kLoad);
    d.show();
    QCOMPARE(Texts(d.Names()), QStringList({"Beta"}));
    data_.sink.QueueAnswer(false);
    QTest::mouseClick(d.Button(1011), Qt::LeftButton);
    QCOMPARE(Pool().EntryCount(), 2);

    data_.sink.QueueAnswer(true);
    QTest::mouseClick(d.Button(1011), Qt::LeftButton);
    QCOMPARE(Pool().EntryCount(), 1);
    // The block type has no entry left: it goes, and the list follows the next one.
    QCOMPARE(Texts(d.BlockTypes()), QStringList({"测量数据"}));
    QCOMPARE(Texts(d.Names()), QStringList({"Alpha"}));

    // Loading from another block type than the string's asks first.
    data_.sink.Clear();
    data_.sink.QueueAnswer(false);
    QTest::mouseClick(d.Button(1006), Qt::LeftButton);
    QVERIFY(d.isVisible());
    data_.sink.QueueAnswer(true);
    QTest::mouseClick(d.Button(1006), Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(data_.sink.Ids(), std::vector<int>({19, 19}));
    QCOMPARE(d.Name(), std::string("Alpha"));
  }

  void propertiesChangeAuthorAndDescription() {
    AddEntry("Alpha", 10, "A%s", {1, 2});
    Pool().Save();
    CStringPoolDialog d(Pool(), data_.workspace.Catalogue(), "Kite_Basic",
                        KeyOfStringId(kBasicMeasure1), CStringPoolDialog::kLoad);
    d.show();
    auto found = OnNextModal<CStringPropertiesDialog>([&](CStringPropertiesDialog* p) {
      p->Field(1015)->clear();
      TypeText(p->Field(1015), QStringLiteral("张三"));
      p->Description()->setPlainText(QStringLiteral("坐标输出"));
      p->findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    QTest::mouseClick(d.Button(1010), Qt::LeftButton);
    QVERIFY(*found);
    CFrtStringEx* entry = nullptr;
    QCOMPARE(Pool().FindByName("Alpha", entry), frt::kOk);
    QCOMPARE(std::string(entry->extra[kPoolAuthor].view()), Gbk("张三"));
    QCOMPARE(std::string(entry->extra[kPoolDescription].view()), Gbk("坐标输出"));
    QCOMPARE(Pool().IsModified(), 1);  // written with the next save
  }

  // --- The application assignment -------------------------------------------------------------

  void assignAcrossTwoStringsAndAccept() {
    auto document = WithStrings({{kBasicMeasure1, ""}, {kBasicMeasure2, ""}});
    QVERIFY(document);
    CDocFormat& format = document->Format();
    const std::string variablesBefore = Info(format, kBasicMeasure2).variables;
    CAssignApplicationsDialog dialog(format, kBasicMeasure1);
    QSignalSpy marks(&dialog, &CAssignApplicationsDialog::applicationsMarked);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // Sorted by name, every application of the template free.
    QCOMPARE(Texts(dialog.Available()),
             QStringList({"参考线", "导线测量", "放样", "测量", "自由设站", "面积测量"}));
    Select(dialog.Available(), QStringLiteral("测量"));
    QTest::mouseClick(dialog.Button(2015), Qt::LeftButton);
    Select(dialog.Available(), QStringLiteral("自由设站"));
    QTest::mouseClick(dialog.Button(2015), Qt::LeftButton);
    QCOMPARE(Texts(dialog.Assigned()), QStringList({"测量", "自由设站"}));
    QCOMPARE(MarkOf(marks.last()), std::pair(kBasicMeasure1, true));

    // The second string: what string 1 has is in neither list.
    dialog.Strings()->setCurrentIndex(1);
    QCOMPARE(dialog.Assigned()->count(), 0);
    QVERIFY(!Find(dialog.Available(), QStringLiteral("测量")));
    DoubleClick(dialog.Available(), QStringLiteral("放样"));
    QCOMPARE(Texts(dialog.Assigned()), QStringList({"放样"}));
    // And back: a double click on the assigned side returns it.
    DoubleClick(dialog.Assigned(), QStringLiteral("放样"));
    QCOMPARE(MarkOf(marks.last()), std::pair(kBasicMeasure2, false));
    DoubleClick(dialog.Available(), QStringLiteral("放样"));

    QCOMPARE(Info(format, kBasicMeasure1).applications, std::string());  // not yet written

    QTest::mouseClick(dialog.Button(1), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Info(format, kBasicMeasure1).applications, std::string("101102"));
    QCOMPARE(Info(format, kBasicMeasure2).applications, std::string("105"));
    QCOMPARE(Info(format, kBasicMeasure2).variables, variablesBefore);
  }

  void cancelAfterMovesRestoresMarksAndLeavesTheDocument() {
    auto document = WithStrings({{kBasicMeasure1, "101"}, {kBasicMeasure2, ""}});
    QVERIFY(document);
    CDocFormat& format = document->Format();
    CAssignApplicationsDialog dialog(format, kBasicMeasure2);
    QSignalSpy marks(&dialog, &CAssignApplicationsDialog::applicationsMarked);
    dialog.show();
    QCOMPARE(dialog.CurrentIndex(), 1);
    QTest::mouseClick(dialog.Button(2017), Qt::LeftButton);  // ">>"
    QCOMPARE(dialog.Assigned()->count(), 5);
    dialog.Strings()->setCurrentIndex(0);
    QTest::mouseClick(dialog.Button(2018), Qt::LeftButton);  // "<<" on string 1
    QCOMPARE(dialog.Available()->count(), 1);
    marks.clear();

    QTest::mouseClick(dialog.Button(2), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(Info(format, kBasicMeasure1).applications, std::string("101"));
    QCOMPARE(Info(format, kBasicMeasure2).applications, std::string());
    // One mark per string, from what the document holds.
    QCOMPARE(marks.count(), 2);
    QCOMPARE(MarkOf(marks.at(0)), std::pair(kBasicMeasure1, true));
    QCOMPARE(MarkOf(marks.at(1)), std::pair(kBasicMeasure2, false));
  }

  void blockWithoutTextClosesAtOnce() {
    auto document = WithStrings({});
    QVERIFY(document);
    CAssignApplicationsDialog dialog(document->Format(), 11010000);
    QCOMPARE(dialog.StringCount(), 0);
    QCOMPARE(dialog.Run(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
  }

  // --- The settings sheets ----------------------------------------------------------------------

  void scalesAreCheckedThenWrittenAsTyped() {
    const QByteArray before = Ini();
    auto sheet = MakeFormatSettingsSheet(Profile(), &Format());
    sheet->show();
    auto* page = PageOf<CQVTextSettingsPage>(*sheet, 0);
    QVERIFY(page && page->isVisible());
    QLineEdit* linear = page->Edit("&L");
    Retype(linear, QStringLiteral("abc"));
    QTest::mouseClick(Ok(*sheet), Qt::LeftButton);
    QVERIFY(sheet->isVisible());
    // Leaving the page is refused as well.
    Retype(linear, QStringLiteral("1e16"));
    ClickTab(*sheet, 1);
    QCOMPARE(sheet->Tabs()->currentIndex(), 0);
    QCOMPARE(data_.sink.Count(), std::size_t{2});

    Retype(linear, QStringLiteral("0.3048"));
    Retype(page->Edit("&W"), QStringLiteral("-1.5e2"));
    Toggle(page->ApplyToEveryFormat());
    QTest::mouseClick(Ok(*sheet), Qt::LeftButton);
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(std::stod(Setting("&W")), -150.0);
    // The four edit texts, as typed or shown; DefaultValues rewritten unchanged.
    QByteArray expected = WithValue(before, "Scalings", "Linear", "0.3048");
    expected = WithValue(expected, "Scalings", "Angular", "-1.5e2");
    expected = WithValue(expected, "Scalings", "Temperature", page->Edit("&T")->text().toLatin1());
    expected = WithValue(expected, "Scalings", "Pressure", page->Edit("&P")->text().toLatin1());
    QCOMPARE(Ini(), expected);
  }

  void defaultValuesWrittenForEveryFormat() {
    const QByteArray before = Ini();
    auto sheet = MakeFormatSettingsSheet(Profile(), &Format());
    sheet->show();
    ClickTab(*sheet, 2);
    auto* page = PageOf<CQVTextSettingsPage>(*sheet, 2);
    QCOMPARE(page->Edit("@Df")->text(), QStringLiteral("-9999"));
    Retype(page->Edit("@Df"), QStringLiteral("42"));
    Toggle(page->ApplyToEveryFormat());
    QTest::mouseClick(Ok(*sheet), Qt::LeftButton);
    QCOMPARE(Setting("@Df"), std::string("42"));
    QCOMPARE(Ini(), WithValue(before, "DefaultValues", "IntegerValue", "42"));
    // Restore.
    Profile().Default().SetIntegerValue("-9999");
    QVERIFY(Profile().Default().Write());
  }

  void outputDefaultsCheckedThenWritten() {
    CPropertySheetEx sheet(524);
    auto* page = new CQVConversionDefaultsPage(Direction::kOutput, Profile(), &Format());
    sheet.AddPage(page);
    sheet.show();
    QCOMPARE(page->OutputConversion()->LengthEdit()->text(), QStringLiteral("12"));
    page->OutputConversion()->AlignCombo()->setCurrentIndex(1);
    Retype(page->OutputConversion()->LengthEdit(), QStringLiteral("25"));
    QTest::mouseClick(Ok(sheet), Qt::LeftButton);
    QVERIFY(sheet.isVisible());
    Retype(page->OutputConversion()->LengthEdit(), QStringLiteral("10"));
    Retype(page->OutputConversion()->PrecisionEdit(), QStringLiteral("4"));
    Toggle(page->ApplyToEveryFormat());
    QTest::mouseClick(Ok(sheet), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QVERIFY(Ini().contains("[PrintFDefaultSettings_Float]\nAlign=1\nLength=10\nPrecision=4\n"));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
