<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../forms/aboutdialog.ui" line="+9" />
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+26" />
        <source>本软件适用于本系列测量仪表</source>
        <translation>For the meters of this instrument family</translation>
    </message>
    <message>
        <location line="+8" />
        <source>技术支持：请联系您的设备供应商</source>
        <translation>Support: please contact your supplier</translation>
    </message>
    <message>
        <location line="+8" />
        <source>版权所有 © 2024-2026</source>
        <translation>Copyright © 2024-2026</translation>
    </message>
    <message>
        <location line="+8" />
        <source>&lt;a href="http://localhost/"&gt;产品网站&lt;/a&gt;</source>
        <translation>&lt;a href="http://localhost/"&gt;Product website&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <location filename="../items/comparedialog.cpp" line="+35" />
        <source>与文件比较</source>
        <translation>Compare with File</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出报告…</source>
        <translation>Export Report...</translation>
    </message>
    <message>
        <location line="+2" />
        <source>写入不同项…</source>
        <translation>Write Differing Items...</translation>
    </message>
    <message>
        <location line="+4" />
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+43" />
        <location line="+7" />
        <source>导出报告</source>
        <translation>Export Report</translation>
    </message>
    <message>
        <location line="-5" />
        <source>Files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
</context>
<context>
    <name>DeviceTypeMgr</name>
    <message>
        <location filename="../makersite/devicetypemgr.cpp" line="+88" />
        <source>获取设备列表失败,请重试!</source>
        <translation>Could not get the device list. Please try again.</translation>
    </message>
</context>
<context>
    <name>DownloadThread</name>
    <message>
        <location filename="../makersite/downloadthread.cpp" line="+107" />
        <location line="+46" />
        <source>下载失败,打开链接失败!</source>
        <translation>Download failed: could not open the link.</translation>
    </message>
    <message>
        <location line="-33" />
        <source>下载失败,打开文件失败: %1</source>
        <translation>Download failed: could not open the file %1</translation>
    </message>
    <message>
        <location line="+17" />
        <location line="+44" />
        <source>下载失败,保存文件失败: %1</source>
        <translation>Download failed: could not save the file %1</translation>
    </message>
    <message>
        <location line="-22" />
        <source>下载异常: 文件过大,超过 %1 MB</source>
        <translation>Download error: the file is larger than %1 MB.</translation>
    </message>
    <message>
        <location line="+40" />
        <source>下载异常: %1</source>
        <translation>Download error: %1</translation>
    </message>
    <message>
        <location line="+4" />
        <source>下载异常: 未找到该文件或下载失败</source>
        <translation>Download error: the file was not found or the download failed.</translation>
    </message>
</context>
<context>
    <name>FleetText</name>
    <message>
        <location filename="../fleet/meterlist.cpp" line="+28" />
        <source>打开文件失败: %1</source>
        <translation>Could not open the file: %1</translation>
    </message>
    <message>
        <location line="+5" />
        <source>%1 太大, 不是设备列表</source>
        <translation>%1 is too large to be a device list</translation>
    </message>
    <message>
        <location line="+40" />
        <source>一行不能超过%1字节</source>
        <translation>a line may not exceed %1 bytes</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+55" />
        <source>最多%1台设备</source>
        <translation>At most %1 devices</translation>
    </message>
    <message>
        <location line="-50" />
        <source>一行应为 NAME,URI</source>
        <translation>A line must be NAME,URI</translation>
    </message>
    <message>
        <location line="+23" />
        <source>%1 第%2行: %3</source>
        <translation>%1 line %2: %3</translation>
    </message>
    <message>
        <location line="+17" />
        <source>名称应为字母、数字、点、横线或下划线</source>
        <translation>Names are letters, digits, dots, hyphens or underscores</translation>
    </message>
    <message>
        <location line="+2" />
        <source>名称%1重复出现</source>
        <translation>Name %1 appears more than once</translation>
    </message>
    <message>
        <location line="+43" />
        <source>保存文件失败: %1</source>
        <translation>Failed to save file: %1</translation>
    </message>
    <message>
        <location filename="../fleet/targeturi.cpp" line="+16" />
        <source>无效的UDP地址: %1</source>
        <translation>Invalid UDP address: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>不能向广播或组播地址发送: %1</source>
        <translation>Cannot send to a broadcast or multicast address: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>无效的UDP端口: %1</source>
        <translation>Invalid UDP port: %1</translation>
    </message>
    <message>
        <location line="+27" />
        <location line="+90" />
        <source>未知的参数: %1</source>
        <translation>Unknown parameter: %1</translation>
    </message>
    <message>
        <location line="-87" />
        <location line="+89" />
        <source>无效的参数值: %1=%2</source>
        <translation>Invalid parameter value: %1=%2</translation>
    </message>
    <message>
        <location line="-18" />
        <source>UDP目标应为 HOST:PORT: %1</source>
        <translation>A UDP target is HOST:PORT: %1</translation>
    </message>
    <message>
        <location line="+27" />
        <source>无法识别的目标: %1</source>
        <translation>Unrecognized target: %1</translation>
    </message>
    <message>
        <location filename="../fleet/meterwork.cpp" line="+57" />
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <location line="+3" />
        <location line="+19" />
        <source>已读取 %1 项</source>
        <translation>%1 items read</translation>
    </message>
    <message>
        <location line="-9" />
        <source>输出文件%1与程序自己的文件同名,不写入</source>
        <translation>Output file %1 has the name of one of the program's own files; not written.</translation>
    </message>
    <message>
        <location line="+19" />
        <source>型号不同，不写入: 设备为 %1，文件为 %2</source>
        <translation>Another model, not written: the device is %1, the file is for %2</translation>
    </message>
    <message>
        <location line="+6" />
        <source>%1 项不同</source>
        <translation>%1 items differ</translation>
    </message>
    <message>
        <location line="+9" />
        <source>无需写入</source>
        <translation>Nothing to write</translation>
    </message>
    <message>
        <location line="+54" />
        <source>已写入 %1 项，%2 项未被设备接受</source>
        <translation>%1 items written, %2 not accepted by the device</translation>
    </message>
    <message>
        <location line="+2" />
        <source>已写入 %1 项，已停止</source>
        <translation>%1 items written, stopped</translation>
    </message>
    <message>
        <location line="+3" />
        <source>已写入 %1 项</source>
        <translation>%1 items written</translation>
    </message>
    <message>
        <location line="+20" />
        <source>设备未接受时间: %1</source>
        <translation>The device did not accept the time: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>时钟已设为%1</source>
        <translation>Clock set to %1</translation>
    </message>
</context>
<context>
    <name>HistoryChart</name>
    <message>
        <location filename="../history/historychart.cpp" line="+78" />
        <source>没有可绘制的数据</source>
        <translation>No data to plot</translation>
    </message>
