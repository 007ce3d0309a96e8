#pragma once
// The message sink of the desktop editor: every message of the core becomes a message box.
#include <QString>

#include "library/error_message.h"

class QWidget;

class CQtMessageSink : public CMessageSink {
 public:
  // Boxes are parented to the active window (or `fallbackParent` when none is active).
  explicit CQtMessageSink(QWidget* fallbackParent = nullptr) : fallbackParent_(fallbackParent) {}

  void Show(const CMessage& message) override;
  bool Ask(const CMessage& question) override;

  void SetFallbackParent(QWidget* parent) { fallbackParent_ = parent; }

  // The caption a message gets: the texts of 900/901 for errors and warnings, the application's
  // title for plain boxes and questions.
  static QString CaptionOf(const CMessage& message);

 private:
  QWidget* Parent() const;

  QWidget* fallbackParent_;
};
