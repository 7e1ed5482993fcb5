<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Drovanel</name>
    <message>
        <source>Drovanel 1.0</source>
        <translation>Drovanel 1.0 资源编辑器</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>AddNewObject</source>
        <translation>添加新对象</translation>
    </message>
    <message>
        <source>AddSubObjectInPart1</source>
        <translation>在 Part1 中添加子对象</translation>
    </message>
    <message>
        <source>AddSubObjectInPart2</source>
        <translation>在 Part2 中添加子对象</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Main</source>
        <translation>主菜单(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;CurrentObject</source>
        <translation>当前对象(&amp;C)</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>路径</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>ModelName</source>
        <translation>模型名</translation>
    </message>
    <message>
        <source>Part1</source>
        <translation>Part1 条目</translation>
    </message>
    <message>
        <source>Part2</source>
        <translation>Part2 条目</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>无法保存 %1：%2</translation>
    </message>
    <message>
        <source>Header</source>
        <translation>文件头</translation>
    </message>
    <message>
        <source>Objects</source>
        <translation>对象</translation>
    </message>
    <message>
        <source>Unknown ObjectType</source>
        <translation>未知的对象类型（ObjectType）</translation>
    </message>
    <message>
        <source>Please select object type inside the tree, and try again.</source>
        <translation>请先在树中选择一个对象类型，然后重试。</translation>
    </message>
    <message>
        <source>The file already holds %1 objects, the most that its header can count. No object was added.</source>
        <translation>文件已有 %1 个对象，达到文件头能记录的上限。没有添加对象。</translation>
    </message>
    <message>
        <source>Please select object ID inside the tree, and try again.</source>
        <translation>请先在树中选择一个对象编号，然后重试。</translation>
    </message>
    <message>
        <source>Editor of the game&apos;s RES files.</source>
        <translation>游戏 RES 文件的编辑器。</translation>
    </message>
    <message>
        <source>The RES file to open.</source>
        <translation>要打开的 RES 文件。</translation>
    </message>
    <message>
        <source>Give at most one file.</source>
        <translation>最多只能指定一个文件。</translation>
    </message>
    <message>
        <source>Drovanel</source>
        <translation>Drovanel</translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>是否保存对 %1 的修改？</translation>
    </message>
    <message>
        <source>%1 has changed on disk since it was opened or last saved. Overwrite it with the open document?</source>
        <translation>%1 在打开或上次保存之后已在磁盘上被修改。是否用当前打开的文档覆盖它？</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>覆盖</translation>
    </message>
</context>
<context>
    <name>JsonImport</name>
    <message>
        <source>a string of hex digits</source>
        <translation>十六进制数字组成的字符串</translation>
    </message>
    <message>
        <source>an integer</source>
        <translation>整数</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>数组</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>对象</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>字符串</translation>
    </message>
    <message>
        <source>the JSON text is not an object.</source>
        <translation>JSON 文本不是一个对象。</translation>
    </message>
    <message>
        <source>more than %1 objects; a RES file holds at most %1.</source>
        <translation>对象多于 %1 个；RES 文件最多容纳 %1 个。</translation>
    </message>
    <message>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true 或 false</translation>
    </message>
    <message>
        <source>a number</source>
        <translation>数字</translation>
    </message>
    <message>
        <source>expected %1, found %2.</source>
        <translation>应为%1，实为%2。</translation>
    </message>
    <message>
        <source>there is no such field.</source>
        <translation>没有这个字段。</translation>
    </message>
    <message>
        <source>the field is given twice.</source>
        <translation>该字段出现了两次。</translation>
    </message>
    <message>
        <source>the field is missing.</source>
        <translation>缺少该字段。</translation>
    </message>
    <message>
        <source>%1 hex digits; the header takes %2.</source>
        <translation>%1 个十六进制数字；文件头需要 %2 个。</translation>
    </message>
    <message>
        <source>%1 is not an integer.</source>
        <translation>%1 不是整数。</translation>
    </message>
    <message>
        <source>%1 is outside the int32 range.</source>
        <translation>%1 超出 int32 的范围。</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a hex digit.</source>
        <translation>“%1”不是十六进制数字。</translation>
    </message>
    <message>
        <source>an odd number of hex digits (%1).</source>
        <translation>十六进制数字的个数为奇数（%1）。</translation>
    </message>
    <message>
        <source>a zero character would end the string there.</source>
        <translation>零字符会使字符串在该处结束。</translation>
    </message>
    <message>
        <source>%1 cannot represent &quot;%2&quot; (U+%3); a text without &quot;encoding&quot; is stored as GB18030.</source>
        <translation>%1 无法表示“%2”（U+%3）；没有“encoding”的文本按 GB18030 存储。</translation>
    </message>
    <message>
        <source>the text takes %1 bytes in %2; at most %3 fit.</source>
        <translation>该文本用 %2 编码需要 %1 个字节；最多只能容纳 %3 个。</translation>
    </message>
    <message>
        <source>the JSON text is not UTF-8 but UTF-16; save it as UTF-8.</source>
        <translation>JSON 文本不是 UTF-8 而是 UTF-16；请另存为 UTF-8。</translation>
    </message>
    <message>
        <source>a zero byte stands in the JSON text</source>
        <translation>JSON 文本中有一个零字节</translation>
    </message>
    <message>
        <source>the JSON text is not UTF-8 here; save it as UTF-8</source>
        <translation>JSON 文本在此处不是 UTF-8；请另存为 UTF-8</translation>
    </message>
    <message>
        <source>line %1, column %2: %3.</source>
        <translation>第 %1 行，第 %2 列：%3。</translation>
    </message>
    <message>
        <source>unknown encoding &quot;%1&quot;; use %2, %3 or %4.</source>
        <translation>未知的编码“%1”；请使用 %2、%3 或 %4。</translation>
    </message>
</context>
<context>
    <name>ResDocument</name>
    <message>
        <source>object %1 at offset %2: %3</source>
        <translation>对象 %1（偏移 %2）：%3</translation>
    </message>
    <message>
        <source>the file ends inside %1.</source>
        <translation>文件在 %1 中途结束。</translation>
    </message>
    <message>
        <source>offset %1: ObjectCount %2 is negative.</source>
        <translation>偏移 %1：ObjectCount %2 为负数。</translation>
    </message>
    <message>
        <source>%1 length %2 is outside %3 to %4.</source>
        <translation>%1 的长度 %2 不在 %3 到 %4 之间。</translation>
    </message>
    <message>
        <source>%1 %2 is negative.</source>
        <translation>%1 %2 为负数。</translation>
    </message>
    <message>
        <source>The path is %1 characters long; at most %2 fit.</source>
        <translation>路径长 %1 个字符，最多只能容纳 %2 个。</translation>
    </message>
    <message>
        <source>The path contains a zero character.</source>
        <translation>路径中含有零字符。</translation>
    </message>
    <message>
        <source>%1 objects; the header of a RES file counts at most %2.</source>
        <translation>%1 个对象；RES 文件的文件头最多只能记 %2 个。</translation>
    </message>
    <message>
        <source>the file holds %1, fewer than the %2 of the header.</source>
        <translation>文件只有 %1，少于文件头的 %2。</translation>
    </message>
    <message>
        <source>offset %1: ObjectCount %2 needs at least %3 of objects, but the file holds only %4 after the header.</source>
        <translation>偏移 %1：ObjectCount %2 至少需要 %3的对象数据，但文件头之后只有 %4。</translation>
    </message>
    <message>
        <source>%1 %2 needs %3, but the file holds only %4 after it.</source>
        <translation>%1 %2 需要 %3，但其后文件只有 %4。</translation>
    </message>
    <message>
        <source>%1 has no zero byte within its %2.</source>
        <translation>%1 的 %2中没有零字节。</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 个字节</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 个字节</translation>
    </message>
</context>
<context>
    <name>ResFields</name>
    <message>
        <source>ObjectType</source>
        <translation>对象类型 ObjectType</translation>
    </message>
    <message>
        <source>EntryTypeTypeID</source>
        <translation>编号 EntryTypeTypeID</translation>
    </message>
    <message>
        <source>String1</source>
        <translation>描述 String1</translation>
    </message>
    <message>
        <source>String2</source>
        <translation>模型名 String2</translation>
    </message>
    <message>
        <source>String3</source>
        <translation>文本 String3</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Value1</source>
        <translation>数值1</translation>
    </message>
    <message>
        <source>Value2</source>
        <translation>数值2</translation>
    </message>
    <message>
        <source>unknown2</source>
        <translation>未知 unknown2</translation>
    </message>
    <message>
        <source>unknown3</source>
        <translation>未知 unknown3</translation>
    </message>
    <message>
        <source>effectType</source>
        <translation>效果类型 effectType</translation>
    </message>
    <message>
        <source>cycle</source>
        <translation>周期 cycle</translation>
    </message>
    <message>
        <source>actionType</source>
        <translation>动作类型 actionType</translation>
    </message>
    <message>
        <source>unknonw6</source>
        <translation>未知 unknonw6</translation>
    </message>
    <message>
        <source>typeValue</source>
        <translation>类型值 typeValue</translation>
    </message>
    <message>
        <source>unknown8</source>
        <translation>未知 unknown8</translation>
    </message>
    <message>
        <source>unknown9</source>
        <translation>未知 unknown9</translation>
    </message>
    <message>
        <source>unknown10</source>
        <translation>未知 unknown10</translation>
    </message>
    <message>
        <source>Weapon</source>
        <translation>武器</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>道具</translation>
    </message>
    <message>
        <source>Pose</source>
        <translation>姿势</translation>
    </message>
    <message>
        <source>Vipitem</source>
        <translation>VIP 道具</translation>
    </message>
    <message>
        <source>VipItem</source>
        <translation>VIP 道具</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>地图</translation>
    </message>
</context>
<context>
    <name>ResTool</name>
    <message>
        <source>ok, 1 object</source>
        <translation>正常，1 个对象</translation>
    </message>
    <message>
        <source>ok, %1 objects</source>
        <translation>正常，%1 个对象</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Cannot import %1: %2</source>
        <translation>无法导入 %1：%2</translation>
    </message>
    <message>
        <source>drovanel-res: cannot read %1: %2</source>
        <translation>drovanel-res：无法读取 %1：%2</translation>
    </message>
    <message>
        <source>base</source>
        <translation>基础版本</translation>
    </message>
    <message>
        <source>ours</source>
        <translation>我方</translation>
    </message>
    <message>
        <source>theirs</source>
        <translation>对方</translation>
    </message>
    <message>
        <source>Cannot write standard output: %1</source>
        <translation>无法写入标准输出：%1</translation>
    </message>
    <message>
        <source>One line per file: ok and the number of objects, or why the editor refuses it. Exit status 1 when a file is refused.</source>
        <translation>每个文件一行：正常及对象个数，或编辑器拒绝它的原因。有文件被拒绝时退出状态为 1。</translation>
    </message>
    <message>
        <source>The file as JSON, to OUT.json or to standard output.</source>
        <translation>把文件导出为 JSON，写入 OUT.json 或标准输出。</translation>
    </message>
    <message>
        <source>Builds OUT.res from the JSON; a refused JSON leaves OUT.res as it was.</source>
        <translation>由 JSON 生成 OUT.res；被拒绝的 JSON 不会改动 OUT.res。</translation>
    </message>
    <message>
        <source>One line per changed field, added or removed object; exit status 0 when the two hold the same records, 1 when they differ, 2 for trouble.</source>
        <translation>每个改动的字段、添加或删除的对象一行；两者记录相同时退出状态为 0，不同时为 1，出错时为 2。</translation>
    </message>
    <message>
        <source>The export, or one line that says why the editor refuses the file; exit status 0 unless the output cannot be written.</source>
        <translation>导出的 JSON，或说明编辑器拒绝该文件原因的一行；除非无法写出输出，退出状态为 0。</translation>
    </message>
    <message>
        <source>Usage: </source>
        <translation>用法：</translation>
    </message>
    <message>
        <source>Run drovanel-res --help for more.</source>
        <translation>运行 drovanel-res --help 了解更多。</translation>
    </message>
    <message>
        <source>Checks RES files, exports them to JSON and builds them back byte for byte, and compares and merges them object by object.</source>
        <translation>检查 RES 文件，把它们导出为 JSON 并逐字节地还原，并逐个对象地比较与合并它们。</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>命令：</translation>
    </message>
    <message>
        <source>Exit status otherwise: 0 when every file is accepted, 1 when one is refused, 2 for a wrong command line.</source>
        <translation>其他情况下的退出状态：所有文件都被接受时为 0，有文件被拒绝时为 1，命令行有误时为 2。</translation>
    </message>
    <message>
        <source>merge: the file to write the merge to.</source>
        <translation>merge：写入合并结果的文件。</translation>
    </message>
    <message>
        <source>merge: the name of the file being merged, for messages (git&apos;s %P).</source>
        <translation>merge：消息中所用的被合并文件名（git 的 %P）。</translation>
    </message>
    <message>
        <source>The files of the command.</source>
        <translation>命令所用的文件。</translation>
    </message>
    <message>
        <source>the name &quot;%1&quot; cannot be represented in the system&apos;s encoding of file names.</source>
        <translation>名称“%1”无法用系统的文件名编码表示。</translation>
    </message>
    <message>
        <source>-o, --prefer and --name belong to merge.</source>
        <translation>-o、--prefer 和 --name 只用于 merge。</translation>
    </message>
    <message>
        <source>Give a command.</source>
        <translation>请指定一个命令。</translation>
    </message>
    <message>
        <source>Unknown command &quot;%1&quot;.</source>
        <translation>未知的命令“%1”。</translation>
    </message>
    <message>
        <source>merge needs -o OUT.res.</source>
        <translation>merge 需要 -o OUT.res。</translation>
    </message>
    <message>
        <source>Wrong number of files for &quot;%1&quot;.</source>
        <translation>“%1”的文件个数不对。</translation>
    </message>
    <message>
        <source>mod %1</source>
        <translation>模组 %1</translation>
    </message>
    <message>
        <source>drovanel-res: the pattern %1 is not a regular expression: %2.</source>
        <translation>drovanel-res：模式 %1 不是正则表达式：%2。</translation>
    </message>
    <message>
        <source>Merges the changes that the mods made to BASE into OUT, in the order given (the load order; OURS and THEIRS for two), object by object and field by field. A conflict keeps the first mod&apos;s value, is listed on standard error and gives exit status 1; 2 for trouble. --prefer first or last (ours or theirs) settles every conflict so, and exits 0.</source>
        <translation>按给出的顺序（加载顺序；两个时为 OURS 与 THEIRS）把各模组对 BASE 所做的修改逐个对象、逐个字段地合并到 OUT。冲突处保留第一个模组的值，列在标准错误上，退出状态为 1；出错时为 2。--prefer first 或 last（ours 或 theirs）按此解决所有冲突，退出状态为 0。</translation>
    </message>
    <message>
        <source>Every object whose identifier or text matches the regular expression, one line a match; a simplified pattern finds traditional text and the reverse, and -i ignores the case of Latin letters. Exit status 0 when something matched, 1 when nothing did, 2 when a file could not be read.</source>
        <translation>列出编号或文本与正则表达式相符的每个对象，每处一行；简体的模式也能找到繁体文本，反之亦然，-i 忽略拉丁字母的大小写。有匹配时退出状态为 0，没有时为 1，有文件无法读取时为 2。</translation>
    </message>
    <message>
        <source>find: ignore the case of Latin letters.</source>
        <translation>find：忽略拉丁字母的大小写。</translation>
    </message>
    <message>
        <source>check, export, import, diff, merge, find or textconv.</source>
        <translation>check、export、import、diff、merge、find 或 textconv。</translation>
    </message>
    <message>
        <source>-i belongs to find.</source>
        <translation>-i 只用于 find。</translation>
    </message>
    <message>
        <source>--prefer takes first or last (ours or theirs).</source>
        <translation>--prefer 只接受 first 或 last（ours 或 theirs）。</translation>
    </message>
    <message>
        <source>opencc cannot convert traditional to simplified text: %1</source>
        <translation>opencc 无法把繁体文本转换为简体：%1</translation>
    </message>
    <message>
        <source>merge: resolve every conflict with the first or the last mod&apos;s value, and exit 0.</source>
        <translation>merge：所有冲突都取第一个或最后一个模组的值，退出状态为 0。</translation>
    </message>
    <message>
        <source>its JSON could take up to %1, more than the %2 that an export holds.</source>
        <translation>其 JSON 可能多达 %1，超过一次导出所能容纳的 %2。</translation>
    </message>
    <message>
        <source>Cannot export %1: %2</source>
        <translation>无法导出 %1：%2</translation>
    </message>
    <message>
        <source>drovanel-res: cannot export %1: %2</source>
        <translation>drovanel-res：无法导出 %1：%2</translation>
    </message>
</context>
<context>
    <name>UiMyPart1SubObject</name>
    <message>
        <source>ContinuedInfoMain</source>
        <translation>主持续信息</translation>
    </message>
    <message>
        <source>ContinuedInfoSecond</source>
        <translation>次持续信息</translation>
    </message>
    <message>
        <source>unknown8</source>
        <translation>未知8</translation>
    </message>
    <message>
        <source>MappedType</source>
        <translation>映射类型</translation>
    </message>
    <message>
        <source>MusicID</source>
        <translation>音乐编号</translation>
    </message>
    <message>
        <source>ReboinInfo</source>
        <translation>重生信息</translation>
    </message>
    <message>
        <source>EFWhenGet</source>
        <translation>获得时特效</translation>
    </message>
    <message>
        <source>EFAfterGet</source>
        <translation>获得后特效</translation>
    </message>
    <message>
        <source>GetItemWhenAction</source>
        <translation>动作时获得道具</translation>
    </message>
    <message>
        <source>Lianhua</source>
        <translation>炼化</translation>
    </message>
    <message>
        <source>GetItemAfterAction</source>
        <translation>动作后获得道具</translation>
    </message>
</context>
<context>
    <name>UiMyPart2SubObject</name>
    <message>
        <source>MaxHp</source>
        <translation>最大生命值</translation>
    </message>
    <message>
        <source>NowHp</source>
        <translation>当前生命值</translation>
    </message>
    <message>
        <source>ATK</source>
        <translation>攻击力</translation>
    </message>
    <message>
        <source>Defense</source>
        <translation>防御力</translation>
    </message>
    <message>
        <source>MoveSpeed</source>
        <translation>移动速度</translation>
    </message>
    <message>
        <source>NowAngry</source>
        <translation>当前怒气</translation>
    </message>
    <message>
        <source>hide</source>
        <translation>隐身</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>the file holds %1 bytes, more than the %2 bytes that can be opened.</source>
        <translation>文件有 %1 个字节，超过了可打开的 %2 个字节。</translation>
    </message>
    <message>
        <source>it is not a regular file or a pipe.</source>
        <translation>它不是普通文件或管道。</translation>
    </message>
    <message>
        <source>it is not a regular file.</source>
        <translation>它不是普通文件。</translation>
    </message>
</context>
</TS>
