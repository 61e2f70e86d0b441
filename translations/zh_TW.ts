<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../forms/aboutdialog.ui" line="+9" />
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location line="+26" />
        <source>本软件适用于本系列测量仪表</source>
        <translation>本軟體適用於本系列測量儀表</translation>
    </message>
    <message>
        <location line="+8" />
        <source>技术支持：请联系您的设备供应商</source>
        <translation>技術支援：請聯絡您的裝置供應商</translation>
    </message>
    <message>
        <location line="+8" />
        <source>版权所有 © 2024-2026</source>
        <translation>版權所有 © 2024-2026</translation>
    </message>
    <message>
        <location line="+8" />
        <source>&lt;a href="http://localhost/"&gt;产品网站&lt;/a&gt;</source>
        <translation>&lt;a href="http://localhost/"&gt;產品網站&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <location filename="../items/comparedialog.cpp" line="+35" />
        <source>与文件比较</source>
        <translation>與檔案比較</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出报告…</source>
        <translation>匯出報告…</translation>
    </message>
    <message>
        <location line="+2" />
        <source>写入不同项…</source>
        <translation>寫入不同項目…</translation>
    </message>
    <message>
        <location line="+4" />
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
    <message>
        <location line="+43" />
        <location line="+7" />
        <source>导出报告</source>
        <translation>匯出報告</translation>
    </message>
    <message>
        <location line="-5" />
        <source>Files (*.csv)</source>
        <translation>CSV檔案 (*.csv)</translation>
    </message>
</context>
<context>
    <name>DeviceTypeMgr</name>
    <message>
        <location filename="../makersite/devicetypemgr.cpp" line="+88" />
        <source>获取设备列表失败,请重试!</source>
        <translation>取得裝置清單失敗，請再試一次！</translation>
    </message>
</context>
<context>
    <name>DownloadThread</name>
    <message>
        <location filename="../makersite/downloadthread.cpp" line="+107" />
        <location line="+46" />
        <source>下载失败,打开链接失败!</source>
        <translation>下載失敗，開啟連結失敗！</translation>
    </message>
    <message>
        <location line="-33" />
        <source>下载失败,打开文件失败: %1</source>
        <translation>下載失敗，開啟檔案失敗：%1</translation>
    </message>
    <message>
        <location line="+17" />
        <location line="+44" />
        <source>下载失败,保存文件失败: %1</source>
        <translation>下載失敗，儲存檔案失敗：%1</translation>
    </message>
    <message>
        <location line="-22" />
        <source>下载异常: 文件过大,超过 %1 MB</source>
        <translation>下載錯誤：檔案過大，超過 %1 MB</translation>
    </message>
    <message>
        <location line="+40" />
        <source>下载异常: %1</source>
        <translation>下載錯誤：%1</translation>
    </message>
    <message>
        <location line="+4" />
        <source>下载异常: 未找到该文件或下载失败</source>
        <translation>下載錯誤：找不到該檔案或下載失敗</translation>
    </message>
</context>
<context>
    <name>FleetText</name>
    <message>
        <location filename="../fleet/meterlist.cpp" line="+28" />
        <source>打开文件失败: %1</source>
        <translation>開啟檔案失敗：%1</translation>
    </message>
    <message>
        <location line="+5" />
        <source>%1 太大, 不是设备列表</source>
        <translation>%1 太大，不是裝置清單</translation>
    </message>
    <message>
        <location line="+40" />
        <source>一行不能超过%1字节</source>
        <translation>一行不能超過%1位元組</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+55" />
        <source>最多%1台设备</source>
        <translation>最多%1台裝置</translation>
    </message>
    <message>
        <location line="-50" />
        <source>一行应为 NAME,URI</source>
        <translation>一行應為 NAME,URI</translation>
    </message>
    <message>
        <location line="+23" />
        <source>%1 第%2行: %3</source>
        <translation>%1 第%2行：%3</translation>
    </message>
    <message>
        <location line="+17" />
        <source>名称应为字母、数字、点、横线或下划线</source>
        <translation>名稱應為字母、數字、點、連字號或底線</translation>
    </message>
    <message>
        <location line="+2" />
        <source>名称%1重复出现</source>
        <translation>名稱%1重複出現</translation>
    </message>
    <message>
        <location line="+43" />
        <source>保存文件失败: %1</source>
        <translation>儲存檔案失敗：%1</translation>
    </message>
    <message>
        <location filename="../fleet/targeturi.cpp" line="+16" />
        <source>无效的UDP地址: %1</source>
        <translation>無效的UDP位址：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>不能向广播或组播地址发送: %1</source>
        <translation>不能向廣播或群播位址傳送：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>无效的UDP端口: %1</source>
        <translation>無效的UDP連接埠：%1</translation>
    </message>
    <message>
        <location line="+27" />
        <location line="+90" />
        <source>未知的参数: %1</source>
        <translation>未知的參數：%1</translation>
    </message>
    <message>
        <location line="-87" />
        <location line="+89" />
        <source>无效的参数值: %1=%2</source>
        <translation>無效的參數值：%1=%2</translation>
    </message>
    <message>
        <location line="-18" />
        <source>UDP目标应为 HOST:PORT: %1</source>
        <translation>UDP目標應為 HOST:PORT：%1</translation>
    </message>
    <message>
        <location line="+27" />
        <source>无法识别的目标: %1</source>
        <translation>無法辨識的目標：%1</translation>
    </message>
    <message>
        <location filename="../fleet/meterwork.cpp" line="+57" />
        <source>已停止</source>
        <translation>已停止</translation>
    </message>
    <message>
        <location line="+3" />
        <location line="+19" />
        <source>已读取 %1 项</source>
        <translation>已讀取 %1 個項目</translation>
    </message>
    <message>
        <location line="-9" />
        <source>输出文件%1与程序自己的文件同名,不写入</source>
        <translation>輸出檔案%1與程式自己的檔案同名，不寫入</translation>
    </message>
    <message>
        <location line="+19" />
        <source>型号不同，不写入: 设备为 %1，文件为 %2</source>
        <translation>型號不同，不寫入：裝置為 %1，檔案為 %2</translation>
    </message>
    <message>
        <location line="+6" />
        <source>%1 项不同</source>
        <translation>%1 個項目不同</translation>
    </message>
    <message>
        <location line="+9" />
        <source>无需写入</source>
        <translation>無需寫入</translation>
    </message>
    <message>
        <location line="+54" />
        <source>已写入 %1 项，%2 项未被设备接受</source>
        <translation>已寫入 %1 個項目，%2 個項目未被裝置接受</translation>
    </message>
    <message>
        <location line="+2" />
        <source>已写入 %1 项，已停止</source>
        <translation>已寫入 %1 個項目，已停止</translation>
    </message>
    <message>
        <location line="+3" />
        <source>已写入 %1 项</source>
        <translation>已寫入 %1 個項目</translation>
    </message>
    <message>
        <location line="+20" />
        <source>设备未接受时间: %1</source>
        <translation>裝置未接受時間：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>时钟已设为%1</source>
        <translation>時鐘已設為%1</translation>
    </message>
</context>
<context>
    <name>HistoryChart</name>
    <message>
        <location filename="../history/historychart.cpp" line="+78" />
        <source>没有可绘制的数据</source>
        <translation>沒有可繪製的資料</translation>
    </message>
</context>
<context>
    <name>HistoryData</name>
    <message>
        <location filename="../forms/historydata.ui" line="+14" />
        <source>历史数据</source>
        <translation>歷史資料</translation>
    </message>
    <message>
        <location line="+8" />
        <source>起始日期:</source>
        <translation>起始日期：</translation>
    </message>
    <message>
        <location line="+10" />
        <source>结束日期:</source>
        <translation>結束日期：</translation>
    </message>
    <message>
        <location line="+10" />
        <location filename="../history/historydata.cpp" line="+272" />
        <source>查询</source>
        <translation>查詢</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出CSV</source>
        <translation>匯出CSV</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出PDF</source>
        <translation>匯出PDF</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="-29" />
        <source>…（共 %1 个字符）</source>
        <translation>…（共 %1 個字元）</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="+131" />
        <location filename="../history/historydata.cpp" line="+29" />
        <location filename="../history/servicereportdialog.cpp" line="+82" />
        <source>起始日期应该小于或等于结束日期</source>
        <translation>起始日期不可晚於結束日期</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="-173" />
        <source>文本</source>
        <translation>文字</translation>
    </message>
    <message>
        <location line="+25" />
        <source>表格</source>
        <translation>表格</translation>
    </message>
    <message>
        <location line="+6" />
        <source>滚轮缩放，拖动平移，右键拖动（或按住Ctrl拖动）框选放大，双击显示全部</source>
        <translation>滾輪縮放，拖曳平移，按右鍵拖曳（或按住Ctrl拖曳）框選放大，按兩下顯示全部</translation>
    </message>
    <message>
        <location line="+14" />
        <source>导出图表…</source>
        <translation>匯出圖表……</translation>
    </message>
    <message>
        <location line="+9" />
        <source>图表</source>
        <translation>圖表</translation>
    </message>
    <message>
        <location line="+2" />
        <source>服务报告…</source>
        <translation>服務報告……</translation>
    </message>
    <message numerus="yes">
        <location line="+133" />
        <source>正在查询…已收到 %1 行</source>
        <translation>
            <numerusform>正在查詢……已收到 %1 行</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>查询失败，已收到 %1 行</source>
        <translation>
            <numerusform>查詢失敗，已收到 %1 行</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>查询结束，共收到 %1 行</source>
        <translation>
            <numerusform>查詢結束，共收到 %1 行</numerusform>
        </translation>
    </message>
    <message>
        <location line="+46" />
        <location line="+9" />
        <source>导出历史数据</source>
        <translation>匯出歷史資料</translation>
    </message>
    <message>
        <location line="-16" />
        <location line="+213" />
        <source>导出配置</source>
        <translation>匯出歷史資料</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="-96" />
        <location filename="../history/historydata.cpp" line="-213" />
        <source>导出数据失败，数据格式错误</source>
        <translation>匯出資料失敗，資料格式錯誤</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="+8" />
        <source>Files (*.%1)</source>
        <translation>檔案 (*.%1)</translation>
    </message>
    <message>
        <location line="+9" />
        <source>正在导出PDF…</source>
        <translation>正在匯出PDF……</translation>
    </message>
    <message>
        <location line="+1" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message numerus="yes">
        <location line="+85" />
        <source>共 %1 行</source>
        <translation>
            <numerusform>共 %1 行</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1" />
        <source>共 %1 行，其中 %2 行的时间无法识别（仍列在表中）</source>
        <translation>
            <numerusform>共 %1 行，其中 %2 行的時間無法辨識（仍列在表中）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+15" />
        <source>%1 行没有时间</source>
        <translation>
            <numerusform>%1 行沒有時間</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>%1 行没有数值</source>
        <translation>
            <numerusform>%1 行沒有數值</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>%1 个读数超出 %2 个数据系列</source>
        <translation>
            <numerusform>%1 個讀數超出 %2 個資料系列</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5" />
        <source>%1，%2</source>
        <translation>%1，%2</translation>
    </message>
    <message>
        <location line="+1" />
        <source>未绘出: %1</source>
        <translation>未繪出：%1</translation>
    </message>
    <message>
        <location line="+7" />
        <source>数据</source>
        <translation>資料</translation>
    </message>
    <message>
        <location line="+0" />
        <source>单位</source>
        <translation>單位</translation>
    </message>
    <message>
        <location line="+0" />
        <source>最小值</source>
        <translation>最小值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>最大值</source>
        <translation>最大值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>平均值</source>
        <translation>平均值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>点数</source>
        <translation>點數</translation>
    </message>
    <message>
        <location line="+36" />
        <location line="+5" />
        <source>导出图表</source>
        <translation>匯出圖表</translation>
    </message>
    <message>
        <location line="-5" />
        <source>图片或PDF (*.png *.pdf)</source>
        <translation>圖片或PDF (*.png *.pdf)</translation>
    </message>
    <message>
        <location line="+18" />
        <location line="+6" />
        <source>服务报告</source>
        <translation>服務報告</translation>
    </message>
    <message>
        <location line="-5" />
        <source>Files (*.pdf)</source>
        <translation>PDF檔案 (*.pdf)</translation>
    </message>
    <message>
        <location line="+14" />
        <location filename="../history/servicereportdialog.cpp" line="+56" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+6" />
        <source>写入文件失败: %1</source>
        <translation>寫入檔案失敗：%1</translation>
    </message>
    <message>
        <location filename="../history/historychartexport.cpp" line="+22" />
        <location filename="../history/historydata.cpp" line="+1" />
        <location filename="../history/servicereportwriter.cpp" line="+25" />
        <source>打开文件失败: %1</source>
        <translation>開啟檔案失敗：%1</translation>
    </message>
