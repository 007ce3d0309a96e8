#pragma once
#include <string>

#include "catalogue/ft_base.h"

class CIniReader;

// One application (on-board program) of a template: keys Id and Header of the section
// T + "_Application_" + item.
class CFTAppl : public CFTBase {
 public:
  // The parent (the template) numbers the element; the reader holds the template file.
  CFTAppl(CFTBase* parent, CIniReader& reader, std::string section, std::string item);

  int Read() override;
  int ReadEntries() override;

  const std::string& Item() const { return item_; }
  long Number() const { return number_; }
  // More than 0: the application has a header string of at most this length.
  long HeaderLength() const { return headerLength_; }
  const std::string& Section() const { return section_; }

 private:
  CIniReader* reader_;
  std::string item_;
  long number_ = 0;
  long headerLength_ = 0;
  std::string section_;
};
