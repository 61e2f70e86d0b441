<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../forms/aboutdialog.ui" line="+9"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>本软件适用于本系列测量仪表</source>
        <translation>For the meters of this instrument family</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>技术支持：请联系您的设备供应商</source>
        <translation>Support: please contact your supplier</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>版权所有 © 2024-2026</source>
        <translation>Copyright © 2024-2026</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&lt;a href=&quot;http://localhost/&quot;&gt;产品网站&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;http://localhost/&quot;&gt;Product website&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>DeviceTypeMgr</name>
    <message>
        <location filename="../firmware/devicetypemgr.cpp" line="+67"/>
        <source>获取设备列表失败,请重试!</source>
        <translation>Could not get the device list. Please try again.</translation>
    </message>
</context>
<context>
    <name>DownloadThread</name>
    <message>
        <location filename="../firmware/downloadthread.cpp" line="+65"/>
        <location line="+27"/>
        <source>下载失败,打开链接失败!</source>
        <translation>Download failed: could not open the link.</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>下载失败,打开文件失败: %1</source>
        <translation>Download failed: could not open the file %1</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>下载异常: %1</source>
        <translation>Download error: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>下载异常: 未找到该文件或下载失败</source>
        <translation>Download error: the file was not found or the download failed.</translation>
    </message>
</context>
<context>
    <name>HistoryData</name>
    <message>
        <location filename="../forms/historydata.ui" line="+14"/>
        <source>历史数据</source>
        <translation>History</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>起始日期:</source>
        <translation>Start date:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>结束日期:</source>
        <translation>End date:</translation>
    </message>
    <message>
        <location line="+10"/>
        <location filename="../history/historydata.cpp" line="+90"/>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="+0"/>
        <source>起始日期应该小于或等于结束日期</source>
        <translation>The start date must not be later than the end date.</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+10"/>
        <source>导出历史数据</source>
        <translation>Export History</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+57"/>
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="-57"/>
        <source>导出数据失败，数据格式错误</source>
        <translation>Could not export: the data is not in the expected format.</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>打开文件失败: %1</source>
        <translation>Could not open the file: %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../forms/mainwindow.ui" line="+17"/>
        <source>操作</source>
        <translation>Device</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+1"/>
        <source>通讯设置</source>
        <translation>Connection</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="+69"/>
        <location line="+11"/>
        <location line="+6"/>
        <source>导入配置</source>
        <translation>Import</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="-43"/>
        <location line="+11"/>
        <location line="+8"/>
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="+36"/>
        <location line="+24"/>
        <location line="+62"/>
        <source>写入配置</source>
        <translation>Write Configuration</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="-50"/>
        <location line="+13"/>
        <location line="+4"/>
        <location line="+2"/>
        <source>同步时间</source>
        <translation>Sync Time</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>历史数据</source>
        <translation>History</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>繁體中文</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="+56"/>
        <source>准备就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <location line="+18"/>
        <location filename="../items/mainwindow_items.cpp" line="+99"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../items/itemcsv.cpp" line="+57"/>
        <location line="+51"/>
        <source>打开文件失败: %1</source>
        <translation>Could not open the file: %1</translation>
    </message>
    <message>
        <location line="-43"/>
        <source>写入文件失败: %1</source>
        <translation>Could not write the file: %1</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>文件解析错误</source>
        <translation>Could not parse the file.</translation>
    </message>
    <message>
        <location filename="../items/mainwindow_items.cpp" line="-202"/>
        <source>正在导出配置......</source>
        <translation>Exporting configuration...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>导出配置成功</source>
        <translation>Configuration exported</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:
%1</source>
        <translation>The values of these items contain a comma or a line break and will not import back unchanged from this file:
