<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../forms/mainwindow.ui" line="17"/>
        <source>操作</source>
        <translation>操作</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="29"/>
        <source>语言</source>
        <translation>語言</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="35"/>
        <source>帮助</source>
        <translation>說明</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="44"/>
        <source>toolBar</source>
        <translation>toolBar</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="59"/>
        <location filename="../../forms/mainwindow.ui" line="60"/>
        <source>通讯设置</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="64"/>
        <location filename="../../forms/mainwindow.ui" line="65"/>
        <source>刷新</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="69"/>
        <location filename="../../forms/mainwindow.ui" line="70"/>
        <source>导入配置</source>
        <translation>匯入配置</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="74"/>
        <location filename="../../forms/mainwindow.ui" line="75"/>
        <source>导出配置</source>
        <translation>匯出配置</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="79"/>
        <location filename="../../forms/mainwindow.ui" line="80"/>
        <source>写入配置</source>
        <translation>寫入配置</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="84"/>
        <location filename="../../forms/mainwindow.ui" line="85"/>
        <source>同步时间</source>
        <translation>同步時間</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="89"/>
        <location filename="../../forms/mainwindow.ui" line="90"/>
        <source>历史数据</source>
        <translation>歷史資料</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="94"/>
        <location filename="../../forms/mainwindow.ui" line="95"/>
        <source>更新固件</source>
        <translation>更新韌體</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="99"/>
        <location filename="../../forms/mainwindow.ui" line="100"/>
        <source>设备监听</source>
        <translation>設備監聽</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="104"/>
        <location filename="../../forms/mainwindow.ui" line="105"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="109"/>
        <location filename="../../forms/mainwindow.ui" line="110"/>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="114"/>
        <location filename="../../forms/mainwindow.ui" line="115"/>
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="119"/>
        <location filename="../../forms/mainwindow.ui" line="120"/>
        <source>繁體中文</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="52"/>
        <source>准备就绪</source>
        <translation>準備就緒</translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="70"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../app/messageboxes.cpp" line="9"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../../app/messageboxes.cpp" line="15"/>
        <source>错误</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <location filename="../../app/messageboxes.cpp" line="21"/>
        <source>信息</source>
        <translation>資訊</translation>
    </message>
</context>
</TS>
