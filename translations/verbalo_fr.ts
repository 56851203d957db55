<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Files Not Written</source>
        <translation>Fichiers non écrits</translation>
    </message>
    <message>
        <source>Every file of this project can be written.</source>
        <translation>Tous les fichiers de ce projet peuvent être écrits.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Verbalo</source>
        <translation>Verbalo</translation>
    </message>
    <message>
        <source>Choose Project Folder</source>
        <translation>Choisir le dossier du projet</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) below %1 could not be read and were left out.</source>
        <translation>
            <numerusform>%n dossier sous %1 n’a pas pu être lu et a été ignoré.</numerusform>
            <numerusform>%n dossiers sous %1 n’ont pas pu être lus et ont été ignorés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>Choose Folder With Strings</source>
        <translation>Choisir un dossier contenant des fichiers .strings</translation>
    </message>
    <message>
        <source>Scanning %1…</source>
        <translation>Analyse de %1…</translation>
    </message>
    <message>
        <source>Scanning into the translation memory: %1 of %2 folder groups</source>
        <translation>Ajout à la mémoire de traduction&#xa0;: %1 groupes de dossiers sur %2</translation>
    </message>
    <message>
        <source>Scan finished: %1 keys stored from %2 folder groups.</source>
        <translation>Analyse terminée&#xa0;: %1 clés enregistrées depuis %2 groupes de dossiers.</translation>
    </message>
    <message>
        <source>Scan stopped: %1. %2 keys stored from %3 folder groups.</source>
        <translation>Analyse interrompue&#xa0;: %1. %2 clés enregistrées depuis %3 groupes de dossiers.</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) could not be read and were left out.</source>
        <translation>
            <numerusform>%n dossier n’a pas pu être lu et a été ignoré.</numerusform>
            <numerusform>%n dossiers n’ont pas pu être lus et ont été ignorés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Saves now edit only the entries that change and keep each file&apos;s layout</source>
        <translation>L’enregistrement ne modifie plus que les entrées changées et conserve la mise en forme de chaque fichier</translation>
    </message>
    <message>
        <source>Saves now rewrite every file in the canonical layout</source>
        <translation>L’enregistrement réécrit désormais chaque fichier dans la mise en forme canonique</translation>
    </message>
</context>
<context>
    <name>CellEditing</name>
    <message>
        <source>Not renamed: %1 already has the key &quot;%2&quot;</source>
        <translation>Clé non renommée&#xa0;: %1 contient déjà la clé «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>Not changed: keys and comments of %1 files are edited in Xcode</source>
        <translation>Non modifié : les clés et commentaires des fichiers %1 se modifient dans Xcode</translation>
    </message>
</context>
<context>
    <name>Column</name>
    <message>
        <source>Key String</source>
        <translation>Clé</translation>
    </message>
    <message>
        <source>Value String</source>
        <translation>Valeur</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Commentaire</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Traduction</translation>
    </message>
