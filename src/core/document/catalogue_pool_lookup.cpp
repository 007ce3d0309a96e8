#include "document/catalogue_pool_lookup.h"

#include "catalogue/format_template_manager.h"

CCataloguePoolLookup::CCataloguePoolLookup(const CFormatTemplateManager& catalogue) {
  byCode_.reserve(catalogue.PoolVariables().size());
  for (const auto& v : catalogue.PoolVariables()) {
    CQVPoolInfo info;
    info.code = static_cast<int>(v->Code());
    info.type = static_cast<int>(v->Type());
    info.unitType = static_cast<int>(v->UnitType());
    info.name = v->Name();
    byCode_.emplace(info.code, std::move(info));  // the first variable of a code wins
  }
}

const CQVPoolInfo* CCataloguePoolLookup::Find(int code) const {
  auto it = byCode_.find(code);
  return it == byCode_.end() ? nullptr : &it->second;
}