</context>
<context>
    <name>HistoryMarks</name>
    <message>
        <location filename="../history/historymarks.cpp" line="+14" />
        <source>时钟设为 %1 (%2)</source>
        <translation>時鐘設為 %1 (%2)</translation>
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
        <translation>第%1欄</translation>
    </message>
</context>
<context>
    <name>HistoryTableModel</name>
    <message>
        <location filename="../history/historytablemodel.cpp" line="+86" />
        <source>时间</source>
        <translation>時間</translation>
    </message>
    <message>
        <location line="+2" />
        <source>第%1列</source>
        <translation>第%1欄</translation>
    </message>
</context>
<context>
    <name>ItemBackup</name>
    <message>
        <location filename="../items/itembackup.cpp" line="+34" />
        <source>无法保存写入前的备份%1,未写入任何配置项</source>
        <translation>無法儲存寫入前的備份%1，未寫入任何設定項目</translation>
    </message>
    <message>
        <location line="+11" />
        <source>无法创建备份文件夹%1,未写入任何配置项</source>
        <translation>無法建立備份資料夾%1，未寫入任何設定項目</translation>
    </message>
    <message>
        <location line="+45" />
        <source>备份文件夹中已有太多同名文件</source>
        <translation>備份資料夾中已有太多同名檔案</translation>
    </message>
    <message>
        <location line="+28" />
        <source>备份中没有该项的值: 它含有逗号或换行,备份文件无法保存,不恢复</source>
        <translation>備份中沒有此項目的值：它含有逗號或換行，備份檔案無法儲存，不還原</translation>
    </message>
    <message>
        <location line="+3" />
        <source>备份中的名称“%1”与设备中的“%2”不符,不恢复</source>
        <translation>備份中的名稱「%1」與裝置中的「%2」不符，不還原</translation>
    </message>
</context>
<context>
    <name>ItemBatchWrite</name>
    <message>
        <location filename="../items/itembatchwrite.cpp" line="+32" />
        <location line="+8" />
        <location line="+136" />
        <source>正在写入配置......</source>
        <translation>正在寫入設定……</translation>
    </message>
    <message>
        <location line="-92" />
        <source>列表中没有该配置项,不写入</source>
        <translation>清單中沒有此設定項目，不寫入</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+50" />
        <location line="+5" />
        <location line="+20" />
        <location line="+34" />
        <location line="+21" />
        <source>写入配置</source>
        <translation>寫入設定</translation>
    </message>
    <message>
        <location line="-130" />
        <source>要写入的值与设备中的值相同,没有写入任何配置项</source>
        <translation>要寫入的值與裝置中的值相同，未寫入任何設定項目</translation>
    </message>
    <message>
        <location line="+7" />
        <source>已取消写入配置</source>
        <translation>已取消寫入設定</translation>
    </message>
    <message>
        <location line="+29" />
        <source>筛选已隐藏 %1 行，这些行同样会写入</source>
        <translation>篩選已隱藏 %1 列，這些列同樣會寫入</translation>
    </message>
    <message>
        <location line="+40" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+13" />
        <source>正在写入第%1项(共%2项): %3</source>
        <translation>正在寫入第%1項（共%2項）：%3</translation>
    </message>
    <message>
        <location line="+20" />
        <source>写入配置失败: %1</source>
        <translation>寫入設定值失敗：%1</translation>
    </message>
    <message>
        <location line="+8" />
        <source>写入错误,连接设备失败</source>
        <translation>寫入錯誤，連線裝置失敗</translation>
    </message>
    <message>
        <location line="+28" />
        <source>写入配置成功,写入前的值</source>
        <translation>寫入設定成功，寫入前的值</translation>
    </message>
    <message>
        <location line="-187" />
        <source>批量写入: 已写入%1项,设备未接受%2项,结果未知%3项,未写入%4项</source>
        <translation>批次寫入：已寫入%1項，裝置未接受%2項，結果未知%3項，未寫入%4項</translation>
    </message>
    <message>
        <location line="+6" />
        <source>批量写入: 已写入%1项,设备未接受%2项,未写入%3项</source>
        <translation>批次寫入：已寫入%1項，裝置未接受%2項，未寫入%3項</translation>
    </message>
    <message numerus="yes">
        <location line="+173" />
        <source>已取消写入配置: 已写入%1项,共%2项</source>
        <translation>
            <numerusform>已取消寫入設定：已寫入%1項，共%2項</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6" />
        <source>写入配置成功</source>
        <translation>寫入設定成功</translation>
    </message>
</context>
<context>
    <name>ItemComparison</name>
    <message>
        <location filename="../items/itemcomparison.cpp" line="+67" />
        <source>%1 (文件中为: %2)</source>
        <translation>%1（檔案中為：%2）</translation>
    </message>
    <message>
        <location line="+32" />
        <source>%1 项不同, %2 项相同</source>
        <translation>%1 項不同，%2 項相同</translation>
    </message>
    <message>
        <location line="+22" />
        <source>相同</source>
        <translation>相同</translation>
    </message>
    <message>
        <location line="+2" />
        <source>不同</source>
        <translation>不同</translation>
    </message>
    <message>
        <location line="+2" />
        <source>仅在文件中</source>
        <translation>僅在檔案中</translation>
    </message>
    <message>
        <location line="+2" />
        <source>仅在设备中</source>
        <translation>僅在裝置中</translation>
    </message>
    <message>
        <location line="+4" />
        <source>命令项</source>
        <translation>指令項目</translation>
    </message>
    <message>
        <location line="+22" />
        <source>序号</source>
        <translation>序號</translation>
    </message>
    <message>
        <location line="+0" />
        <source>名称</source>
        <translation>名稱</translation>
    </message>
    <message>
        <location line="+0" />
        <source>设备值</source>
        <translation>裝置值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>文件值</source>
        <translation>檔案值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>结果</source>
        <translation>結果</translation>
    </message>
    <message>
        <location line="+6" />
        <source>设备: %1</source>
        <translation>裝置：%1</translation>
    </message>
    <message>
        <location line="+1" />
        <source>时间: %1</source>
        <translation>時間：%1</translation>
    </message>
</context>
<context>
    <name>ItemFilterEdit</name>
    <message>
        <location filename="../items/itemfilteredit.cpp" line="+41" />
        <source>筛选 (Ctrl+F)</source>
        <translation>篩選 (Ctrl+F)</translation>
    </message>
</context>
<context>
    <name>ItemPage</name>
    <message>
        <location filename="../items/itempage.cpp" line="+127" />
        <location line="+321" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="-282" />
        <source>正在读取第 %1 项…</source>
        <translation>正在讀取第 %1 項……</translation>
    </message>
    <message>
        <location line="+13" />
        <source>等待设备应答…(%1 s)</source>
        <translation>等待裝置回應……（%1 秒）</translation>
    </message>
    <message>
        <location line="+30" />
        <location line="+20" />
        <location line="+8" />
        <source>导出配置</source>
        <translation>匯出設定</translation>
    </message>
    <message>
        <location line="-27" />
        <location line="+35" />
        <location filename="../items/itempage_tools.cpp" line="+122" />
        <location line="+46" />
        <source>Files (*.csv)</source>
        <translation>CSV檔案 (*.csv)</translation>
    </message>
    <message>
        <location line="-20" />
        <source>正在导出配置......</source>
        <translation>正在匯出設定……</translation>
    </message>
    <message>
        <location line="+7" />
        <source>导出配置成功</source>
        <translation>匯出設定成功</translation>
    </message>
    <message>
        <location line="+6" />
        <source>以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:
%1</source>
        <translation>以下設定項目的值含有逗號或換行，從該檔案匯入時無法原樣還原：
