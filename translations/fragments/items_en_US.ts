<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <source>打开文件失败: %1</source>
        <translation>Failed to open the file: %1</translation>
    </message>
    <message>
        <source>写入文件失败: %1</source>
        <translation>Failed to write the file: %1</translation>
    </message>
    <message>
        <source>文件解析错误</source>
        <translation>File parse error</translation>
    </message>
    <message>
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>正在导出配置......</source>
        <translation>Exporting configuration......</translation>
    </message>
    <message>
        <source>导出配置成功</source>
        <translation>Configuration exported</translation>
    </message>
    <message>
        <source>以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:
%1</source>
        <translation>The values of these items contain a comma or a line break and will not import back unchanged from this file:
%1</translation>
    </message>
    <message>
        <source>导入配置</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>正在导入配置......</source>
        <translation>Importing configuration......</translation>
    </message>
    <message>
        <source>导入配置成功</source>
        <translation>Configuration imported</translation>
    </message>
    <message>
        <source>正在写入配置......</source>
        <translation>Writing configuration......</translation>
    </message>
    <message>
        <source>写入错误,连接设备失败</source>
        <translation>Write error: could not connect to the device</translation>
    </message>
    <message>
        <source>写入配置</source>
        <translation>Write Config</translation>
    </message>
    <message>
        <source>写入配置失败: %1</source>
        <translation>Writing the configuration failed: %1</translation>
    </message>
    <message>
        <source>写入配置成功</source>
        <translation>Configuration written</translation>
    </message>
    <message>
        <source>同步时间</source>
        <translation>Sync Time</translation>
    </message>
    <message>
        <source>同步时间成功</source>
        <translation>Time synchronised</translation>
    </message>
    <message>
        <source>同步时间失败</source>
        <translation>Synchronising the time failed</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>提交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>配置值含有设备无法表示的字符,未写入</source>
        <translation>The value contains characters the device cannot represent; nothing was written</translation>
    </message>
    <message>
        <source>配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入</source>
        <translation>The value is too long: %1 bytes when encoded, the device accepts at most %2; nothing was written</translation>
    </message>
    <message>
        <source>硬件返回数据校验错误</source>
        <translation>The data returned by the hardware failed the check</translation>
    </message>
    <message>
        <source>写入配置失败,该项不支持修改</source>
        <translation>Writing failed: this item cannot be changed</translation>
    </message>
</context>
<context>
    <name>ModifyDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>提交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RefreshThread</name>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>设备在第%1项后仍未结束配置列表,已停止读取</source>
        <translation>The device did not end its item list after %1 items; reading stopped</translation>
    </message>
</context>
</TS>
