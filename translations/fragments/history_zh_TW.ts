<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>HistoryData</name>
    <message>
        <location filename="../../forms/historydata.ui" line="14"/>
        <source>历史数据</source>
        <translation>歷史資料</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="22"/>
        <source>起始日期:</source>
        <translation>起始日期:</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="32"/>
        <source>结束日期:</source>
        <translation>結束日期:</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="42"/>
        <location filename="../../history/historydata.cpp" line="73"/>
        <source>查询</source>
        <translation>查詢</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="49"/>
        <source>导出CSV</source>
        <translation>匯出CSV</translation>
    </message>
    <message>
        <location filename="../../forms/historydata.ui" line="56"/>
        <source>导出PDF</source>
        <translation>匯出PDF</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="73"/>
        <source>起始日期应该小于或等于结束日期</source>
        <translation>起始日期應該小於或等於結束日期</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="82"/>
        <location filename="../../history/historydata.cpp" line="92"/>
        <source>导出历史数据</source>
        <translation>匯出歷史資料</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="106"/>
        <location filename="../../history/historydata.cpp" line="144"/>
        <source>导出配置</source>
        <translation>匯出配置</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="106"/>
        <source>导出数据失败，数据格式错误</source>
        <translation>匯出資料失敗，資料格式錯誤</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="138"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../../history/historydata.cpp" line="144"/>
        <source>打开文件失败: %1</source>
        <translation>開啟檔案失敗: %1</translation>
    </message>
</context>
<context>
    <name>ReadThread</name>
    <message>
        <location filename="../../history/readthread.cpp" line="41"/>
        <location filename="../../history/readthread.cpp" line="75"/>
        <source>查询</source>
        <translation>查詢</translation>
    </message>
</context>
</TS>