%1</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+14" />
        <location line="+6" />
        <source>导入配置</source>
        <translation>匯入設定</translation>
    </message>
    <message>
        <location line="-3" />
        <source>正在导入配置......</source>
        <translation>正在匯入設定……</translation>
    </message>
    <message>
        <location line="+7" />
        <location filename="../items/itempage_tools.cpp" line="+14" />
        <source>导入配置成功</source>
        <translation>匯入設定成功</translation>
    </message>
    <message>
        <location line="+18" />
        <source>来自文件, 未写入</source>
        <translation>來自檔案，尚未寫入</translation>
    </message>
    <message>
        <location line="+96" />
        <location line="+5" />
        <source>正在写入配置......</source>
        <translation>正在寫入設定……</translation>
    </message>
    <message>
        <location line="-1" />
        <location line="+12" />
        <location line="+5" />
        <source>写入配置</source>
        <translation>寫入設定</translation>
    </message>
    <message>
        <location filename="../items/itempage_tools.cpp" line="-138" />
        <source>与文件比较…</source>
        <translation>與檔案比較…</translation>
    </message>
    <message>
        <location line="+1" />
        <source>恢复备份…</source>
        <translation>還原備份…</translation>
    </message>
    <message>
        <location line="+26" />
        <source>显示 %1 / %2 项</source>
        <translation>顯示 %1 / %2 項</translation>
    </message>
    <message>
        <location line="+16" />
        <source>正在读取设备中的值......</source>
        <translation>正在讀取裝置中的值……</translation>
    </message>
    <message>
        <location line="+24" />
        <source>读取设备中的值失败,未写入任何配置项</source>
        <translation>讀取裝置中的值失敗，未寫入任何設定項目</translation>
    </message>
    <message>
        <location line="+10" />
        <source>与文件比较</source>
        <translation>與檔案比較</translation>
    </message>
    <message>
        <location line="+28" />
        <source>文件中的型号为“%1”,设备的型号为“%2”。仍要比较吗?</source>
        <translation>檔案中的型號為「%1」，裝置的型號為「%2」。仍要比較嗎？</translation>
    </message>
    <message>
        <location line="+1" />
        <source>比较</source>
        <translation>比較</translation>
    </message>
    <message>
        <location line="+15" />
        <source>恢复备份</source>
        <translation>還原備份</translation>
    </message>
    <message>
        <location line="-58" />
        <source>已取消写入配置</source>
        <translation>已取消寫入設定</translation>
    </message>
    <message>
        <location filename="../items/itempage.cpp" line="+45" />
        <location filename="../items/itempage_tools.cpp" line="-19" />
        <location line="+62" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="-45" />
        <source>写入配置失败: %1</source>
        <translation>寫入設定值失敗：%1</translation>
    </message>
    <message>
        <location line="-8" />
        <source>写入错误,连接设备失败</source>
        <translation>寫入錯誤，連線裝置失敗</translation>
    </message>
    <message>
        <location line="+91" />
        <source>写入配置成功</source>
        <translation>寫入設定成功</translation>
    </message>
    <message>
        <location line="-160" />
        <location line="+10" />
        <location line="+6" />
        <location line="+4" />
        <location line="+2" />
        <source>同步时间</source>
        <translation>同步時間</translation>
    </message>
    <message>
        <location line="-2" />
        <source>同步时间成功</source>
        <translation>同步時間成功</translation>
    </message>
    <message>
        <location line="+2" />
        <source>同步时间失败</source>
        <translation>同步時間失敗</translation>
    </message>
    <message>
        <location line="+65" />
        <location line="+69" />
        <source>写入和导出使用配置项序号%1</source>
        <translation>寫入和匯出使用設定項目序號%1</translation>
    </message>
    <message>
        <location line="-31" />
        <source>第%1行是命令,按“确定”立即发送给设备执行。</source>
        <translation>第%1行是指令，按「確定」會立即傳送給裝置執行。</translation>
    </message>
    <message>
        <location line="+21" />
        <source>提交</source>
        <translation>送出</translation>
    </message>
    <message>
        <location line="+12" />
        <source>设备未接受该值</source>
        <translation>裝置未接受此值</translation>
    </message>
    <message>
        <location line="+4" />
        <source>写入配置失败,该项不支持修改</source>
        <translation>寫入設定失敗，此項目不支援修改</translation>
    </message>
    <message>
        <location line="+26" />
        <source>写入记录</source>
        <translation>寫入記錄</translation>
    </message>
</context>
<context>
    <name>ItemSession</name>
    <message>
        <location filename="../items/itemsession.cpp" line="+18" />
        <source>数据长度校验错误 : 
%1</source>
        <translation>資料長度檢查錯誤：
%1</translation>
    </message>
    <message>
        <location line="+1" />
        <source>地址或命令校验错误: 
%1</source>
        <translation>位址或指令檢查錯誤：
%1</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <location filename="../items/journal.cpp" line="+107" />
        <location line="+17" />
        <source>无法写入记录文件%1: %2</source>
        <translation>無法寫入記錄檔案%1：%2</translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <location filename="../app/launchoptions.cpp" line="+162" />
        <source>无法使用工作目录 %1。</source>
        <translation>無法使用工作目錄 %1。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../forms/mainwindow.ui" line="+17" />
        <source>操作</source>
        <translation>操作</translation>
    </message>
    <message>
        <location line="+14" />
        <source>语言</source>
        <translation>語言</translation>
    </message>
    <message>
        <location line="+6" />
        <source>帮助</source>
        <translation>說明</translation>
    </message>
    <message>
        <location line="+9" />
        <source>工具栏</source>
        <translation>工具列</translation>
    </message>
    <message>
        <location line="+16" />
        <location line="+1" />
        <source>通讯设置</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <location filename="../app/mainwindow.cpp" line="+213" />
        <source>刷新</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>导入配置</source>
        <translation>匯入設定</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>导出配置</source>
        <translation>匯出設定</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>写入配置</source>
        <translation>寫入設定</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>同步时间</source>
        <translation>同步時間</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>历史数据</source>
        <translation>歷史資料</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>更新固件</source>
        <translation>更新韌體</translation>
    </message>
    <message>
        <location line="+4" />
        <location line="+1" />
        <source>设备监听</source>
        <translation>裝置監控</translation>
    </message>
    <message>
        <location line="+3" />
        <location line="+1" />
        <source>退出</source>
        <translation>結束</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+1" />
        <source>关于</source>
        <translation>關於</translation>
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
        <translation>就緒</translation>
    </message>
    <message>
        <location line="+108" />
        <source>已保存到 %1</source>
        <translation>已儲存到 %1</translation>
    </message>
    <message>
        <location line="+0" />
        <source>%1,已保存到 %2</source>
        <translation>%1，已儲存到 %2</translation>
    </message>
    <message>
        <location line="+36" />
        <source>停止</source>
        <translation>停止</translation>
    </message>
    <message>
        <location line="+10" />
        <source>打开记录文件夹</source>
        <translation>開啟記錄資料夾</translation>
    </message>
    <message>
        <location line="+2" />
        <source>服务报告…</source>
        <translation>服務報告……</translation>
    </message>
    <message>
        <location line="+2" />
        <source>打开文件夹</source>
        <translation>開啟資料夾</translation>
    </message>
    <message>
        <location line="+2" />
        <source>多台设备…</source>
        <translation>多台裝置……</translation>
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
        <translation>開啟檔案失敗：%1</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="-110" />
        <location line="+67" />
        <location line="+74" />
        <location filename="../items/itemcomparison.cpp" line="+4" />
        <location filename="../items/itemcsv.cpp" line="-51" />
        <source>写入文件失败: %1</source>
        <translation>寫入檔案失敗：%1</translation>
    </message>
    <message>
        <location filename="../items/itemcsv.cpp" line="+63" />
        <source>第%1行</source>
        <translation>第%1行</translation>
    </message>
    <message>
        <location line="+2" />
        <source>第%1行: 配置项%2重复出现</source>
        <translation>第%1行：設定項目%2重複出現</translation>
    </message>
    <message>
        <location line="+5" />
        <source>文件解析错误</source>
        <translation>檔案解析錯誤</translation>
    </message>
    <message>
        <location filename="../cli/climeterjob.cpp" line="+333" />
        <source>同步时间失败</source>
        <translation>同步時間失敗</translation>
    </message>
    <message>
        <location filename="../items/itemvalue.cpp" line="+38" />
        <source>配置值含有设备无法表示的字符,未写入</source>
        <translation>設定值含有裝置無法表示的字元，未寫入</translation>
    </message>
    <message>
        <location line="+4" />
        <source>配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入</source>
        <translation>設定值過長：編碼後為%1位元組，裝置最多接受%2位元組，未寫入</translation>
    </message>
    <message>
        <location filename="../items/itemsession.cpp" line="+204" />
        <source>硬件返回数据校验错误</source>
        <translation>裝置傳回的資料檢查錯誤</translation>
    </message>
    <message>
        <location line="-4" />
        <source>设备应答的配置项“%1”不是所写的“%2”,写入未确认</source>
        <translation>裝置回應的設定項目「%1」不是所寫入的「%2」，寫入未確認</translation>
    </message>
    <message>
        <location filename="../items/writeoutcome.cpp" line="+26" />
        <source>结果未知：设备可能已接受该值，请重新读取确认</source>
        <translation>結果未知：裝置可能已接受該值，請重新讀取確認</translation>
    </message>
</context>
<context>
    <name>MeterEditor</name>
    <message>
        <location filename="../fleet/metereditor.cpp" line="+16" />
        <source>添加设备</source>
        <translation>新增裝置</translation>
    </message>
    <message>
        <location line="+2" />
        <source>名称：</source>
        <translation>名稱：</translation>
    </message>
</context>
<context>
    <name>MetersPanel</name>
    <message>
        <location filename="../fleet/meterspanel.cpp" line="+137" />
        <source>多台设备</source>
        <translation>多台裝置</translation>
    </message>
    <message>
        <location line="+2" />
        <source>名称</source>
        <translation>名稱</translation>
    </message>
    <message>
        <location line="+0" />
        <source>连接</source>
        <translation>連線</translation>
    </message>
    <message>
        <location line="+0" />
        <source>地址</source>
        <translation>位址</translation>
    </message>
    <message>
        <location line="+0" />
        <source>型号</source>
        <translation>型號</translation>
    </message>
    <message>
        <location line="+0" />
        <source>设备名称</source>
        <translation>裝置名稱</translation>
    </message>
    <message>
        <location line="+0" />
        <source>上次通信</source>
        <translation>上次通訊</translation>
    </message>
    <message>
        <location line="+0" />
        <source>上次写入</source>
        <translation>上次寫入</translation>
    </message>
    <message>
        <location line="+0" />
        <source>状态</source>
        <translation>狀態</translation>
    </message>
    <message>
        <location line="+1" />
        <source>添加…</source>
        <translation>新增……</translation>
    </message>
    <message>
        <location line="+1" />
        <source>删除</source>
        <translation>刪除</translation>
    </message>
    <message>
        <location line="+1" />
        <source>搜索</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location line="+1" />
        <source>保存</source>
        <translation>儲存</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设为当前连接</source>
        <translation>設為目前連線</translation>
    </message>
    <message>
        <location line="+1" />
        <source>读取配置</source>
        <translation>讀取設定</translation>
    </message>
    <message>
        <location line="+1" />
        <source>应用文件…</source>
        <translation>套用檔案……</translation>
    </message>
    <message>
        <location line="+1" />
        <source>同步时间</source>
        <translation>同步時間</translation>
    </message>
    <message>
        <location line="+1" />
        <source>固件更新…</source>
        <translation>更新韌體……</translation>
    </message>
    <message>
        <location line="+1" />
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
    <message>
        <location line="+1" />
        <source>同时通信：</source>
        <translation>同時通訊：</translation>
    </message>
    <message>
        <location line="+1" />
        <source>失败几台后停止：</source>
        <translation>失敗幾台後停止：</translation>
    </message>
    <message>
        <location line="+70" />
        <source>无法识别: %1</source>
        <translation>無法識別：%1</translation>
    </message>
    <message>
        <location line="+8" />
        <source>未保存</source>
        <translation>未儲存</translation>
    </message>
    <message>
        <location line="+19" />
        <source>上次写入时记录的值</source>
        <translation>上次寫入時記錄的值</translation>
    </message>
    <message>
        <location line="+40" />
        <source>请先选择设备</source>
        <translation>請先選擇裝置。</translation>
    </message>
    <message>
        <location line="+92" />
        <source>请先选择未保存的设备</source>
        <translation>請先選擇未儲存的裝置。</translation>
    </message>
    <message>
        <location line="+26" />
        <source>请只选择一台设备</source>
        <translation>請只選擇一台裝置。</translation>
    </message>
    <message>
        <location line="+5" />
        <source>已设为当前连接</source>
        <translation>已設為目前連線</translation>
    </message>
    <message>
        <location filename="../fleet/meterspanel_actions.cpp" line="+60" />
        <source>等待</source>
        <translation>等待</translation>
    </message>
    <message>
        <location line="+26" />
        <source>未开始</source>
        <translation>未開始</translation>
    </message>
    <message>
        <location line="+23" />
        <source>完成 %1 台，失败 %2 台，跳过 %3 台</source>
        <translation>完成 %1 台，失敗 %2 台，略過 %3 台</translation>
    </message>
    <message>
        <location line="+13" />
        <source>选择保存配置的文件夹</source>
        <translation>選擇儲存設定的資料夾</translation>
    </message>
    <message>
        <location line="+7" />
        <source>无法创建文件夹: %1</source>
        <translation>無法建立資料夾：%1</translation>
    </message>
    <message>
        <location line="+4" />
        <source>正在读取配置…</source>
        <translation>正在讀取設定……</translation>
    </message>
    <message>
        <location line="+2" />
        <location line="+39" />
        <source>正在读取…</source>
        <translation>正在讀取……</translation>
    </message>
    <message>
        <location line="-13" />
        <source>应用文件</source>
        <translation>套用檔案</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Files (*.csv)</source>
        <translation>CSV檔案 (*.csv)</translation>
    </message>
    <message>
        <location line="+11" />
        <source>正在比较…</source>
        <translation>正在比較……</translation>
    </message>
    <message>
        <location line="+29" />
        <source>将文件%1中不同的项写入以下设备(写入前先备份各设备的配置):
