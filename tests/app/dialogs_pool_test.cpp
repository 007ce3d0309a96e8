// The string pool dialogs and the tree's pool commands: saving a string (1110 for an empty one,
// the question before overwriting), loading one into a format of another template (1149 for a
// variable the catalogue does not know, 1150 before replacing text), deleting the last entry of
// a block type, the empty list and the properties dialog.

#include "app_test_support.h"
#include "catalogue/format_template_manager.h"
#include "pool/pool_commands.h"

namespace {

constexpr std::int32_t kBasicMeasure1 = 11010001;  // Kite_Basic 测量数据, string 1
constexpr std::int32_t kCoordinates1 = 11012001;   // 坐标数据, string 1 (both templates)

}  // namespace

class DialogsPoolTest : public QObject {
  Q_OBJECT

 private:
  CDialogsFixture data_;

  CStringPool& Pool() { return *data_.workspace.Pool(); }

  void EmptyPool() {
    std::vector<std::string> names;
    for (const auto& [name, entry] : Pool().Entries()) names.push_back(name);
    for (const std::string& name : names) Pool().Remove(name);
    Pool().Save();
  }

  // A pool entry as the tree makes one, under this template, block and name.
  void AddEntry(const char* name, const char* templateName, int block, const char* text,
                std::vector<int> codes, int direction = 1) {
    CFrtString string;
    string.key.direction = static_cast<std::uint8_t>(direction);
    string.key.section = 1;
    string.key.block = static_cast<std::uint8_t>(block);
    string.key.number = 1;
    string.SetText(text);
    for (int code : codes) {
      CFrtVariable variable;
      variable.code = static_cast<std::uint16_t>(code);
      string.AddVariable(variable);
    }
    Pool().Add(MakePoolEntry(string, Gbk(name), templateName, "Monday, December 07, 2026"));
  }

 private slots:
  void initTestCase() { QVERIFY(data_.Start()); }

  void init() {
    EmptyPool();
    data_.sink.Clear();
  }

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
    auto document = data_.NewFormat("Kite_Basic");
    QVERIFY(document);
    CDocFormat& format = document->Format();
    format.SetFormatString(kBasicMeasure1, "P%s", VariableGroup(1), "101");

    const QString name = QStringLiteral("站点A");
    bool saved =
        SaveStringToPool(format, Pool(), kBasicMeasure1, nullptr, [&](CStringPoolDialog& d) {
          d.show();
          [&] {
            QVERIFY(!d.Templates()->isEnabled() && !d.BlockTypes()->isEnabled());
            QCOMPARE(Texts(d.BlockTypes()), QStringList({"测量数据"}));
            QVERIFY(!d.Button(1006)->isEnabled());
            QVERIFY(d.Button(2086)->isDefault());
            TypeText(d.NameEdit(), name);
            QVERIFY(d.Button(1006)->isEnabled());
            QVERIFY(d.Button(1006)->isDefault());
            QTest::mouseClick(d.Button(1006), Qt::LeftButton);
          }();
          return d.result();
        });
    QVERIFY(saved);
    QVERIFY(data_.sink.Empty());
    CFrtStringEx* entry = nullptr;
    QCOMPARE(Pool().FindByName(Gbk("站点A"), entry), frt::kOk);
    QCOMPARE(std::string(entry->TextView()), std::string("P%s"));
    QCOMPARE(entry->key.block, std::uint8_t{10});
    QCOMPARE(std::string(entry->extra[kPoolTemplate].view()), std::string("Kite_Basic"));
    QCOMPARE(Pool().IsModified(), 0);  // written at once

