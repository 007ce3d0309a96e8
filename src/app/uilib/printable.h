#pragma once
// What a preview window needs of its content: printing.
class QPrinter;

class CQVPrintable {
 public:
  virtual ~CQVPrintable() = default;
  virtual void PrintTo(QPrinter& printer) = 0;
};
