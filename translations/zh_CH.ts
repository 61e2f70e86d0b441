<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Kept by hand, not by lupdate: the few source texts that are not Simplified
     Chinese (the toolkit's kind of names), in the Simplified Chinese the rest
     of the window speaks. tst_translations checks that each still exists. -->
<TS version="2.1" language="zh_CN">
<context>
    <name>HistoryData</name>
    <message>
        <source>Files (*.%1)</source>
        <translation>文件 (*.%1)</translation>
    </message>
    <message>
        <source>Files (*.pdf)</source>
        <translation>PDF文件 (*.pdf)</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <source>Files (*.csv)</source>
        <translation>CSV文件 (*.csv)</translation>
    </message>
</context>
<context>
    <name>ItemPage</name>
    <message>
        <source>Files (*.csv)</source>
        <translation>CSV文件 (*.csv)</translation>
    </message>
</context>
<context>
    <name>MetersPanel</name>
    <message>
        <source>Files (*.csv)</source>
        <translation>CSV文件 (*.csv)</translation>
    </message>
    <message>
        <source>Files (*.vexabin)</source>
        <translation>固件包 (*.vexabin)</translation>
    </message>
</context>
<context>
    <name>ServiceReportDialog</name>
    <message>
        <source>Files (*.pdf)</source>
        <translation>PDF文件 (*.pdf)</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Serial通讯</source>
        <translation>串口通讯</translation>
    </message>
    <message>
        <source>Udp通讯</source>
        <translation>UDP通讯</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空格校验</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>标记校验</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Files (*.vexabin)</source>
        <translation>固件包 (*.vexabin)</translation>
    </message>
</context>
</TS>
