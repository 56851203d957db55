<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Files Not Written</source>
        <translation>Nicht geschriebene Dateien</translation>
    </message>
    <message>
        <source>Every file of this project can be written.</source>
        <translation>Alle Dateien dieses Projekts können geschrieben werden.</translation>
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
        <translation>Projektordner wählen</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) below %1 could not be read and were left out.</source>
        <translation>
            <numerusform>%n Ordner unterhalb von %1 konnte nicht gelesen werden und wurde ausgelassen.</numerusform>
            <numerusform>%n Ordner unterhalb von %1 konnten nicht gelesen werden und wurden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>Choose Folder With Strings</source>
        <translation>Ordner mit .strings-Dateien wählen</translation>
    </message>
    <message>
        <source>Scanning %1…</source>
        <translation>%1 wird eingelesen…</translation>
    </message>
    <message>
        <source>Scanning into the translation memory: %1 of %2 folder groups</source>
        <translation>Einlesen in den Übersetzungsspeicher: %1 von %2 Ordnergruppen</translation>
    </message>
    <message>
        <source>Scan finished: %1 keys stored from %2 folder groups.</source>
        <translation>Einlesen beendet: %1 Schlüssel aus %2 Ordnergruppen gespeichert.</translation>
    </message>
    <message>
        <source>Scan stopped: %1. %2 keys stored from %3 folder groups.</source>
        <translation>Einlesen abgebrochen: %1. %2 Schlüssel aus %3 Ordnergruppen gespeichert.</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) could not be read and were left out.</source>
        <translation>
            <numerusform>%n Ordner konnte nicht gelesen werden und wurde ausgelassen.</numerusform>
            <numerusform>%n Ordner konnten nicht gelesen werden und wurden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Saves now edit only the entries that change and keep each file&apos;s layout</source>
        <translation>Speichern ändert jetzt nur die geänderten Einträge und behält den Aufbau jeder Datei bei</translation>
    </message>
    <message>
        <source>Saves now rewrite every file in the canonical layout</source>
        <translation>Speichern schreibt jetzt jede Datei im einheitlichen Aufbau neu</translation>
    </message>
</context>
<context>
    <name>CellEditing</name>
    <message>
        <source>Not renamed: %1 already has the key &quot;%2&quot;</source>
        <translation>Schlüssel nicht umbenannt: %1 enthält bereits den Schlüssel „%2“</translation>
    </message>
    <message>
        <source>Not changed: keys and comments of %1 files are edited in Xcode</source>
        <translation>Nicht geändert: Schlüssel und Kommentare von %1-Dateien werden in Xcode bearbeitet</translation>
    </message>
</context>
<context>
    <name>Column</name>
    <message>
        <source>Key String</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>Value String</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Übersetzung</translation>
    </message>