%1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>正在导入配置......</source>
        <translation>Importing configuration...</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>导入配置成功</source>
        <translation>Configuration imported</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+162"/>
        <source>正在写入配置......</source>
        <translation>Writing configuration...</translation>
    </message>
    <message>
        <location line="-168"/>
        <source>写入错误,连接设备失败</source>
        <translation>Write error: could not connect to the device.</translation>
    </message>
    <message>
        <location line="+24"/>
        <location line="+62"/>
        <source>写入配置失败: %1</source>
        <translation>Could not write the value: %1</translation>
    </message>
    <message>
        <location line="-58"/>
        <location line="+173"/>
        <source>写入配置成功</source>
        <translation>Configuration written</translation>
    </message>
    <message>
        <location line="-148"/>
        <source>同步时间成功</source>
        <translation>Time synchronized.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>同步时间失败</source>
        <translation>Could not synchronize the time.</translation>
    </message>
    <message>
        <location line="+100"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+19"/>
        <location line="+5"/>
        <location line="+10"/>
        <location line="+6"/>
        <source>提交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>配置值含有设备无法表示的字符,未写入</source>
        <translation>The value contains characters the device cannot represent. Nothing was written.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入</source>
        <translation>The value is too long: %1 bytes when encoded, but the device accepts at most %2 bytes. Nothing was written.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>硬件返回数据校验错误</source>
        <translation>The device&apos;s answer failed the check.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>写入配置失败,该项不支持修改</source>
        <translation>Could not write: this item cannot be changed.</translation>
    </message>
</context>
<context>
    <name>ModifyDialog</name>
    <message>
        <location filename="../forms/modifydialog.ui" line="+14"/>
        <source>Dialog</source>
        <translation>Edit Item</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>提交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MonitorDialog</name>
    <message>
        <location filename="../forms/monitordialog.ui" line="+14"/>
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>原始数据</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>原始数据 + 十六进制</source>
        <translation>Text and hex</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>调试信息</source>
        <translation>Debug output</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>开始监听</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>停止监听</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../monitor/monitordialog.cpp" line="+62"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MonitorThread</name>
    <message>
        <location filename="../monitor/monitorthread.cpp" line="+51"/>
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>监听调试</source>
        <translation>Debug Output</translation>
    </message>
</context>
<context>
    <name>NeutralAboutDialog</name>
    <message>
        <location filename="../forms/neutralaboutdialog.ui" line="+9"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../app/messageboxes.cpp" line="+38"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <location filename="../firmware/ddbserver.cpp" line="+40"/>
        <source>解析文件失败,文件不存在或拒绝访问!</source>
        <translation>Could not load the file: it does not exist or access was denied.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>解析文件失败,打开文件失败,请检查文件类型!</source>
        <translation>Could not load the file: it could not be opened. Please check the file type.</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+2"/>
        <source>解析文件失败,文件操作失败!</source>
        <translation>Could not load the file: a file operation failed.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>解析文件失败,无法获取文件内容!</source>
        <translation>Could not load the file: its content could not be read.</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>解析文件失败,文件校验失败!</source>
        <translation>Could not load the file: it failed its integrity check.</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+77"/>
        <source>CRC校验错误</source>
        <translation>CRC check failed.</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="+198"/>
        <location line="+19"/>
        <location filename="../link/frame.cpp" line="+2"/>
        <source>发送命令超时</source>
        <translation>Sending the command timed out.</translation>
    </message>
    <message>
        <location line="-15"/>
        <location line="+22"/>
        <location filename="../link/frame.cpp" line="+2"/>
        <source>接受数据超时</source>
        <translation>Receiving data timed out.</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+2"/>
        <source>未定义的错误</source>
        <translation>Unknown error.</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="-121"/>
        <source>打开串口失败: %1</source>
        <translation>Could not open the serial port: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>串口打开失败</source>
        <translation>Could not open the serial port.</translation>
    </message>
    <message>
        <location line="+72"/>
        <location line="+12"/>
        <location line="+5"/>
        <source>发送命令失败</source>
        <translation>Could not send the command.</translation>
    </message>
    <message>
        <location filename="../link/searchdevicedialog.cpp" line="+83"/>
        <source>请选择设备</source>
        <translation>Please select a device.</translation>
    </message>