</context>
<context>
    <name>HistoryData</name>
    <message>
        <location filename="../forms/historydata.ui" line="+14" />
        <source>历史数据</source>
        <translation>History</translation>
    </message>
    <message>
        <location line="+8" />
        <source>起始日期:</source>
        <translation>Start date:</translation>
    </message>
    <message>
        <location line="+10" />
        <source>结束日期:</source>
        <translation>End date:</translation>
    </message>
    <message>
        <location line="+10" />
        <location filename="../history/historydata.cpp" line="+272" />
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="-29" />
        <source>…（共 %1 个字符）</source>
        <translation>… (%1 characters)</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="+131" />
        <location filename="../history/historydata.cpp" line="+29" />
        <location filename="../history/servicereportdialog.cpp" line="+82" />
        <source>起始日期应该小于或等于结束日期</source>
        <translation>The start date must not be later than the end date.</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="-173" />
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+25" />
        <source>表格</source>
        <translation>Table</translation>
    </message>
    <message>
        <location line="+6" />
        <source>滚轮缩放，拖动平移，右键拖动（或按住Ctrl拖动）框选放大，双击显示全部</source>
        <translation>Wheel zooms, dragging pans, dragging with the right button (or with Ctrl) zooms to the box, a double click shows everything</translation>
    </message>
    <message>
        <location line="+14" />
        <source>导出图表…</source>
        <translation>Export Chart...</translation>
    </message>
    <message>
        <location line="+9" />
        <source>图表</source>
        <translation>Chart</translation>
    </message>
    <message>
        <location line="+2" />
        <source>服务报告…</source>
        <translation>Service Report...</translation>
    </message>
    <message numerus="yes">
        <location line="+133" />
        <source>正在查询…已收到 %1 行</source>
        <translation>
            <numerusform>Querying... %1 line received</numerusform>
            <numerusform>Querying... %1 lines received</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>查询失败，已收到 %1 行</source>
        <translation>
            <numerusform>Query failed: %1 line received</numerusform>
            <numerusform>Query failed: %1 lines received</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>查询结束，共收到 %1 行</source>
        <translation>
            <numerusform>Query finished: %1 line received</numerusform>
            <numerusform>Query finished: %1 lines received</numerusform>
        </translation>
    </message>
    <message>
        <location line="+46" />
        <location line="+9" />
        <source>导出历史数据</source>
        <translation>Export History</translation>
    </message>
    <message>
        <location line="-16" />
        <location line="+213" />
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="-96" />
        <location filename="../history/historydata.cpp" line="-213" />
        <source>导出数据失败，数据格式错误</source>
        <translation>Could not export: the data is not in the expected format.</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="+8" />
        <source>Files (*.%1)</source>
        <translation>Files (*.%1)</translation>
    </message>
    <message>
        <location line="+9" />
        <source>正在导出PDF…</source>
        <translation>Exporting PDF...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <location line="+85" />
        <source>共 %1 行</source>
        <translation>
            <numerusform>%1 line</numerusform>
            <numerusform>%1 lines</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1" />
        <source>共 %1 行，其中 %2 行的时间无法识别（仍列在表中）</source>
        <translation>
            <numerusform>%1 line (%2 without a recognizable time, still listed)</numerusform>
            <numerusform>%1 lines, %2 of them without a recognizable time (still listed)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+15" />
        <source>%1 行没有时间</source>
        <translation>
            <numerusform>%1 line without a time</numerusform>
            <numerusform>%1 lines without a time</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>%1 行没有数值</source>
        <translation>
            <numerusform>%1 line without a number</numerusform>
            <numerusform>%1 lines without a number</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>%1 个读数超出 %2 个数据系列</source>
        <translation>
            <numerusform>%1 reading beyond %2 data series</numerusform>
            <numerusform>%1 readings beyond %2 data series</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5" />
        <source>%1，%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location line="+1" />
        <source>未绘出: %1</source>
        <translation>Not plotted: %1</translation>
    </message>
    <message>
        <location line="+7" />
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <location line="+0" />
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <location line="+0" />
        <source>最小值</source>
        <translation>Min</translation>
    </message>
    <message>
        <location line="+0" />
        <source>最大值</source>
        <translation>Max</translation>
    </message>
    <message>
        <location line="+0" />
        <source>平均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <location line="+0" />
        <source>点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <location line="+36" />
        <location line="+5" />
        <source>导出图表</source>
        <translation>Export Chart</translation>
    </message>
    <message>
        <location line="-5" />
        <source>图片或PDF (*.png *.pdf)</source>
        <translation>Image or PDF (*.png *.pdf)</translation>
    </message>
    <message>
        <location line="+18" />
        <location line="+6" />
        <source>服务报告</source>
        <translation>Service Report</translation>
    </message>
    <message>
        <location line="-5" />
        <source>Files (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <location line="+14" />
        <location filename="../history/servicereportdialog.cpp" line="+56" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6" />
        <source>写入文件失败: %1</source>
        <translation>Could not write the file: %1</translation>
    </message>
    <message>
        <location filename="../history/historychartexport.cpp" line="+22" />
        <location filename="../history/historydata.cpp" line="+1" />
        <location filename="../history/servicereportwriter.cpp" line="+25" />
        <source>打开文件失败: %1</source>
        <translation>Could not open the file: %1</translation>
    </message>
</context>
<context>
    <name>HistoryMarks</name>
    <message>
        <location filename="../history/historymarks.cpp" line="+14" />
        <source>时钟设为 %1 (%2)</source>
        <translation>Clock set to %1 (%2)</translation>
    </message>
    <message>
        <location line="+1" />
        <source>%1 %2: %3 → %4 (%5)</source>
        <translation>%1 %2: %3 → %4 (%5)</translation>
    </message>
</context>
<context>
    <name>HistoryReadings</name>
    <message>
        <location filename="../history/historyreadings.cpp" line="+49" />
        <source>第%1列</source>
        <translation>Column %1</translation>
    </message>
</context>
<context>
    <name>HistoryTableModel</name>
    <message>
        <location filename="../history/historytablemodel.cpp" line="+86" />
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <location line="+2" />
        <source>第%1列</source>
        <translation>Column %1</translation>
    </message>
</context>
<context>
    <name>ItemBackup</name>
    <message>
        <location filename="../items/itembackup.cpp" line="+34" />
        <source>无法保存写入前的备份%1,未写入任何配置项</source>
        <translation>Could not save the backup %1 before writing; no item was written.</translation>
    </message>
    <message>
        <location line="+11" />
        <source>无法创建备份文件夹%1,未写入任何配置项</source>
        <translation>Could not create the backup folder %1; no item was written.</translation>
    </message>
    <message>
        <location line="+45" />
        <source>备份文件夹中已有太多同名文件</source>
        <translation>Too many files of this name in the backup folder</translation>
    </message>
    <message>
        <location line="+28" />
        <source>备份中没有该项的值: 它含有逗号或换行,备份文件无法保存,不恢复</source>
        <translation>The backup holds no value for this item: the value contains a comma or line break, which a backup file cannot hold. Not restored.</translation>
    </message>
    <message>
        <location line="+3" />
        <source>备份中的名称“%1”与设备中的“%2”不符,不恢复</source>
        <translation>The name “%1” in the backup does not match “%2” on the device. Not restored.</translation>
    </message>
</context>
<context>
    <name>ItemBatchWrite</name>
    <message>
        <location filename="../items/itembatchwrite.cpp" line="+32" />
        <location line="+8" />
        <location line="+136" />
        <source>正在写入配置......</source>
        <translation>Writing configuration...</translation>
    </message>
    <message>
        <location line="-92" />
        <source>列表中没有该配置项,不写入</source>
        <translation>Not in the list; not written</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+50" />
        <location line="+5" />
        <location line="+20" />
        <location line="+34" />
        <location line="+21" />
        <source>写入配置</source>
        <translation>Write Configuration</translation>
    </message>
    <message>
        <location line="-130" />
        <source>要写入的值与设备中的值相同,没有写入任何配置项</source>
        <translation>The values to write match the device's values. No item was written.</translation>
    </message>
    <message>
        <location line="+7" />
        <source>已取消写入配置</source>
        <translation>Writing the configuration was canceled.</translation>
    </message>
    <message>
        <location line="+29" />
        <source>筛选已隐藏 %1 行，这些行同样会写入</source>
        <translation>The filter hides %1 rows; they are written too.</translation>
    </message>
    <message>
        <location line="+40" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+13" />
        <source>正在写入第%1项(共%2项): %3</source>
        <translation>Writing item %1 of %2: %3</translation>
    </message>
    <message>
        <location line="+20" />
        <source>写入配置失败: %1</source>
        <translation>Could not write the value: %1</translation>
    </message>
    <message>
        <location line="+8" />
        <source>写入错误,连接设备失败</source>
        <translation>Write error: could not connect to the device.</translation>
    </message>
    <message>
        <location line="+28" />
        <source>写入配置成功,写入前的值</source>
        <translation>Configuration written; the values before it</translation>
    </message>
    <message>
        <location line="-187" />
        <source>批量写入: 已写入%1项,设备未接受%2项,结果未知%3项,未写入%4项</source>
        <translation>Batch write: %1 written, %2 refused by the device, %3 unknown, %4 not written</translation>
    </message>
    <message>
        <location line="+6" />
        <source>批量写入: 已写入%1项,设备未接受%2项,未写入%3项</source>
        <translation>Batch write: %1 written, %2 refused by the device, %3 not written</translation>
    </message>
    <message numerus="yes">
        <location line="+173" />
        <source>已取消写入配置: 已写入%1项,共%2项</source>
        <translation>
            <numerusform>Writing canceled: %1 of %2 item written</numerusform>
            <numerusform>Writing canceled: %1 of %2 items written</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6" />
        <source>写入配置成功</source>
        <translation>Configuration written</translation>
    </message>
</context>
<context>
    <name>ItemComparison</name>
    <message>
        <location filename="../items/itemcomparison.cpp" line="+67" />
        <source>%1 (文件中为: %2)</source>
        <translation>%1 (in the file: %2)</translation>
    </message>
    <message>
        <location line="+32" />
        <source>%1 项不同, %2 项相同</source>
        <translation>%1 differ, %2 same</translation>
    </message>
    <message>
        <location line="+22" />
        <source>相同</source>
        <translation>Same</translation>
    </message>
    <message>
        <location line="+2" />
        <source>不同</source>
        <translation>Different</translation>
    </message>
    <message>
        <location line="+2" />
        <source>仅在文件中</source>
        <translation>Only in file</translation>
    </message>
    <message>
        <location line="+2" />
        <source>仅在设备中</source>
        <translation>Only on device</translation>
    </message>
    <message>
        <location line="+4" />
        <source>命令项</source>
        <translation>Command</translation>
    </message>
    <message>
        <location line="+22" />
        <source>序号</source>
        <translation>Index</translation>
    </message>
    <message>
        <location line="+0" />
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+0" />
        <source>设备值</source>
        <translation>Device value</translation>
    </message>
    <message>
        <location line="+0" />
        <source>文件值</source>
        <translation>File value</translation>
    </message>
    <message>
        <location line="+0" />
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <location line="+6" />
        <source>设备: %1</source>
        <translation>Device: %1</translation>
    </message>
    <message>
        <location line="+1" />
        <source>时间: %1</source>
        <translation>Time: %1</translation>
    </message>
</context>
<context>
    <name>ItemFilterEdit</name>
    <message>
        <location filename="../items/itemfilteredit.cpp" line="+41" />
        <source>筛选 (Ctrl+F)</source>
        <translation>Filter (Ctrl+F)</translation>
    </message>
</context>
<context>
    <name>ItemPage</name>
    <message>
        <location filename="../items/itempage.cpp" line="+127" />
        <location line="+321" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-282" />
        <source>正在读取第 %1 项…</source>
        <translation>Reading item %1...</translation>
    </message>
    <message>
        <location line="+13" />
        <source>等待设备应答…(%1 s)</source>
        <translation>Waiting for the device... (%1 s)</translation>
    </message>
    <message>
        <location line="+30" />
        <location line="+20" />
        <location line="+8" />
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="-27" />
        <location line="+35" />
        <location filename="../items/itempage_tools.cpp" line="+122" />
        <location line="+46" />
        <source>Files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="-20" />
        <source>正在导出配置......</source>
        <translation>Exporting configuration...</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出配置成功</source>
        <translation>Configuration exported</translation>
    </message>
    <message>
        <location line="+6" />
        <source>以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:
%1</source>
        <translation>The values of these items contain a comma or a line break and will not import back unchanged from this file:
%1</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+14" />
        <location line="+6" />
        <source>导入配置</source>
        <translation>Import</translation>
    </message>
    <message>
        <location line="-3" />
        <source>正在导入配置......</source>
        <translation>Importing configuration...</translation>
    </message>
    <message>
        <location line="+7" />
        <location filename="../items/itempage_tools.cpp" line="+14" />
        <source>导入配置成功</source>
        <translation>Configuration imported</translation>
    </message>
    <message>
        <location line="+18" />
        <source>来自文件, 未写入</source>
        <translation>From the file, not written yet</translation>
    </message>
    <message>
        <location line="+96" />
        <location line="+5" />
        <source>正在写入配置......</source>
        <translation>Writing configuration...</translation>
    </message>
    <message>
        <location line="-1" />
        <location line="+12" />
        <location line="+5" />
        <source>写入配置</source>
        <translation>Write Configuration</translation>
    </message>
    <message>
        <location filename="../items/itempage_tools.cpp" line="-138" />
        <source>与文件比较…</source>
        <translation>Compare with File...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>恢复备份…</source>
        <translation>Restore Backup...</translation>
    </message>
    <message>
        <location line="+26" />
        <source>显示 %1 / %2 项</source>
        <translation>Showing %1 of %2 items</translation>
    </message>
    <message>
        <location line="+16" />
        <source>正在读取设备中的值......</source>
        <translation>Reading the device's values...</translation>
    </message>
    <message>
        <location line="+24" />
        <source>读取设备中的值失败,未写入任何配置项</source>
        <translation>Could not read the device's values; no item was written.</translation>
    </message>
    <message>
        <location line="+10" />
        <source>与文件比较</source>
        <translation>Compare with File</translation>
    </message>
    <message>
        <location line="+28" />
        <source>文件中的型号为“%1”,设备的型号为“%2”。仍要比较吗?</source>
        <translation>The file is for model “%1”, the device is model “%2”. Compare anyway?</translation>
    </message>
    <message>
        <location line="+1" />
        <source>比较</source>
        <translation>Compare</translation>
    </message>
    <message>
        <location line="+15" />
        <source>恢复备份</source>
        <translation>Restore Backup</translation>
    </message>
    <message>
        <location line="-58" />
        <source>已取消写入配置</source>
        <translation>Writing the configuration was canceled.</translation>
    </message>
    <message>
        <location filename="../items/itempage.cpp" line="+45" />
        <location filename="../items/itempage_tools.cpp" line="-19" />
        <location line="+62" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="-45" />
        <source>写入配置失败: %1</source>
        <translation>Could not write the value: %1</translation>
    </message>
    <message>
        <location line="-8" />
        <source>写入错误,连接设备失败</source>
        <translation>Write error: could not connect to the device.</translation>
    </message>
    <message>
        <location line="+91" />
        <source>写入配置成功</source>
        <translation>Configuration written</translation>
    </message>
    <message>
        <location line="-160" />
        <location line="+10" />
        <location line="+6" />
        <location line="+4" />
        <location line="+2" />
        <source>同步时间</source>
        <translation>Sync Time</translation>
    </message>
    <message>
        <location line="-2" />
        <source>同步时间成功</source>
        <translation>Time synchronized.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>同步时间失败</source>
        <translation>Could not synchronize the time.</translation>
    </message>
    <message>
        <location line="+65" />
        <location line="+69" />
        <source>写入和导出使用配置项序号%1</source>
        <translation>Writes and exports use item index %1</translation>
    </message>
    <message>
        <location line="-31" />
        <source>第%1行是命令,按“确定”立即发送给设备执行。</source>
        <translation>Row %1 is a command: OK sends it to the device, which carries it out at once.</translation>
    </message>
    <message>
        <location line="+21" />
        <source>提交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <location line="+12" />
        <source>设备未接受该值</source>
        <translation>The device did not accept this value.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>写入配置失败,该项不支持修改</source>
        <translation>Could not write: this item cannot be changed.</translation>
    </message>
    <message>
        <location line="+26" />
        <source>写入记录</source>
        <translation>Journal</translation>
    </message>
</context>
<context>
    <name>ItemSession</name>
    <message>
        <location filename="../items/itemsession.cpp" line="+18" />
        <source>数据长度校验错误 : 
%1</source>
        <translation>Data length check failed:
%1</translation>
    </message>
    <message>
        <location line="+1" />
        <source>地址或命令校验错误: 
%1</source>
        <translation>Address or command check failed:
%1</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <location filename="../items/journal.cpp" line="+107" />
        <location line="+17" />
        <source>无法写入记录文件%1: %2</source>
        <translation>Could not write the journal %1: %2</translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <location filename="../app/launchoptions.cpp" line="+162" />
        <source>无法使用工作目录 %1。</source>
        <translation>Cannot use %1 as the working folder.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../forms/mainwindow.ui" line="+17" />
        <source>操作</source>
        <translation>Device</translation>
    </message>
    <message>
        <location line="+14" />
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <location line="+6" />
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <location line="+9" />
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <location line="+16" />
        <location line="+1" />
        <source>通讯设置</source>
        <translation>Connection</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <location filename="../app/mainwindow.cpp" line="+213" />
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>导入配置</source>
        <translation>Import</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>导出配置</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>写入配置</source>
        <translation>Write Configuration</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>同步时间</source>
        <translation>Sync Time</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>历史数据</source>
        <translation>History</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location line="+3" />
        <location line="+1" />
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+1" />
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>繁體中文</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="-144" />
        <source>准备就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <location line="+108" />
        <source>已保存到 %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <location line="+0" />
        <source>%1,已保存到 %2</source>
        <translation>%1, saved to %2</translation>
    </message>
    <message>
        <location line="+36" />
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+10" />
        <source>打开记录文件夹</source>
        <translation>Open Journal Folder</translation>
    </message>
    <message>
        <location line="+2" />
        <source>服务报告…</source>
        <translation>Service Report...</translation>
    </message>
    <message>
        <location line="+2" />
        <source>打开文件夹</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <location line="+2" />
        <source>多台设备…</source>
        <translation>Multiple Devices...</translation>
    </message>
    <message>
        <location filename="../cli/cliapp.cpp" line="+322" />
        <location line="+27" />
        <location filename="../cli/clihistory.cpp" line="-3" />
        <location line="+35" />
        <location line="+77" />
        <location filename="../cli/climeterjob.cpp" line="+259" />
        <location filename="../cli/clitarget.cpp" line="+13" />
        <location filename="../items/itemcomparison.cpp" line="+9" />
        <location filename="../items/itemcsv.cpp" line="+94" />
        <location line="+54" />
        <source>打开文件失败: %1</source>
        <translation>Could not open the file: %1</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="-110" />
        <location line="+67" />
        <location line="+74" />
        <location filename="../items/itemcomparison.cpp" line="+4" />
        <location filename="../items/itemcsv.cpp" line="-51" />
        <source>写入文件失败: %1</source>
        <translation>Could not write the file: %1</translation>
    </message>
    <message>
        <location filename="../items/itemcsv.cpp" line="+63" />
        <source>第%1行</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>第%1行: 配置项%2重复出现</source>
        <translation>Line %1: item %2 appears more than once.</translation>
    </message>
    <message>
        <location line="+5" />
        <source>文件解析错误</source>
        <translation>Could not parse the file.</translation>
    </message>
    <message>
        <location filename="../cli/climeterjob.cpp" line="+333" />
        <source>同步时间失败</source>
        <translation>Could not synchronize the time.</translation>
    </message>
    <message>
        <location filename="../items/itemvalue.cpp" line="+38" />
        <source>配置值含有设备无法表示的字符,未写入</source>
        <translation>The value contains characters the device cannot represent. Nothing was written.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入</source>
        <translation>The value is too long: %1 bytes when encoded, but the device accepts at most %2 bytes. Nothing was written.</translation>
    </message>
    <message>
        <location filename="../items/itemsession.cpp" line="+204" />
        <source>硬件返回数据校验错误</source>
        <translation>The device's answer failed the check.</translation>
    </message>
    <message>
        <location line="-4" />
        <source>设备应答的配置项“%1”不是所写的“%2”,写入未确认</source>
        <translation>The device answered for item “%1”, not for “%2”. The write is not confirmed.</translation>
    </message>
    <message>
        <location filename="../items/writeoutcome.cpp" line="+26" />
        <source>结果未知：设备可能已接受该值，请重新读取确认</source>
        <translation>Result unknown: the device may have taken the value. Read it again to check.</translation>
    </message>
</context>
<context>
    <name>MeterEditor</name>
    <message>
        <location filename="../fleet/metereditor.cpp" line="+16" />
        <source>添加设备</source>
        <translation>Add Device</translation>
    </message>
    <message>
        <location line="+2" />
        <source>名称：</source>
        <translation>Name:</translation>
    </message>
</context>
<context>
    <name>MetersPanel</name>
    <message>
        <location filename="../fleet/meterspanel.cpp" line="+137" />
        <source>多台设备</source>
        <translation>Multiple Devices</translation>
    </message>
    <message>
        <location line="+2" />
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+0" />
        <source>连接</source>
        <translation>Connection</translation>
    </message>
    <message>
        <location line="+0" />
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <location line="+0" />
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <location line="+0" />
        <source>设备名称</source>
        <translation>Device name</translation>
    </message>
    <message>
        <location line="+0" />
        <source>上次通信</source>
        <translation>Last contact</translation>
    </message>
    <message>
        <location line="+0" />
        <source>上次写入</source>
        <translation>Last write</translation>
    </message>
    <message>
        <location line="+0" />
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <location line="+1" />
        <source>添加…</source>
        <translation>Add...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <location line="+1" />
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+1" />
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设为当前连接</source>
        <translation>Use as Connection</translation>
    </message>
    <message>
        <location line="+1" />
        <source>读取配置</source>
        <translation>Read Configuration</translation>
    </message>
    <message>
        <location line="+1" />
        <source>应用文件…</source>
        <translation>Apply File...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>同步时间</source>
        <translation>Sync Time</translation>
    </message>
    <message>
        <location line="+1" />
        <source>固件更新…</source>
        <translation>Update Firmware...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+1" />
        <source>同时通信：</source>
        <translation>At once:</translation>
    </message>
    <message>
        <location line="+1" />
        <source>失败几台后停止：</source>
        <translation>Stop after failures:</translation>
    </message>
    <message>
        <location line="+70" />
        <source>无法识别: %1</source>
        <translation>Not recognized: %1</translation>
    </message>
    <message>
        <location line="+8" />
        <source>未保存</source>
        <translation>Not saved</translation>
    </message>
    <message>
        <location line="+19" />
        <source>上次写入时记录的值</source>
        <translation>As recorded at the last write</translation>
    </message>
    <message>
        <location line="+40" />
        <source>请先选择设备</source>
        <translation>Please select the devices first.</translation>
    </message>
    <message>
        <location line="+92" />
        <source>请先选择未保存的设备</source>
        <translation>Please select the devices not saved yet first.</translation>
    </message>
    <message>
        <location line="+26" />
        <source>请只选择一台设备</source>
        <translation>Please select one device only.</translation>
    </message>
    <message>
        <location line="+5" />
        <source>已设为当前连接</source>
        <translation>Now the connection</translation>
    </message>
    <message>
        <location filename="../fleet/meterspanel_actions.cpp" line="+60" />
        <source>等待</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <location line="+26" />
        <source>未开始</source>
        <translation>Not started</translation>
    </message>
    <message>
        <location line="+23" />
        <source>完成 %1 台，失败 %2 台，跳过 %3 台</source>
        <translation>%1 done, %2 failed, %3 skipped</translation>
    </message>
    <message>
        <location line="+13" />
        <source>选择保存配置的文件夹</source>
        <translation>Select the Folder for the Configurations</translation>
    </message>
    <message>
        <location line="+7" />
        <source>无法创建文件夹: %1</source>
        <translation>Could not create the folder: %1</translation>
    </message>
    <message>
        <location line="+4" />
        <source>正在读取配置…</source>
        <translation>Reading configurations...</translation>
    </message>
    <message>
        <location line="+2" />
        <location line="+39" />
        <source>正在读取…</source>
        <translation>Reading...</translation>
    </message>
    <message>
        <location line="-13" />
        <source>应用文件</source>
        <translation>Apply File</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="+11" />
        <source>正在比较…</source>
        <translation>Comparing...</translation>
    </message>
    <message>
        <location line="+29" />
        <source>将文件%1中不同的项写入以下设备(写入前先备份各设备的配置):
%2
是否写入?</source>
        <translation>Write the differing items of %1 to these devices (each device's configuration is backed up first):
%2
Write them?</translation>
    </message>
    <message>
        <location line="+2" />
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <location line="+0" />
        <location line="+92" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="-87" />
        <location line="+3" />
        <source>正在写入…</source>
        <translation>Writing...</translation>
    </message>
    <message>
        <location line="+22" />
        <location line="+2" />
        <source>正在同步时间…</source>
        <translation>Synchronizing the time...</translation>
    </message>
    <message>
        <location line="+17" />
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Files (*.vexabin)</source>
        <translation>Firmware packages (*.vexabin)</translation>
    </message>
    <message>
        <location line="+12" />
        <location line="+2" />
        <source>正在识别设备…</source>
        <translation>Identifying the devices...</translation>
    </message>
    <message>
        <location line="+3" />
        <source>型号相符</source>
        <translation>Model matches</translation>
    </message>
    <message>
        <location line="+2" />
        <source>跳过: %1</source>
        <translation>Skipped: %1</translation>
    </message>
    <message>
        <location line="+20" />
        <source>确认把固件%1(型号 %2，版本 %3)烧写到以下 %4 台设备？
%5</source>
        <translation>Flash the firmware %1 (model %2, version %3) into these %4 devices?
%5</translation>
    </message>
    <message>
        <location line="+4" />
        <source>烧写</source>
        <translation>Flash</translation>
    </message>
    <message>
        <location line="+6" />
        <location line="+2" />
        <source>正在更新固件…</source>
        <translation>Updating the firmware...</translation>
    </message>
    <message>
        <location line="+3" />
        <source>正在更新固件… %1%</source>
        <translation>Updating the firmware... %1%</translation>
    </message>
    <message>
        <location line="+11" />
        <source>已更新，%1</source>
        <translation>Updated. %1</translation>
    </message>
</context>
<context>
    <name>ModifyDialog</name>
    <message>
        <location filename="../forms/modifydialog.ui" line="+14" />
        <source>Dialog</source>
        <translation>Edit Item</translation>
    </message>
    <message>
        <location line="+12" />
        <source>提交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <location line="+13" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MonitorCommandsDialog</name>
    <message>
        <location filename="../monitor/monitorcommandsdialog.cpp" line="+35" />
        <source>编辑命令</source>
        <translation>Edit Commands</translation>
    </message>
    <message>
        <location line="+20" />
        <source>名称</source>
        <translation>Name:</translation>
    </message>
    <message>
        <location line="+1" />
        <source>模式</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <location line="+1" />
        <source>行尾</source>
        <translation>Line end:</translation>
    </message>
    <message>
        <location line="+1" />
        <source>内容</source>
        <translation>Content:</translation>
    </message>
    <message>
        <location line="+2" />
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+1" />
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <location line="+1" />
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <location line="+15" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+1" />
        <source>导入…</source>
        <translation>Import...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>导出…</source>
        <translation>Export...</translation>
    </message>
    <message>
        <location line="+59" />
        <location line="+44" />
        <source>命令超过%1条</source>
        <translation>More than %1 commands</translation>
    </message>
    <message>
        <location line="-12" />
        <source>导入命令</source>
        <translation>Import Commands</translation>
    </message>
    <message>
        <location line="+0" />
        <location line="+19" />
        <source>命令文件 (*.txt);;所有文件 (*)</source>
        <translation>Command files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <location line="-1" />
        <source>导出命令</source>
        <translation>Export Commands</translation>
    </message>
</context>
<context>
    <name>MonitorDialog</name>
    <message>
        <location filename="../forms/monitordialog.ui" line="+14" />
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location line="+8" />
        <source>原始数据</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+7" />
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <location line="+7" />
        <source>原始数据 + 十六进制</source>
        <translation>Text and hex</translation>
    </message>
    <message>
        <location line="+23" />
        <source>调试信息</source>
        <translation>Debug output</translation>
    </message>
    <message>
        <location line="+23" />
        <source>开始监听</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+7" />
        <source>停止监听</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+7" />
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../monitor/monitordialog.cpp" line="+413" />
        <source>选择记录文件</source>
        <translation>Choose Recording File</translation>
    </message>
    <message>
        <location line="+2" />
        <source>日志文件 (*.log);;所有文件 (*)</source>
        <translation>Log files (*.log);;All files (*)</translation>
    </message>
    <message>
        <location line="-329" />
        <location line="+398" />
        <source>记录到文件</source>
        <translation>Record to File</translation>
    </message>
    <message>
        <location line="-427" />
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <location line="+33" />
        <source>显示的文本</source>
        <translation>Shown text</translation>
    </message>
    <message>
        <location line="+0" />
        <source>原始字节</source>
        <translation>Raw bytes</translation>
    </message>
    <message>
        <location line="+6" />
        <source>选择文件…</source>
        <translation>Select File...</translation>
    </message>
    <message>
        <location line="+2" />
        <source>时间戳</source>
        <translation>Timestamps</translation>
    </message>
    <message>
        <location line="+3" />
        <location line="+415" />
        <source>暂停显示</source>
        <translation>Pause View</translation>
    </message>
    <message>
        <location line="-412" />
        <source>全部复制</source>
        <translation>Copy All</translation>
    </message>
    <message>
        <location line="+31" />
        <source>按停顿分行</source>
        <translation>New line at pauses</translation>
    </message>
    <message>
        <location line="+2" />
        <source>十六进制显示时,线路停顿超过所设毫秒数也开始新的一行</source>
        <translation>In hex, a pause of the line longer than these milliseconds also starts a new line</translation>
    </message>
    <message>
        <location line="+5" />
        <source> 毫秒</source>
        <translation> ms</translation>
    </message>
    <message>
        <location line="+2" />
        <location line="+217" />
        <source>未监听</source>
        <translation>Not monitoring</translation>
    </message>
    <message>
        <location line="-163" />
        <source>连接已断开</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <location line="+6" />
        <source>已重新连接</source>
        <translation>Reconnected</translation>
    </message>
    <message>
        <location line="+9" />
        <source>未连接，无法发送</source>
        <translation>Not connected: nothing was sent</translation>
    </message>
    <message>
        <location line="+4" />
        <source>上一次发送尚未完成</source>
        <translation>The previous send has not finished yet</translation>
    </message>
    <message>
        <location line="+33" />
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <location line="+1" />
        <source>上一个</source>
        <translation>Previous</translation>
    </message>
    <message>
        <location line="+2" />
        <source>下一个</source>
        <translation>Next</translation>
    </message>
    <message>
        <location line="+4" />
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+53" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-86" />
        <location line="+97" />
        <source>…（共 %1 字节）</source>
        <translation>… (%1 bytes)</translation>
    </message>
    <message>
        <location line="+164" />
        <source>无法写入记录文件: %1</source>
        <translation>Could not write the recording file: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+31" />
        <source>继续显示（%1 行）</source>
        <translation>
            <numerusform>Resume (%1 Line)</numerusform>
            <numerusform>Resume (%1 Lines)</numerusform>
        </translation>
    </message>
    <message>
        <location line="+41" />
        <source>无匹配</source>
        <translation>No matches</translation>
    </message>
    <message numerus="yes">
        <location line="+0" />
        <source>%1 处匹配</source>
        <translation>
            <numerusform>%1 match</numerusform>
            <numerusform>%1 matches</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MonitorSend</name>
    <message>
        <location filename="../monitor/monitorcommand.cpp" line="+20" />
        <source>应为 名称&lt;TAB&gt;模式&lt;TAB&gt;行尾&lt;TAB&gt;内容</source>
        <translation>Expected name&lt;TAB&gt;mode&lt;TAB&gt;line end&lt;TAB&gt;content</translation>
    </message>
    <message>
        <location line="+4" />
        <source>缺少名称</source>
        <translation>The name is missing.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>名称和内容不能含回车或换行符,行尾请用行尾选项</source>
        <translation>Name and content cannot hold a carriage return or line feed; choose them as the line end.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>未知的模式: %1</source>
        <translation>Unknown mode: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>未知的行尾: %1</source>
        <translation>Unknown line end: %1</translation>
    </message>
    <message>
        <location line="+43" />
        <source>打开文件失败: %1</source>
        <translation>Could not open the file: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>文件太大: %1</source>
        <translation>The file is too large: %1</translation>
    </message>
    <message>
        <location line="+15" />
        <source>第%1行: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <location line="+2" />
        <source>命令超过%1条</source>
        <translation>More than %1 commands</translation>
    </message>
    <message>
        <location line="+15" />
        <source>写入文件失败: %1</source>
        <translation>Could not write the file: %1</translation>
    </message>
    <message>
        <location filename="../monitor/monitorsend.cpp" line="+83" />
        <source>第%1个字符: 十六进制数字不成对</source>
        <translation>Character %1: a hex digit without its pair</translation>
    </message>
    <message>
        <location line="+1" />
        <source>第%1个字符不是十六进制数字</source>
        <translation>Character %1 is not a hex digit.</translation>
    </message>
    <message>
        <location line="+7" />
        <source>文本含有GB2312以外的字符</source>
        <translation>The text holds characters outside GB2312.</translation>
    </message>
    <message>
        <location line="+21" />
        <source>没有要发送的内容</source>
        <translation>Nothing to send.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>一次最多发送%1字节,这次是%2字节</source>
        <translation>At most %1 bytes per send; this is %2 bytes.</translation>
    </message>
</context>
<context>
    <name>MonitorSendBar</name>
    <message>
        <location filename="../monitor/monitorsendbar.cpp" line="+20" />
        <source>要发送的文本或十六进制字节</source>
        <translation>Text or hex bytes to send</translation>
    </message>
    <message>
        <location line="+2" />
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <location line="+4" />
        <source>允许发送</source>
        <translation>Allow sending</translation>
    </message>
    <message>
        <location line="+2" />
        <source>错误的帧可能改变设备的设置</source>
        <translation>A wrong frame can change the device's settings</translation>
    </message>
    <message>
        <location line="+7" />
        <source>附加CRC</source>
        <translation>Append CRC</translation>
    </message>
    <message>
        <location line="+2" />
        <source>在内容后附加CRC-16/MODBUS,低字节在前</source>
        <translation>Appends CRC-16/MODBUS after the content, low byte first</translation>
    </message>
    <message>
        <location line="+5" />
        <source>编辑命令…</source>
        <translation>Edit Commands...</translation>
    </message>
    <message>
        <location line="+38" />
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+1" />
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <location line="+5" />
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <location line="+21" />
        <source>发送命令…</source>
        <translation>Send command...</translation>
    </message>
</context>
<context>
    <name>MonitorThread</name>
    <message>
        <location filename="../monitor/monitorsession.cpp" line="+38" />
        <location line="+32" />
        <source>设备监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <location line="+1" />
        <source>连接已断开</source>
        <translation>Disconnected.</translation>
    </message>
    <message>
        <location line="+79" />
        <source>监听调试</source>
        <translation>Debug Output</translation>
    </message>
    <message>
        <location line="+38" />
        <source>未连接，无法发送</source>
        <translation>Not connected: nothing was sent</translation>
    </message>
    <message>
        <location filename="../monitor/monitorline.cpp" line="+94" />
        <source>—— 连接已断开 %1 ——</source>
        <translation>—— Disconnected %1 ——</translation>
    </message>
    <message>
        <location line="+1" />
        <source>—— 已重新连接 %1 ——</source>
        <translation>—— Reconnected %1 ——</translation>
    </message>
</context>
<context>
    <name>NeutralAboutDialog</name>
    <message>
        <location filename="../forms/neutralaboutdialog.ui" line="+9" />
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+15" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <location filename="../base/outputfile.cpp" line="+21" />
        <source>这是一个符号链接;程序自己命名的文件不经链接写入</source>
        <translation>This is a symbolic link; files the program names itself are not written through links.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这是一个管道(FIFO),只能写入普通文件</source>
        <translation>This is a pipe (FIFO); only regular files are written.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这是一个设备,只能写入普通文件</source>
        <translation>This is a device; only regular files are written.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这是一个文件夹,只能写入普通文件</source>
        <translation>This is a folder; only regular files are written.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这不是普通文件,只能写入普通文件</source>
        <translation>This is not a regular file; only regular files are written.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>文件已存在;不覆盖本次运行之前就有的文件</source>
        <translation>The file exists already; files from before this run are not overwritten.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../base/folderopener.cpp" line="+41" />
        <source>打开文件夹</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <location line="+2" />
        <source>没有可打开文件夹的文件管理器。文件夹位于:
%1</source>
        <translation>No file manager opened the folder. It is at:
%1</translation>
    </message>
    <message>
        <location line="+4" />
        <location filename="../base/messageboxes.cpp" line="+38" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../base/messageboxes.cpp" line="+6" />
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <location line="+26" />
        <location line="+25" />
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <location filename="../firmware/ddbserver.cpp" line="+65" />
        <source>解析文件失败,文件不存在或拒绝访问!</source>
        <translation>Could not load the file: it does not exist or access was denied.</translation>
    </message>
    <message>
        <location line="+10" />
        <source>解析文件失败,打开文件失败,请检查文件类型!</source>
        <translation>Could not load the file: it could not be opened. Please check the file type.</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+2" />
        <source>解析文件失败,文件操作失败!</source>
        <translation>Could not load the file: a file operation failed.</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+4" />
        <location line="+11" />
        <source>解析文件失败,无法获取文件内容!</source>
        <translation>Could not load the file: its content could not be read.</translation>
    </message>
    <message>
        <location line="+127" />
        <source>解析文件失败,文件校验失败!</source>
        <translation>Could not load the file: it failed its integrity check.</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+108" />
        <source>CRC校验错误</source>
        <translation>CRC check failed.</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="+267" />
        <location filename="../link/frame.cpp" line="+2" />
        <source>发送命令超时</source>
        <translation>Sending the command timed out.</translation>
    </message>
    <message>
        <location line="+8" />
        <location filename="../link/frame.cpp" line="+2" />
        <source>接受数据超时</source>
        <translation>Receiving data timed out.</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+2" />
        <source>未定义的错误</source>
        <translation>Unknown error.</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="-227" />
        <source>打开串口失败: %1</source>
        <translation>Could not open the serial port: %1</translation>
    </message>
    <message>
        <location line="+0" />
        <source>串口打开失败</source>
        <translation>Could not open the serial port.</translation>
    </message>
    <message>
        <location line="+203" />
        <location line="+14" />
        <source>发送命令失败</source>
        <translation>Could not send the command.</translation>
    </message>
    <message>
        <location filename="../link/searchdevicedialog.cpp" line="+93" />
        <source>请选择设备</source>
        <translation>Please select a device.</translation>
    </message>
    <message>
        <location filename="../link/commsettings.cpp" line="+164" />
        <source>未设置地址</source>
        <translation>no address set</translation>
    </message>
    <message>
        <location line="+7" />
        <source>未选择串口</source>
        <translation>No serial port selected</translation>
    </message>
    <message>
        <location line="+5" />
        <source>%1 · 地址 %2</source>
        <translation>%1 · address %2</translation>
    </message>
    <message>
        <location filename="../link/linkfailure.cpp" line="+17" />
        <source>请检查电缆、端口和设备地址，并确认仪表已通电。</source>
        <translation>Check the cable, the port and the device address, and that the meter is powered on.</translation>
    </message>
    <message>
        <location line="+1" />
        <source>请检查端口名称，以及端口是否被其他程序占用。</source>
        <translation>Check the port name and whether another program is using the port.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ReadThread</name>
    <message>
        <location filename="../history/readthread.cpp" line="+40" />
        <location line="+1" />
        <location line="+6" />
        <location line="+2" />
        <source>查询</source>
        <translation>Query</translation>
    </message>
</context>
<context>
    <name>RefreshThread</name>
    <message>
        <location filename="../items/refreshthread.cpp" line="+28" />
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <location filename="../items/itemsession.cpp" line="-54" />
        <source>设备在第%1项后仍未结束配置列表,已停止读取</source>
        <translation>The device did not end its item list after %1 items. Reading stopped.</translation>
    </message>
    <message>
        <location line="+20" />
        <source>配置项%1与配置项%2的应答完全相同,列表可能错位,请重新读取</source>
        <translation>Items %1 and %2 gave the very same answer; the list may be out of step. Refresh again.</translation>
    </message>
</context>
<context>
    <name>SearchDeviceDialog</name>
    <message>
        <location filename="../forms/searchdevicedialog.ui" line="+14" />
        <source>查找设备</source>
        <translation>Find Devices</translation>
    </message>
    <message>
        <location line="+17" />
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+16" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+16" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ServiceReport</name>
    <message>
        <location filename="../history/servicereport.cpp" line="+102" />
        <location line="+62" />
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <location line="-60" />
        <location filename="../history/servicereportwriter.cpp" line="+13" />
        <source>服务报告</source>
        <translation>Service Report</translation>
    </message>
    <message>
        <location line="+6" />
        <source>设备型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备名称</source>
        <translation>Device name</translation>
    </message>
    <message>
        <location line="+1" />
        <source>连接</source>
        <translation>Connection</translation>
    </message>
    <message>
        <location line="+1" />
        <source>报告时间</source>
        <translation>Report time</translation>
    </message>
    <message>
        <location line="+3" />
        <source>配置项（最后读取的值）</source>
        <translation>Items (values as last read)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>尚未读取配置项。</source>
        <translation>The items have not been read yet.</translation>
    </message>
    <message>
        <location line="+3" />
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <location line="+0" />
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+1" />
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <location line="+7" />
        <source>本次维护的写入</source>
        <translation>Writes of this visit</translation>
    </message>
    <message>
        <location line="+6" />
        <source>今天没有写入配置项。</source>
        <translation>No items were written today.</translation>
    </message>
    <message>
        <location line="+3" />
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <location line="+0" />
        <source>配置项</source>
        <translation>Item</translation>
    </message>
    <message>
        <location line="+1" />
        <source>原值 → 新值</source>
        <translation>Old → new value</translation>
    </message>
    <message>
        <location line="+0" />
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <location line="+8" />
        <source>时钟</source>
        <translation>Clock</translation>
    </message>
    <message>
        <location line="+2" />
        <source>今天没有设置时钟。</source>
        <translation>The clock was not set today.</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+14" />
        <source>历史数据 %1 至 %2</source>
        <translation>History %1 to %2</translation>
    </message>
    <message>
        <location line="-1" />
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location line="+2" />
        <source>设备型号: %1    设备名称: %2    连接: %3</source>
        <translation>Model: %1    Device name: %2    Connection: %3</translation>
    </message>
    <message>
        <location line="+2" />
        <source>数据: %1</source>
        <translation>Data: %1</translation>
    </message>
</context>
<context>
    <name>ServiceReportDialog</name>
    <message>
        <location filename="../history/servicereportdialog.cpp" line="-106" />
        <location line="+50" />
        <location line="+3" />
        <location line="+34" />
        <location line="+8" />
        <source>服务报告</source>
        <translation>Service Report</translation>
    </message>
    <message>
        <location line="-85" />
        <source>读取并生成…</source>
        <translation>Read and Write Report...</translation>
    </message>
    <message>
        <location line="+1" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+2" />
        <source>起始日期:</source>
        <translation>Start date:</translation>
    </message>
    <message>
        <location line="+1" />
        <source>结束日期:</source>
        <translation>End date:</translation>
    </message>
    <message>
        <location line="+2" />
        <source>报告包含配置项的最后读取值、今天的写入记录和这段时间的历史数据图表。</source>
        <translation>The report holds the items as last read, today's writes and the history chart of these days.</translation>
    </message>
    <message numerus="yes">
        <location line="+9" />
        <location line="+35" />
        <source>正在读取历史数据…已收到 %1 行</source>
        <translation>
            <numerusform>Reading the history... %1 line received</numerusform>
            <numerusform>Reading the history... %1 lines received</numerusform>
        </translation>
    </message>
    <message>
        <location line="-6" />
        <source>Files (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <location line="+28" />
        <source>已取消</source>
        <translation>Canceled</translation>
    </message>
    <message>
        <location line="+8" />
        <source>正在生成报告…</source>
        <translation>Writing the report...</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../forms/setupdialog.ui" line="+14" />
        <source>串口设置</source>
        <translation>Connection Settings</translation>
    </message>
    <message>
        <location line="+6" />
        <source>Serial通讯</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <location line="+9" />
        <source>串口号：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location line="+31" />
        <source>重新列出串口</source>
        <translation>List the serial ports again</translation>
    </message>
    <message>
        <location line="+13" />
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <location line="+23" />
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <location line="+13" />
        <source>奇偶校验：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <location line="+13" />
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <location line="+41" />
        <source>Udp通讯</source>
        <translation>UDP</translation>
    </message>
    <message>
        <location line="+9" />
        <source>地址：</source>
        <translation>Address:</translation>
    </message>
    <message>
        <location line="+13" />
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location line="+22" />
        <source>查找设备</source>
        <translation>Find Devices</translation>
    </message>
    <message>
        <location line="+18" />
        <source>设备地址：</source>
        <translation>Device address:</translation>
    </message>
    <message>
        <location line="+29" />
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../link/commsettings.cpp" line="+39" />
        <source>请选择串口!</source>
        <translation>Please select a serial port.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>请选择波特率!</source>
        <translation>Please select a baud rate.</translation>
    </message>
    <message>
        <location line="+21" />
        <source>请输入UDP地址</source>
        <translation>Please enter the UDP address.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>请输入UDP端口</source>
        <translation>Please enter the UDP port.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>UDP地址无效，请输入IPv4或IPv6地址</source>
        <translation>The UDP address is not valid. Please enter an IPv4 or IPv6 address.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>UDP端口无效，请输入1到65535之间的数字</source>
        <translation>The UDP port is not valid. Please enter a number from 1 to 65535.</translation>
    </message>
    <message>
        <location filename="../link/setupdialog.cpp" line="+26" />
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Even</source>
        <translation>Even</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Odd</source>
        <translation>Odd</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../forms/updatedialog.ui" line="+14" />
        <location line="+6" />
        <location filename="../firmware/updatedialog.cpp" line="+226" />
        <source>更新固件</source>
        <translation>Update Firmware</translation>
    </message>
    <message>
        <location line="+6" />
        <source>设备：</source>
        <translation>Device:</translation>
    </message>
    <message>
        <location line="+14" />
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location line="+14" />
        <source>型号：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <location line="+14" />
        <source>文件：</source>
        <translation>File:</translation>
    </message>
    <message>
        <location line="+14" />
        <location line="+81" />
        <source>进度：</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <location line="-49" />
        <source>选择文件</source>
        <translation>Select File</translation>
    </message>
    <message>
        <location line="+7" />
        <location filename="../firmware/updatedialog.cpp" line="-66" />
        <source>烧写</source>
        <translation>Flash</translation>
    </message>
    <message>
        <location line="+12" />
        <location line="+76" />
        <location filename="../firmware/updatedialog.cpp" line="+131" />
        <source>下载文件</source>
        <translation>Download File</translation>
    </message>
    <message>
        <location line="-70" />
        <source>列表：</source>
        <translation>Package:</translation>
    </message>
    <message>
        <location line="+10" />
        <source>路径：</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <location line="+46" />
        <source>刷新文件列表</source>
        <translation>Refresh List</translation>
    </message>
    <message>
        <location line="+7" />
        <source>选择路径</source>
        <translation>Select Folder</translation>
    </message>
    <message>
        <location filename="../firmware/updatedialog.cpp" line="-234" />
        <source>正在结束更新…</source>
        <translation>Finishing the update...</translation>
    </message>
    <message>
        <location line="+65" />
        <source>请选择文件!</source>
        <translation>Please select a file.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>更新失败,文件不存在或拒绝访问!</source>
        <translation>Update failed: the file does not exist or access was denied.</translation>
    </message>
    <message>
        <location line="+17" />
        <source>固件更新失败,文件中没有固件数据!</source>
        <translation>Firmware update failed: the file contains no firmware data.</translation>
    </message>
    <message>
        <location line="+15" />
        <source>确认烧写以下固件？
设备：%1
版本：%2
型号：%3
连接：%4</source>
        <translation>Flash this firmware?
Device: %1
Version: %2
Model: %3
Connection: %4</translation>
    </message>
    <message>
        <location line="+12" />
        <source>重新开始</source>
        <translation>Start Again</translation>
    </message>
    <message>
        <location line="+0" />
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+27" />
        <source>请选择设备类型!</source>
        <translation>Please select the device type.</translation>
    </message>
    <message>
        <location line="+4" />
        <source>请选择下载路径!</source>
        <translation>Please select the download folder.</translation>
    </message>
    <message>
        <location line="+13" />
        <source>文件 %1 已存在,是否替换?</source>
        <translation>The file %1 already exists. Replace it?</translation>
    </message>
    <message>
        <location line="+2" />
        <source>替换</source>
        <translation>Replace</translation>
    </message>
    <message>
        <location line="+10" />
        <source>Files (*.vexabin)</source>
        <translation>Firmware packages (*.vexabin)</translation>
    </message>
    <message>
        <location line="-66" />
        <location line="+57" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../cli/cliservice.cpp" line="+81" />
        <location filename="../firmware/updatedialog.cpp" line="+45" />
        <source>固件更新成功!</source>
        <translation>Firmware updated.</translation>
    </message>
    <message>
        <location filename="../firmware/updatedialog.cpp" line="+56" />
        <location line="+1" />
        <source>文件下载成功!</source>
        <translation>File downloaded.</translation>
    </message>
    <message>
        <location line="+15" />
        <source>正在更新固件,请等待更新完成!</source>
        <translation>The firmware is being updated. Please wait until the update has finished.</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <location filename="../firmware/updatesession.cpp" line="+55" />
        <source>固件更新失败,文件中没有固件数据!</source>
        <translation>Firmware update failed: the file contains no firmware data.</translation>
    </message>
    <message>
        <location line="+9" />
        <source>固件更新失败,</source>
        <translation>Firmware update failed: </translation>
    </message>
    <message>
        <location line="+35" />
        <source>固件更新失败,获取设备ID失败!</source>
        <translation>Firmware update failed: could not get the device ID.</translation>
    </message>
    <message>
        <location line="+7" />
        <source>固件更新失败,BIN文件与设备型号不一致!</source>
        <translation>Firmware update failed: the BIN file does not match the device model.</translation>
    </message>
    <message>
        <location line="+19" />
        <source>固件更新失败,擦除设备内存失败!</source>
        <translation>Firmware update failed: could not erase the device memory.</translation>
    </message>
    <message>
        <location line="+19" />
        <source>固件更新失败,发送文件数据失败!</source>
        <translation>Firmware update failed: could not send the file data.</translation>
    </message>
    <message>
        <location filename="../firmware/updateframes.cpp" line="+136" />
        <source>未知</source>
        <translation>unknown</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备型号: %1
文件型号: %2</source>
        <translation>Device model: %1
File model: %2</translation>
    </message>
    <message>
        <location filename="../firmware/firmwareupdate.cpp" line="+24" />
        <source>更新后设备已应答</source>
        <translation>The device answered after the update</translation>
    </message>
    <message>
        <location line="+1" />
        <source>更新后设备未应答</source>
        <translation>The device did not answer after the update</translation>
    </message>
    <message>
        <location line="+16" />
        <source>设备中的固件已被擦除，需要重新更新固件。</source>
        <translation>The firmware in the device has been erased; the device needs a new update.</translation>
    </message>
</context>
<context>
    <name>VexaCli</name>
    <message>
        <location filename="../cli/cliapp.cpp" line="-292" />
        <source>读取配置项列表:每项的行号(配置助手列表中显示的)和配置项序号(文件和set使用的);-o写出配置助手的CSV文件</source>
        <translation>Read the item list: each item's row number (as the assistant's list shows it) and item index (as files and set use it); -o writes the assistant's CSV file</translation>
    </message>
    <message>
        <location line="+4" />
        <source>按配置项序号(不是行号)或名称写入配置项,并显示设备的应答;名称可只写开头,须只对应一项</source>
        <translation>Write items by item index (not row number) or by name, and show the device's answer; the start of a name will do if only one item fits</translation>
    </message>
    <message>
        <location line="+4" />
        <source>写入文件中与设备不同的值(先读取,并把设备中的值备份到backups/);--dry-run只显示比较;--all写入每一行</source>
        <translation>Write the file's values that differ from the device (reads first and backs up the device's values to backups/); --dry-run only prints the comparison; --all writes every row</translation>
    </message>
    <message>
        <location line="+4" />
        <source>将文件与设备中的值比较,不写入;相同时退出状态为0,不同时为5</source>
        <translation>Compare the file with the device's values without writing; exit status 0 when they are the same, 5 when they differ</translation>
    </message>
    <message>
        <location line="+1" />
        <source>将设备时钟设为本机当前时间</source>
        <translation>Set the device's clock to this computer's local time</translation>
    </message>
    <message>
        <location line="+2" />
        <source>读取两天之间的历史数据(日期yyyy-MM-dd);无-o时输出到标准输出</source>
        <translation>Read the history between two days (dates yyyy-MM-dd); to standard output without -o</translation>
    </message>
    <message>
        <location line="+3" />
        <source>读取配置项和两天之间的历史数据,写出服务报告(A4 PDF);今天对该设备的写入记录为本次维护</source>
        <translation>Read the items and the history between two days and write the service report (A4 PDF); today's writes to this meter are the visit</translation>
    </message>
    <message>
        <location line="+4" />
        <source>用固件包更新设备固件;进度显示在标准错误输出;更新后再识别一次设备,并说明设备是否应答</source>
        <translation>Update the device's firmware from a firmware package; progress goes to standard error; after the update the device is identified once more and the output says whether it answered</translation>
    </message>
    <message>
        <location line="+6" />
        <source>监听设备发送的行并输出到标准输出;可在打开后发送一次</source>
        <translation>Print the lines the device sends to standard output; can send once after opening</translation>
    </message>
    <message>
        <location line="+4" />
        <source>广播搜索设备(只在您自己的网络上使用)</source>
        <translation>Search for devices by broadcast (only on networks you own)</translation>
    </message>
    <message>
        <location line="+8" />
        <source>UDP目标</source>
        <translation>UDP target</translation>
    </message>
    <message>
        <location line="+1" />
        <source>串口目标</source>
        <translation>Serial port target</translation>
    </message>
    <message>
        <location line="+1" />
        <source>波特率(默认9600)</source>
        <translation>Baud rate (default 9600)</translation>
    </message>
    <message>
        <location line="+1" />
        <source>数据位5..8(默认8)</source>
        <translation>Data bits 5..8 (default 8)</translation>
    </message>
    <message>
        <location line="+1" />
        <source>校验: none|even|odd|space|mark</source>
        <translation>Parity: none|even|odd|space|mark</translation>
    </message>
    <message>
        <location line="+1" />
        <source>停止位: 1|1.5|2</source>
        <translation>Stop bits: 1|1.5|2</translation>
    </message>
    <message>
        <location line="+1" />
        <source>每次发送前拉动RTS</source>
        <translation>Pulse RTS before every send</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备地址1..255(默认255)</source>
        <translation>Device address 1..255 (default 255)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>多台设备,每行一台: NAME,udp://HOST:PORT?address=N 或 NAME,serial:PORT?baud=N&amp;address=N</source>
        <translation>Several devices, one per line: NAME,udp://HOST:PORT?address=N or NAME,serial:PORT?baud=N&amp;address=N</translation>
    </message>
    <message>
        <location line="+2" />
        <source>同时服务的设备数(默认8;同一串口上逐台进行)</source>
        <translation>Devices served at once (default 8; one at a time per serial port)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>多台设备:失败达到N台后不再开始新的设备,未开始的设备单独列出(默认不限)</source>
        <translation>Several devices: start no further device after N failures; the devices not started are listed (default: no limit)</translation>
    </message>
    <message>
        <location line="+1" />
        <source>每台设备一行JSON输出</source>
        <translation>One JSON line per device</translation>
    </message>
    <message>
        <location line="+2" />
        <source>慢速线路:items、set、apply、clock和report每次等待应答的毫秒数(默认读取3000,重试和写入10000)</source>
        <translation>Slow lines: milliseconds to wait for each answer in items, set, apply, clock and report (default 3000 for a read, 10000 for its repeat and for a write)</translation>
    </message>
    <message>
        <location line="+8" />
        <source>输出文件;多台设备时为文件夹</source>
        <translation>Output file; a folder for several devices</translation>
    </message>
    <message>
        <location line="+3" />
        <source>持续秒数(默认10)</source>
        <translation>Seconds to run (default 10)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>以十六进制显示</source>
        <translation>Show as hexadecimal</translation>
    </message>
    <message>
        <location line="+2" />
        <source>同时显示原文和十六进制</source>
        <translation>Show text and hexadecimal</translation>
    </message>
    <message>
        <location line="+2" />
        <source>不打开设备的调试输出</source>
        <translation>Do not switch the device's debug output on</translation>
    </message>
    <message>
        <location line="+2" />
        <source>打开后发送的文本(GB2312)</source>
        <translation>Text to send after opening (GB2312)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>打开后发送的十六进制字节</source>
        <translation>Hex bytes to send after opening</translation>
    </message>
    <message>
        <location line="+2" />
        <source>发送内容后的行尾: none|cr|lf|crlf(默认none)</source>
        <translation>Line end after the content sent: none|cr|lf|crlf (default none)</translation>
    </message>
    <message>
        <location line="+3" />
        <source>连接断开后等待并重新连接,直到--seconds结束</source>
        <translation>Wait for a lost connection and reconnect until --seconds end</translation>
    </message>
    <message>
        <location line="+2" />
        <source>另存为A4 PDF表格</source>
        <translation>Also save as an A4 PDF table</translation>
    </message>
    <message>
        <location line="+2" />
        <source>另存为图表(PNG图片或A4横向PDF)</source>
        <translation>save as a chart (PNG image or A4 landscape PDF)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>只显示比较,不写入</source>
        <translation>Print the comparison only, write nothing</translation>
    </message>
    <message>
        <location line="+2" />
        <source>写入前不备份设备中的值</source>
        <translation>Do not back up the device's values before writing</translation>
    </message>
    <message>
        <location line="+2" />
        <source>允许把有值的配置项写为空值</source>
        <translation>Allow writing an empty value to an item that has a value</translation>
    </message>
    <message>
        <location line="+3" />
        <source>跳过型号与固件包不同的设备(只识别,不擦除);跳过的设备单独列出,不算失败</source>
        <translation>Skip devices of another model than the package (identified only, nothing erased); skipped devices are listed and do not count as failures</translation>
    </message>
    <message>
        <location line="+3" />
        <source>执行命令配置项(没有值的项,如恢复出厂设置),写作INDEX=或NAME=</source>
        <translation>Run a command item (one without a value, such as a factory reset), written as INDEX= or NAME=</translation>
    </message>
    <message>
        <location line="+1" />
        <source>写入每一行,包括相同的值</source>
        <translation>Write every row, equal values too</translation>
    </message>
    <message>
        <location line="+8" />
        <source>显示帮助</source>
        <translation>Show this help</translation>
    </message>
    <message>
        <location line="+11" />
        <source>用法: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <location line="+7" />
        <source>配置、读取和维护仪表;默认目标为当前目录的config.ini,与配置助手相同。</source>
        <translation>Configure, read and service meters; the default target is config.ini in the current folder, as for the assistant.</translation>
    </message>
    <message>
        <location line="+2" />
        <source>命令:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <location line="+5" />
        <source>退出状态: 0 成功, 1 用法或参数错误, 2 连接错误, 3 设备拒绝, 4 文件错误, 5 diff发现不同</source>
        <translation>Exit status: 0 success, 1 usage or bad argument, 2 link error, 3 refused by the device, 4 file error, 5 diff found differences</translation>
    </message>
    <message>
        <location line="+2" />
        <location line="+9" />
        <source>选项:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <location line="-8" />
        <source>每个命令的帮助: vexa-cli COMMAND --help</source>
        <translation>Help for each command: vexa-cli COMMAND --help</translation>
    </message>
    <message>
        <location line="+15" />
        <source>用法见 vexa-cli --help</source>
        <translation>See vexa-cli --help for usage</translation>
    </message>
    <message>
        <location line="+1" />
        <source>用法见 vexa-cli %1 --help</source>
        <translation>See vexa-cli %1 --help for usage</translation>
    </message>
    <message>
        <location line="+18" />
        <source>--send和--send-hex只能选一个</source>
        <translation>Use only one of --send and --send-hex</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的行尾: %1</source>
        <translation>Invalid line end: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>--eol只用于--send或--send-hex</source>
        <translation>--eol is only for --send or --send-hex</translation>
    </message>
    <message>
        <location line="+22" />
        <source>缺少串口名</source>
        <translation>Serial port name missing</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的波特率: %1</source>
        <translation>Invalid baud rate: %1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的数据位: %1</source>
        <translation>Invalid data bits: %1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的校验: %1</source>
        <translation>Invalid parity: %1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的停止位: %1</source>
        <translation>Invalid stop bits: %1</translation>
    </message>
    <message>
        <location line="+9" />
        <source>无效的设备地址: %1</source>
        <translation>Invalid device address: %1</translation>
    </message>
    <message>
        <location line="+11" />
        <source>缺少 INDEX=VALUE 或 NAME=VALUE</source>
        <translation>INDEX=VALUE or NAME=VALUE is missing</translation>
    </message>
    <message>
        <location line="+6" />
        <source>应为 INDEX=VALUE(INDEX为0..254)或 NAME=VALUE: %1</source>
        <translation>Expected INDEX=VALUE (INDEX 0..254) or NAME=VALUE: %1</translation>
    </message>
    <message>
        <location line="+3" />
        <location filename="../cli/climeterjob.cpp" line="-260" />
        <source>配置项%1重复出现</source>
        <translation>Item %1 given more than once</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+17" />
        <source>需要一个文件</source>
        <translation>One file expected</translation>
    </message>
    <message>
        <location line="-6" />
        <source>该命令只用于一台设备</source>
        <translation>This command serves one device only</translation>
    </message>
    <message>
        <location line="+3" />
        <source>--pdf和--chart不能与--targets同用</source>
        <translation>--pdf and --chart cannot be used with --targets</translation>
    </message>
    <message>
        <location line="+18" />
        <source>--hex和--both只能选一个</source>
        <translation>Use --hex or --both, not both</translation>
    </message>
    <message>
        <location line="+4" />
        <source>需要 -o FILE.pdf</source>
        <translation>-o FILE.pdf is needed</translation>
    </message>
    <message>
        <location line="+18" />
        <source>多余的参数: %1</source>
        <translation>Unexpected arguments: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+37" />
        <source>%1台设备中%2台失败:</source>
        <translation>
            <numerusform>%2 of %1 device failed:</numerusform>
            <numerusform>%2 of %1 devices failed:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+5" />
        <source>跳过%1台设备:</source>
        <translation>
            <numerusform>Skipped %1 device:</numerusform>
            <numerusform>Skipped %1 devices:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4" />
        <source>失败达到上限,%1台设备未开始:</source>
        <translation>
            <numerusform>Too many failures; %1 device not started:</numerusform>
            <numerusform>Too many failures; %1 devices not started:</numerusform>
        </translation>
    </message>
    <message>
        <location line="+55" />
        <source>写入标准输出失败: %1</source>
        <translation>Could not write to standard output: %1</translation>
    </message>
    <message>
        <location line="+17" />
        <source>显示版本</source>
        <translation>Show the version</translation>
    </message>
    <message>
        <location line="+1" />
        <source>命令</source>
        <translation>Command</translation>
    </message>
    <message>
        <location line="+13" />
        <source>缺少命令</source>
        <translation>No command given</translation>
    </message>
    <message>
        <location line="+12" />
        <source>未知的命令: %1</source>
        <translation>Unknown command: %1</translation>
    </message>
    <message>
        <location line="+36" />
        <source>无效的等待时间: %1</source>
        <translation>Invalid time-out: %1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的秒数: %1</source>
        <translation>Invalid number of seconds: %1</translation>
    </message>
    <message>
        <location line="+6" />
        <source>--udp、--serial和--targets只能选一个</source>
        <translation>Use only one of --udp, --serial and --targets</translation>
    </message>
    <message>
        <location line="+4" />
        <source>--%1只用于--serial</source>
        <translation>--%1 goes with --serial only</translation>
    </message>
    <message>
        <location line="+5" />
        <source>无效的并行数: %1</source>
        <translation>Invalid number of jobs: %1</translation>
    </message>
    <message>
        <location line="+4" />
        <source>无效的失败数: %1</source>
        <translation>Invalid number of failures: %1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>--address不能与--targets同用,地址写在目标文件中</source>
        <translation>--address cannot go with --targets; put the address in the targets file</translation>
    </message>
    <message>
        <location line="+23" />
        <source>无法创建文件夹: %1</source>
        <translation>Could not create the folder: %1</translation>
    </message>
    <message>
        <location filename="../cli/clifleet.cpp" line="+19" />
        <source>设备</source>
        <translation>devices</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="-50" />
        <source>需要起止日期 FROM TO (yyyy-MM-dd)</source>
        <translation>Expected the days FROM TO (yyyy-MM-dd)</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的日期: %1</source>
        <translation>Invalid date: %1</translation>
    </message>
    <message>
        <location line="+41" />
        <location filename="../cli/clireport.cpp" line="+150" />
        <source>历史数据超过%1 MiB的上限,已停止读取;只写出了前面的行</source>
        <translation>The history exceeds the limit of %1 MiB; reading stopped after the lines written so far.</translation>
    </message>
    <message>
        <location filename="../cli/climeterjob.cpp" line="-21" />
        <source>配置项</source>
        <translation>items</translation>
    </message>
    <message>
        <location line="+64" />
        <source>设备没有配置项%1</source>
        <translation>The device has no item %1</translation>
    </message>
    <message>
        <location line="+30" />
        <source>配置项%1是命令,不带值: %2</source>
        <translation>Item %1 is a command and takes no value: %2</translation>
    </message>
    <message>
        <location line="-10" />
        <location line="+117" />
        <source>(设备未接受该值)</source>
        <translation>(not accepted by the device)</translation>
    </message>
    <message>
        <location line="-450" />
        <source>行号</source>
        <translation>Row</translation>
    </message>
    <message>
        <location line="+1" />
        <source>配置项序号</source>
        <translation>Index</translation>
    </message>
    <message>
        <location line="+4" />
        <source>名称: 值</source>
        <translation>Name: value</translation>
    </message>
    <message>
        <location line="+133" />
        <source>设备未接受配置项%1的值: %2</source>
        <translation>The device did not accept the value of item %1: %2</translation>
    </message>
    <message>
        <location line="+54" />
        <source>输出文件%1与程序自己的文件同名,不写入</source>
        <translation>Output file %1 has the name of one of the program's own files; not written.</translation>
    </message>
    <message>
        <location line="+153" />
        <source>配置项%1“%2”是命令,写入即执行;确要执行请加--trigger</source>
        <translation>Item %1 “%2” is a command that runs when written; add --trigger to run it</translation>
    </message>
    <message>
        <location line="+2" />
        <source>配置项%1“%2”的值为空;确要写入空值请加--allow-empty</source>
        <translation>Item %1 “%2” would get an empty value; add --allow-empty to write it</translation>
    </message>
    <message>
        <location line="+42" />
        <source>读取时收到重复的应答,配置项%1在设备中读到“%2”,与文件中的“%3”不符,请重新读取</source>
        <translation>An answer came twice while the items were read: item %1 read as “%2” on the device, not “%3” as in the file. Read the device again.</translation>
    </message>
    <message>
        <location line="+6" />
        <source>文件与设备不符: 配置项%1在文件中为“%2”,在设备中为“%3”</source>
        <translation>The file does not match the device: item %1 is “%2” in the file and “%3” on the device</translation>
    </message>
    <message numerus="yes">
        <location line="+23" />
        <source>将写入%1项,%2项相同</source>
        <translation>
            <numerusform>Will write %1 item, %2 unchanged</numerusform>
            <numerusform>Will write %1 items, %2 unchanged</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13" />
        <source>写入</source>
        <translation>writing</translation>
    </message>
    <message numerus="yes">
        <location line="+25" />
        <source>设备未接受%1项的值</source>
        <translation>
            <numerusform>The device did not accept %1 value</numerusform>
            <numerusform>The device did not accept %1 values</numerusform>
        </translation>
    </message>
    <message>
        <location line="+77" />
        <source>时钟已设为%1</source>
        <translation>Clock set to %1</translation>
    </message>
    <message>
        <location filename="../cli/cliservice.cpp" line="-39" />
        <source>固件</source>
        <translation>firmware</translation>
    </message>
    <message>
        <location line="+16" />
        <source>型号不同,已跳过: %1</source>
        <translation>Another model, skipped: %1</translation>
    </message>
    <message>
        <location filename="../cli/clitarget.cpp" line="+7" />
        <source>%1 中没有设备</source>
        <translation>No devices in %1</translation>
    </message>
    <message>
        <location filename="../cli/clireport.cpp" line="-78" />
        <source>报告文件应以.pdf结尾: %1</source>
        <translation>the report file must end in .pdf: %1</translation>
    </message>
    <message>
        <location line="+1" />
        <source>图表文件应以.png或.pdf结尾: %1</source>
        <translation>the chart file must end in .png or .pdf: %1</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+10" />
        <source>找不到绘图程序%1</source>
        <translation>could not find the drawing program %1</translation>
    </message>
    <message>
        <location line="+6" />
        <source>绘图程序没有结束</source>
        <translation>the drawing program did not finish</translation>
    </message>
    <message>
        <location line="+4" />
        <source>绘图程序失败</source>
        <translation>the drawing program failed</translation>
    </message>
    <message>
        <location line="+67" />
        <source>服务报告已写入%1</source>
        <translation>Service report written to %1</translation>
    </message>
    <message>
        <location filename="../cli/cliassignment.cpp" line="+63" />
        <source>设备没有名称以“%1”开头的配置项</source>
        <translation>The device has no item whose name starts with “%1”</translation>
    </message>
    <message>
        <location line="+3" />
        <source>配置项序号%1 %2</source>
        <translation>index %1 %2</translation>
    </message>
    <message>
        <location line="+1" />
        <source>“%1”对应多个配置项,请写出更多字或使用配置项序号: %2</source>
        <translation>“%1” fits several items; write more of the name or use the item index: %2</translation>
    </message>
</context>
<context>
    <name>WriteReviewDialog</name>
    <message>
        <location filename="../items/writereviewdialog.cpp" line="+25" />
        <source>写入前核对</source>
        <translation>Review Before Writing</translation>
    </message>
    <message>
        <location line="+8" />
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+0" />
        <source>设备中的值</source>
        <translation>Value in Device</translation>
    </message>
    <message>
        <location line="+0" />
        <source>将写入的值</source>
        <translation>Value to Write</translation>
    </message>
    <message>
        <location line="+0" />
        <source>说明</source>
        <translation>Note</translation>
    </message>
    <message>
        <location line="+0" />
        <source>行号</source>
        <translation>Row</translation>
    </message>
    <message>
        <location line="+0" />
        <source>配置项序号</source>
        <translation>Index</translation>
    </message>
    <message>
        <location line="+1" />
        <source>配置列表中显示的行号</source>
        <translation>The row number the item list shows</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备的配置项序号,文件和vexa-cli使用该序号</source>
        <translation>The device's item index, which files and vexa-cli use</translation>
    </message>
    <message>
        <location line="+25" />
        <source>写入选中项</source>
        <translation>Write Checked</translation>
    </message>
    <message>
        <location line="+2" />
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+50" />
        <source>将写入%1项,未改变%2项,设备值未知%3项</source>
        <translation>%1 to write, %2 unchanged, %3 unknown on the device</translation>
    </message>
</context>
</TS>