%2
是否写入?</source>
        <translation>將檔案%1中不同的項目寫入以下裝置（寫入前先備份各裝置的設定）：
%2
是否寫入？</translation>
    </message>
    <message>
        <location line="+2" />
        <source>写入</source>
        <translation>寫入</translation>
    </message>
    <message>
        <location line="+0" />
        <location line="+92" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="-87" />
        <location line="+3" />
        <source>正在写入…</source>
        <translation>正在寫入……</translation>
    </message>
    <message>
        <location line="+22" />
        <location line="+2" />
        <source>正在同步时间…</source>
        <translation>正在同步時間……</translation>
    </message>
    <message>
        <location line="+17" />
        <source>更新固件</source>
        <translation>更新韌體</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Files (*.vexabin)</source>
        <translation>韌體套件 (*.vexabin)</translation>
    </message>
    <message>
        <location line="+12" />
        <location line="+2" />
        <source>正在识别设备…</source>
        <translation>正在識別裝置……</translation>
    </message>
    <message>
        <location line="+3" />
        <source>型号相符</source>
        <translation>型號相符</translation>
    </message>
    <message>
        <location line="+2" />
        <source>跳过: %1</source>
        <translation>略過：%1</translation>
    </message>
    <message>
        <location line="+20" />
        <source>确认把固件%1(型号 %2，版本 %3)烧写到以下 %4 台设备？
%5</source>
        <translation>確認將韌體%1（型號 %2，版本 %3）燒錄到以下 %4 台裝置？
%5</translation>
    </message>
    <message>
        <location line="+4" />
        <source>烧写</source>
        <translation>燒錄</translation>
    </message>
    <message>
        <location line="+6" />
        <location line="+2" />
        <source>正在更新固件…</source>
        <translation>正在更新韌體……</translation>
    </message>
    <message>
        <location line="+3" />
        <source>正在更新固件… %1%</source>
        <translation>正在更新韌體……%1%</translation>
    </message>
    <message>
        <location line="+11" />
        <source>已更新，%1</source>
        <translation>已更新，%1</translation>
    </message>
</context>
<context>
    <name>ModifyDialog</name>
    <message>
        <location filename="../forms/modifydialog.ui" line="+14" />
        <source>Dialog</source>
        <translation>編輯設定項目</translation>
    </message>
    <message>
        <location line="+12" />
        <source>提交</source>
        <translation>送出</translation>
    </message>
    <message>
        <location line="+13" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>MonitorCommandsDialog</name>
    <message>
        <location filename="../monitor/monitorcommandsdialog.cpp" line="+35" />
        <source>编辑命令</source>
        <translation>編輯指令</translation>
    </message>
    <message>
        <location line="+20" />
        <source>名称</source>
        <translation>名稱：</translation>
    </message>
    <message>
        <location line="+1" />
        <source>模式</source>
        <translation>模式：</translation>
    </message>
    <message>
        <location line="+1" />
        <source>行尾</source>
        <translation>行尾：</translation>
    </message>
    <message>
        <location line="+1" />
        <source>内容</source>
        <translation>內容：</translation>
    </message>
    <message>
        <location line="+2" />
        <source>添加</source>
        <translation>新增</translation>
    </message>
    <message>
        <location line="+1" />
        <source>修改</source>
        <translation>修改</translation>
    </message>
    <message>
        <location line="+1" />
        <source>删除</source>
        <translation>刪除</translation>
    </message>
    <message>
        <location line="+15" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+1" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+1" />
        <source>导入…</source>
        <translation>匯入……</translation>
    </message>
    <message>
        <location line="+1" />
        <source>导出…</source>
        <translation>匯出……</translation>
    </message>
    <message>
        <location line="+59" />
        <location line="+44" />
        <source>命令超过%1条</source>
        <translation>指令超過%1條</translation>
    </message>
    <message>
        <location line="-12" />
        <source>导入命令</source>
        <translation>匯入指令</translation>
    </message>
    <message>
        <location line="+0" />
        <location line="+19" />
        <source>命令文件 (*.txt);;所有文件 (*)</source>
        <translation>指令檔案 (*.txt);;所有檔案 (*)</translation>
    </message>
    <message>
        <location line="-1" />
        <source>导出命令</source>
        <translation>匯出指令</translation>
    </message>
</context>
<context>
    <name>MonitorDialog</name>
    <message>
        <location filename="../forms/monitordialog.ui" line="+14" />
        <source>设备监听</source>
        <translation>裝置監控</translation>
    </message>
    <message>
        <location line="+8" />
        <source>原始数据</source>
        <translation>原始資料</translation>
    </message>
    <message>
        <location line="+7" />
        <source>十六进制</source>
        <translation>十六進位</translation>
    </message>
    <message>
        <location line="+7" />
        <source>原始数据 + 十六进制</source>
        <translation>原始資料 + 十六進位</translation>
    </message>
    <message>
        <location line="+23" />
        <source>调试信息</source>
        <translation>除錯訊息</translation>
    </message>
    <message>
        <location line="+23" />
        <source>开始监听</source>
        <translation>開始監控</translation>
    </message>
    <message>
        <location line="+7" />
        <source>停止监听</source>
        <translation>停止監控</translation>
    </message>
    <message>
        <location line="+7" />
        <source>清除</source>
        <translation>清除</translation>
    </message>
    <message>
        <location filename="../monitor/monitordialog.cpp" line="+413" />
        <source>选择记录文件</source>
        <translation>選擇記錄檔案</translation>
    </message>
    <message>
        <location line="+2" />
        <source>日志文件 (*.log);;所有文件 (*)</source>
        <translation>記錄檔 (*.log);;所有檔案 (*)</translation>
    </message>
    <message>
        <location line="-329" />
        <location line="+398" />
        <source>记录到文件</source>
        <translation>記錄到檔案</translation>
    </message>
    <message>
        <location line="-427" />
        <source>已连接</source>
        <translation>已連線</translation>
    </message>
    <message>
        <location line="+33" />
        <source>显示的文本</source>
        <translation>顯示的文字</translation>
    </message>
    <message>
        <location line="+0" />
        <source>原始字节</source>
        <translation>原始位元組</translation>
    </message>
    <message>
        <location line="+6" />
        <source>选择文件…</source>
        <translation>選擇檔案……</translation>
    </message>
    <message>
        <location line="+2" />
        <source>时间戳</source>
        <translation>時間戳記</translation>
    </message>
    <message>
        <location line="+3" />
        <location line="+415" />
        <source>暂停显示</source>
        <translation>暫停顯示</translation>
    </message>
    <message>
        <location line="-412" />
        <source>全部复制</source>
        <translation>全部複製</translation>
    </message>
    <message>
        <location line="+31" />
        <source>按停顿分行</source>
        <translation>依停頓分行</translation>
    </message>
    <message>
        <location line="+2" />
        <source>十六进制显示时,线路停顿超过所设毫秒数也开始新的一行</source>
        <translation>十六進位顯示時，線路停頓超過所設毫秒數也開始新的一行</translation>
    </message>
    <message>
        <location line="+5" />
        <source> 毫秒</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <location line="+2" />
        <location line="+217" />
        <source>未监听</source>
        <translation>未監控</translation>
    </message>
    <message>
        <location line="-163" />
        <source>连接已断开</source>
        <translation>連線已中斷</translation>
    </message>
    <message>
        <location line="+6" />
        <source>已重新连接</source>
        <translation>已重新連線</translation>
    </message>
    <message>
        <location line="+9" />
        <source>未连接，无法发送</source>
        <translation>未連線，無法傳送</translation>
    </message>
    <message>
        <location line="+4" />
        <source>上一次发送尚未完成</source>
        <translation>上一次傳送尚未完成</translation>
    </message>
    <message>
        <location line="+33" />
        <source>查找</source>
        <translation>尋找</translation>
    </message>
    <message>
        <location line="+1" />
        <source>上一个</source>
        <translation>上一個</translation>
    </message>
    <message>
        <location line="+2" />
        <source>下一个</source>
        <translation>下一個</translation>
    </message>
    <message>
        <location line="+4" />
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
    <message>
        <location line="+53" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="-86" />
        <location line="+97" />
        <source>…（共 %1 字节）</source>
        <translation>…（共 %1 位元組）</translation>
    </message>
    <message>
        <location line="+164" />
        <source>无法写入记录文件: %1</source>
        <translation>無法寫入記錄檔案：%1</translation>
    </message>
    <message numerus="yes">
        <location line="+31" />
        <source>继续显示（%1 行）</source>
        <translation>
            <numerusform>繼續顯示（%1 行）</numerusform>
        </translation>
    </message>
    <message>
        <location line="+41" />
        <source>无匹配</source>
        <translation>無相符項目</translation>
    </message>
    <message numerus="yes">
        <location line="+0" />
        <source>%1 处匹配</source>
        <translation>
            <numerusform>%1 個相符項目</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MonitorSend</name>
    <message>
        <location filename="../monitor/monitorcommand.cpp" line="+20" />
        <source>应为 名称&lt;TAB&gt;模式&lt;TAB&gt;行尾&lt;TAB&gt;内容</source>
        <translation>應為 名稱&lt;TAB&gt;模式&lt;TAB&gt;行尾&lt;TAB&gt;內容</translation>
    </message>
    <message>
        <location line="+4" />
        <source>缺少名称</source>
        <translation>缺少名稱</translation>
    </message>
    <message>
        <location line="+4" />
        <source>名称和内容不能含回车或换行符,行尾请用行尾选项</source>
        <translation>名稱和內容不能含歸位或換行字元，行尾請用行尾選項</translation>
    </message>
    <message>
        <location line="+4" />
        <source>未知的模式: %1</source>
        <translation>未知的模式：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>未知的行尾: %1</source>
        <translation>未知的行尾：%1</translation>
    </message>
    <message>
        <location line="+43" />
        <source>打开文件失败: %1</source>
        <translation>開啟檔案失敗：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>文件太大: %1</source>
        <translation>檔案太大：%1</translation>
    </message>
    <message>
        <location line="+15" />
        <source>第%1行: %2</source>
        <translation>第%1行：%2</translation>
    </message>
    <message>
        <location line="+2" />
        <source>命令超过%1条</source>
        <translation>指令超過%1條</translation>
    </message>
    <message>
        <location line="+15" />
        <source>写入文件失败: %1</source>
        <translation>寫入檔案失敗：%1</translation>
    </message>
    <message>
        <location filename="../monitor/monitorsend.cpp" line="+83" />
        <source>第%1个字符: 十六进制数字不成对</source>
        <translation>第%1個字元：十六進位數字不成對</translation>
    </message>
    <message>
        <location line="+1" />
        <source>第%1个字符不是十六进制数字</source>
        <translation>第%1個字元不是十六進位數字</translation>
    </message>
    <message>
        <location line="+7" />
        <source>文本含有GB2312以外的字符</source>
        <translation>文字含有GB2312以外的字元</translation>
    </message>
    <message>
        <location line="+21" />
        <source>没有要发送的内容</source>
        <translation>沒有要傳送的內容</translation>
    </message>
    <message>
        <location line="+2" />
        <source>一次最多发送%1字节,这次是%2字节</source>
        <translation>一次最多傳送%1位元組，這次是%2位元組</translation>
    </message>
