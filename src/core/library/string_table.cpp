#include "string_table.h"

#include <algorithm>
#include <cstdlib>

namespace frt {
namespace {

// Sorted by id (checked at compile time). Texts are byte for byte the system's own; the entries
// of a command id (32788, 32794, 32795) are its status prompt, not its menu text.
constexpr StringTableEntry kTable[] = {
    {1, "加载"},
    {2, "(S)保存"},
    {3, "此格式串的名称已存在，您要覆盖吗？"},
    {4, "从池中删除字串时出错。"},
    {6, "名称无效，池中无对应的格式字串。"},
    {7, "从池中删除格式字串。"},
    {8, "加载格式字串编辑。"},
    {9, "保存格式字串。"},
    {10, "显示字串属性"},
    {11, "关闭对话框"},
    {12, "符合选择条件的所有字串"},
    {13, "输入格式字串名。"},
    {14, "选择的数据块类型"},
    {15, "当前格式模板"},
    {16, "Really remove the string "},
    {17, "输出格式字串"},
    {18, "输入格式字串"},
    {19, "选择的数据块类型不对应。如继续处理，可能会丢失数据。继续吗？"},
    {20, "Quarvel中文版 1.0"},
    {23, "Quarvel ---- Data export sample --- Generated: "},
    {24, "打印的文档:"},
    {25, "Page : "},
    {500, "表头"},
    {501, "总体情况"},
    {502, "软件"},
    {503, "块"},
    {505, "文件头"},
    {506, "文件尾"},
    {507, "输入格式串"},
    {508, "输出格式字串"},
    {509, "输入格式串"},
    {510, "输出格式字串"},
    {511, "限制"},
    {512, "文件头"},
    {513, "插入输入变量 ..."},
    {514, "插入输出变量..."},
    {515, "默认输出字串"},
    {516, "右,左"},
    {517, "正常,格式exp. Basis e,格式exp. Basis E"},
    {518, "0,空格"},
    {519, "否,是"},
    {520, "正常,格式exp. Basis e,格式exp. Basis E"},
    {521, "否,是"},
    {522, "只有负,总是"},
    {523, "设置"},
    {524, "变量的默认设置"},
    {526, "通用头"},
    {527, "输出变量的格式选项"},
    {900, "出错信息"},
    {901, "警告信息"},
    {1010, "启动失败, 找不到初始化数据 !"},
    {1102, "格式字串太长 !"},
    {1104, "错误写入 QV.ini文件。"},
    {1105, "QV.ini无单位错误:"},
    {1106, "qv.ini含重复的单位项"},
    {1107, "Format Error:\nMaximal number of variables exceeded. "},
    {1108, "格式错误:\n格式字串没分配应用软件。\n 请在存储之前分配应用软件。"},
    {1110, "空格式字串不能存入池中。"},
    {1111, "不能创建字串池管理器, \n 字串池无效。可能是由于内存不足。"},
    {1112, "*** 没模板 ***"},
    {1113, "不能保存格式文件.\n 错误:  %s 在 (行:%s)"},
    {1114, "不能加载格式文件.\n分析结果: %s\n错误在行: %s"},
    {1115, "加载错误:对选定的格式类型，文件超过 \n允许的格式字串数 !"},
    {1116, "内存溢出 ! \n加载多于允许的格式字串数"},
    {1117, "格式字串有错 !"},
    {1118, "确认。"},
    {1119, "未定义错误。"},
    {1120, "内存溢出。"},
    {1121, "对象没找到。"},
    {1122, "文件没找到。"},
    {1123, "库未初始化失败。"},
    {1124, "库未初始化。"},
    {1125, "未实现此功能，请求支持！"},
    {1126, "名无效。"},
    {1127, "无效数据。"},
    {1128, "数据被截"},
    {1129, "未知数据类型"},
    {1130, "调用类型错！"},
    {1131, "另指针！"},
    {1132, "无效的逻辑表达式"},
    {1133, "文件不正确（头）"},
    {1134, "不能关闭文件。"},
    {1135, "文件仍然打开着"},
    {1136, "到达文件尾"},
    {1137, "无效的格式文件！"},
    {1138, "对本仪器此格式文件无效。"},
    {1139, "不能保存格式文件！"},
    {1140, "文件已存在！"},
    {1141, "保存格式字串到旧的格式文件"},
    {1142, "输入数据不完整。"},
    {1143, "发现重复定义对象，对象必须唯一。"},
    {1144, "内部缓冲溢出。"},
    {1145, "输入不匹配。"},
    {1146, "文件加载错误。"},
    {1147, "内部致命错误，请咨询！"},
    {1148, "未定义错误 (请咨询！)"},
    {1149, "此格式字串作用于其他仪器.\n\n一些变量对当前选定的仪器无效。, \n 字串不能 加载。"},
    {1150, "您要替换正在编辑的字串吗？"},
    {1201, "无效的格式文件。\n仪器名无效。"},
    {1202, "无效的格式文件。\n模板名无效。"},
    {1203, "无效的格式文件。\n版本或文件类型无效。"},
    {1205, "无效的格式文件。\n有无效的单位在代码:"},
    {1206, "无效的格式文件。\n有无效的格式字串于行:"},
    {1207, "无效的格式文件。\n有无效的数据块类型在行:"},
    {1208, "无效的格式文件。\n有无效的代码在行:"},
    {1209, "无效的格式文件。\n超过数据块格式字串数的上限在行:"},
    {1210, "无效的格式文件。\n格式字串的长度超限在行:"},
    {1211, "无效的格式文件。\n格式字串的变量数超限在行:"},
    {1212, "无效的格式文件。\n格式字串有无效变量。"},
    {1213, "无效的格式文件。\n无效变量格式在行:"},
    {1214, "无效的格式文件。\n无效或重复的软件ID号在行:"},
    {1215, "无效的格式文件。\n错误的软件号 \n在行:"},
    {1216, "无效的格式文件。\n多重头格式字串在行:"},
    {1250, "无效的浮点数"},
    {1251, "不能加载字串池。"},
    {1252, "\"ComCtl32.Dll V%d.%d found.\n\nUpdate to V4.71 or higher,\nexecute 40comupd.exe.\""},
    {1253, "输出格式"},
    {1254, "输入格式"},
    {1255, "输入/输出格式 format"},
    {1256, "Unknown"},
    {1257, "当前格式"},
    {1260,
     "文件的文本不是有效的 GBK 编码, 而像是 UTF-8 编码。\n"
     "中文会显示成乱码; 请以 GBK 编码保存此文件。"},
    {32788, "格式文件数据预览\n预览"},
    {32794, "从字串池中加载格式字串"},
    {32795, "保存格式字串到字串池"},
    {57344, "Quarvel"},
    {59137, "CAP"},
    {59138, "NUM"},
    {59139, "SCRL"},
    {61446, "没选择类别"},
};

// 32796 reads "分配软件" in the menu bar and "分配软件..." in the tree's context menu.
constexpr StringTableEntry kMenus[] = {
    {32788, "输出预览..."},      {32794, "加载"},    {32795, "(&S)保存"},
    {32796, "分配软件"},         {32808, "&默认"},   {32809, "格式"},
    {32822, "清除字串"},         {32823, "属性"},    {57600, "(&N)新文件\tStrg+N"},
    {57603, "(&S)保存\tStrg+S"}, {57604, "另存为…"}, {57607, "打印"},
    {57664, "说明..."},
};

static_assert(detail::IsSortedTable(kTable),
              "the string table must be sorted by id without duplicates");
static_assert(detail::IsSortedTable(kMenus),
              "the menu table must be sorted by id without duplicates");

const StringTableEntry* Find(std::span<const StringTableEntry> t, int id) {
  auto it = std::lower_bound(t.begin(), t.end(), id,
                             [](const StringTableEntry& e, int key) { return e.id < key; });
  return it != t.end() && it->id == id ? &*it : nullptr;
}

// Codes the table has no entry for; the loader reports 31 and 32 as 28 anyway.
constexpr const char* kNoDefaultStringText = "没有默认输出字串。";

Language g_language = Language::kChinese;

// The first entry of LANGUAGE's colon list.
std::string_view FirstEntry(std::string_view list) {
  return list.substr(0, list.find(':'));
}

}  // namespace

void SetLanguage(Language language) {
  g_language = language;
}

Language CurrentLanguage() {
  return g_language;
}

Language LanguageFromEnvironment(const LocaleEnvironment& env) {
  const std::string_view language = env.language ? FirstEntry(env.language) : std::string_view();
  for (std::string_view value : {language, std::string_view(env.lcAll ? env.lcAll : ""),
                                 std::string_view(env.lcMessages ? env.lcMessages : ""),
                                 std::string_view(env.lang ? env.lang : "")}) {
    if (value.empty()) continue;
    return value.starts_with("en") ? Language::kEnglish : Language::kChinese;
  }
  return Language::kChinese;
}

Language EnvironmentLanguage() {
  return LanguageFromEnvironment({std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                                  std::getenv("LC_MESSAGES"), std::getenv("LANG")});
}

std::optional<Language> ParseLanguage(std::string_view name) {
  if (name == "en") return Language::kEnglish;
  if (name == "zh") return Language::kChinese;
  return std::nullopt;
}

std::span<const StringTableEntry> StringTable(Language language) {
  if (language == Language::kEnglish) return detail::EnglishTable();
  return kTable;
}

std::span<const StringTableEntry> StringTable() {
  return StringTable(g_language);
}

const char* LoadText(int id, Language language) {
  const StringTableEntry* e = Find(StringTable(language), id);
  return e ? e->text : "";
}

const char* LoadText(int id) {
  return LoadText(id, g_language);
}

bool HasText(int id) {
  return Find(kTable, id) != nullptr;
}

const char* ResultText(Result code) {
  if (code <= kMissingUnits) return LoadText(kIdResultTextBase + static_cast<int>(code));
  if (code == kMissingScales || code == kMissingDefaults)
    return LoadText(kIdResultTextBase + static_cast<int>(kLoadError));
  if (code == kNoDefaultString)
    return g_language == Language::kEnglish ? detail::kEnglishNoDefaultStringText
                                            : kNoDefaultStringText;
  return LoadText(kIdResultTextBase + static_cast<int>(kMissingUnits));
}

std::vector<std::string> SplitList(std::string_view list) {
  std::vector<std::string> parts;
  if (list.empty()) return parts;
  for (;;) {
    std::size_t comma = list.find(',');
    parts.emplace_back(list.substr(0, comma));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return parts;
}

std::vector<std::string> ListItems(int id) {
  return SplitList(LoadText(id));
}

std::span<const StringTableEntry> MenuTable(Language language) {
  if (language == Language::kEnglish) return detail::EnglishMenus();
  return kMenus;
}

std::span<const StringTableEntry> MenuTable() {
  return MenuTable(g_language);
}

const char* MenuText(int commandId) {
  const StringTableEntry* e = Find(MenuTable(), commandId);
  return e ? e->text : "";
}

}  // namespace frt
