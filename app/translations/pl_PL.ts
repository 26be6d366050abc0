<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL" sourcelanguage="en">
<context>
    <name>DispHomePage</name>
    <message>
        <source>Custom Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screen Capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Official Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Personal Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Angle:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DispMainWIndow</name>
    <message>
        <source>No device connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plug in a USB display or a digital panel; it appears in the list on the left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DispThemeList</name>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme is open</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>app is already running.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThemeStorage</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file %1 not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme Name Is Empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme Name Is Invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme Name Is Exist, Overlay?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>theme folder(*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>theme name is exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Theme is exist</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dispsettingwidget</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto Run:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arabic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>German</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>French</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Italian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Polish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turkish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korean</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is too large. Please select a file smaller than 1M.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>old version not support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>size not right.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade success.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade fail.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expansion Screen Mode:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