</context>
<context>
    <name>MonitorSendBar</name>
    <message>
        <location filename="../monitor/monitorsendbar.cpp" line="+20" />
        <source>要发送的文本或十六进制字节</source>
        <translation>要傳送的文字或十六進位位元組</translation>
    </message>
    <message>
        <location line="+2" />
        <source>发送</source>
        <translation>傳送</translation>
    </message>
    <message>
        <location line="+4" />
        <source>允许发送</source>
        <translation>允許傳送</translation>
    </message>
    <message>
        <location line="+2" />
        <source>错误的帧可能改变设备的设置</source>
        <translation>錯誤的訊框可能改變裝置的設定</translation>
    </message>
    <message>
        <location line="+7" />
        <source>附加CRC</source>
        <translation>附加CRC</translation>
    </message>
    <message>
        <location line="+2" />
        <source>在内容后附加CRC-16/MODBUS,低字节在前</source>
        <translation>在內容後附加CRC-16/MODBUS，低位元組在前</translation>
    </message>
    <message>
        <location line="+5" />
        <source>编辑命令…</source>
        <translation>編輯指令……</translation>
    </message>
    <message>
        <location line="+38" />
        <source>文本</source>
        <translation>文字</translation>
    </message>
    <message>
        <location line="+1" />
        <source>十六进制</source>
        <translation>十六進位</translation>
    </message>
    <message>
        <location line="+5" />
        <source>无</source>
        <translation>無</translation>
    </message>
    <message>
        <location line="+21" />
        <source>发送命令…</source>
        <translation>傳送指令……</translation>
    </message>
</context>
<context>
    <name>MonitorThread</name>
    <message>
        <location filename="../monitor/monitorsession.cpp" line="+38" />
        <location line="+32" />
        <source>设备监听</source>
        <translation>裝置監控</translation>
    </message>
    <message>
        <location line="+1" />
        <source>连接已断开</source>
        <translation>連線已中斷</translation>
    </message>
    <message>
        <location line="+79" />
        <source>监听调试</source>
        <translation>除錯訊息</translation>
    </message>
    <message>
        <location line="+38" />
        <source>未连接，无法发送</source>
        <translation>未連線，無法傳送</translation>
    </message>
    <message>
        <location filename="../monitor/monitorline.cpp" line="+94" />
        <source>—— 连接已断开 %1 ——</source>
        <translation>—— 連線已中斷 %1 ——</translation>
    </message>
    <message>
        <location line="+1" />
        <source>—— 已重新连接 %1 ——</source>
        <translation>—— 已重新連線 %1 ——</translation>
    </message>
</context>
<context>
    <name>NeutralAboutDialog</name>
    <message>
        <location filename="../forms/neutralaboutdialog.ui" line="+9" />
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location line="+15" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <location filename="../base/outputfile.cpp" line="+21" />
        <source>这是一个符号链接;程序自己命名的文件不经链接写入</source>
        <translation>這是符號連結；程式自行命名的檔案不經由連結寫入。</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这是一个管道(FIFO),只能写入普通文件</source>
        <translation>這是管道（FIFO），只能寫入一般檔案。</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这是一个设备,只能写入普通文件</source>
        <translation>這是裝置，只能寫入一般檔案。</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这是一个文件夹,只能写入普通文件</source>
        <translation>這是資料夾，只能寫入一般檔案。</translation>
    </message>
    <message>
        <location line="+2" />
        <source>这不是普通文件,只能写入普通文件</source>
        <translation>這不是一般檔案，只能寫入一般檔案。</translation>
    </message>
    <message>
        <location line="+2" />
        <source>文件已存在;不覆盖本次运行之前就有的文件</source>
        <translation>檔案已存在；不覆寫本次執行之前就有的檔案。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../base/folderopener.cpp" line="+41" />
        <source>打开文件夹</source>
        <translation>開啟資料夾</translation>
    </message>
    <message>
        <location line="+2" />
        <source>没有可打开文件夹的文件管理器。文件夹位于:
%1</source>
        <translation>沒有可開啟資料夾的檔案管理員。資料夾位於：
%1</translation>
    </message>
    <message>
        <location line="+4" />
        <location filename="../base/messageboxes.cpp" line="+38" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../base/messageboxes.cpp" line="+6" />
        <source>错误</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <location line="+26" />
        <location line="+25" />
        <source>信息</source>
        <translation>資訊</translation>
    </message>
    <message>
        <location filename="../firmware/ddbserver.cpp" line="+65" />
        <source>解析文件失败,文件不存在或拒绝访问!</source>
        <translation>解析檔案失敗，檔案不存在或拒絕存取！</translation>
    </message>
    <message>
        <location line="+10" />
        <source>解析文件失败,打开文件失败,请检查文件类型!</source>
        <translation>解析檔案失敗，無法開啟檔案，請檢查檔案類型！</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+2" />
        <source>解析文件失败,文件操作失败!</source>
        <translation>解析檔案失敗，檔案操作失敗！</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+4" />
        <location line="+11" />
        <source>解析文件失败,无法获取文件内容!</source>
        <translation>解析檔案失敗，無法取得檔案內容！</translation>
    </message>
    <message>
        <location line="+127" />
        <source>解析文件失败,文件校验失败!</source>
        <translation>解析檔案失敗，檔案驗證失敗！</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+108" />
        <source>CRC校验错误</source>
        <translation>CRC檢查錯誤</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="+267" />
        <location filename="../link/frame.cpp" line="+2" />
        <source>发送命令超时</source>
        <translation>傳送指令逾時</translation>
    </message>
    <message>
        <location line="+8" />
        <location filename="../link/frame.cpp" line="+2" />
        <source>接受数据超时</source>
        <translation>接收資料逾時</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+2" />
        <source>未定义的错误</source>
        <translation>未定義的錯誤</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="-227" />
        <source>打开串口失败: %1</source>
        <translation>開啟串列埠失敗：%1</translation>
    </message>
    <message>
        <location line="+0" />
        <source>串口打开失败</source>
        <translation>串列埠開啟失敗</translation>
    </message>
    <message>
        <location line="+203" />
        <location line="+14" />
        <source>发送命令失败</source>
        <translation>傳送指令失敗</translation>
    </message>
    <message>
        <location filename="../link/searchdevicedialog.cpp" line="+93" />
        <source>请选择设备</source>
        <translation>請選擇裝置</translation>
    </message>
    <message>
        <location filename="../link/commsettings.cpp" line="+164" />
        <source>未设置地址</source>
        <translation>未設定位址</translation>
    </message>
    <message>
        <location line="+7" />
        <source>未选择串口</source>
        <translation>未選擇串列埠</translation>
    </message>
    <message>
        <location line="+5" />
        <source>%1 · 地址 %2</source>
        <translation>%1 · 位址 %2</translation>
    </message>
    <message>
        <location filename="../link/linkfailure.cpp" line="+17" />
        <source>请检查电缆、端口和设备地址，并确认仪表已通电。</source>
        <translation>請檢查纜線、連接埠和裝置位址，並確認儀表已通電。</translation>
    </message>
    <message>
        <location line="+1" />
        <source>请检查端口名称，以及端口是否被其他程序占用。</source>
        <translation>請檢查連接埠名稱，以及連接埠是否被其他程式佔用。</translation>
    </message>
    <message>
        <location line="+4" />
        <source>%1: %2</source>
        <translation>%1：%2</translation>
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
        <translation>查詢</translation>
    </message>
</context>
<context>
    <name>RefreshThread</name>
    <message>
        <location filename="../items/refreshthread.cpp" line="+28" />
        <source>刷新</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <location filename="../items/itemsession.cpp" line="-54" />
        <source>设备在第%1项后仍未结束配置列表,已停止读取</source>
        <translation>裝置在第%1項後仍未結束設定清單，已停止讀取</translation>
    </message>
    <message>
        <location line="+20" />
        <source>配置项%1与配置项%2的应答完全相同,列表可能错位,请重新读取</source>
        <translation>設定項目%1與設定項目%2的回應完全相同，清單可能錯位，請重新讀取</translation>
    </message>
