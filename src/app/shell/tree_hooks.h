#pragma once
// The tree's commands whose dialogs live in other folders. The application object owns one set
// and every tree calls through it; an empty hook makes the command do nothing.
#include <cstdint>
#include <functional>

#include "document/doc_format.h"

class CCataloguePoolLookup;
class CMainFrame;
class CQVViewTree;

struct CQVTreeHooks {
  // "分配软件": the application assignment dialog for the selected item's datum and the kind
  // base 11000000; true after "OK".
  std::function<bool(CQVViewTree&, std::int32_t datum, std::int32_t kindBase)> assignApplications;
  // "加载" / "(&S)保存": the string pool dialogs for the selected string item's ID.
  std::function<void(CQVViewTree&, std::int32_t id)> poolLoad;
  std::function<void(CQVViewTree&, std::int32_t id)> poolSave;
  // "格式": the sheet "设置" (scales, units, default values); true after "OK".
  std::function<bool(CQVViewTree&)> formatSettings;
  // "&默认": the sheet "变量的默认设置" (output defaults, flags).
  std::function<void(CQVViewTree&)> defaultSettings;
  // "数据试验...": the format's data workbench window.
  std::function<void(CQVViewTree&)> dataWorkbench;
};

// What the application gives a format document and its tree: the document context (catalogue,
// profile, renderer), the variable pool as the editor looks it up, the dialog commands and the
// main window. Nothing is owned; the application outlives every document.
struct CQVDocServices {
  CDocContext context;
  const CCataloguePoolLookup* poolLookup = nullptr;
  CQVTreeHooks* hooks = nullptr;
  CMainFrame* mainFrame = nullptr;
};
