<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../forms/aboutdialog.ui" line="+9"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>本软件适用于本系列测量仪表</source>
        <translation>本軟體適用於本系列測量儀表</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>技术支持：请联系您的设备供应商</source>
        <translation>技術支援：請聯絡您的裝置供應商</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>版权所有 © 2024-2026</source>
        <translation>版權所有 © 2024-2026</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&lt;a href=&quot;http://localhost/&quot;&gt;产品网站&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;http://localhost/&quot;&gt;產品網站&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>DeviceTypeMgr</name>
    <message>
        <location filename="../firmware/devicetypemgr.cpp" line="+67"/>
        <source>获取设备列表失败,请重试!</source>
        <translation>取得裝置清單失敗，請再試一次！</translation>
    </message>
</context>
<context>
    <name>DownloadThread</name>
    <message>
        <location filename="../firmware/downloadthread.cpp" line="+65"/>
        <location line="+27"/>
        <source>下载失败,打开链接失败!</source>
        <translation>下載失敗，開啟連結失敗！</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>下载失败,打开文件失败: %1</source>
        <translation>下載失敗，開啟檔案失敗：%1</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>下载异常: %1</source>
        <translation>下載錯誤：%1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>下载异常: 未找到该文件或下载失败</source>
        <translation>下載錯誤：找不到該檔案或下載失敗</translation>
    </message>
</context>
<context>
    <name>HistoryData</name>
    <message>
        <location filename="../forms/historydata.ui" line="+14"/>
        <source>历史数据</source>
        <translation>歷史資料</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>起始日期:</source>
        <translation>起始日期：</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>结束日期:</source>
        <translation>結束日期：</translation>
    </message>
    <message>
        <location line="+10"/>
        <location filename="../history/historydata.cpp" line="+90"/>
        <source>查询</source>
        <translation>查詢</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>导出CSV</source>
        <translation>匯出CSV</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>导出PDF</source>
        <translation>匯出PDF</translation>
    </message>
    <message>
        <location filename="../history/historydata.cpp" line="+0"/>
        <source>起始日期应该小于或等于结束日期</source>
        <translation>起始日期不可晚於結束日期</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+10"/>
        <source>导出历史数据</source>
        <translation>匯出歷史資料</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+57"/>
        <source>导出配置</source>
        <translation>匯出歷史資料</translation>
    </message>
    <message>
        <location line="-57"/>
        <source>导出数据失败，数据格式错误</source>
        <translation>匯出資料失敗，資料格式錯誤</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>打开文件失败: %1</source>
        <translation>開啟檔案失敗：%1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../forms/mainwindow.ui" line="+17"/>
        <source>操作</source>
        <translation>操作</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>语言</source>
        <translation>語言</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>帮助</source>
        <translation>說明</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>工具栏</source>
        <translation>工具列</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+1"/>
        <source>通讯设置</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>刷新</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="+69"/>
        <location line="+11"/>
        <location line="+6"/>
        <source>导入配置</source>
        <translation>匯入設定</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="-43"/>
        <location line="+11"/>
        <location line="+8"/>
        <source>导出配置</source>
        <translation>匯出設定</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="+36"/>
        <location line="+24"/>
        <location line="+62"/>
        <source>写入配置</source>
        <translation>寫入設定</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location filename="../items/mainwindow_items.cpp" line="-50"/>
        <location line="+13"/>
        <location line="+4"/>
        <location line="+2"/>
        <source>同步时间</source>
        <translation>同步時間</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>历史数据</source>
        <translation>歷史資料</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>更新固件</source>
        <translation>更新韌體</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>设备监听</source>
        <translation>裝置監控</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <source>关于</source>
        <translation>關於</translation>
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
        <translation>就緒</translation>
    </message>
    <message>
        <location line="+18"/>
        <location filename="../items/mainwindow_items.cpp" line="+99"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../items/itemcsv.cpp" line="+57"/>
        <location line="+51"/>
        <source>打开文件失败: %1</source>
        <translation>開啟檔案失敗：%1</translation>
    </message>
    <message>
        <location line="-43"/>
        <source>写入文件失败: %1</source>
        <translation>寫入檔案失敗：%1</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>文件解析错误</source>
        <translation>檔案解析錯誤</translation>
    </message>
    <message>
        <location filename="../items/mainwindow_items.cpp" line="-202"/>
        <source>正在导出配置......</source>
        <translation>正在匯出設定……</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>导出配置成功</source>
        <translation>匯出設定成功</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>以下配置项的值含有逗号或换行,从该文件导入时无法原样还原:
%1</source>
        <translation>以下設定項目的值含有逗號或換行，從該檔案匯入時無法原樣還原：