</context>
<context>
    <name>ReadThread</name>
    <message>
        <location filename="../history/readthread.cpp" line="+41"/>
        <location line="+34"/>
        <source>查询</source>
        <translation>Query</translation>
    </message>
</context>
<context>
    <name>RefreshThread</name>
    <message>
        <location filename="../items/refreshthread.cpp" line="+49"/>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>设备在第%1项后仍未结束配置列表,已停止读取</source>
        <translation>The device did not end its item list after %1 items. Reading stopped.</translation>
    </message>
</context>
<context>
    <name>SearchDeviceDialog</name>
    <message>
        <location filename="../forms/searchdevicedialog.ui" line="+14"/>
        <source>查找设备</source>
        <translation>Find Devices</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../forms/setupdialog.ui" line="+14"/>
        <source>串口设置</source>
        <translation>Connection Settings</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Serial通讯</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>串口号：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>奇偶校验：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Udp通讯</source>
        <translation>UDP</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>地址：</source>
        <translation>Address:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>查找设备</source>
        <translation>Find Devices</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>设备地址：</source>
        <translation>Device address:</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../link/commsettings.cpp" line="+64"/>
        <source>请选择串口!</source>
        <translation>Please select a serial port.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>请选择波特率!</source>
        <translation>Please select a baud rate.</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>请输入UDP地址</source>
        <translation>Please enter the UDP address.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>请输入UDP端口</source>
        <translation>Please enter the UDP port.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>UDP地址无效，请输入IPv4或IPv6地址</source>
        <translation>The UDP address is not valid. Please enter an IPv4 or IPv6 address.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>UDP端口无效，请输入1到65535之间的数字</source>
        <translation>The UDP port is not valid. Please enter a number from 1 to 65535.</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../forms/updatedialog.ui" line="+14"/>
        <location line="+6"/>
        <location filename="../firmware/updatedialog.cpp" line="+168"/>
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>设备：</source>
        <translation>Device:</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>型号：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>文件：</source>
        <translation>File:</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+81"/>
        <source>进度：</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <location line="-49"/>
        <source>选择文件</source>
        <translation>Select File</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>烧写</source>
        <translation>Flash</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+76"/>
        <location filename="../firmware/updatedialog.cpp" line="+55"/>
        <source>下载文件</source>
        <translation>Download File</translation>
    </message>
    <message>
        <location line="-70"/>
        <source>列表：</source>
        <translation>Package:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>路径：</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>刷新文件列表</source>
        <translation>Refresh List</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>选择路径</source>
        <translation>Select Folder</translation>
    </message>
    <message>
        <location filename="../firmware/updatedialog.cpp" line="-112"/>
        <source>请选择文件!</source>
        <translation>Please select a file.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>更新失败,文件不存在或拒绝访问!</source>
        <translation>Update failed: the file does not exist or access was denied.</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>请选择设备类型!</source>
        <translation>Please select the device type.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>请选择下载路径!</source>
        <translation>Please select the download folder.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>固件更新成功!</source>
        <translation>Firmware updated.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>文件下载成功!</source>
        <translation>File downloaded.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>正在更新固件,请等待更新完成!</source>
        <translation>The firmware is being updated. Please wait until the update has finished.</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <location filename="../firmware/updatethread.cpp" line="+65"/>
        <source>固件更新失败,</source>
        <translation>Firmware update failed: </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>固件更新失败,获取设备ID失败!</source>
        <translation>Firmware update failed: could not get the device ID.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>固件更新失败,BIN文件与设备型号不一致!</source>
        <translation>Firmware update failed: the BIN file does not match the device model.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>固件更新失败,擦除设备内存失败!</source>
        <translation>Firmware update failed: could not erase the device memory.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>固件更新失败,发送文件数据失败!</source>
        <translation>Firmware update failed: could not send the file data.</translation>
    </message>
</context>
</TS>
