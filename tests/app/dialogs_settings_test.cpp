// The settings sheets: scales and default values of a format, with and without "作用于每一格式"
// (which writes only its own keys of QV.ini), range checks that keep the sheet open, and the
// output defaults that the other value kinds take over.

#include "app_test_support.h"
#include "settings/defaults_pages.h"

using Direction = CQVEditVar::Direction;

namespace {

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

class DialogsSettingsTest : public QObject {
  Q_OBJECT

 private:
  CDialogsFixture data_;
  std::unique_ptr<CFormatDocument> document_;

  CQVProfile& Profile() { return *data_.workspace.Profile(); }
  CDocFormat& Format() { return document_->Format(); }
  QByteArray Ini() { return ReadAll(data_.SettingsPath()); }
  std::string Setting(const char* key) {
    std::string value;
    Format().GetFileHeader(key, value);
    return value;
  }

 private slots:
  void initTestCase() { QVERIFY(data_.Start()); }

  void init() {
    document_ = data_.NewFormat("Kite_Basic");
    QVERIFY(document_);
    data_.sink.Clear();
  }

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
    QCOMPARE(data_.sink.Count(), std::size_t{1});
    Retype(linear, QStringLiteral("1e16"));
    QTest::mouseClick(Ok(*sheet), Qt::LeftButton);
    QVERIFY(sheet->isVisible());
    // Leaving the page is refused as well.
    ClickTab(*sheet, 1);
    QCOMPARE(sheet->Tabs()->currentIndex(), 0);
    QCOMPARE(data_.sink.Count(), std::size_t{3});
    QVERIFY(data_.sink.Last().text.find("999999999999999.0") != std::string::npos);

    Retype(linear, QStringLiteral("0.3048"));
    Retype(page->Edit("&W"), QStringLiteral("-1.5e2"));
    Toggle(page->ApplyToEveryFormat());
    QTest::mouseClick(Ok(*sheet), Qt::LeftButton);
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(std::stod(Setting("&L")), 0.3048);
    QCOMPARE(std::stod(Setting("&W")), -150.0);
    // The four edit texts, as typed or shown; DefaultValues rewritten unchanged.
    QByteArray expected = WithValue(before, "Scalings", "Linear", "0.3048");
    expected = WithValue(expected, "Scalings", "Angular", "-1.5e2");
    expected = WithValue(expected, "Scalings", "Temperature", page->Edit("&T")->text().toLatin1());
    expected = WithValue(expected, "Scalings", "Pressure", page->Edit("&P")->text().toLatin1());
    QCOMPARE(Ini(), expected);
    QCOMPARE(Profile().Default().ScaleText("Linear"), std::string("0.3048"));
  }

  void defaultValuesAndCancel() {
    auto sheet = MakeFormatSettingsSheet(Profile(), &Format());
    sheet->show();
    ClickTab(*sheet, 2);
    auto* page = PageOf<CQVTextSettingsPage>(*sheet, 2);
    QCOMPARE(page->Edit("@Df")->text(), QStringLiteral("-9999"));
    Retype(page->Edit("@Df"), QStringLiteral("42"));
    // Cancel: the format keeps its value.
    sheet->Buttons()->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(Setting("@Df"), std::string("-9999"));

    const QByteArray before = Ini();
    sheet = MakeFormatSettingsSheet(Profile(), &Format());
    sheet->show();
    ClickTab(*sheet, 2);
    page = PageOf<CQVTextSettingsPage>(*sheet, 2);
    Retype(page->Edit("@Df"), QStringLiteral("42"));
    Toggle(page->ApplyToEveryFormat());
    QTest::mouseClick(Ok(*sheet), Qt::LeftButton);
    QCOMPARE(Setting("@Df"), std::string("42"));
    QCOMPARE(Profile().Default().IntegerValue(), std::string("42"));
    QCOMPARE(Ini(), WithValue(before, "DefaultValues", "IntegerValue", "42"));
    // Restore.
    Profile().Default().SetIntegerValue("-9999");
    QVERIFY(Profile().Default().Write());
  }

  void outputDefaultsCopiedWithoutWriting() {
    const QByteArray before = Ini();
    CPropertySheetEx sheet(524);
    auto* page = new CQVConversionDefaultsPage(Direction::kOutput, Profile(), &Format());
    sheet.AddPage(page);
    sheet.show();
    QCOMPARE(page->OutputConversion()->LengthEdit()->text(), QStringLiteral("12"));
    page->OutputConversion()->AlignCombo()->setCurrentIndex(1);
    page->OutputConversion()->SignCombo()->setCurrentIndex(1);
    Retype(page->OutputConversion()->LengthEdit(), QStringLiteral("25"));
    QTest::mouseClick(Ok(sheet), Qt::LeftButton);
    QVERIFY(sheet.isVisible());
    QCOMPARE(data_.sink.Count(), std::size_t{1});
    Retype(page->OutputConversion()->LengthEdit(), QString());
    Retype(page->OutputConversion()->PrecisionEdit(), QStringLiteral("4"));
    QTest::mouseClick(Ok(sheet), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));

    // What is copied to the other kinds is the profile's rule; the page hands over the float's.
    const CQVProfDefault& d = Profile().Default();
    QCOMPARE((std::array{d.PrintFFloat().Align(), d.PrintFFloat().Length(),
                         d.PrintFFloat().Precision(), d.PrintFFloat().Sign()}),
             (std::array{1, -1, 4, 1}));
    // Nothing written without "作用于每一格式".
    QCOMPARE(Ini(), before);

    CPropertySheetEx again(524);
    auto* second = new CQVConversionDefaultsPage(Direction::kOutput, Profile(), &Format());
    again.AddPage(second);
    again.show();
    QVERIFY(second->OutputConversion()->LengthEdit()->text().isEmpty());
    Retype(second->OutputConversion()->LengthEdit(), QStringLiteral("10"));
    Toggle(second->ApplyToEveryFormat());
    QTest::mouseClick(Ok(again), Qt::LeftButton);
    const QByteArray after = Ini();
    QVERIFY(after.contains("[PrintFDefaultSettings_Float]\nAlign=1\nLength=10\nPrecision=4\n"));
    // The input sections stay as they were.
    const qsizetype scan = before.indexOf("[ScanFDefaultSettings_String]");
    QCOMPARE(after.mid(after.indexOf("[ScanFDefaultSettings_String]")), before.mid(scan));
  }
};

QTEST_MAIN(DialogsSettingsTest)
#include "dialogs_settings_test.moc"