%1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>正在导入配置......</source>
        <translation>正在匯入設定……</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>导入配置成功</source>
        <translation>匯入設定成功</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+162"/>
        <source>正在写入配置......</source>
        <translation>正在寫入設定……</translation>
    </message>
    <message>
        <location line="-168"/>
        <source>写入错误,连接设备失败</source>
        <translation>寫入錯誤，連線裝置失敗</translation>
    </message>
    <message>
        <location line="+24"/>
        <location line="+62"/>
        <source>写入配置失败: %1</source>
        <translation>寫入設定值失敗：%1</translation>
    </message>
    <message>
        <location line="-58"/>
        <location line="+173"/>
        <source>写入配置成功</source>
        <translation>寫入設定成功</translation>
    </message>
    <message>
        <location line="-148"/>
        <source>同步时间成功</source>
        <translation>同步時間成功</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>同步时间失败</source>
        <translation>同步時間失敗</translation>
    </message>
    <message>
        <location line="+100"/>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+19"/>
        <location line="+5"/>
        <location line="+10"/>
        <location line="+6"/>
        <source>提交</source>
        <translation>送出</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>配置值含有设备无法表示的字符,未写入</source>
        <translation>設定值含有裝置無法表示的字元，未寫入</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入</source>
        <translation>設定值過長：編碼後為%1位元組，裝置最多接受%2位元組，未寫入</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>硬件返回数据校验错误</source>
        <translation>裝置傳回的資料檢查錯誤</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>写入配置失败,该项不支持修改</source>
        <translation>寫入設定失敗，此項目不支援修改</translation>
    </message>
</context>
<context>
    <name>ModifyDialog</name>
    <message>
        <location filename="../forms/modifydialog.ui" line="+14"/>
        <source>Dialog</source>
        <translation>編輯設定項目</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>提交</source>
        <translation>送出</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>MonitorDialog</name>
    <message>
        <location filename="../forms/monitordialog.ui" line="+14"/>
        <source>设备监听</source>
        <translation>裝置監控</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>原始数据</source>
        <translation>原始資料</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>十六进制</source>
        <translation>十六進位</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>原始数据 + 十六进制</source>
        <translation>原始資料 + 十六進位</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>调试信息</source>
        <translation>除錯訊息</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>开始监听</source>
        <translation>開始監控</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>停止监听</source>
        <translation>停止監控</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>清除</source>
        <translation>清除</translation>
    </message>
    <message>
        <location filename="../monitor/monitordialog.cpp" line="+62"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>MonitorThread</name>
    <message>
        <location filename="../monitor/monitorthread.cpp" line="+51"/>
        <source>设备监听</source>
        <translation>裝置監控</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>监听调试</source>
        <translation>除錯訊息</translation>
    </message>
</context>
<context>
    <name>NeutralAboutDialog</name>
    <message>
        <location filename="../forms/neutralaboutdialog.ui" line="+9"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../app/messageboxes.cpp" line="+38"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>错误</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>信息</source>
        <translation>資訊</translation>
    </message>
    <message>
        <location filename="../firmware/ddbserver.cpp" line="+40"/>
        <source>解析文件失败,文件不存在或拒绝访问!</source>
        <translation>解析檔案失敗，檔案不存在或拒絕存取！</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>解析文件失败,打开文件失败,请检查文件类型!</source>
        <translation>解析檔案失敗，無法開啟檔案，請檢查檔案類型！</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+2"/>
        <source>解析文件失败,文件操作失败!</source>
        <translation>解析檔案失敗，檔案操作失敗！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>解析文件失败,无法获取文件内容!</source>
        <translation>解析檔案失敗，無法取得檔案內容！</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>解析文件失败,文件校验失败!</source>
        <translation>解析檔案失敗，檔案驗證失敗！</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+77"/>
        <source>CRC校验错误</source>
        <translation>CRC檢查錯誤</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="+198"/>
        <location line="+19"/>
        <location filename="../link/frame.cpp" line="+2"/>
        <source>发送命令超时</source>
        <translation>傳送指令逾時</translation>
    </message>
    <message>
        <location line="-15"/>
        <location line="+22"/>
        <location filename="../link/frame.cpp" line="+2"/>
        <source>接受数据超时</source>
        <translation>接收資料逾時</translation>
    </message>
    <message>
        <location filename="../link/frame.cpp" line="+2"/>
        <source>未定义的错误</source>
        <translation>未定義的錯誤</translation>
    </message>
    <message>
        <location filename="../link/devicechannel.cpp" line="-121"/>
        <source>打开串口失败: %1</source>
        <translation>開啟串列埠失敗：%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>串口打开失败</source>
        <translation>串列埠開啟失敗</translation>
    </message>
    <message>
        <location line="+72"/>
        <location line="+12"/>
        <location line="+5"/>
        <source>发送命令失败</source>
        <translation>傳送指令失敗</translation>
    </message>
    <message>
        <location filename="../link/searchdevicedialog.cpp" line="+83"/>
        <source>请选择设备</source>
        <translation>請選擇裝置</translation>
    </message>
