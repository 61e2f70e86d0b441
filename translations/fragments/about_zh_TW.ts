<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="9"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="35"/>
        <source>本软件适用于本系列测量仪表</source>
        <translation>本軟體適用於本系列測量儀表</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="43"/>
        <source>技术支持：请联系您的设备供应商</source>
        <translation>技術支援：請聯絡您的設備供應商</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="51"/>
        <source>版权所有 © 2024-2026</source>
        <translation>版權所有 © 2024-2026</translation>
    </message>
    <message>
        <location filename="../../forms/aboutdialog.ui" line="59"/>
        <source>&lt;a href=&quot;http://localhost/&quot;&gt;产品网站&lt;/a&gt;</source>
        <translation>&lt;a href="http://localhost/"&gt;產品網站&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>NeutralAboutDialog</name>
    <message>
        <location filename="../../forms/neutralaboutdialog.ui" line="9"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location filename="../../forms/neutralaboutdialog.ui" line="24"/>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
</TS>
