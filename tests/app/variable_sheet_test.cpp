// The sheet of one variable: the output and input variable pages with their lists, enabling and
// range checks, the unit shown from the format, the flags page in both of its modes, and the
// sheet that the editor opens on a field.

#include "app_test_support.h"
#include "document/catalogue_pool_lookup.h"

namespace {

constexpr int kSlopeDistance = 31;  // real, linear
constexpr int kEast = 51;           // type 9, linear
constexpr int kPointNumber = 1;     // text
constexpr int kZenith = 21;         // angular, fixed unit
constexpr int kFace = 11;           // character

// The length edit of the output variable page on a sheet's first tab.
QLineEdit* LengthEdit(CQvPropertySheet* sheet) {
  return static_cast<CQVExpVarPage*>(sheet->Page(0))->Conversion()->LengthEdit();
}

}  // namespace

class VariableSheetTest : public QObject, Session {
  Q_OBJECT
 private:
  std::unique_ptr<Editor> e_;
  CQVProfile* profile_ = nullptr;
  const CQVPoolLookup* pool_ = nullptr;
  CDocFormat* format_ = nullptr;

  CQVEditVar Var(int code, CQVEditVar::Direction d = CQVEditVar::Direction::kOutput) const {
    return CQVEditVar(*profile_, *pool_, code, d);
  }
  template <class Page>
  Page* ShowPage(CQvPropertySheet& sheet, Page* page) const {
    sheet.AddPage(page);
    sheet.show();
    return page;
  }
  CQVVarPageContext Context() const {
    CQVVarPageContext c;
    c.profile = profile_;
    c.format = format_;
    c.lengthLimit = 40;
    return c;
  }

