<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CAboutDialog</name>
    <message>
        <source>说明 </source>
        <translation>About </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CAssignApplicationsDialog</name>
    <message>
        <source>配置应用软件</source>
        <translation>Assign applications</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>数据块--类型:</source>
        <translation>Data block type:</translation>
    </message>
    <message>
        <source>格式串:</source>
        <translation>Format string:</translation>
    </message>
    <message>
        <source>可选应用软件</source>
        <translation>Available applications</translation>
    </message>
    <message>
        <source>分配给此格式串</source>
        <translation>Assigned to this format string</translation>
    </message>
</context>
<context>
    <name>CChildFrame</name>
    <message>
        <source>Orvanti测量系统</source>
        <translation>Orvanti Surveying Systems</translation>
    </message>
</context>
<context>
    <name>CDialogEx</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CFormatPropertiesDlg</name>
    <message>
        <source>名称：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>作者：</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>公司：</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>创建日期：</source>
        <translation>Created:</translation>
    </message>
    <message>
        <source>仪器类型：</source>
        <translation>Instrument:</translation>
    </message>
    <message>
        <source>格式类型：</source>
        <translation>Format type:</translation>
    </message>
    <message>
        <source>请输入不超过 %1 个字符。</source>
        <translation>Enter at most %1 characters.</translation>
    </message>
    <message>
        <source>说明：</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>属性 -</source>
        <translation>Properties -</translation>
    </message>
</context>
<context>
    <name>CFormatUnitsPage</name>
    <message>
        <source>角度单位:</source>
        <translation>Angle unit:</translation>
    </message>
    <message>
        <source>长度单位:</source>
        <translation>Length unit:</translation>
    </message>
    <message>
        <source>温度单位:</source>
        <translation>Temperature unit:</translation>
    </message>
    <message>
        <source>压力单位:</source>
        <translation>Pressure unit:</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Units</translation>
    </message>
    <message>
        <source>使用仪器单位</source>
        <translation>Use the instrument units</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>(&amp;O)打开...	Strg+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>(&amp;C)关闭</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>打印设置...</source>
        <translation>Print setup...</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print preview</translation>
    </message>
    <message>
        <source>(&amp;X)退出</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>(&amp;T)工具栏</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>(&amp;S)状态栏</source>
        <translation>&amp;Status bar</translation>
    </message>
    <message>
        <source>层叠窗口</source>
        <translation>Cascade windows</translation>
    </message>
    <message>
        <source>平铺窗口</source>
        <translation>Tile windows</translation>
    </message>
    <message>
        <source>排列图标</source>
        <translation>Arrange icons</translation>
    </message>
    <message>
        <source>(&amp;V)视图</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>(&amp;W)窗口</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>(&amp;H)帮助</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>(&amp;F)文件</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>(&amp;M)格式</source>
        <translation>For&amp;mat</translation>
    </message>
    <message>
        <source>字串池</source>
        <translation>String pool</translation>
    </message>
    <message>
        <source>(&amp;O)选项</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source> 格式文件  (*.frt)</source>
        <translation> Format files  (*.frt)</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>(&amp;L)语言 / Language</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>语言的选择在下次启动时生效。</source>
        <translation>The language you chose takes effect on the next start.</translation>
    </message>
    <message>
        <source>(&amp;M)使用手册</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>数据试验...</source>
        <translation>Data workbench...</translation>
    </message>
    <message>
        <source>(&amp;U)撤销</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>(&amp;R)重做</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>(&amp;E)编辑</source>
        <translation>&amp;Edit</translation>
    </message>
</context>
<context>
    <name>CQVApp</name>
    <message>
        <source>option --%1 needs a directory</source>
        <translation>option --%1 needs a directory</translation>
    </message>
    <message>
        <source>option --lang takes en or zh</source>
        <translation>option --lang takes en or zh</translation>
    </message>
    <message>
        <source>Usage: quarvel [OPTION]... [FILE]
The editor of format files. Starts with no document, or with FILE open.

  --app-dir DIR     the per-user folder (Global/QV.ini, pool.dat, Format)
  --shared-dir DIR  the shared data folder (Templates/Quarvel/QV.tpl)
  --lang en|zh      the language of the windows; without it the one chosen in the
                    options menu, else the environment&apos;s (LANGUAGE, LC_ALL,
                    LC_MESSAGES, LANG)
  -h, --help        print this help and exit
      --version     print the version and exit

An option&apos;s value may also follow an equals sign: --app-dir=DIR.
</source>
        <translation>Usage: quarvel [OPTION]... [FILE]
The editor of format files. Starts with no document, or with FILE open.

  --app-dir DIR     the per-user folder (Global/QV.ini, pool.dat, Format)
  --shared-dir DIR  the shared data folder (Templates/Quarvel/QV.tpl)
  --lang en|zh      the language of the windows; without it the one chosen in the
                    options menu, else the environment&apos;s (LANGUAGE, LC_ALL,
                    LC_MESSAGES, LANG)
  -h, --help        print this help and exit
      --version     print the version and exit

An option&apos;s value may also follow an equals sign: --app-dir=DIR.
</translation>
    </message>
