<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>QObject</name>
    <message>
        <location filename="../../link/searchdevicedialog.cpp" line="83"/>
        <source>请选择设备</source>
        <translation>請選擇設備</translation>
    </message>
</context>
<context>
    <name>SearchDeviceDialog</name>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="14"/>
        <source>查找设备</source>
        <translation>查找設備</translation>
    </message>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="31"/>
        <source>搜索</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="47"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="63"/>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../../forms/setupdialog.ui" line="14"/>
        <source>串口设置</source>
        <translation>串口設定</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="20"/>
        <source>Serial通讯</source>
        <translation>Serial通訊</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="29"/>
        <source>串口号：</source>
        <translation>串口號：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="46"/>
        <source>波特率：</source>
        <translation>鮑率：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="69"/>
        <source>数据位：</source>
        <translation>資料位：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="82"/>
        <source>奇偶校验：</source>
        <translation>奇偶校驗：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="95"/>
        <source>停止位：</source>
        <translation>停止位：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="136"/>
        <source>Udp通讯</source>
        <translation>Udp通訊</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="145"/>
        <source>地址：</source>
        <translation>位址：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="158"/>
        <source>端口：</source>
        <translation>埠：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="180"/>
        <source>查找设备</source>
        <translation>查找設備</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="198"/>
        <source>设备地址：</source>
        <translation>設備位址：</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="227"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="237"/>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="64"/>
        <source>请选择串口!</source>
        <translation>請選擇串口!</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="66"/>
        <source>请选择波特率!</source>
        <translation>請選擇鮑率!</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="87"/>
        <source>请输入UDP地址</source>
        <translation>請輸入UDP位址</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="89"/>
        <source>请输入UDP端口</source>
        <translation>請輸入UDP埠</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="91"/>
        <source>UDP地址无效，请输入IPv4或IPv6地址</source>
        <translation>UDP位址無效，請輸入IPv4或IPv6位址</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="95"/>
        <source>UDP端口无效，请输入1到65535之间的数字</source>
        <translation>UDP埠無效，請輸入1到65535之間的數字</translation>
    </message>
</context>
</TS>
