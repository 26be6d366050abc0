<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>DispHomePage</name>
    <message>
        <source>Custom Text</source>
        <translation>Texte personnalisé</translation>
    </message>
    <message>
        <source>System Info</source>
        <translation>Infos système</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Icône</translation>
    </message>
    <message>
        <source>Arc</source>
        <translation>Arc</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>Barre</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Arrière-plan</translation>
    </message>
    <message>
        <source>Screen Capture</source>
        <translation>Capture d&apos;écran</translation>
    </message>
    <message>
        <source>Standard Default</source>
        <translation>Thèmes standard</translation>
    </message>
    <message>
        <source>Custom Theme</source>
        <translation>Thème personnalisé</translation>
    </message>
    <message>
        <source>Official Theme</source>
        <translation>Thèmes officiels</translation>
    </message>
    <message>
        <source>Personal Theme</source>
        <translation>Thèmes personnels</translation>
    </message>
    <message>
        <source>Angle:</source>
        <translation>Angle :</translation>
    </message>
    <message>
        <source>Save As:</source>
        <translation>Enregistrer sous :</translation>
    </message>
    <message>
        <source>Export:</source>
        <translation>Exporter :</translation>
    </message>
    <message>
        <source>Import:</source>
        <translation>Importer :</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
</context>
<context>
    <name>DispMainWIndow</name>
    <message>
        <source>No device connected</source>
        <translation>Aucun appareil connecté</translation>
    </message>
    <message>
        <source>Plug in a USB display or a digital panel; it appears in the list on the left.</source>
        <translation>Branchez un écran USB ou un panneau numérique ; il apparaît dans la liste à gauche.</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>DispThemeList</name>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Theme is open</source>
        <translation>Le thème est ouvert</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>app is already running.</source>
        <translation>L&apos;application est déjà en cours d&apos;exécution.</translation>
    </message>
</context>
<context>
    <name>ThemeStorage</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>file %1 not found</source>
        <translation>Fichier %1 introuvable</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Theme Name Is Empty</source>
        <translation>Le nom du thème est vide</translation>
    </message>
    <message>
        <source>Theme Name Is Invalid</source>
        <translation>Le nom du thème n&apos;est pas valide</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Theme Name Is Exist, Overlay?</source>
        <translation>Un thème de ce nom existe déjà. Le remplacer ?</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Save Finish</source>
        <translation>Enregistrement terminé</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>theme folder(*)</source>
        <translation>dossier de thème(*)</translation>
    </message>
    <message>
        <source>theme name is exist</source>
        <translation>Un thème de ce nom existe déjà</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Import Theme is exist</source>
        <translation>Le thème importé existe déjà</translation>
    </message>
</context>
<context>
    <name>dispsettingwidget</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Setting:</source>
        <translation>Paramètres :</translation>
    </message>
    <message>
        <source>Auto Run:</source>
        <translation>Démarrage auto :</translation>
    </message>
    <message>
        <source>Minimize:</source>
        <translation>Réduire :</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Unité :</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Langue :</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Luminosité :</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <source>Arabic</source>
        <translation>Arabe</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Espagnol</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Allemand</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italien</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>Portugais</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>Polonais</translation>
    </message>
    <message>
        <source>Turkish</source>
        <translation>Turc</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japonais</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>Coréen</translation>
    </message>
    <message>
        <source>update</source>
        <translation>Mise à jour</translation>
    </message>
    <message>
        <source>The file is too large. Please select a file smaller than 1M.</source>
        <translation>Le fichier est trop volumineux. Choisissez un fichier de moins de 1 Mo.</translation>
    </message>
    <message>
        <source>old version not support</source>
        <translation>Cette version du micrologiciel ne le prend pas en charge</translation>
    </message>
    <message>
        <source>size not right.</source>
        <translation>La taille ne convient pas.</translation>
    </message>
    <message>
        <source>Upgrade success.</source>
        <translation>Mise à jour réussie.</translation>
    </message>
    <message>
        <source>Upgrade fail.</source>
        <translation>Échec de la mise à jour.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Device Version</source>
        <translation>Version de l&apos;appareil</translation>
    </message>
    <message>
        <source>Upgrade Firmware</source>
        <translation>Mettre à jour le micrologiciel</translation>
    </message>
    <message>
        <source>Upgrade Logo</source>
        <translation>Mettre à jour le logo</translation>
    </message>
    <message>
        <source>About:</source>
        <translation>À propos :</translation>
    </message>
    <message>
        <source>Expansion Screen Mode:</source>
        <translation>Mode écran étendu :</translation>
    </message>
</context>
</TS>