</context>
<context>
    <name>SearchDeviceDialog</name>
    <message>
        <location filename="../forms/searchdevicedialog.ui" line="+14" />
        <source>查找设备</source>
        <translation>尋找裝置</translation>
    </message>
    <message>
        <location line="+17" />
        <source>搜索</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location line="+16" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+16" />
        <source>取消</source>
        <translation>取消</translation>
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
        <translation>服務報告</translation>
    </message>
    <message>
        <location line="+6" />
        <source>设备型号</source>
        <translation>裝置型號</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备名称</source>
        <translation>裝置名稱</translation>
    </message>
    <message>
        <location line="+1" />
        <source>连接</source>
        <translation>連線</translation>
    </message>
    <message>
        <location line="+1" />
        <source>报告时间</source>
        <translation>報告時間</translation>
    </message>
    <message>
        <location line="+3" />
        <source>配置项（最后读取的值）</source>
        <translation>設定項目（最後讀取的值）</translation>
    </message>
    <message>
        <location line="+2" />
        <source>尚未读取配置项。</source>
        <translation>尚未讀取設定項目。</translation>
    </message>
    <message>
        <location line="+3" />
        <source>序号</source>
        <translation>序號</translation>
    </message>
    <message>
        <location line="+0" />
        <source>名称</source>
        <translation>名稱</translation>
    </message>
    <message>
        <location line="+1" />
        <source>值</source>
        <translation>值</translation>
    </message>
    <message>
        <location line="+7" />
        <source>本次维护的写入</source>
        <translation>本次維護的寫入</translation>
    </message>
    <message>
        <location line="+6" />
        <source>今天没有写入配置项。</source>
        <translation>今天沒有寫入設定項目。</translation>
    </message>
    <message>
        <location line="+3" />
        <source>时间</source>
        <translation>時間</translation>
    </message>
    <message>
        <location line="+0" />
        <source>配置项</source>
        <translation>設定項目</translation>
    </message>
    <message>
        <location line="+1" />
        <source>原值 → 新值</source>
        <translation>原值 → 新值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>结果</source>
        <translation>結果</translation>
    </message>
    <message>
        <location line="+8" />
        <source>时钟</source>
        <translation>時鐘</translation>
    </message>
    <message>
        <location line="+2" />
        <source>今天没有设置时钟。</source>
        <translation>今天沒有設定時鐘。</translation>
    </message>
    <message>
        <location line="+5" />
        <location line="+14" />
        <source>历史数据 %1 至 %2</source>
        <translation>歷史資料 %1 至 %2</translation>
    </message>
    <message>
        <location line="-1" />
        <source>%1、%2</source>
        <translation>%1、%2</translation>
    </message>
    <message>
        <location line="+2" />
        <source>设备型号: %1    设备名称: %2    连接: %3</source>
        <translation>裝置型號：%1    裝置名稱：%2    連線：%3</translation>
    </message>
    <message>
        <location line="+2" />
        <source>数据: %1</source>
        <translation>資料：%1</translation>
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
        <translation>服務報告</translation>
    </message>
    <message>
        <location line="-85" />
        <source>读取并生成…</source>
        <translation>讀取並產生……</translation>
    </message>
    <message>
        <location line="+1" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+2" />
        <source>起始日期:</source>
        <translation>起始日期：</translation>
    </message>
    <message>
        <location line="+1" />
        <source>结束日期:</source>
        <translation>結束日期：</translation>
    </message>
    <message>
        <location line="+2" />
        <source>报告包含配置项的最后读取值、今天的写入记录和这段时间的历史数据图表。</source>
        <translation>報告包含設定項目的最後讀取值、今天的寫入記錄和這段時間的歷史資料圖表。</translation>
    </message>
    <message numerus="yes">
        <location line="+9" />
        <location line="+35" />
        <source>正在读取历史数据…已收到 %1 行</source>
        <translation>
            <numerusform>正在讀取歷史資料……已收到 %1 行</numerusform>
        </translation>
    </message>
    <message>
        <location line="-6" />
        <source>Files (*.pdf)</source>
        <translation>PDF檔案 (*.pdf)</translation>
    </message>
    <message>
        <location line="+28" />
        <source>已取消</source>
        <translation>已取消</translation>
    </message>
    <message>
        <location line="+8" />
        <source>正在生成报告…</source>
        <translation>正在產生報告……</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../forms/setupdialog.ui" line="+14" />
        <source>串口设置</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <location line="+6" />
        <source>Serial通讯</source>
        <translation>串列埠通訊</translation>
    </message>
    <message>
        <location line="+9" />
        <source>串口号：</source>
        <translation>串列埠：</translation>
    </message>
    <message>
        <location line="+31" />
        <source>重新列出串口</source>
        <translation>重新列出串列埠</translation>
    </message>
    <message>
        <location line="+13" />
        <source>波特率：</source>
        <translation>鮑率：</translation>
    </message>
    <message>
        <location line="+23" />
        <source>数据位：</source>
        <translation>資料位元：</translation>
    </message>
    <message>
        <location line="+13" />
        <source>奇偶校验：</source>
        <translation>同位檢查：</translation>
    </message>
    <message>
        <location line="+13" />
        <source>停止位：</source>
        <translation>停止位元：</translation>
    </message>
    <message>
        <location line="+41" />
        <source>Udp通讯</source>
        <translation>UDP通訊</translation>
    </message>
    <message>
        <location line="+9" />
        <source>地址：</source>
        <translation>位址：</translation>
    </message>
    <message>
        <location line="+13" />
        <source>端口：</source>
        <translation>連接埠：</translation>
    </message>
    <message>
        <location line="+22" />
        <source>查找设备</source>
        <translation>尋找裝置</translation>
    </message>
    <message>
        <location line="+18" />
        <source>设备地址：</source>
        <translation>裝置位址：</translation>
    </message>
    <message>
        <location line="+29" />
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+10" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../link/commsettings.cpp" line="+39" />
        <source>请选择串口!</source>
        <translation>請選擇串列埠！</translation>
    </message>
    <message>
        <location line="+2" />
        <source>请选择波特率!</source>
        <translation>請選擇鮑率！</translation>
    </message>
    <message>
        <location line="+21" />
        <source>请输入UDP地址</source>
        <translation>請輸入UDP位址</translation>
    </message>
    <message>
        <location line="+2" />
        <source>请输入UDP端口</source>
        <translation>請輸入UDP連接埠</translation>
    </message>
    <message>
        <location line="+2" />
        <source>UDP地址无效，请输入IPv4或IPv6地址</source>
        <translation>UDP位址無效，請輸入IPv4或IPv6位址</translation>
    </message>
    <message>
        <location line="+4" />
        <source>UDP端口无效，请输入1到65535之间的数字</source>
        <translation>UDP連接埠無效，請輸入1到65535之間的數字</translation>
    </message>
    <message>
        <location filename="../link/setupdialog.cpp" line="+26" />
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Even</source>
        <translation>偶同位</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Odd</source>
        <translation>奇同位</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Space</source>
        <translation>空白同位</translation>
    </message>
    <message>
        <location line="+0" />
        <source>Mark</source>
        <translation>標記同位</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../forms/updatedialog.ui" line="+14" />
        <location line="+6" />
        <location filename="../firmware/updatedialog.cpp" line="+226" />
        <source>更新固件</source>
        <translation>更新韌體</translation>
    </message>
    <message>
        <location line="+6" />
        <source>设备：</source>
        <translation>裝置：</translation>
    </message>
    <message>
        <location line="+14" />
        <source>版本：</source>
        <translation>版本：</translation>
    </message>
    <message>
        <location line="+14" />
        <source>型号：</source>
        <translation>型號：</translation>
    </message>
    <message>
        <location line="+14" />
        <source>文件：</source>
        <translation>檔案：</translation>
    </message>
    <message>
        <location line="+14" />
        <location line="+81" />
        <source>进度：</source>
        <translation>進度：</translation>
    </message>
    <message>
        <location line="-49" />
        <source>选择文件</source>
        <translation>選擇檔案</translation>
    </message>
    <message>
        <location line="+7" />
        <location filename="../firmware/updatedialog.cpp" line="-66" />
        <source>烧写</source>
        <translation>燒錄</translation>
    </message>
    <message>
        <location line="+12" />
        <location line="+76" />
        <location filename="../firmware/updatedialog.cpp" line="+131" />
        <source>下载文件</source>
        <translation>下載檔案</translation>
    </message>
    <message>
        <location line="-70" />
        <source>列表：</source>
        <translation>清單：</translation>
    </message>
    <message>
        <location line="+10" />
        <source>路径：</source>
        <translation>路徑：</translation>
    </message>
    <message>
        <location line="+46" />
        <source>刷新文件列表</source>
        <translation>重新整理清單</translation>
    </message>
    <message>
        <location line="+7" />
        <source>选择路径</source>
        <translation>選擇路徑</translation>
    </message>
    <message>
        <location filename="../firmware/updatedialog.cpp" line="-234" />
        <source>正在结束更新…</source>
        <translation>正在結束更新……</translation>
    </message>
    <message>
        <location line="+65" />
        <source>请选择文件!</source>
        <translation>請選擇檔案！</translation>
    </message>
    <message>
        <location line="+4" />
        <source>更新失败,文件不存在或拒绝访问!</source>
        <translation>更新失敗，檔案不存在或拒絕存取！</translation>
    </message>
    <message>
        <location line="+17" />
        <source>固件更新失败,文件中没有固件数据!</source>
        <translation>韌體更新失敗，檔案中沒有韌體資料！</translation>
    </message>
    <message>
        <location line="+15" />
        <source>确认烧写以下固件？
设备：%1
版本：%2
型号：%3
连接：%4</source>
        <translation>確認燒錄以下韌體？
裝置：%1
版本：%2
型號：%3
連線：%4</translation>
    </message>
    <message>
        <location line="+12" />
        <source>重新开始</source>
        <translation>重新開始</translation>
    </message>
    <message>
        <location line="+0" />
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
    <message>
        <location line="+27" />
        <source>请选择设备类型!</source>
        <translation>請選擇裝置類型！</translation>
    </message>
    <message>
        <location line="+4" />
        <source>请选择下载路径!</source>
        <translation>請選擇下載路徑！</translation>
    </message>
    <message>
        <location line="+13" />
        <source>文件 %1 已存在,是否替换?</source>
        <translation>檔案 %1 已存在，是否取代？</translation>
    </message>
    <message>
        <location line="+2" />
        <source>替换</source>
        <translation>取代</translation>
    </message>
    <message>
        <location line="+10" />
        <source>Files (*.vexabin)</source>
        <translation>韌體套件 (*.vexabin)</translation>
    </message>
    <message>
        <location line="-66" />
        <location line="+57" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../cli/cliservice.cpp" line="+81" />
        <location filename="../firmware/updatedialog.cpp" line="+45" />
        <source>固件更新成功!</source>
        <translation>韌體更新成功！</translation>
    </message>
    <message>
        <location filename="../firmware/updatedialog.cpp" line="+56" />
        <location line="+1" />
        <source>文件下载成功!</source>
        <translation>檔案下載成功！</translation>
    </message>
    <message>
        <location line="+15" />
        <source>正在更新固件,请等待更新完成!</source>
        <translation>正在更新韌體，請等待更新完成！</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <location filename="../firmware/updatesession.cpp" line="+55" />
        <source>固件更新失败,文件中没有固件数据!</source>
        <translation>韌體更新失敗，檔案中沒有韌體資料！</translation>
    </message>
    <message>
        <location line="+9" />
        <source>固件更新失败,</source>
        <translation>韌體更新失敗，</translation>
    </message>
    <message>
        <location line="+35" />
        <source>固件更新失败,获取设备ID失败!</source>
        <translation>韌體更新失敗，取得裝置ID失敗！</translation>
    </message>
    <message>
        <location line="+7" />
        <source>固件更新失败,BIN文件与设备型号不一致!</source>
        <translation>韌體更新失敗，BIN檔案與裝置型號不一致！</translation>
    </message>
    <message>
        <location line="+19" />
        <source>固件更新失败,擦除设备内存失败!</source>
        <translation>韌體更新失敗，抹除裝置記憶體失敗！</translation>
    </message>
    <message>
        <location line="+19" />
        <source>固件更新失败,发送文件数据失败!</source>
        <translation>韌體更新失敗，傳送檔案資料失敗！</translation>
    </message>
    <message>
        <location filename="../firmware/updateframes.cpp" line="+136" />
        <source>未知</source>
        <translation>未知</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备型号: %1
文件型号: %2</source>
        <translation>裝置型號：%1
檔案型號：%2</translation>
    </message>
    <message>
        <location filename="../firmware/firmwareupdate.cpp" line="+24" />
        <source>更新后设备已应答</source>
        <translation>更新後裝置已回應</translation>
    </message>
    <message>
        <location line="+1" />
        <source>更新后设备未应答</source>
        <translation>更新後裝置未回應</translation>
    </message>
    <message>
        <location line="+16" />
        <source>设备中的固件已被擦除，需要重新更新固件。</source>
        <translation>裝置中的韌體已被抹除，需要重新更新韌體。</translation>
    </message>
