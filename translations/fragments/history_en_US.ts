<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>HistoryData</name>
    <message>
        <location filename="../../forms/historydata.ui" line="14"/>
        <source>历史数据</source>
        <translation>History Data</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="22"/>
        <source>起始日期:</source>
        <translation>Start date:</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="32"/>
        <source>结束日期:</source>
        <translation>End date:</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="42"/>
        <location filename="../../history/historydata.cpp" line="73"/>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="49"/>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="56"/>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="73"/>
        <source>起始日期应该小于或等于结束日期</source>
        <translation>The start date must be earlier than or equal to the end date</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="82"/>
        <location filename="../../history/historydata.cpp" line="92"/>
        <source>导出历史数据</source>
        <translation>Export History Data</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="106"/>
        <location filename="../../history/historydata.cpp" line="144"/>
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="106"/>
        <source>导出数据失败，数据格式错误</source>
        <translation>Export failed: the data format is wrong</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="138"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="144"/>
        <source>打开文件失败: %1</source>
        <translation>Failed to open the file: %1</translation>
    </message>
</context>
<context>
    <name>ReadThread</name>
    <message>
        <location filename="../../history/readthread.cpp" line="41"/>
        <location filename="../../history/readthread.cpp" line="75"/>
        <source>查询</source>
        <translation>Query</translation>
    </message>
</context>
</TS>
