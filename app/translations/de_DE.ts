<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>DispHomePage</name>
    <message>
        <source>Custom Text</source>
        <translation>Eigener Text</translation>
    </message>
    <message>
        <source>System Info</source>
        <translation>Systeminfo</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Arc</source>
        <translation>Bogen</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>Balken</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Screen Capture</source>
        <translation>Bildschirmausschnitt</translation>
    </message>
    <message>
        <source>Standard Default</source>
        <translation>Standardthemen</translation>
    </message>
    <message>
        <source>Custom Theme</source>
        <translation>Eigenes Thema</translation>
    </message>
    <message>
        <source>Official Theme</source>
        <translation>Offizielle Themen</translation>
    </message>
    <message>
        <source>Personal Theme</source>
        <translation>Eigene Themen</translation>
    </message>
    <message>
        <source>Angle:</source>
        <translation>Winkel:</translation>
    </message>
    <message>
        <source>Save As:</source>
        <translation>Speichern als:</translation>
    </message>
    <message>
        <source>Export:</source>
        <translation>Exportieren:</translation>
    </message>
    <message>
        <source>Import:</source>
        <translation>Importieren:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>DispMainWIndow</name>
    <message>
        <source>No device connected</source>
        <translation>Kein Gerät verbunden</translation>
    </message>
    <message>
        <source>Plug in a USB display or a digital panel; it appears in the list on the left.</source>
        <translation>Schließen Sie ein USB-Display oder ein Digitalpanel an; es erscheint links in der Liste.</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>DispThemeList</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Theme is open</source>
        <translation>Das Thema ist geöffnet</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>app is already running.</source>
        <translation>Die Anwendung läuft bereits.</translation>
    </message>
</context>
<context>
    <name>ThemeStorage</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>file %1 not found</source>
        <translation>Datei %1 nicht gefunden</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Theme Name Is Empty</source>
        <translation>Der Themenname ist leer</translation>
    </message>
    <message>
        <source>Theme Name Is Invalid</source>
        <translation>Der Themenname ist ungültig</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Theme Name Is Exist, Overlay?</source>
        <translation>Ein Thema mit diesem Namen existiert bereits. Überschreiben?</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Save Finish</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>theme folder(*)</source>
        <translation>Themenordner(*)</translation>
    </message>
    <message>
        <source>theme name is exist</source>
        <translation>Ein Thema mit diesem Namen existiert bereits</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import Theme is exist</source>
        <translation>Das importierte Thema ist bereits vorhanden</translation>
    </message>
</context>
<context>
    <name>dispsettingwidget</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Setting:</source>
        <translation>Einstellungen:</translation>
    </message>
    <message>
        <source>Auto Run:</source>
        <translation>Autostart:</translation>
    </message>
    <message>
        <source>Minimize:</source>
        <translation>Minimiert starten:</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Einheit:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Helligkeit:</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>Arabic</source>
        <translation>Arabisch</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Spanisch</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italienisch</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>Portugiesisch</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>Polnisch</translation>
    </message>
    <message>
        <source>Turkish</source>
        <translation>Türkisch</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japanisch</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>Koreanisch</translation>
    </message>
    <message>
        <source>update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>The file is too large. Please select a file smaller than 1M.</source>
        <translation>Die Datei ist zu groß. Bitte wählen Sie eine Datei unter 1 MB.</translation>
    </message>
    <message>
        <source>old version not support</source>
        <translation>Diese Firmware-Version unterstützt das nicht</translation>
    </message>
    <message>
        <source>size not right.</source>
        <translation>Die Bildgröße passt nicht.</translation>
    </message>
    <message>
        <source>Upgrade success.</source>
        <translation>Aktualisierung erfolgreich.</translation>
    </message>
    <message>
        <source>Upgrade fail.</source>
        <translation>Aktualisierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Device Version</source>
        <translation>Geräteversion</translation>
    </message>
    <message>
        <source>Upgrade Firmware</source>
        <translation>Firmware aktualisieren</translation>
    </message>
    <message>
        <source>Upgrade Logo</source>
        <translation>Startlogo aktualisieren</translation>
    </message>
    <message>
        <source>About:</source>
        <translation>Über:</translation>
    </message>
    <message>
        <source>Expansion Screen Mode:</source>
        <translation>Erweiterter Bildschirmmodus:</translation>
    </message>
</context>
</TS>