</context>
<context>
    <name>ReadThread</name>
    <message>
        <location filename="../history/readthread.cpp" line="+41"/>
        <location line="+34"/>
        <source>查询</source>
        <translation>查詢</translation>
    </message>
</context>
<context>
    <name>RefreshThread</name>
    <message>
        <location filename="../items/refreshthread.cpp" line="+49"/>
        <source>刷新</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>设备在第%1项后仍未结束配置列表,已停止读取</source>
        <translation>裝置在第%1項後仍未結束設定清單，已停止讀取</translation>
    </message>
</context>
<context>
    <name>SearchDeviceDialog</name>
    <message>
        <location filename="../forms/searchdevicedialog.ui" line="+14"/>
        <source>查找设备</source>
        <translation>尋找裝置</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>搜索</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../forms/setupdialog.ui" line="+14"/>
        <source>串口设置</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Serial通讯</source>
        <translation>串列埠通訊</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>串口号：</source>
        <translation>串列埠：</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>波特率：</source>
        <translation>鮑率：</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>数据位：</source>
        <translation>資料位元：</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>奇偶校验：</source>
        <translation>同位檢查：</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>停止位：</source>
        <translation>停止位元：</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Udp通讯</source>
        <translation>UDP通訊</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>地址：</source>
        <translation>位址：</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>端口：</source>
        <translation>連接埠：</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>查找设备</source>
        <translation>尋找裝置</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>设备地址：</source>
        <translation>裝置位址：</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../link/commsettings.cpp" line="+64"/>
        <source>请选择串口!</source>
        <translation>請選擇串列埠！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>请选择波特率!</source>
        <translation>請選擇鮑率！</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>请输入UDP地址</source>
        <translation>請輸入UDP位址</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>请输入UDP端口</source>
        <translation>請輸入UDP連接埠</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>UDP地址无效，请输入IPv4或IPv6地址</source>
        <translation>UDP位址無效，請輸入IPv4或IPv6位址</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>UDP端口无效，请输入1到65535之间的数字</source>
        <translation>UDP連接埠無效，請輸入1到65535之間的數字</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../forms/updatedialog.ui" line="+14"/>
        <location line="+6"/>
        <location filename="../firmware/updatedialog.cpp" line="+168"/>
        <source>更新固件</source>
        <translation>更新韌體</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>设备：</source>
        <translation>裝置：</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>版本：</source>
        <translation>版本：</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>型号：</source>
        <translation>型號：</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>文件：</source>
        <translation>檔案：</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+81"/>
        <source>进度：</source>
        <translation>進度：</translation>
    </message>
    <message>
        <location line="-49"/>
        <source>选择文件</source>
        <translation>選擇檔案</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>烧写</source>
        <translation>燒錄</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+76"/>
        <location filename="../firmware/updatedialog.cpp" line="+55"/>
        <source>下载文件</source>
        <translation>下載檔案</translation>
    </message>
    <message>
        <location line="-70"/>
        <source>列表：</source>
        <translation>清單：</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>路径：</source>
        <translation>路徑：</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>刷新文件列表</source>
        <translation>重新整理清單</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>选择路径</source>
        <translation>選擇路徑</translation>
    </message>
    <message>
        <location filename="../firmware/updatedialog.cpp" line="-112"/>
        <source>请选择文件!</source>
        <translation>請選擇檔案！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>更新失败,文件不存在或拒绝访问!</source>
        <translation>更新失敗，檔案不存在或拒絕存取！</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>请选择设备类型!</source>
        <translation>請選擇裝置類型！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>请选择下载路径!</source>
        <translation>請選擇下載路徑！</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>固件更新成功!</source>
        <translation>韌體更新成功！</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>文件下载成功!</source>
        <translation>檔案下載成功！</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>正在更新固件,请等待更新完成!</source>
        <translation>正在更新韌體，請等待更新完成！</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <location filename="../firmware/updatethread.cpp" line="+65"/>
        <source>固件更新失败,</source>
        <translation>韌體更新失敗，</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>固件更新失败,获取设备ID失败!</source>
        <translation>韌體更新失敗，取得裝置ID失敗！</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>固件更新失败,BIN文件与设备型号不一致!</source>
        <translation>韌體更新失敗，BIN檔案與裝置型號不一致！</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>固件更新失败,擦除设备内存失败!</source>
        <translation>韌體更新失敗，抹除裝置記憶體失敗！</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>固件更新失败,发送文件数据失败!</source>
        <translation>韌體更新失敗，傳送檔案資料失敗！</translation>
    </message>
</context>
</TS>