</context>
<context>
    <name>DatabaseManagerV2</name>
    <message>
        <source>its check gives no verdict</source>
        <translation>la vérification du fichier ne donne aucun résultat</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>le fichier est endommagé (%1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 et %2 autres</translation>
    </message>
    <message>
        <source>its table %1 was made by another program: it lacks the columns %2</source>
        <translation>la table %1 a été créée par un autre programme&#xa0;: il lui manque les colonnes %2</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>le fichier est en lecture seule</translation>
    </message>
    <message>
        <source>the table cannot be created</source>
        <translation>la table ne peut pas être créée</translation>
    </message>
    <message>
        <source>the transaction could not be committed</source>
        <translation>la transaction n’a pas pu être validée</translation>
    </message>
</context>
<context>
    <name>ExportTranslation</name>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 est un dossier, pas un fichier</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>impossible d’écrire %1</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>&amp;Open Project Folder…</source>
        <translation>&amp;Ouvrir un dossier de projet…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Export Untranslated…</source>
        <translation>E&amp;xporter les textes non traduits…</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>&amp;Import Translations…</source>
        <translation>&amp;Importer des traductions…</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Files &amp;Not Written…</source>
        <translation>Fichiers &amp;non écrits…</translation>
    </message>
    <message>
        <source>&amp;Close Project</source>
        <translation>&amp;Fermer le projet</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Capitalize</source>
        <translation>&amp;Initiales en majuscules</translation>
    </message>
    <message>
        <source>&amp;Uppercase</source>
        <translation>Ma&amp;juscules</translation>
    </message>
    <message>
        <source>&amp;Lowercase</source>
        <translation>Min&amp;uscules</translation>
    </message>
    <message>
        <source>Copy &amp;Base to All Languages</source>
        <translation>Copier la &amp;base dans toutes les langues</translation>
    </message>
    <message>
        <source>Copy Base to &amp;Missing Languages</source>
        <translation>Copier la base dans les langues &amp;manquantes</translation>
    </message>
    <message>
        <source>Delete &amp;Translations</source>
        <translation>Supprimer les &amp;traductions</translation>
    </message>
    <message>
        <source>&amp;Delete Key</source>
        <translation>&amp;Supprimer la clé</translation>
    </message>
    <message>
        <source>Delete Key</source>
        <translation>Supprimer la clé</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>Re&amp;chercher…</translation>
    </message>
    <message>
        <source>&amp;Hide Translated Rows</source>
        <translation>&amp;Masquer les lignes traduites</translation>
    </message>
    <message>
        <source>Hide Translated</source>
        <translation>Masquer les traduites</translation>
    </message>
    <message>
        <source>Translate Selected with &amp;Google</source>
        <translation>Traduire la sélection avec &amp;Google</translation>
    </message>
    <message>
        <source>Google Translate</source>
        <translation>Google Traduction</translation>
    </message>
    <message>
        <source>Fill &amp;Selected from Memory</source>
        <translation>Remplir la &amp;sélection depuis la mémoire</translation>
    </message>
    <message>
        <source>Fill from Memory</source>
        <translation>Remplir depuis la mémoire</translation>
    </message>
    <message>
        <source>Fill &amp;All Shown Rows from Memory</source>
        <translation>Remplir &amp;toutes les lignes affichées depuis la mémoire</translation>
    </message>
    <message>
        <source>S&amp;can Folder into Memory…</source>
        <translation>&amp;Ajouter un dossier à la mémoire…</translation>
    </message>
    <message>
        <source>&amp;Open Memory Database</source>
        <translation>&amp;Ouvrir la base de données de la mémoire</translation>
    </message>
    <message>
        <source>Show Memory &amp;Database Folder</source>
        <translation>Afficher le &amp;dossier de la base de données</translation>
    </message>
    <message>
        <source>Google Translate &amp;API Key…</source>
        <translation>&amp;Clé d’API Google Traduction…</translation>
    </message>
    <message>
        <source>&amp;Base Language…</source>
        <translation>Langue de &amp;base…</translation>
    </message>
    <message>
        <source>Verbalo &amp;Help</source>
        <translation>&amp;Aide de Verbalo</translation>
    </message>
    <message>
        <source>&amp;Contact Support…</source>
        <translation>&amp;Contacter le support…</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Édition</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Translate</source>
        <translation>&amp;Traduction</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>Show Only Rows With &amp;Problems</source>
        <translation>Afficher seulement les lignes à &amp;problèmes</translation>
    </message>
    <message>
        <source>&amp;Ignored Languages…</source>
        <translation>Langues &amp;ignorées…</translation>
    </message>
    <message>
        <source>&amp;Keep Each File&apos;s Layout When Saving</source>
        <translation>Conserver la &amp;mise en forme de chaque fichier à l’enregistrement</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Verbalo</source>
        <translation>Verbalo</translation>
    </message>
    <message>
        <source>%1 of %2 rows shown</source>
        <translation>%1 lignes affichées sur %2</translation>
    </message>
    <message>
        <source>Languages: %1</source>
        <translation>Langues&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>MemoryFill</name>
    <message numerus="yes">
        <source>%n text(s) were not filled in: their format specifiers do not match the base text.</source>
        <translation>
            <numerusform>%n texte n’a pas été rempli : ses spécificateurs de format ne correspondent pas au texte de base.</numerusform>
            <numerusform>%n textes n’ont pas été remplis : leurs spécificateurs de format ne correspondent pas au texte de base.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OpenViewController</name>
    <message>
        <source>Verbalo</source>
        <translation>Verbalo</translation>
    </message>
    <message>
        <source>Edit the .strings files of your projects</source>
        <translation>Modifiez les fichiers .strings de vos projets</translation>
    </message>
    <message>
        <source>Open Project…</source>
        <translation>Ouvrir un projet…</translation>
    </message>
    <message>
        <source>Scan Folder into Memory…</source>
        <translation>Ajouter un dossier à la mémoire…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Recent Folders</source>
        <translation>Dossiers récents</translation>
    </message>
    <message>
        <source>No recent folders yet.
Open a project folder to start.</source>
        <translation>Aucun dossier récent pour l’instant.
Ouvrez un dossier de projet pour commencer.</translation>
    </message>
</context>
<context>
    <name>ProjectCheck</name>
    <message>
        <source>Format specifiers</source>
        <translation>Spécificateurs de format</translation>
    </message>
    <message>
        <source>Line breaks</source>
        <translation>Sauts de ligne</translation>
    </message>
    <message>
        <source>White space at the ends</source>
        <translation>Espaces aux extrémités</translation>
    </message>
    <message>
        <source>Plural forms</source>
        <translation>Formes du pluriel</translation>
    </message>
</context>
<context>
    <name>ProjectModel</name>
    <message>
        <source>the folder cannot be read</source>
        <translation>le dossier ne peut pas être lu</translation>
    </message>
    <message>
        <source>holds text that is not read as entries (%1)</source>
        <translation>contient du texte qui n’est pas lu comme des entrées (%1)</translation>
    </message>
    <message>
        <source>a link to a file outside the project</source>
        <translation>un lien vers un fichier hors du projet</translation>
    </message>
    <message>
        <source>a key&apos;s row is shared with another file</source>
        <translation>la ligne d’une clé est partagée avec un autre fichier</translation>
    </message>
    <message>
        <source>Missing: %1</source>
        <translation>Manquant&#xa0;: %1</translation>
    </message>
    <message>
        <source>OK (%1)</source>
        <translation>OK (%1)</translation>
    </message>
    <message>
        <source>its folder does not exist</source>
        <translation>son dossier n’existe pas</translation>
    </message>
    <message>
        <source>its folder leads outside the project</source>
        <translation>son dossier mène hors du projet</translation>
    </message>
    <message>
        <source>changes not written: %1</source>
        <translation>modifications non écrites&#xa0;: %1</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>could not be written</source>
        <translation>n’a pas pu être écrit</translation>
    </message>
    <message>
        <source>the file on disk can no longer be read (%1)</source>
        <translation>le fichier sur le disque ne peut plus être lu (%1)</translation>
    </message>
    <message>
        <source>its layout could not be kept (%1)</source>
        <translation>sa mise en forme n’a pas pu être conservée (%1)</translation>
    </message>
    <message>
        <source>cannot be read (%1)</source>
        <translation>ne peut pas être lu (%1)</translation>
    </message>
    <message>
        <source>some texts could not be written</source>
        <translation>certains textes n’ont pas pu être écrits</translation>
    </message>
    <message>
        <source>the name is not valid UTF-8</source>
        <translation>le nom n’est pas en UTF-8 valide</translation>
    </message>
</context>
<context>
    <name>Scanner</name>
    <message>
        <source>the translation memory is unusable: %1</source>
        <translation>la mémoire de traduction est inutilisable&#xa0;: %1</translation>
    </message>
    <message>
        <source>the texts below %1 could not be stored: %2</source>
        <translation>les textes sous %1 n’ont pas pu être enregistrés&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Google Translate API Key</source>
        <translation>Clé d’API Google Traduction</translation>
    </message>
    <message>
        <source>API Key</source>
        <translation>Clé d’API</translation>
    </message>
    <message>
        <source>Base Language</source>
        <translation>Langue de base</translation>
    </message>
    <message>
        <source>Set your base language (for example: &quot;en&quot; for English).
If you leave empty, defaults to [&quot;en&quot;, &quot;en-US&quot;, &quot;Base&quot;]</source>
        <translation>Indiquez votre langue de base (par exemple «&#xa0;en&#xa0;» pour l’anglais).
Si vous laissez ce champ vide, [&quot;en&quot;, &quot;en-US&quot;, &quot;Base&quot;] est utilisé.</translation>
    </message>
    <message>
        <source>The entry names no language, so no row would have a base text. Use it anyway?</source>
        <translation>La saisie ne nomme aucune langue&#xa0;: aucune ligne n’aurait de texte de base. L’utiliser quand même&#xa0;?</translation>
    </message>
    <message>
        <source>No open project has a language named %1, so no row would have a base text. Use it anyway?</source>
        <translation>Aucun projet ouvert n’a de langue nommée %1&#xa0;: aucune ligne n’aurait de texte de base. L’utiliser quand même&#xa0;?</translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation>Utiliser quand même</translation>
    </message>
    <message>
        <source>Go Back</source>
        <translation>Revenir</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Ignored Languages</source>
        <translation>Langues ignorées</translation>
    </message>
    <message>
        <source>Languages that never count as missing: in the Status column, Hide Translated,
Export Untranslated and the checks. Separate them with commas (for example: &quot;Base&quot;).</source>
        <translation>Langues jamais comptées comme manquantes : dans la colonne État, pour masquer les lignes traduites,
l’export des textes non traduits et les vérifications. Séparez-les par des virgules (par exemple : &quot;Base&quot;).</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
</context>
<context>
    <name>StartupWarning</name>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Verbalo will change your &quot;.strings&quot; files. Please make sure you have commited them to your source control before you proceed.</source>
        <translation>Verbalo va modifier vos fichiers «&#xa0;.strings&#xa0;». Assurez-vous de les avoir enregistrés dans votre gestionnaire de versions avant de continuer.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>StringsTableModel</name>
    <message>
        <source>Problems in %1:
%2</source>
        <translation>Problèmes dans %1 :
%2</translation>
    </message>
</context>
<context>
    <name>StringsViewController</name>
    <message>
        <source>Search keys, texts and comments</source>
        <translation>Rechercher dans les clés, les textes et les commentaires</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) or folder(s) of this project will not be rewritten, since Verbalo cannot read all of their text. File &gt; Files Not Written… lists them.</source>
        <translation>
            <numerusform>%n fichier ou dossier de ce projet ne sera pas réécrit, car Verbalo ne peut pas en lire tout le texte. Fichier &gt; Fichiers non écrits… l’indique.</numerusform>
            <numerusform>%n fichiers ou dossiers de ce projet ne seront pas réécrits, car Verbalo ne peut pas en lire tout le texte. Fichier &gt; Fichiers non écrits… les énumère.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — nothing is written into it: %2</source>
        <translation>%1 — rien n’y est écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 — never rewritten: %2</source>
        <translation>%1 — jamais réécrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 — not written by the last save: %2</source>
        <translation>%1 — non écrit lors du dernier enregistrement&#xa0;: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be written and keep their old content: %1. File &gt; Files Not Written… lists them.</source>
        <translation>
            <numerusform>%n fichier n’a pas pu être écrit et garde son ancien contenu&#xa0;: %1. Fichier &gt; Fichiers non écrits… l’indique.</numerusform>
            <numerusform>%n fichiers n’ont pas pu être écrits et gardent leur ancien contenu&#xa0;: %1. Fichier &gt; Fichiers non écrits… les énumère.</numerusform>
        </translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>Not exported: %1</source>
        <translation>Non exporté&#xa0;: %1</translation>
    </message>
    <message>
        <source>Choose Project Folder</source>
        <translation>Choisir le dossier du projet</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) not imported: the project has no language %1.</source>
        <translation>
            <numerusform>%n fichier non importé&#xa0;: le projet n’a pas de langue %1.</numerusform>
            <numerusform>%n fichiers non importés&#xa0;: le projet n’a pas de langue %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n path(s) below %1 could not be read and were left out.</source>
        <translation>
            <numerusform>%n chemin sous %1 n’a pas pu être lu et a été ignoré.</numerusform>
            <numerusform>%n chemins sous %1 n’ont pas pu être lus et ont été ignorés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n text(s) imported.</source>
        <translation>
            <numerusform>%n texte importé.</numerusform>
            <numerusform>%n textes importés.</numerusform>
        </translation>
    </message>
    <message>
        <source>The translation memory %1 cannot be used: %2</source>
        <translation>La mémoire de traduction %1 ne peut pas être utilisée&#xa0;: %2</translation>
    </message>
    <message>
        <source>Translating with Google…</source>
        <translation>Traduction avec Google…</translation>
    </message>
    <message>
        <source>Translating with Google… %1 of %2 keys done (%3 started)</source>
        <translation>Traduction avec Google… %1 clés traitées sur %2 (%3 commencées)</translation>
    </message>
    <message>
        <source>Loading %1…</source>
        <translation>Chargement de %1…</translation>
    </message>
    <message>
        <source>Loading %1… %2 of %3 files read</source>
        <translation>Chargement de %1… %2 fichiers lus sur %3</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>no such file</source>
        <translation>fichier inexistant</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>larger than 256 MiB</source>
        <translation>plus de 256 Mio</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>its encoding is not recognised</source>
        <translation>son encodage n’est pas reconnu</translation>
    </message>
</context>
<context>
    <name>TranslateJob</name>
    <message numerus="yes">
        <source>%n translation(s) were not filled in: their format specifiers do not match the base text.</source>
        <translation>
            <numerusform>%n traduction n’a pas été remplie : ses spécificateurs de format ne correspondent pas au texte de base.</numerusform>
            <numerusform>%n traductions n’ont pas été remplies : leurs spécificateurs de format ne correspondent pas au texte de base.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TranslationsViewController</name>
    <message>
        <source>Select one row to see its translations</source>
        <translation>Sélectionnez une ligne pour voir ses traductions</translation>
    </message>
</context>
<context>
    <name>UserPrompts</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
</TS>