</context>
<context>
    <name>VexaCli</name>
    <message>
        <location filename="../cli/cliapp.cpp" line="-292" />
        <source>读取配置项列表:每项的行号(配置助手列表中显示的)和配置项序号(文件和set使用的);-o写出配置助手的CSV文件</source>
        <translation>讀取設定項目清單：每項的行號（設定助手清單中顯示的）和設定項目序號（檔案和set使用的）；-o寫出設定助手的CSV檔案</translation>
    </message>
    <message>
        <location line="+4" />
        <source>按配置项序号(不是行号)或名称写入配置项,并显示设备的应答;名称可只写开头,须只对应一项</source>
        <translation>依設定項目序號（不是行號）或名稱寫入設定項目，並顯示裝置的回應；名稱可只寫開頭，須只對應一項</translation>
    </message>
    <message>
        <location line="+4" />
        <source>写入文件中与设备不同的值(先读取,并把设备中的值备份到backups/);--dry-run只显示比较;--all写入每一行</source>
        <translation>寫入檔案中與裝置不同的值（先讀取，並把裝置中的值備份到backups/）；--dry-run只顯示比較；--all寫入每一列</translation>
    </message>
    <message>
        <location line="+4" />
        <source>将文件与设备中的值比较,不写入;相同时退出状态为0,不同时为5</source>
        <translation>將檔案與裝置中的值比較，不寫入；相同時結束狀態為0，不同時為5</translation>
    </message>
    <message>
        <location line="+1" />
        <source>将设备时钟设为本机当前时间</source>
        <translation>將裝置時鐘設為本機目前時間</translation>
    </message>
    <message>
        <location line="+2" />
        <source>读取两天之间的历史数据(日期yyyy-MM-dd);无-o时输出到标准输出</source>
        <translation>讀取兩天之間的歷史資料（日期yyyy-MM-dd）；無-o時輸出到標準輸出</translation>
    </message>
    <message>
        <location line="+3" />
        <source>读取配置项和两天之间的历史数据,写出服务报告(A4 PDF);今天对该设备的写入记录为本次维护</source>
        <translation>讀取設定項目和兩天之間的歷史資料，寫出服務報告(A4 PDF)；今天對該裝置的寫入記錄為本次維護</translation>
    </message>
    <message>
        <location line="+4" />
        <source>用固件包更新设备固件;进度显示在标准错误输出;更新后再识别一次设备,并说明设备是否应答</source>
        <translation>用韌體套件更新裝置韌體；進度顯示在標準錯誤輸出；更新後再識別一次裝置，並說明裝置是否回應</translation>
    </message>
    <message>
        <location line="+6" />
        <source>监听设备发送的行并输出到标准输出;可在打开后发送一次</source>
        <translation>接收裝置傳送的行並輸出到標準輸出；可在開啟後傳送一次</translation>
    </message>
    <message>
        <location line="+4" />
        <source>广播搜索设备(只在您自己的网络上使用)</source>
        <translation>廣播搜尋裝置（只在您自己的網路上使用）</translation>
    </message>
    <message>
        <location line="+8" />
        <source>UDP目标</source>
        <translation>UDP目標</translation>
    </message>
    <message>
        <location line="+1" />
        <source>串口目标</source>
        <translation>串列埠目標</translation>
    </message>
    <message>
        <location line="+1" />
        <source>波特率(默认9600)</source>
        <translation>鮑率（預設9600）</translation>
    </message>
    <message>
        <location line="+1" />
        <source>数据位5..8(默认8)</source>
        <translation>資料位元5..8（預設8）</translation>
    </message>
    <message>
        <location line="+1" />
        <source>校验: none|even|odd|space|mark</source>
        <translation>同位檢查：none|even|odd|space|mark</translation>
    </message>
    <message>
        <location line="+1" />
        <source>停止位: 1|1.5|2</source>
        <translation>停止位元：1|1.5|2</translation>
    </message>
    <message>
        <location line="+1" />
        <source>每次发送前拉动RTS</source>
        <translation>每次傳送前觸發RTS</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备地址1..255(默认255)</source>
        <translation>裝置位址1..255（預設255）</translation>
    </message>
    <message>
        <location line="+2" />
        <source>多台设备,每行一台: NAME,udp://HOST:PORT?address=N 或 NAME,serial:PORT?baud=N&amp;address=N</source>
        <translation>多台裝置，每行一台：NAME,udp://HOST:PORT?address=N 或 NAME,serial:PORT?baud=N&amp;address=N</translation>
    </message>
    <message>
        <location line="+2" />
        <source>同时服务的设备数(默认8;同一串口上逐台进行)</source>
        <translation>同時服務的裝置數（預設8；同一串列埠上逐台進行）</translation>
    </message>
    <message>
        <location line="+2" />
        <source>多台设备:失败达到N台后不再开始新的设备,未开始的设备单独列出(默认不限)</source>
        <translation>多台裝置：失敗達到N台後不再開始新的裝置，未開始的裝置單獨列出（預設不限）</translation>
    </message>
    <message>
        <location line="+1" />
        <source>每台设备一行JSON输出</source>
        <translation>每台裝置一行JSON輸出</translation>
    </message>
    <message>
        <location line="+2" />
        <source>慢速线路:items、set、apply、clock和report每次等待应答的毫秒数(默认读取3000,重试和写入10000)</source>
        <translation>慢速線路：items、set、apply、clock和report每次等待回應的毫秒數（預設讀取3000，重試和寫入10000）</translation>
    </message>
    <message>
        <location line="+8" />
        <source>输出文件;多台设备时为文件夹</source>
        <translation>輸出檔案；多台裝置時為資料夾</translation>
    </message>
    <message>
        <location line="+3" />
        <source>持续秒数(默认10)</source>
        <translation>持續秒數（預設10）</translation>
    </message>
    <message>
        <location line="+2" />
        <source>以十六进制显示</source>
        <translation>以十六進位顯示</translation>
    </message>
    <message>
        <location line="+2" />
        <source>同时显示原文和十六进制</source>
        <translation>同時顯示原文和十六進位</translation>
    </message>
    <message>
        <location line="+2" />
        <source>不打开设备的调试输出</source>
        <translation>不開啟裝置的除錯輸出</translation>
    </message>
    <message>
        <location line="+2" />
        <source>打开后发送的文本(GB2312)</source>
        <translation>開啟後傳送的文字（GB2312）</translation>
    </message>
    <message>
        <location line="+2" />
        <source>打开后发送的十六进制字节</source>
        <translation>開啟後傳送的十六進位位元組</translation>
    </message>
    <message>
        <location line="+2" />
        <source>发送内容后的行尾: none|cr|lf|crlf(默认none)</source>
        <translation>傳送內容後的行尾：none|cr|lf|crlf（預設none）</translation>
    </message>
    <message>
        <location line="+3" />
        <source>连接断开后等待并重新连接,直到--seconds结束</source>
        <translation>連線中斷後等待並重新連線，直到--seconds結束</translation>
    </message>
    <message>
        <location line="+2" />
        <source>另存为A4 PDF表格</source>
        <translation>另存為A4 PDF表格</translation>
    </message>
    <message>
        <location line="+2" />
        <source>另存为图表(PNG图片或A4横向PDF)</source>
        <translation>另存為圖表(PNG圖片或A4橫向PDF)</translation>
    </message>
    <message>
        <location line="+2" />
        <source>只显示比较,不写入</source>
        <translation>只顯示比較，不寫入</translation>
    </message>
    <message>
        <location line="+2" />
        <source>写入前不备份设备中的值</source>
        <translation>寫入前不備份裝置中的值</translation>
    </message>
    <message>
        <location line="+2" />
        <source>允许把有值的配置项写为空值</source>
        <translation>允許把有值的設定項目寫為空值</translation>
    </message>
    <message>
        <location line="+3" />
        <source>跳过型号与固件包不同的设备(只识别,不擦除);跳过的设备单独列出,不算失败</source>
        <translation>略過型號與韌體套件不同的裝置（只識別，不抹除）；略過的裝置單獨列出，不算失敗</translation>
    </message>
    <message>
        <location line="+3" />
        <source>执行命令配置项(没有值的项,如恢复出厂设置),写作INDEX=或NAME=</source>
        <translation>執行指令設定項目（沒有值的項目，如恢復出廠設定），寫作INDEX=或NAME=</translation>
    </message>
    <message>
        <location line="+1" />
        <source>写入每一行,包括相同的值</source>
        <translation>寫入每一列，包括相同的值</translation>
    </message>
    <message>
        <location line="+8" />
        <source>显示帮助</source>
        <translation>顯示說明</translation>
    </message>
    <message>
        <location line="+11" />
        <source>用法: %1</source>
        <translation>用法：%1</translation>
    </message>
    <message>
        <location line="+7" />
        <source>配置、读取和维护仪表;默认目标为当前目录的config.ini,与配置助手相同。</source>
        <translation>設定、讀取和維護儀表；預設目標為目前資料夾的config.ini，與設定助手相同。</translation>
    </message>
    <message>
        <location line="+2" />
        <source>命令:</source>
        <translation>指令：</translation>
    </message>
    <message>
        <location line="+5" />
        <source>退出状态: 0 成功, 1 用法或参数错误, 2 连接错误, 3 设备拒绝, 4 文件错误, 5 diff发现不同</source>
        <translation>結束狀態：0 成功，1 用法或參數錯誤，2 連線錯誤，3 裝置拒絕，4 檔案錯誤，5 diff發現不同</translation>
    </message>
    <message>
        <location line="+2" />
        <location line="+9" />
        <source>选项:</source>
        <translation>選項：</translation>
    </message>
    <message>
        <location line="-8" />
        <source>每个命令的帮助: vexa-cli COMMAND --help</source>
        <translation>每個指令的說明：vexa-cli COMMAND --help</translation>
    </message>
    <message>
        <location line="+15" />
        <source>用法见 vexa-cli --help</source>
        <translation>用法請見 vexa-cli --help</translation>
    </message>
    <message>
        <location line="+1" />
        <source>用法见 vexa-cli %1 --help</source>
        <translation>用法請見 vexa-cli %1 --help</translation>
    </message>
    <message>
        <location line="+18" />
        <source>--send和--send-hex只能选一个</source>
        <translation>--send和--send-hex只能選一個</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的行尾: %1</source>
        <translation>無效的行尾：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>--eol只用于--send或--send-hex</source>
        <translation>--eol只用於--send或--send-hex</translation>
    </message>
    <message>
        <location line="+22" />
        <source>缺少串口名</source>
        <translation>缺少串列埠名稱</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的波特率: %1</source>
        <translation>無效的鮑率：%1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的数据位: %1</source>
        <translation>無效的資料位元：%1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的校验: %1</source>
        <translation>無效的同位檢查：%1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的停止位: %1</source>
        <translation>無效的停止位元：%1</translation>
    </message>
    <message>
        <location line="+9" />
        <source>无效的设备地址: %1</source>
        <translation>無效的裝置位址：%1</translation>
    </message>
    <message>
        <location line="+11" />
        <source>缺少 INDEX=VALUE 或 NAME=VALUE</source>
        <translation>缺少 INDEX=VALUE 或 NAME=VALUE</translation>
    </message>
    <message>
        <location line="+6" />
        <source>应为 INDEX=VALUE(INDEX为0..254)或 NAME=VALUE: %1</source>
        <translation>應為 INDEX=VALUE（INDEX為0..254）或 NAME=VALUE：%1</translation>
    </message>
    <message>
        <location line="+3" />
        <location filename="../cli/climeterjob.cpp" line="-260" />
        <source>配置项%1重复出现</source>
        <translation>設定項目%1重複出現</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+17" />
        <source>需要一个文件</source>
        <translation>需要一個檔案</translation>
    </message>
    <message>
        <location line="-6" />
        <source>该命令只用于一台设备</source>
        <translation>此指令只用於一台裝置</translation>
    </message>
    <message>
        <location line="+3" />
        <source>--pdf和--chart不能与--targets同用</source>
        <translation>--pdf和--chart不能與--targets同用</translation>
    </message>
    <message>
        <location line="+18" />
        <source>--hex和--both只能选一个</source>
        <translation>--hex和--both只能選一個</translation>
    </message>
    <message>
        <location line="+4" />
        <source>需要 -o FILE.pdf</source>
        <translation>需要 -o FILE.pdf</translation>
    </message>
    <message>
        <location line="+18" />
        <source>多余的参数: %1</source>
        <translation>多餘的參數：%1</translation>
    </message>
    <message numerus="yes">
        <location line="+37" />
        <source>%1台设备中%2台失败:</source>
        <translation>
            <numerusform>%1台裝置中%2台失敗：</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+5" />
        <source>跳过%1台设备:</source>
        <translation>
            <numerusform>略過%1台裝置：</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4" />
        <source>失败达到上限,%1台设备未开始:</source>
        <translation>
            <numerusform>失敗達到上限，%1台裝置未開始：</numerusform>
        </translation>
    </message>
    <message>
        <location line="+55" />
        <source>写入标准输出失败: %1</source>
        <translation>寫入標準輸出失敗：%1</translation>
    </message>
    <message>
        <location line="+17" />
        <source>显示版本</source>
        <translation>顯示版本</translation>
    </message>
    <message>
        <location line="+1" />
        <source>命令</source>
        <translation>指令</translation>
    </message>
    <message>
        <location line="+13" />
        <source>缺少命令</source>
        <translation>缺少指令</translation>
    </message>
    <message>
        <location line="+12" />
        <source>未知的命令: %1</source>
        <translation>未知的指令：%1</translation>
    </message>
    <message>
        <location line="+36" />
        <source>无效的等待时间: %1</source>
        <translation>無效的等待時間：%1</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的秒数: %1</source>
        <translation>無效的秒數：%1</translation>
    </message>
    <message>
        <location line="+6" />
        <source>--udp、--serial和--targets只能选一个</source>
        <translation>--udp、--serial和--targets只能選一個</translation>
    </message>
    <message>
        <location line="+4" />
        <source>--%1只用于--serial</source>
        <translation>--%1只用於--serial</translation>
    </message>
    <message>
        <location line="+5" />
        <source>无效的并行数: %1</source>
        <translation>無效的並行數：%1</translation>
    </message>
    <message>
        <location line="+4" />
        <source>无效的失败数: %1</source>
        <translation>無效的失敗數：%1</translation>
    </message>
    <message>
        <location line="+2" />
        <source>--address不能与--targets同用,地址写在目标文件中</source>
        <translation>--address不能與--targets同用，位址寫在目標檔案中</translation>
    </message>
    <message>
        <location line="+23" />
        <source>无法创建文件夹: %1</source>
        <translation>無法建立資料夾：%1</translation>
    </message>
    <message>
        <location filename="../cli/clifleet.cpp" line="+19" />
        <source>设备</source>
        <translation>裝置</translation>
    </message>
    <message>
        <location filename="../cli/clihistory.cpp" line="-50" />
        <source>需要起止日期 FROM TO (yyyy-MM-dd)</source>
        <translation>需要起訖日期 FROM TO (yyyy-MM-dd)</translation>
    </message>
    <message>
        <location line="+3" />
        <source>无效的日期: %1</source>
        <translation>無效的日期：%1</translation>
    </message>
    <message>
        <location line="+41" />
        <location filename="../cli/clireport.cpp" line="+150" />
        <source>历史数据超过%1 MiB的上限,已停止读取;只写出了前面的行</source>
        <translation>歷史資料超過%1 MiB的上限，已停止讀取；只寫出了前面的行。</translation>
    </message>
    <message>
        <location filename="../cli/climeterjob.cpp" line="-21" />
        <source>配置项</source>
        <translation>設定項目</translation>
    </message>
    <message>
        <location line="+64" />
        <source>设备没有配置项%1</source>
        <translation>裝置沒有設定項目%1</translation>
    </message>
    <message>
        <location line="+30" />
        <source>配置项%1是命令,不带值: %2</source>
        <translation>設定項目%1是指令，不帶值：%2</translation>
    </message>
    <message>
        <location line="-10" />
        <location line="+117" />
        <source>(设备未接受该值)</source>
        <translation>（裝置未接受該值）</translation>
    </message>
    <message>
        <location line="-450" />
        <source>行号</source>
        <translation>行號</translation>
    </message>
    <message>
        <location line="+1" />
        <source>配置项序号</source>
        <translation>設定項目序號</translation>
    </message>
    <message>
        <location line="+4" />
        <source>名称: 值</source>
        <translation>名稱：值</translation>
    </message>
    <message>
        <location line="+133" />
        <source>设备未接受配置项%1的值: %2</source>
        <translation>裝置未接受設定項目%1的值：%2</translation>
    </message>
    <message>
        <location line="+54" />
        <source>输出文件%1与程序自己的文件同名,不写入</source>
        <translation>輸出檔案%1與程式自己的檔案同名，不寫入。</translation>
    </message>
    <message>
        <location line="+153" />
        <source>配置项%1“%2”是命令,写入即执行;确要执行请加--trigger</source>
        <translation>設定項目%1「%2」是指令，寫入即執行；確要執行請加--trigger</translation>
    </message>
    <message>
        <location line="+2" />
        <source>配置项%1“%2”的值为空;确要写入空值请加--allow-empty</source>
        <translation>設定項目%1「%2」的值為空；確要寫入空值請加--allow-empty</translation>
    </message>
    <message>
        <location line="+42" />
        <source>读取时收到重复的应答,配置项%1在设备中读到“%2”,与文件中的“%3”不符,请重新读取</source>
        <translation>讀取時收到重複的回應，設定項目%1在裝置中讀到「%2」，與檔案中的「%3」不符，請重新讀取</translation>
    </message>
    <message>
        <location line="+6" />
        <source>文件与设备不符: 配置项%1在文件中为“%2”,在设备中为“%3”</source>
        <translation>檔案與裝置不符：設定項目%1在檔案中為「%2」，在裝置中為「%3」</translation>
    </message>
    <message numerus="yes">
        <location line="+23" />
        <source>将写入%1项,%2项相同</source>
        <translation>
            <numerusform>將寫入%1項，%2項相同</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13" />
        <source>写入</source>
        <translation>寫入</translation>
    </message>
    <message numerus="yes">
        <location line="+25" />
        <source>设备未接受%1项的值</source>
        <translation>
            <numerusform>裝置未接受%1項的值</numerusform>
        </translation>
    </message>
    <message>
        <location line="+77" />
        <source>时钟已设为%1</source>
        <translation>時鐘已設為%1</translation>
    </message>
    <message>
        <location filename="../cli/cliservice.cpp" line="-39" />
        <source>固件</source>
        <translation>韌體</translation>
    </message>
    <message>
        <location line="+16" />
        <source>型号不同,已跳过: %1</source>
        <translation>型號不同，已略過：%1</translation>
    </message>
    <message>
        <location filename="../cli/clitarget.cpp" line="+7" />
        <source>%1 中没有设备</source>
        <translation>%1 中沒有裝置</translation>
    </message>
    <message>
        <location filename="../cli/clireport.cpp" line="-78" />
        <source>报告文件应以.pdf结尾: %1</source>
        <translation>報告檔案應以.pdf結尾：%1</translation>
    </message>
    <message>
        <location line="+1" />
        <source>图表文件应以.png或.pdf结尾: %1</source>
        <translation>圖表檔案應以.png或.pdf結尾：%1</translation>
    </message>
    <message>
        <location line="+7" />
        <location line="+10" />
        <source>找不到绘图程序%1</source>
        <translation>找不到繪圖程式%1</translation>
    </message>
    <message>
        <location line="+6" />
        <source>绘图程序没有结束</source>
        <translation>繪圖程式沒有結束</translation>
    </message>
    <message>
        <location line="+4" />
        <source>绘图程序失败</source>
        <translation>繪圖程式失敗</translation>
    </message>
    <message>
        <location line="+67" />
        <source>服务报告已写入%1</source>
        <translation>服務報告已寫入%1</translation>
    </message>
    <message>
        <location filename="../cli/cliassignment.cpp" line="+63" />
        <source>设备没有名称以“%1”开头的配置项</source>
        <translation>裝置沒有名稱以「%1」開頭的設定項目</translation>
    </message>
    <message>
        <location line="+3" />
        <source>配置项序号%1 %2</source>
        <translation>設定項目序號%1 %2</translation>
    </message>
    <message>
        <location line="+1" />
        <source>“%1”对应多个配置项,请写出更多字或使用配置项序号: %2</source>
        <translation>「%1」對應多個設定項目，請寫出更多字或使用設定項目序號：%2</translation>
    </message>
