<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>DispHomePage</name>
    <message>
        <source>Custom Text</source>
        <translation>Texto personalizado</translation>
    </message>
    <message>
        <source>System Info</source>
        <translation>Información del sistema</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Icono</translation>
    </message>
    <message>
        <source>Arc</source>
        <translation>Arco</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>Barra</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Fondo</translation>
    </message>
    <message>
        <source>Screen Capture</source>
        <translation>Captura de pantalla</translation>
    </message>
    <message>
        <source>Standard Default</source>
        <translation>Temas estándar</translation>
    </message>
    <message>
        <source>Custom Theme</source>
        <translation>Tema personalizado</translation>
    </message>
    <message>
        <source>Official Theme</source>
        <translation>Temas oficiales</translation>
    </message>
    <message>
        <source>Personal Theme</source>
        <translation>Temas personales</translation>
    </message>
    <message>
        <source>Angle:</source>
        <translation>Ángulo:</translation>
    </message>
    <message>
        <source>Save As:</source>
        <translation>Guardar como:</translation>
    </message>
    <message>
        <source>Export:</source>
        <translation>Exportar:</translation>
    </message>
    <message>
        <source>Import:</source>
        <translation>Importar:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
</context>
<context>
    <name>DispMainWIndow</name>
    <message>
        <source>No device connected</source>
        <translation>Ningún dispositivo conectado</translation>
    </message>
    <message>
        <source>Plug in a USB display or a digital panel; it appears in the list on the left.</source>
        <translation>Conecte una pantalla USB o un panel digital; aparecerá en la lista de la izquierda.</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>DispThemeList</name>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>Theme is open</source>
        <translation>El tema está abierto</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>app is already running.</source>
        <translation>La aplicación ya se está ejecutando.</translation>
    </message>
</context>
<context>
    <name>ThemeStorage</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>file %1 not found</source>
        <translation>No se encontró el archivo %1</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>Theme Name Is Empty</source>
        <translation>El nombre del tema está vacío</translation>
    </message>
    <message>
        <source>Theme Name Is Invalid</source>
        <translation>El nombre del tema no es válido</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Theme Name Is Exist, Overlay?</source>
        <translation>Ya existe un tema con este nombre. ¿Sobrescribirlo?</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Save Finish</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>theme folder(*)</source>
        <translation>carpeta de tema(*)</translation>
    </message>
    <message>
        <source>theme name is exist</source>
        <translation>Ya existe un tema con este nombre</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importar</translation>
    </message>
    <message>
        <source>Import Theme is exist</source>
        <translation>El tema importado ya existe</translation>
    </message>
</context>
<context>
    <name>dispsettingwidget</name>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Setting:</source>
        <translation>Configuración:</translation>
    </message>
    <message>
        <source>Auto Run:</source>
        <translation>Inicio automático:</translation>
    </message>
    <message>
        <source>Minimize:</source>
        <translation>Minimizar:</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Unidad:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Idioma:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Brillo:</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Inglés</translation>
    </message>
    <message>
        <source>Arabic</source>
        <translation>Árabe</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Español</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Alemán</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Francés</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italiano</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>Portugués</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>Polaco</translation>
    </message>
    <message>
        <source>Turkish</source>
        <translation>Turco</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japonés</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>Coreano</translation>
    </message>
    <message>
        <source>update</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>The file is too large. Please select a file smaller than 1M.</source>
        <translation>El archivo es demasiado grande. Elija un archivo de menos de 1 MB.</translation>
    </message>
    <message>
        <source>old version not support</source>
        <translation>Esta versión del firmware no lo admite</translation>
    </message>
    <message>
        <source>size not right.</source>
        <translation>El tamaño no es correcto.</translation>
    </message>
    <message>
        <source>Upgrade success.</source>
        <translation>Actualización completada.</translation>
    </message>
    <message>
        <source>Upgrade fail.</source>
        <translation>La actualización ha fallado.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Device Version</source>
        <translation>Versión del dispositivo</translation>
    </message>
    <message>
        <source>Upgrade Firmware</source>
        <translation>Actualizar firmware</translation>
    </message>
    <message>
        <source>Upgrade Logo</source>
        <translation>Actualizar logotipo</translation>
    </message>
    <message>
        <source>About:</source>
        <translation>Acerca de:</translation>
    </message>
    <message>
        <source>Expansion Screen Mode:</source>
        <translation>Modo de pantalla ampliada:</translation>
    </message>
</context>
</TS>