    // The same name again: "no" keeps the dialog open, "yes" replaces the entry.
    format.SetFormatString(kBasicMeasure1, "Q%s", VariableGroup(1), "101");
    bool stayedOpen = false;
    saved = SaveStringToPool(format, Pool(), kBasicMeasure1, nullptr, [&](CStringPoolDialog& d) {
      d.show();
      d.Names()->setCurrentRow(0);
      [&] {
        QVERIFY(d.Button(1011)->isEnabled() && d.Button(1010)->isEnabled());
        QCOMPARE(d.Figure(1028)->text() + d.Figure(1029)->text(), QStringLiteral("31"));
      }();
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
    QCOMPARE(Pool().IsModified(), 0);
  }

  void loadIntoAnotherTemplate() {
    AddEntry("坐标", "Kite_Basic", 12, "C%s,%s", {1, 2});
    AddEntry("外来", "Kite_Basic", 12, "X%s", {1, 999});
    QVERIFY(!data_.workspace.Catalogue()->FindPoolVariable(999));
    auto document = data_.NewFormat("Kite_GNSS");
    QVERIFY(document);
    CDocFormat& format = document->Format();

    auto pick = [&](const QString& name) {
      return [&, name](CStringPoolDialog& d) {
        d.show();
        [&] {
          // The format's own template has no entries: the first template is taken.
          QCOMPARE(Texts(d.Templates()), QStringList({"Kite_Basic"}));
          QVERIFY(d.Templates()->isEnabled());
          QCOMPARE(d.BlockTypes()->currentText(), QStringLiteral("坐标数据"));
          QCOMPARE(Texts(d.Names()), QStringList({"坐标", "外来"}));
        }();
        d.Names()->setCurrentRow(Texts(d.Names()).indexOf(name));
        QTest::mouseClick(d.Button(1006), Qt::LeftButton);
        return d.result();
      };
    };

    QVERIFY(LoadStringFromPool(format, Pool(), kCoordinates1, nullptr, pick("坐标")));
    const std::string variables = Info(format, kCoordinates1).variables;
    QCOMPARE(Info(format, kCoordinates1).text, std::string("C%s,%s"));
    QCOMPARE(variables.size(), std::size_t{18});
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
    AddEntry("Alpha", "Kite_Basic", 10, "A%s", {1});
    AddEntry("Beta", "Kite_Basic", 12, "B%s", {1});
    auto document = data_.NewFormat("Kite_Basic");
    QVERIFY(document);
    CStringPoolDialog d(Pool(), data_.workspace.Catalogue(), "Kite_Basic",
                        KeyOfStringId(kCoordinates1), CStringPoolDialog::kLoad);
    d.show();
    QCOMPARE(d.BlockTypes()->currentText(), QStringLiteral("坐标数据"));
    QCOMPARE(Texts(d.Names()), QStringList({"Beta"}));
    QCOMPARE(d.Figure(1025)->text(), QStringLiteral("2"));

    data_.sink.QueueAnswer(false);
    QTest::mouseClick(d.Button(1011), Qt::LeftButton);
    QCOMPARE(Pool().EntryCount(), 2);

    data_.sink.QueueAnswer(true);
    QTest::mouseClick(d.Button(1011), Qt::LeftButton);
    QCOMPARE(Pool().EntryCount(), 1);
    // The block type has no entry left: it goes, and the list follows the next one.
    QCOMPARE(Texts(d.BlockTypes()), QStringList({"测量数据"}));
    QCOMPARE(Texts(d.Names()), QStringList({"Alpha"}));
    QCOMPARE(d.Figure(1025)->text(), QStringLiteral("1"));

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

  void emptyListInLoadMode() {
    AddEntry("Alpha", "Kite_Basic", 10, "A%s", {1});
    // An input string: the pool holds only output strings.
    CStringPoolDialog d(Pool(), data_.workspace.Catalogue(), "Kite_Basic", KeyOfStringId(21012001),
                        CStringPoolDialog::kLoad);
    d.show();
    QCOMPARE(d.Names()->count(), 0);
    for (int button : {1006, 1011, 1010}) QVERIFY(!d.Button(button)->isEnabled());
    QVERIFY(d.Figure(1028)->text().isEmpty());

    // An empty pool disables both lists.
    EmptyPool();
    CStringPoolDialog empty(Pool(), data_.workspace.Catalogue(), "Kite_Basic",
                            KeyOfStringId(kBasicMeasure1), CStringPoolDialog::kLoad);
    empty.show();
    QVERIFY(!empty.Templates()->isEnabled() && !empty.BlockTypes()->isEnabled());
  }

  void propertiesChangeAuthorAndDescription() {
    AddEntry("Alpha", "Kite_Basic", 10, "A%s", {1, 2});
    Pool().Save();
    CStringPoolDialog d(Pool(), data_.workspace.Catalogue(), "Kite_Basic",
                        KeyOfStringId(kBasicMeasure1), CStringPoolDialog::kLoad);
    d.show();
    QString shown;
    auto found = OnNextModal<CStringPropertiesDialog>([&](CStringPropertiesDialog* p) {
      shown = p->Field(1018)->text() + "|" + p->Field(1020)->text() + "|" + p->Field(1027)->text();
      p->Field(1015)->clear();
      TypeText(p->Field(1015), QStringLiteral("张三"));
      p->Description()->setPlainText(QStringLiteral("坐标输出"));
      p->findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    QTest::mouseClick(d.Button(1010), Qt::LeftButton);
    QVERIFY(*found);
    QCOMPARE(shown, QStringLiteral("Alpha|测量数据|3"));
    CFrtStringEx* entry = nullptr;
    QCOMPARE(Pool().FindByName("Alpha", entry), frt::kOk);
    QCOMPARE(std::string(entry->extra[kPoolAuthor].view()), Gbk("张三"));
    QCOMPARE(std::string(entry->extra[kPoolDescription].view()), Gbk("坐标输出"));
    QCOMPARE(Pool().IsModified(), 1);  // written with the next save
  }
};

QTEST_MAIN(DialogsPoolTest)
#include "dialogs_pool_test.moc"