</context>
<context>
    <name>DatabaseManagerV2</name>
    <message>
        <source>its check gives no verdict</source>
        <translation>die Prüfung der Datei liefert kein Ergebnis</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>die Datei ist beschädigt (%1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>its table %1 was made by another program: it lacks the columns %2</source>
        <translation>die Tabelle %1 stammt von einem anderen Programm: ihr fehlen die Spalten %2</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the table cannot be created</source>
        <translation>die Tabelle kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>the transaction could not be committed</source>
        <translation>die Transaktion konnte nicht abgeschlossen werden</translation>
    </message>
</context>
<context>
    <name>ExportTranslation</name>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>&amp;Open Project Folder…</source>
        <translation>Projektordner ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>&amp;Export Untranslated…</source>
        <translation>Unübersetzte &amp;exportieren…</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>&amp;Import Translations…</source>
        <translation>Übersetzungen &amp;importieren…</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Files &amp;Not Written…</source>
        <translation>&amp;Nicht geschriebene Dateien…</translation>
    </message>
    <message>
        <source>&amp;Close Project</source>
        <translation>Projekt s&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Capitalize</source>
        <translation>&amp;Wortanfänge groß</translation>
    </message>
    <message>
        <source>&amp;Uppercase</source>
        <translation>&amp;Großbuchstaben</translation>
    </message>
    <message>
        <source>&amp;Lowercase</source>
        <translation>&amp;Kleinbuchstaben</translation>
    </message>
    <message>
        <source>Copy &amp;Base to All Languages</source>
        <translation>&amp;Basis in alle Sprachen kopieren</translation>
    </message>
    <message>
        <source>Copy Base to &amp;Missing Languages</source>
        <translation>Basis in &amp;fehlende Sprachen kopieren</translation>
    </message>
    <message>
        <source>Delete &amp;Translations</source>
        <translation>&amp;Übersetzungen löschen</translation>
    </message>
    <message>
        <source>&amp;Delete Key</source>
        <translation>&amp;Schlüssel löschen</translation>
    </message>
    <message>
        <source>Delete Key</source>
        <translation>Schlüssel löschen</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>Suc&amp;hen…</translation>
    </message>
    <message>
        <source>&amp;Hide Translated Rows</source>
        <translation>Übersetzte &amp;Zeilen ausblenden</translation>
    </message>
    <message>
        <source>Hide Translated</source>
        <translation>Übersetzte ausblenden</translation>
    </message>
    <message>
        <source>Translate Selected with &amp;Google</source>
        <translation>Auswahl mit &amp;Google übersetzen</translation>
    </message>
    <message>
        <source>Google Translate</source>
        <translation>Google Übersetzer</translation>
    </message>
    <message>
        <source>Fill &amp;Selected from Memory</source>
        <translation>Au&amp;swahl aus dem Speicher füllen</translation>
    </message>
    <message>
        <source>Fill from Memory</source>
        <translation>Aus Speicher füllen</translation>
    </message>
    <message>
        <source>Fill &amp;All Shown Rows from Memory</source>
        <translation>&amp;Alle angezeigten Zeilen aus dem Speicher füllen</translation>
    </message>
    <message>
        <source>S&amp;can Folder into Memory…</source>
        <translation>&amp;Ordner in den Speicher einlesen…</translation>
    </message>
    <message>
        <source>&amp;Open Memory Database</source>
        <translation>Speicherdaten&amp;bank öffnen</translation>
    </message>
    <message>
        <source>Show Memory &amp;Database Folder</source>
        <translation>Ordner der Speicher&amp;datenbank anzeigen</translation>
    </message>
    <message>
        <source>Google Translate &amp;API Key…</source>
        <translation>&amp;API-Schlüssel für Google Übersetzer…</translation>
    </message>
    <message>
        <source>&amp;Base Language…</source>
        <translation>&amp;Basissprache…</translation>
    </message>
    <message>
        <source>Verbalo &amp;Help</source>
        <translation>Verbalo-&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contact Support…</source>
        <translation>&amp;Support kontaktieren…</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Translate</source>
        <translation>Über&amp;setzen</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Show Only Rows With &amp;Problems</source>
        <translation>Nur Zeilen mit &amp;Problemen anzeigen</translation>
    </message>
    <message>
        <source>&amp;Ignored Languages…</source>
        <translation>&amp;Ignorierte Sprachen…</translation>
    </message>
    <message>
        <source>&amp;Keep Each File&apos;s Layout When Saving</source>
        <translation>&amp;Dateiaufbau beim Speichern beibehalten</translation>
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
        <translation>%1 von %2 Zeilen angezeigt</translation>
    </message>
    <message>
        <source>Languages: %1</source>
        <translation>Sprachen: %1</translation>
    </message>
</context>
<context>
    <name>MemoryFill</name>
    <message numerus="yes">
        <source>%n text(s) were not filled in: their format specifiers do not match the base text.</source>
        <translation>
            <numerusform>%n Text wurde nicht eingetragen: Seine Formatangaben passen nicht zum Basistext.</numerusform>
            <numerusform>%n Texte wurden nicht eingetragen: Ihre Formatangaben passen nicht zum Basistext.</numerusform>
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
        <translation>Bearbeiten Sie die .strings-Dateien Ihrer Projekte</translation>
    </message>
    <message>
        <source>Open Project…</source>
        <translation>Projekt öffnen…</translation>
    </message>
    <message>
        <source>Scan Folder into Memory…</source>
        <translation>Ordner in den Speicher einlesen…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Recent Folders</source>
        <translation>Zuletzt geöffnete Ordner</translation>
    </message>
    <message>
        <source>No recent folders yet.
Open a project folder to start.</source>
        <translation>Noch keine zuletzt geöffneten Ordner.
Öffnen Sie zum Beginnen einen Projektordner.</translation>
    </message>
</context>
<context>
    <name>ProjectCheck</name>
    <message>
        <source>Format specifiers</source>
        <translation>Formatangaben</translation>
    </message>
    <message>
        <source>Line breaks</source>
        <translation>Zeilenumbrüche</translation>
    </message>
    <message>
        <source>White space at the ends</source>
        <translation>Leerraum an den Enden</translation>
    </message>
    <message>
        <source>Plural forms</source>
        <translation>Pluralformen</translation>
    </message>
</context>
<context>
    <name>ProjectModel</name>
    <message>
        <source>the folder cannot be read</source>
        <translation>der Ordner kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>holds text that is not read as entries (%1)</source>
        <translation>enthält Text, der nicht als Einträge gelesen wird (%1)</translation>
    </message>
    <message>
        <source>a link to a file outside the project</source>
        <translation>ein Verweis auf eine Datei außerhalb des Projekts</translation>
    </message>
    <message>
        <source>a key&apos;s row is shared with another file</source>
        <translation>die Zeile eines Schlüssels wird mit einer anderen Datei geteilt</translation>
    </message>
    <message>
        <source>Missing: %1</source>
        <translation>Fehlt: %1</translation>
    </message>
    <message>
        <source>OK (%1)</source>
        <translation>OK (%1)</translation>
    </message>
    <message>
        <source>its folder does not exist</source>
        <translation>ihr Ordner existiert nicht</translation>
    </message>
    <message>
        <source>its folder leads outside the project</source>
        <translation>ihr Ordner führt aus dem Projekt hinaus</translation>
    </message>
    <message>
        <source>changes not written: %1</source>
        <translation>Änderungen nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>could not be written</source>
        <translation>konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the file on disk can no longer be read (%1)</source>
        <translation>die Datei auf der Festplatte kann nicht mehr gelesen werden (%1)</translation>
    </message>
    <message>
        <source>its layout could not be kept (%1)</source>
        <translation>ihr Aufbau konnte nicht beibehalten werden (%1)</translation>
    </message>
    <message>
        <source>cannot be read (%1)</source>
        <translation>kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>some texts could not be written</source>
        <translation>einige Texte konnten nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the name is not valid UTF-8</source>
        <translation>der Name ist kein gültiges UTF-8</translation>
    </message>
</context>
<context>
    <name>Scanner</name>
    <message>
        <source>the translation memory is unusable: %1</source>
        <translation>der Übersetzungsspeicher ist nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>the texts below %1 could not be stored: %2</source>
        <translation>die Texte unterhalb von %1 konnten nicht gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Google Translate API Key</source>
        <translation>API-Schlüssel für Google Übersetzer</translation>
    </message>
    <message>
        <source>API Key</source>
        <translation>API-Schlüssel</translation>
    </message>
    <message>
        <source>Base Language</source>
        <translation>Basissprache</translation>
    </message>
    <message>
        <source>Set your base language (for example: &quot;en&quot; for English).
If you leave empty, defaults to [&quot;en&quot;, &quot;en-US&quot;, &quot;Base&quot;]</source>
        <translation>Legen Sie Ihre Basissprache fest (zum Beispiel „en“ für Englisch).
Bleibt das Feld leer, gilt [&quot;en&quot;, &quot;en-US&quot;, &quot;Base&quot;].</translation>
    </message>
    <message>
        <source>The entry names no language, so no row would have a base text. Use it anyway?</source>
        <translation>Die Eingabe nennt keine Sprache, also hätte keine Zeile einen Basistext. Trotzdem verwenden?</translation>
    </message>
    <message>
        <source>No open project has a language named %1, so no row would have a base text. Use it anyway?</source>
        <translation>Kein geöffnetes Projekt hat eine Sprache namens %1, also hätte keine Zeile einen Basistext. Trotzdem verwenden?</translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation>Trotzdem verwenden</translation>
    </message>
    <message>
        <source>Go Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ignored Languages</source>
        <translation>Ignorierte Sprachen</translation>
    </message>
    <message>
        <source>Languages that never count as missing: in the Status column, Hide Translated,
Export Untranslated and the checks. Separate them with commas (for example: &quot;Base&quot;).</source>
        <translation>Sprachen, die nie als fehlend gelten: in der Spalte „Status“, beim Ausblenden übersetzter Zeilen,
beim Export unübersetzter Texte und bei den Prüfungen. Durch Kommas trennen (zum Beispiel: &quot;Base&quot;).</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
</context>
<context>
    <name>StartupWarning</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Verbalo will change your &quot;.strings&quot; files. Please make sure you have commited them to your source control before you proceed.</source>
        <translation>Verbalo ändert Ihre „.strings“-Dateien. Bitte stellen Sie sicher, dass Sie sie in Ihre Versionsverwaltung eingecheckt haben, bevor Sie fortfahren.</translation>
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
        <translation>Probleme in %1:
%2</translation>
    </message>
</context>
<context>
    <name>StringsViewController</name>
    <message>
        <source>Search keys, texts and comments</source>
        <translation>Schlüssel, Texte und Kommentare durchsuchen</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) or folder(s) of this project will not be rewritten, since Verbalo cannot read all of their text. File &gt; Files Not Written… lists them.</source>
        <translation>
            <numerusform>%n Datei oder Ordner dieses Projekts wird nicht neu geschrieben, da Verbalo nicht den ganzen Text darin lesen kann. Datei &gt; Nicht geschriebene Dateien… zeigt, welche.</numerusform>
            <numerusform>%n Dateien oder Ordner dieses Projekts werden nicht neu geschrieben, da Verbalo nicht ihren ganzen Text lesen kann. Datei &gt; Nicht geschriebene Dateien… zeigt, welche.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — nothing is written into it: %2</source>
        <translation>%1 — hier wird nichts hineingeschrieben: %2</translation>
    </message>
    <message>
        <source>%1 — never rewritten: %2</source>
        <translation>%1 — wird nie neu geschrieben: %2</translation>
    </message>
    <message>
        <source>%1 — not written by the last save: %2</source>
        <translation>%1 — beim letzten Speichern nicht geschrieben: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be written and keep their old content: %1. File &gt; Files Not Written… lists them.</source>
        <translation>
            <numerusform>%n Datei konnte nicht geschrieben werden und behält ihren alten Inhalt: %1. Datei &gt; Nicht geschriebene Dateien… führt sie auf.</numerusform>
            <numerusform>%n Dateien konnten nicht geschrieben werden und behalten ihren alten Inhalt: %1. Datei &gt; Nicht geschriebene Dateien… führt sie auf.</numerusform>
        </translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Not exported: %1</source>
        <translation>Nicht exportiert: %1</translation>
    </message>
    <message>
        <source>Choose Project Folder</source>
        <translation>Projektordner wählen</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) not imported: the project has no language %1.</source>
        <translation>
            <numerusform>%n Datei nicht importiert: Das Projekt hat keine Sprache %1.</numerusform>
            <numerusform>%n Dateien nicht importiert: Das Projekt hat keine Sprache %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n path(s) below %1 could not be read and were left out.</source>
        <translation>
            <numerusform>%n Pfad unterhalb von %1 konnte nicht gelesen werden und wurde ausgelassen.</numerusform>
            <numerusform>%n Pfade unterhalb von %1 konnten nicht gelesen werden und wurden ausgelassen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n text(s) imported.</source>
        <translation>
            <numerusform>%n Text importiert.</numerusform>
            <numerusform>%n Texte importiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>The translation memory %1 cannot be used: %2</source>
        <translation>Der Übersetzungsspeicher %1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>Translating with Google…</source>
        <translation>Übersetzen mit Google…</translation>
    </message>
    <message>
        <source>Translating with Google… %1 of %2 keys done (%3 started)</source>
        <translation>Übersetzen mit Google… %1 von %2 Schlüsseln fertig (%3 begonnen)</translation>
    </message>
    <message>
        <source>Loading %1…</source>
        <translation>%1 wird geladen…</translation>
    </message>
    <message>
        <source>Loading %1… %2 of %3 files read</source>
        <translation>%1 wird geladen… %2 von %3 Dateien gelesen</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>no such file</source>
        <translation>Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>larger than 256 MiB</source>
        <translation>größer als 256 MiB</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>its encoding is not recognised</source>
        <translation>ihre Kodierung wird nicht erkannt</translation>
    </message>
</context>
<context>
    <name>TranslateJob</name>
    <message numerus="yes">
        <source>%n translation(s) were not filled in: their format specifiers do not match the base text.</source>
        <translation>
            <numerusform>%n Übersetzung wurde nicht eingetragen: Ihre Formatangaben passen nicht zum Basistext.</numerusform>
            <numerusform>%n Übersetzungen wurden nicht eingetragen: Ihre Formatangaben passen nicht zum Basistext.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TranslationsViewController</name>
    <message>
        <source>Select one row to see its translations</source>
        <translation>Wählen Sie eine Zeile, um ihre Übersetzungen zu sehen</translation>
    </message>
</context>
<context>
    <name>UserPrompts</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
