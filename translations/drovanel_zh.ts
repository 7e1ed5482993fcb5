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
        <source>Weapon</source>
        <translation>武器</translation>
    </message>
    <message>
        <source>Pose</source>
        <translation>姿势</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>道具</translation>
    </message>
    <message>
        <source>Vipitem</source>
        <translation>VIP 道具</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>地图</translation>
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
        <source>the file holds %1 bytes, fewer than the %2 bytes of the header.</source>
        <translation>文件只有 %1 字节，少于文件头的 %2 字节。</translation>
    </message>
    <message>
        <source>offset %1: ObjectCount %2 is negative.</source>
        <translation>偏移 %1：ObjectCount %2 为负数。</translation>
    </message>
    <message>
        <source>offset %1: ObjectCount %2 needs at least %3 bytes of objects, but only %4 bytes follow the header.</source>
        <translation>偏移 %1：ObjectCount %2 需要至少 %3 字节的对象数据，但文件头之后只有 %4 字节。</translation>
    </message>
    <message>
        <source>%1 length %2 is outside %3 to %4.</source>
        <translation>%1 的长度 %2 不在 %3 到 %4 之间。</translation>
    </message>
    <message>
        <source>%1 has no zero byte within its %2 bytes.</source>
        <translation>%1 的 %2 个字节中没有零字节。</translation>
    </message>
    <message>
        <source>%1 %2 is negative.</source>
        <translation>%1 %2 为负数。</translation>
    </message>
    <message>
        <source>%1 %2 needs %3 bytes, but only %4 remain.</source>
        <translation>%1 %2 需要 %3 字节，但只剩 %4 字节。</translation>
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
</context>
<context>
    <name>UiMyPart0</name>
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
        <source>VipItem</source>
        <translation>VIP 道具</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>地图</translation>
    </message>
</context>
<context>
    <name>UiMyPart1SubObject</name>
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
</context>
</TS>