 private slots:
  void initTestCase() {
    e_ = std::make_unique<Editor>(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(e_->Start());
    profile_ = e_->app->Profile();
    pool_ = e_->app->PoolLookup();
    format_ = &e_->Doc()->Document().Format();
  }
  void cleanupTestCase() {
    e_.reset();
    QDir::setCurrent(cwd_);
  }
  void init() { sink_.Clear(); }

  // --- Output variable page -------------------------------------------------------------------

  void outputPageListsAndUnit() {
    CQVEditVar v = Var(kSlopeDistance);
    CQvPropertySheet sheet(VariableSheetCaption(v.GetDirection()));
    auto* page = ShowPage(sheet, new CQVExpVarPage(v, Context()));
    QCOMPARE(page->VariableName()->text(), QStringLiteral("斜距"));
    // The unit shown is the format's ("M"), out of the profile's list.
    QCOMPARE(page->UnitCombo()->currentIndex(), profile_->IndexOfUnitValue("Linear", "M"));
  }

  void controlsFollowTheKindOfTheVariable() {
    struct Case {
      int code;
      bool representation, sign, alternate, precision, fill, unit;
    };
    const Case cases[] = {
        {kSlopeDistance, true, true, true, true, true, true},
        {kEast, false, true, true, true, true, true},  // type 9 is always "lf"
        {kPointNumber, false, false, false, true, true, false},
        {kFace, false, false, false, false, false, false},
        {kZenith, true, true, true, true, true, false},  // its unit cannot change
    };
    for (const Case& c : cases) {
      CQVEditVar v = Var(c.code);
      CQvPropertySheet sheet(QStringLiteral("x"));
      auto* page = ShowPage(sheet, new CQVExpVarPage(v, Context()));
      const QByteArray at = QByteArray::number(c.code);
      QVERIFY2(page->Conversion()->RepresentationCombo()->isEnabled() == c.representation, at);
      QVERIFY2(page->Conversion()->SignCombo()->isEnabled() == c.sign, at);
      QVERIFY2(page->Conversion()->AlternateFormatCombo()->isEnabled() == c.alternate, at);
      QVERIFY2(page->Conversion()->PrecisionEdit()->isEnabled() == c.precision, at);
      QVERIFY2(page->UnitCombo()->isVisibleTo(page) == c.unit, at);
      page->Conversion()->AlignCombo()->setCurrentIndex(0);  // right: filled if the kind allows
      QVERIFY2(page->Conversion()->FillCombo()->isEnabled() == c.fill, at);
    }
  }

  void rangeChecksKeepTheSheetOpen() {
    CQVEditVar v = Var(kSlopeDistance);
    v.SetLength(55);  // above the limit: shown lowered
    CQvPropertySheet sheet(QStringLiteral("x"));
    auto* page = ShowPage(sheet, new CQVExpVarPage(v, Context()));
    QCOMPARE(page->Conversion()->LengthEdit()->text(), QStringLiteral("40"));
    for (const char* bad : {"41", "0", "x"}) {
      sink_.Clear();
      page->Conversion()->LengthEdit()->setText(QString::fromLatin1(bad));
      sheet.accept();
      QVERIFY2(sheet.isVisible(), bad);
      QCOMPARE(sink_.Count(), std::size_t{1});
      QVERIFY(QString::fromStdString(sink_.Last().text).contains(QStringLiteral("40")));
    }
    page->Conversion()->LengthEdit()->setText(QStringLiteral("12"));
    page->Conversion()->PrecisionEdit()->clear();  // a real number needs its precision
    sheet.accept();
    QCOMPARE(v.Length(), 55);  // nothing taken while refused
    page->Conversion()->PrecisionEdit()->setText(QStringLiteral("2"));
    page->Conversion()->AlignCombo()->setCurrentIndex(1);
    QVERIFY(!page->Conversion()->FillCombo()->isEnabled());  // left: never filled
    page->Conversion()->SignCombo()->setCurrentIndex(1);
    sheet.accept();
    QVERIFY(!sheet.isVisible());
    QCOMPARE(v.BuildConversionText(), std::string("%+-12.2f"));
  }

  // --- Input variable page --------------------------------------------------------------------

  void inputPage() {
    CQVEditVar v = Var(kSlopeDistance, CQVEditVar::Direction::kInput);
    CQvPropertySheet sheet(VariableSheetCaption(v.GetDirection()));
    auto* page = ShowPage(sheet, new CQVImpVarPage(v));
    page->Conversion()->LengthEdit()->setText(QStringLiteral("21"));
    sheet.accept();
    QCOMPARE(sink_.Count(), std::size_t{1});
    page->Conversion()->LengthEdit()->setText(QStringLiteral("20"));
    page->Conversion()->SuppressAssignmentCombo()->setCurrentIndex(1);
    page->Conversion()->RepresentationCombo()->setCurrentIndex(1);
    sheet.accept();
    QVERIFY(!sheet.isVisible());
    QCOMPARE(v.BuildConversionText(), std::string("%*20e"));

    CQVEditVar text = Var(kPointNumber, CQVEditVar::Direction::kInput);
    CQVImpVarPage textPage(text);
    textPage.OnInitDialog();
    QVERIFY(!textPage.Conversion()->RepresentationCombo()->isEnabled());
  }

  // --- Flags page -----------------------------------------------------------------------------

  void flagsOfOneVariable() {
    const auto& flags = profile_->Flags().Items();
    CQVEditVar real = Var(kSlopeDistance);
    CQVVariableFlagsPage page(real);
    page.OnInitDialog();
    QCOMPARE(page.List()->RowCount(), 4);
    for (int r = 0; r < 4; ++r)
      QCOMPARE(page.List()->IsChecked(r), flags[static_cast<std::size_t>(r)].value == 1);
    std::string after;
    page.List()->SelectStateIcon(0, false);
    page.List()->SelectStateIcon(1, true);
    page.List()->SelectStateIcon(2, true);
    // Flags 2, 3 and 4 make mask 14, which the flag digit cannot hold: taken back at once.
    page.List()->SelectStateIcon(3, true);
    QVERIFY(!page.List()->IsChecked(3));
    QCOMPARE(sink_.Count(), std::size_t{1});
    QVERIFY(page.OnApply());
    QVERIFY(real.BuildReference(after));
    QCOMPARE(after[0], '6');                                       // flags 2 and 3: bits 1, 2
    QCOMPARE(profile_->Flags().Items()[0].value, flags[0].value);  // the profile is untouched

    // Flags for real numbers only are not offered to a text variable.
    CQVEditVar text = Var(kPointNumber);
    CQVVariableFlagsPage textPage(text);
    textPage.OnInitDialog();
    QCOMPARE(textPage.List()->RowCount(), 1);
  }

  // --- The sheet on a field -------------------------------------------------------------------

  void sheetOnAFieldCancelledOrConfirmed() {
    QVERIFY(e_->Select(11012001));
    CQVViewEdit* edit = e_->Edit();
    const std::string before = edit->StoredText();
    auto found = OnNextModal<CQvPropertySheet>([](CQvPropertySheet* sheet) {
      LengthEdit(sheet)->setText(QStringLiteral("3"));
      sheet->reject();
    });
    emit edit->fieldActivated(1);
    QVERIFY(*found);
    QCOMPARE(edit->StoredText(), before);
    int pages = 0;
    found = OnNextModal<CQvPropertySheet>([&](CQvPropertySheet* sheet) {
      pages = sheet->PageCount();
      LengthEdit(sheet)->setText(QStringLiteral("20"));
      sheet->accept();
    });
    emit edit->fieldActivated(1);
    QVERIFY(*found);
    QCOMPARE(pages, 2);
    QVERIFY(QByteArray::fromStdString(edit->StoredText()).contains("%20.3lf"));
    QVERIFY(e_->Doc()->IsModified());
  }
};

QUARVEL_APP_TEST_MAIN(VariableSheetTest)

#include "variable_sheet_test.moc"
