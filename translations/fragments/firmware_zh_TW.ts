<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>QObject</name>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="39"/>
        <source>解析文件失败,文件不存在或拒绝访问!</source>
        <translation>解析檔案失敗,檔案不存在或拒絕存取!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="46"/>
        <source>解析文件失败,打开文件失败,请检查文件类型!</source>
        <translation>解析檔案失敗,開啟檔案失敗,請檢查檔案類型!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="50"/>
        <location filename="../../firmware/ddbserver.cpp" line="52"/>
        <source>解析文件失败,文件操作失败!</source>
        <translation>解析檔案失敗,檔案操作失敗!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="56"/>
        <source>解析文件失败,无法获取文件内容!</source>
        <translation>解析檔案失敗,無法取得檔案內容!</translation>
    </message>
    <message>
        <location filename="../../firmware/ddbserver.cpp" line="77"/>
        <source>解析文件失败,文件校验失败!</source>
        <translation>解析檔案失敗,檔案校驗失敗!</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="65"/>
        <source>固件更新失败,</source>
        <translation>韌體更新失敗,</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="71"/>
        <source>固件更新失败,获取设备ID失败!</source>
        <translation>韌體更新失敗,取得裝置ID失敗!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="76"/>
        <source>固件更新失败,BIN文件与设备型号不一致!</source>
        <translation>韌體更新失敗,BIN檔案與裝置型號不一致!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="82"/>
        <source>固件更新失败,擦除设备内存失败!</source>
        <translation>韌體更新失敗,擦除裝置記憶體失敗!</translation>
    </message>
    <message>
        <location filename="../../firmware/updatethread.cpp" line="99"/>
        <source>固件更新失败,发送文件数据失败!</source>
        <translation>韌體更新失敗,傳送檔案資料失敗!</translation>
    </message>
</context>
</TS>
