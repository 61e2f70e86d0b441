<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>DeviceTypeMgr</name>
    <message>
        <location filename="../../firmware/devicetypemgr.cpp" line="67"/>
        <source>获取设备列表失败,请重试!</source>
        <translation>獲取設備列表失敗,請重試!</translation>
    </message>
</context>
<context>
    <name>DownloadThread</name>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="79"/>
        <source>下载失败,打开文件失败: %1</source>
        <translation>下載失敗,打開文件失敗: %1</translation>
    </message>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="65"/>
        <location filename="../../firmware/downloadthread.cpp" line="92"/>
        <source>下载失败,打开链接失败!</source>
        <translation>下載失敗,打開鏈接失敗!</translation>
    </message>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="106"/>
        <source>下载异常: %1</source>
        <translation>下載異常: %1</translation>
    </message>
    <message>
        <location filename="../../firmware/downloadthread.cpp" line="111"/>
        <source>下载异常: 未找到该文件或下载失败</source>
        <translation>下載異常: 未找到該文件或下載失敗</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../../forms/updatedialog.ui" line="14"/>
        <location filename="../../forms/updatedialog.ui" line="20"/>
        <location filename="../../firmware/updatedialog.cpp" line="168"/>
        <source>更新固件</source>
        <translation>更新固件</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="26"/>
        <source>设备：</source>
        <translation>設備：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="40"/>
        <source>版本：</source>
        <translation>版本：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="54"/>
        <source>型号：</source>
        <translation>型號：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="68"/>
        <source>文件：</source>
        <translation>文件：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="82"/>
        <location filename="../../forms/updatedialog.ui" line="163"/>
        <source>进度：</source>
        <translation>進度：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="114"/>
        <source>选择文件</source>
        <translation>選擇文件</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="121"/>
        <source>烧写</source>
        <translation>燒寫</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="133"/>
        <location filename="../../forms/updatedialog.ui" line="209"/>
        <location filename="../../firmware/updatedialog.cpp" line="223"/>
        <source>下载文件</source>
        <translation>下載文件</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="139"/>
        <source>列表：</source>
        <translation>列表：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="149"/>
        <source>路径：</source>
        <translation>路徑：</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="195"/>
        <source>刷新文件列表</source>
        <translation>刷新文件列表</translation>
    </message>
    <message>
        <location filename="../../forms/updatedialog.ui" line="202"/>
        <source>选择路径</source>
        <translation>選擇路徑</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="111"/>
        <source>请选择文件!</source>
        <translation>請選擇文件!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="115"/>
        <source>更新失败,文件不存在或拒绝访问!</source>
        <translation>更新失敗,文件不存在或拒絕訪問!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="153"/>
        <source>请选择设备类型!</source>
        <translation>請選擇設備類型!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="157"/>
        <source>请选择下载路径!</source>
        <translation>請選擇下載路徑!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="198"/>
        <source>固件更新成功!</source>
        <translation>固件更新成功!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="248"/>
        <source>文件下载成功!</source>
        <translation>文件下載成功!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatedialog.cpp" line="260"/>
        <source>正在更新固件,请等待更新完成!</source>
        <translation>正在更新固件,請等待更新完成!</translation>
    </message>
</context>
</TS>
