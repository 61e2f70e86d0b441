<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <location filename="../../link/searchdevicedialog.cpp" line="83"/>
        <source>请选择设备</source>
        <translation>Please select a device</translation>
    </message>
</context>
<context>
    <name>SearchDeviceDialog</name>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="14"/>
        <source>查找设备</source>
        <translation>Search Device</translation>
    </message>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="31"/>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="47"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../forms/searchdevicedialog.ui" line="63"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <location filename="../../forms/setupdialog.ui" line="14"/>
        <source>串口设置</source>
        <translation>Serial Port Settings</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="20"/>
        <source>Serial通讯</source>
        <translation>Serial Communication</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="29"/>
        <source>串口号：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="46"/>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="69"/>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="82"/>
        <source>奇偶校验：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="95"/>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="136"/>
        <source>Udp通讯</source>
        <translation>UDP Communication</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="145"/>
        <source>地址：</source>
        <translation>Address:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="158"/>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="180"/>
        <source>查找设备</source>
        <translation>Search Device</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="198"/>
        <source>设备地址：</source>
        <translation>Device address:</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="227"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../forms/setupdialog.ui" line="237"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="64"/>
        <source>请选择串口!</source>
        <translation>Please select a serial port!</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="66"/>
        <source>请选择波特率!</source>
        <translation>Please select a baud rate!</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="87"/>
        <source>请输入UDP地址</source>
        <translation>Please enter the UDP address</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="89"/>
        <source>请输入UDP端口</source>
        <translation>Please enter the UDP port</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="91"/>
        <source>UDP地址无效，请输入IPv4或IPv6地址</source>
        <translation>Invalid UDP address, please enter an IPv4 or IPv6 address</translation>
    </message>
    <message>
        <location filename="../../link/commsettings.cpp" line="95"/>
        <source>UDP端口无效，请输入1到65535之间的数字</source>
        <translation>Invalid UDP port, please enter a number from 1 to 65535</translation>
    </message>
</context>
</TS>
