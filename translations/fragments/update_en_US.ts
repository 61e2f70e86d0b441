<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DeviceTypeMgr</name>
    <message>
        <location filename="../../firmware/devicetypemgr.cpp" line="67"/>
        <source>获取设备列表失败,请重试!</source>
        <translation>Failed to get the device list, please try again!</translation>
    </message>
</context>
<context>
    <name>DownloadThread</name>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="79"/>
        <source>下载失败,打开文件失败: %1</source>
        <translation>Download failed, could not open the file: %1</translation>
    </message>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="65"/>
        <location filename="../../firmware/downloadthread.cpp" line="92"/>
        <source>下载失败,打开链接失败!</source>
        <translation>Download failed, could not open the link!</translation>
    </message>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="106"/>
        <source>下载异常: %1</source>
        <translation>Download error: %1</translation>
    </message>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="111"/>
        <source>下载异常: 未找到该文件或下载失败</source>
        <translation>Download error: the file was not found or the download failed</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../../forms/updatedialog.ui" line="14"/>
        <location filename="../../forms/updatedialog.ui" line="20"/>
        <location filename="../../firmware/updatedialog.cpp" line="168"/>
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="26"/>
        <source>设备：</source>
        <translation>Device:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="40"/>
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="54"/>
        <source>型号：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="68"/>
        <source>文件：</source>
        <translation>File:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="82"/>
        <location filename="../../forms/updatedialog.ui" line="163"/>
        <source>进度：</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="114"/>
        <source>选择文件</source>
        <translation>Select File</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="121"/>
        <source>烧写</source>
        <translation>Burn</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="133"/>
        <location filename="../../forms/updatedialog.ui" line="209"/>
        <location filename="../../firmware/updatedialog.cpp" line="223"/>
        <source>下载文件</source>
        <translation>Download File</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="139"/>
        <source>列表：</source>
        <translation>List:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="149"/>
        <source>路径：</source>
        <translation>Path:</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="195"/>
        <source>刷新文件列表</source>
        <translation>Refresh File List</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="202"/>
        <source>选择路径</source>
        <translation>Select Path</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="111"/>
        <source>请选择文件!</source>
        <translation>Please select a file!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="115"/>
        <source>更新失败,文件不存在或拒绝访问!</source>
        <translation>Update failed, the file does not exist or access is denied!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="153"/>
        <source>请选择设备类型!</source>
        <translation>Please select the device type!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="157"/>
        <source>请选择下载路径!</source>
        <translation>Please select the download path!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="198"/>
        <source>固件更新成功!</source>
        <translation>Firmware updated successfully!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="248"/>
        <source>文件下载成功!</source>
        <translation>File downloaded successfully!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="260"/>
        <source>正在更新固件,请等待更新完成!</source>
        <translation>The firmware is being updated, please wait until the update has finished!</translation>
    </message>
</context>
</TS>
