<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../forms/mainwindow.ui" line="17"/>
        <source>操作</source>
        <translation>Operate</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="29"/>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="35"/>
        <source>帮助</source>
        <translation>Help</translation>
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
        <translation>Comm Setup</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="64"/>
        <location filename="../../forms/mainwindow.ui" line="65"/>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="69"/>
        <location filename="../../forms/mainwindow.ui" line="70"/>
        <source>导入配置</source>
        <translation>Import</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="74"/>
        <location filename="../../forms/mainwindow.ui" line="75"/>
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="79"/>
        <location filename="../../forms/mainwindow.ui" line="80"/>
        <source>写入配置</source>
        <translation>Write Config</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="84"/>
        <location filename="../../forms/mainwindow.ui" line="85"/>
        <source>同步时间</source>
        <translation>Sync Time</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="89"/>
        <location filename="../../forms/mainwindow.ui" line="90"/>
        <source>历史数据</source>
        <translation>History</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="94"/>
        <location filename="../../forms/mainwindow.ui" line="95"/>
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="99"/>
        <location filename="../../forms/mainwindow.ui" line="100"/>
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location filename="../../forms/mainwindow.ui" line="104"/>
        <location filename="../../forms/mainwindow.ui" line="105"/>
        <source>关于</source>
        <translation>About</translation>
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
        <translation>Ready</translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="70"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../app/messageboxes.cpp" line="9"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../app/messageboxes.cpp" line="15"/>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../../app/messageboxes.cpp" line="21"/>
        <source>信息</source>
        <translation>Information</translation>
    </message>
</context>
</TS>
