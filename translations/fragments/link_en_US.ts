<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <location filename="../../link/frame.cpp" line="68"/>
        <source>CRC校验错误</source>
        <translation>CRC check error</translation>
    </message>
    <message>
        <location filename="../../link/frame.cpp" line="70"/>
        <location filename="../../link/devicechannel.cpp" line="199"/>
        <location filename="../../link/devicechannel.cpp" line="218"/>
        <source>发送命令超时</source>
        <translation>Sending the command timed out</translation>
    </message>
    <message>
        <location filename="../../link/frame.cpp" line="72"/>
        <location filename="../../link/devicechannel.cpp" line="203"/>
        <location filename="../../link/devicechannel.cpp" line="225"/>
        <source>接受数据超时</source>
        <translation>Receiving data timed out</translation>
    </message>
    <message>
        <location filename="../../link/frame.cpp" line="74"/>
        <source>未定义的错误</source>
        <translation>Undefined error</translation>
    </message>
    <message>
        <location filename="../../link/devicechannel.cpp" line="103"/>
        <source>打开串口失败: %1</source>
        <translation>Failed to open the serial port: %1</translation>
    </message>
    <message>
        <location filename="../../link/devicechannel.cpp" line="105"/>
        <source>串口打开失败</source>
        <translation>The serial port could not be opened</translation>
    </message>
    <message>
        <location filename="../../link/devicechannel.cpp" line="178"/>
        <location filename="../../link/devicechannel.cpp" line="190"/>
        <location filename="../../link/devicechannel.cpp" line="195"/>
        <source>发送命令失败</source>
        <translation>Sending the command failed</translation>
    </message>
</context>
</TS>
