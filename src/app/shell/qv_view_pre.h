#pragma once
// The small pane under the format-string editor: the sample output of the string being edited.
#include <QPlainTextEdit>
#include <string_view>

class CQVViewPre : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit CQVViewPre(QWidget* parent = nullptr);

  // Replaces the whole text.
  void SetText(const QString& text);
  // The same for rendered output (GBK bytes).
  void SetSample(std::string_view gbk);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
