#include "qv_view_pre.h"

#include <QKeyEvent>

#include "library/text_encoding.h"

CQVViewPre::CQVViewPre(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("samplePane"));
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font;
  font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono"),
                    QStringLiteral("WenQuanYi Micro Hei Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(10);
  setFont(font);
}

void CQVViewPre::SetText(const QString& text) {
  setPlainText(text);
  document()->setModified(false);
}

void CQVViewPre::SetSample(std::string_view gbk) {
  SetText(QString::fromStdString(frt::GbkToUtf8Lossless(gbk)));
}

void CQVViewPre::keyPressEvent(QKeyEvent* event) {
  // The pane is read-only; X never reaches the control, so there is no cutting from it.
  if (event->key() == Qt::Key_X) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}
