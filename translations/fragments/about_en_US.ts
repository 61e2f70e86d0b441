<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="9"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="35"/>
        <source>本软件适用于本系列测量仪表</source>
        <translation>For the meters of this instrument family</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="43"/>
        <source>技术支持：请联系您的设备供应商</source>
        <translation>Support: please contact your equipment supplier</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="51"/>
        <source>版权所有 © 2024-2026</source>
        <translation>Copyright © 2024-2026</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="59"/>
        <source>&lt;a href=&quot;http://localhost/&quot;&gt;产品网站&lt;/a&gt;</source>
        <translation>&lt;a href="http://localhost/"&gt;Product website&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>NeutralAboutDialog</name>
    <message>
        <location filename="../../forms/neutralaboutdialog.ui" line="9"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../../forms/neutralaboutdialog.ui" line="24"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