</context>
<context>
    <name>CQVConversionBox</name>
    <message>
        <source>请输入一个介于 %1 和 %2 之间的整数。</source>
        <translation>Enter a whole number between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CQVConversionDefaultsPage</name>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
</context>
<context>
    <name>CQVDoc</name>
    <message>
        <source>另存为</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>是否保存对 %1 的更改？</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CQVExpVarPage</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>变量：</source>
        <translation>Variable:</translation>
    </message>
    <message>
        <source>使用仪器单位</source>
        <translation>Use the instrument units</translation>
    </message>
    <message>
        <source>该变量无量纲或不能改变！</source>
        <translation>This variable has no unit, or its unit cannot be changed!</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Units</translation>
    </message>
</context>
<context>
    <name>CQVHelpKey</name>
    <message>
        <source>找不到使用手册。</source>
        <translation>The manual was not found.</translation>
    </message>
</context>
<context>
    <name>CQVHelpWindow</name>
    <message>
        <source>Quarvel 使用手册</source>
        <translation>Quarvel manual</translation>
    </message>
</context>
<context>
    <name>CQVImpVarPage</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>变量：</source>
        <translation>Variable:</translation>
    </message>
</context>
<context>
    <name>CQVInputConversionBox</name>
    <message>
        <source>限制分配：</source>
        <translation>Limit assignment:</translation>
    </message>
    <message>
        <source>表达式：</source>
        <translation>Representation:</translation>
    </message>
    <message>
        <source>长度：</source>
        <translation>Length:</translation>
    </message>
</context>
<context>
    <name>CQVInsertVarDlg</name>
    <message>
        <source>数据块--类型</source>
        <translation>Data block type</translation>
    </message>
    <message>
        <source>可选变量</source>
        <translation>Available variables</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
</context>
<context>
    <name>CQVOutputConversionBox</name>
    <message>
        <source>排列：</source>
        <translation>Alignment:</translation>
    </message>
    <message>
        <source>表达式：</source>
        <translation>Representation:</translation>
    </message>
    <message>
        <source>符号：</source>
        <translation>Sign:</translation>
    </message>
    <message>
        <source>填充符：</source>
        <translation>Fill character:</translation>
    </message>
    <message>
        <source>可选格式：</source>
        <translation>Alternate format:</translation>
    </message>
    <message>
        <source>长度：</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>精度：</source>
        <translation>Precision:</translation>
    </message>
</context>
<context>
    <name>CQVTextSettingsPage</name>
    <message>
        <source>角度比例：</source>
        <translation>Angle scale:</translation>
    </message>
    <message>
        <source>长度比例：</source>
        <translation>Length scale:</translation>
    </message>
    <message>
        <source>温度比例：</source>
        <translation>Temperature scale:</translation>
    </message>
    <message>
        <source>压力比例：</source>
        <translation>Pressure scale:</translation>
    </message>
    <message>
        <source>浮点数默认值：</source>
        <translation>Default real number:</translation>
    </message>
    <message>
        <source>整数默认值：</source>
        <translation>Default integer:</translation>
    </message>
    <message>
        <source>字符串默认值：</source>
        <translation>Default text:</translation>
    </message>
    <message>
        <source>比例因子</source>
        <translation>Scale factors</translation>
    </message>
    <message>
        <source>默认值</source>
        <translation>Default values</translation>
    </message>
    <message>
        <source>请输入一个介于 %1 和 %2 之间的数。</source>
        <translation>Enter a number between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CQVVariableFlagsPage</name>
    <message>
        <source>标志</source>
        <translation>Flags</translation>
    </message>
    <message>
        <source>这些标志的组合不能存入变量的引用 (一位数字只能存放 0 到 9)。标志保持原样。</source>
        <translation>This combination of flags cannot be stored in the variable reference (one digit holds 0 to 9 only). The flags stay as they were.</translation>
    </message>
</context>
<context>
    <name>CQVViewEdit</name>
    <message>
        <source>不能再插入变量:
这个格式字串的变量已达到最大数目。
</source>
        <translation>No more variables can be inserted:
this format string has the maximum number of variables.
</translation>
    </message>
</context>
<context>
    <name>CQVViewTree</name>
    <message>
        <source>分配软件...</source>
        <translation>Assign applications...</translation>
    </message>
    <message>
        <source>菜单树视</source>
        <translation>Tree menu</translation>
    </message>
    <message>
        <source>字串池</source>
        <translation>String pool</translation>
    </message>
    <message>
        <source>数据试验...</source>
        <translation>Data workbench...</translation>
    </message>
    <message>
        <source>键入</source>
        <translation>Typing</translation>
    </message>
    <message>
        <source>插入变量</source>
        <translation>Insert variable</translation>
    </message>
    <message>
        <source>变量设置</source>
        <translation>Variable settings</translation>
    </message>
    <message>
        <source>清除字串</source>
        <translation>Clear string</translation>
    </message>
    <message>
        <source>分配软件</source>
        <translation>Assign applications</translation>
    </message>
    <message>
        <source>从字串池加载</source>
        <translation>Load from the string pool</translation>
    </message>
    <message>
        <source>格式设置</source>
        <translation>Format settings</translation>
    </message>
    <message>
        <source>默认设置</source>
        <translation>Default settings</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Properties</translation>
    </message>
