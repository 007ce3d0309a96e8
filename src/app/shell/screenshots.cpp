#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "editor/qv_view_edit.h"
#include "library/text_encoding.h"
#include "profile/qv_profile.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qv_app.h"
#include "uilib/dialog_ex.h"

namespace {

void Settle() {
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

bool Save(QWidget* w, const QDir& dir, const QString& name) {
  Settle();
  return w->grab().save(dir.filePath(name));
}

// A few pool variables for the sample string (GBK names, as a template holds them).
CQVPoolTable SamplePool() {
  CQVPoolTable pool;
  pool.Add({11, 11, 0, frt::Utf8ToGbk("点号")});
  pool.Add({81, 8, 2, frt::Utf8ToGbk("东坐标")});
  pool.Add({82, 8, 2, frt::Utf8ToGbk("北坐标")});
  pool.Add({83, 8, 2, frt::Utf8ToGbk("高程")});
  return pool;
}

}  // namespace

int TakeScreenshots(CQVApp& app, const QString& directory) {
  CMainFrame* frame = app.MainFrame();
  if (!frame || !app.Profile()) return 1;
  QDir dir(directory);
  if (!dir.mkpath(QStringLiteral("."))) return 1;
  frame->resize(1100, 720);
  frame->show();
  bool ok = Save(frame, dir, QStringLiteral("main-window.png"));

  static const CQVPoolTable pool = SamplePool();
  auto* child = new CChildFrame;
  child->setWindowTitle(QStringLiteral("Noname1"));
  child->Editor()->SetContext(CQVEditContext::FromProfile(*app.Profile(), pool));

  // A tree and a preview in the shape the document integration will give them.
  auto* tree = new QTreeWidget;
  tree->setHeaderHidden(true);
  auto* header = new QTreeWidgetItem(tree, {QStringLiteral("表头")});
  new QTreeWidgetItem(header, {QStringLiteral("总体情况")});
  auto* output = new QTreeWidgetItem(tree, {QStringLiteral("输出格式字串")});
  auto* block = new QTreeWidgetItem(output, {QStringLiteral("Measurement")});
  auto* s1 = new QTreeWidgetItem(block, {QStringLiteral("输出格式字串 1")});
  s1->setIcon(0, QIcon(QStringLiteral(":/icons/mark_appl.png")));
  auto* s2 = new QTreeWidgetItem(block, {QStringLiteral("输出格式字串 2")});
  s2->setIcon(0, QIcon(QStringLiteral(":/icons/mark_text.png")));
  auto* s3 = new QTreeWidgetItem(block, {QStringLiteral("输出格式字串 3")});
  s3->setIcon(0, QIcon(QStringLiteral(":/icons/mark_empty.png")));
  tree->expandAll();
  tree->setCurrentItem(s1);
  child->SetTreeView(tree);
  auto* preview = new QPlainTextEdit;
  preview->setReadOnly(true);
  preview->setPlainText(QStringLiteral("PT 1001\tE=  4500123.456  N=  5300987.654 H=412.3 100%"));
  child->SetPreviewPane(preview);
  child->SetStatusText(QStringLiteral("Kite_Basic"));

  const auto dirOut = CQVEditVar::Direction::kOutput;
  std::string text = frt::Utf8ToGbk("PT ");
  std::string refs;
  for (int code : {11, 81, 82, 83}) {
    CQVEditVar v(*app.Profile(), pool, code, dirOut);
    refs += v.BuildReference();
    if (code == 81) text += "\tE=";
    if (code == 82) text += "  N=";
    if (code == 83) text += " H=";
    text += v.BuildConversionText();
  }
  text += " 100%%\n" + frt::Utf8ToGbk("检查 \\\\ 结束");
  child->Editor()->ShowString(11001001, CQVViewEdit::kKindOutput, text, refs, "001", 200, 10);
  child->Editor()->setEnabled(true);
  QMdiSubWindow* sub = frame->AddFormatFrame(child);
  sub->resize(900, 520);
  child->Editor()->setFocus();
  ok = Save(frame, dir, QStringLiteral("main-window-format.png")) && ok;
  ok = Save(child->Editor(), dir, QStringLiteral("editor-fields.png")) && ok;

  CAboutDialog about(frame);
  about.show();
  ok = Save(&about, dir, QStringLiteral("about.png")) && ok;
  about.hide();
  return ok ? 0 : 1;
}