</context>
<context>
    <name>WriteReviewDialog</name>
    <message>
        <location filename="../items/writereviewdialog.cpp" line="+25" />
        <source>写入前核对</source>
        <translation>寫入前核對</translation>
    </message>
    <message>
        <location line="+8" />
        <source>名称</source>
        <translation>名稱</translation>
    </message>
    <message>
        <location line="+0" />
        <source>设备中的值</source>
        <translation>裝置中的值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>将写入的值</source>
        <translation>將寫入的值</translation>
    </message>
    <message>
        <location line="+0" />
        <source>说明</source>
        <translation>說明</translation>
    </message>
    <message>
        <location line="+0" />
        <source>行号</source>
        <translation>行號</translation>
    </message>
    <message>
        <location line="+0" />
        <source>配置项序号</source>
        <translation>設定項目序號</translation>
    </message>
    <message>
        <location line="+1" />
        <source>配置列表中显示的行号</source>
        <translation>設定清單中顯示的行號</translation>
    </message>
    <message>
        <location line="+1" />
        <source>设备的配置项序号,文件和vexa-cli使用该序号</source>
        <translation>裝置的設定項目序號，檔案和vexa-cli使用該序號</translation>
    </message>
    <message>
        <location line="+25" />
        <source>写入选中项</source>
        <translation>寫入勾選項目</translation>
    </message>
    <message>
        <location line="+2" />
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+50" />
        <source>将写入%1项,未改变%2项,设备值未知%3项</source>
        <translation>將寫入%1項，未變更%2項，裝置值未知%3項</translation>
    </message>
</context>
</TS>