</context>
<context>
    <name>CQvFlagsReportView</name>
    <message>
        <source>标志</source>
        <translation>Flags</translation>
    </message>
</context>
<context>
    <name>CQvPropertySheet</name>
    <message>
        <source>输入变量的格式选项</source>
        <translation>Format options of the input variable</translation>
    </message>
</context>
<context>
    <name>CStringPoolDialog</name>
    <message>
        <source>格式串池 - </source>
        <translation>Format string pool - </translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>(&amp;C)关闭</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>模板：</source>
        <translation>Template:</translation>
    </message>
    <message>
        <source>数据块类型：</source>
        <translation>Data block type:</translation>
    </message>
    <message>
        <source>格式串池内容</source>
        <translation>Contents of the string pool</translation>
    </message>
    <message>
        <source>字串名：</source>
        <translation>String name:</translation>
    </message>
    <message>
        <source>池中的字串：</source>
        <translation>Strings in the pool:</translation>
    </message>
    <message>
        <source>字串长：</source>
        <translation>String length:</translation>
    </message>
    <message>
        <source>无变量的：</source>
        <translation>Without variables:</translation>
    </message>
</context>
<context>
    <name>CStringPropertiesDialog</name>
    <message>
        <source>格式串的属性</source>
        <translation>Properties of the format string</translation>
    </message>
    <message>
        <source>名称：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>字串长：</source>
        <translation>String length:</translation>
    </message>
    <message>
        <source>模板：</source>
        <translation>Template:</translation>
    </message>
    <message>
        <source>数据块类型：</source>
        <translation>Data block type:</translation>
    </message>
    <message>
        <source>创建日期：</source>
        <translation>Created:</translation>
    </message>
    <message>
        <source>作者：</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>说明：</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CWbExportPane</name>
    <message>
        <source>打开记录文件…</source>
        <translation>Open records file…</translation>
    </message>
    <message>
        <source>取导入页的记录</source>
        <translation>Take the import tab&apos;s records</translation>
    </message>
    <message>
        <source>保存输出…</source>
        <translation>Save output…</translation>
    </message>
    <message>
        <source>应用程序:</source>
        <translation>Application:</translation>
    </message>
    <message>
        <source>无法读取 %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>第 %1 行: %2</source>
        <translation>Row %1: %2</translation>
    </message>
    <message>
        <source>%1: %2 条记录</source>
        <translation>%1: %2 records</translation>
    </message>
    <message>
        <source>只显示前 %1 条记录; 保存时输出全部 %2 条</source>
        <translation>Showing the first %1 records only; saving writes all %2</translation>
    </message>
    <message>
        <source>无法写入 %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>打开记录文件</source>
        <translation>Open records file</translation>
    </message>
    <message>
        <source>记录文件 (*.csv);;所有文件 (*)</source>
        <translation>Records files (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>保存输出</source>
        <translation>Save output</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>CWbImportModel</name>
    <message>
        <source>无匹配</source>
        <translation>No match</translation>
    </message>
    <message>
        <source>块 %1 [%2]</source>
        <translation>Block %1 [%2]</translation>
    </message>
    <message>
        <source>读入 &quot;%1&quot; (%%2)</source>
        <translation>Read &quot;%1&quot; (%%2)</translation>
    </message>
    <message>
        <source>第 %1 列: %2</source>
        <translation>Column %1: %2</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>匹配字串</source>
        <translation>Matched string</translation>
    </message>
</context>
<context>
    <name>CWbImportPane</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>打开数据文件…</source>
        <translation>Open data file…</translation>
    </message>
    <message>
        <source>记录送往导出</source>
        <translation>Send records to export</translation>
    </message>
    <message>
        <source>把匹配的行作为记录交给导出页</source>
        <translation>Hand the matched lines to the export tab as records</translation>
    </message>
    <message>
        <source>打开数据文件</source>
        <translation>Open data file</translation>
    </message>
    <message>
        <source>数据文件 (*.txt *.dat *.raw *.csv);;所有文件 (*)</source>
        <translation>Data files (*.txt *.dat *.raw *.csv);;All files (*)</translation>
    </message>
    <message>
        <source>无法读取 %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>读取已取消</source>
        <translation>Reading cancelled</translation>
    </message>
    <message>
        <source>格式没有导入字串: 没有行能匹配</source>
        <translation>The format has no import strings: no line can match</translation>
    </message>
    <message>
        <source>%1 行, 已扫描 %2: 匹配 %3, 无匹配 %4</source>
        <translation>%1 lines, %2 scanned: %3 matched, %4 without a match</translation>
    </message>
</context>
<context>
    <name>CWorkbenchWindow</name>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导入页</source>
        <translation>import tab</translation>
    </message>
    <message>
        <source>数据试验 - %1</source>
        <translation>Data workbench - %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>有效</source>
        <translation>Scope</translation>
    </message>
    <message>
        <source>作用于每一格式</source>
        <translation>Apply to every format</translation>
    </message>
</context>
</TS>
