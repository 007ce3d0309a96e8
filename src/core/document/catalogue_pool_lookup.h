#pragma once
#include <unordered_map>

#include "settings/qv_edit_var.h"

class CFormatTemplateManager;

// The catalogue's variable pool as the variable editor sees it. The pool does not change after
// the catalogue is read, so the table is built once.
class CCataloguePoolLookup : public CQVPoolLookup {
 public:
  explicit CCataloguePoolLookup(const CFormatTemplateManager& catalogue);
  const CQVPoolInfo* Find(int code) const override;

 private:
  std::unordered_map<int, CQVPoolInfo> byCode_;
};
