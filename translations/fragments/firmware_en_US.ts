<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="39"/>
        <source>解析文件失败,文件不存在或拒绝访问!</source>
        <translation>Failed to parse the file: the file does not exist or access was denied!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="46"/>
        <source>解析文件失败,打开文件失败,请检查文件类型!</source>
        <translation>Failed to parse the file: the file could not be opened. Please check the file type!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="50"/>
        <location filename="../../firmware/ddbserver.cpp" line="52"/>
        <source>解析文件失败,文件操作失败!</source>
        <translation>Failed to parse the file: file operation failed!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="56"/>
        <source>解析文件失败,无法获取文件内容!</source>
        <translation>Failed to parse the file: the file content could not be read!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="77"/>
        <source>解析文件失败,文件校验失败!</source>
        <translation>Failed to parse the file: file verification failed!</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="65"/>
        <source>固件更新失败,</source>
        <translation>Firmware update failed: </translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="71"/>
        <source>固件更新失败,获取设备ID失败!</source>
        <translation>Firmware update failed: could not get the device ID!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="76"/>
        <source>固件更新失败,BIN文件与设备型号不一致!</source>
        <translation>Firmware update failed: the BIN file does not match the device model!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="82"/>
        <source>固件更新失败,擦除设备内存失败!</source>
        <translation>Firmware update failed: erasing the device memory failed!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="99"/>
        <source>固件更新失败,发送文件数据失败!</source>
        <translation>Firmware update failed: sending the file data failed!</translation>
    </message>
</context>
</TS>
