<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MonitorDialog</name>
    <message>
        <location filename="../../forms/monitordialog.ui" line="14"/>
        <source>设备监听</source>
        <translation>Device Monitor</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="22"/>
        <source>原始数据</source>
        <translation>Text</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="29"/>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="36"/>
        <source>原始数据 + 十六进制</source>
        <translation>Text + hex</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="59"/>
        <source>调试信息</source>
        <translation>Debug output</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="82"/>
        <source>开始监听</source>
        <translation>Start</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="89"/>
        <source>停止监听</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../../forms/monitordialog.ui" line="96"/>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../../monitor/monitordialog.cpp" line="62"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MonitorThread</name>
    <message>
        <location filename="../../monitor/monitorthread.cpp" line="50"/>
        <source>设备监听</source>
        <translation>Device Monitor</translation>
    </message>
    <message>
        <location filename="../../monitor/monitorthread.cpp" line="85"/>
        <source>监听调试</source>
        <translation>Debug listening</translation>
    </message>
</context>
</TS>
