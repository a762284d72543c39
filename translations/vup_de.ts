<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AccessPrompt</name>
    <message>
        <source>Vup Requires read/write access to %1 in order to detect and recover zombies.
Please select it or it&apos;s parent folder and hit the Open button.</source>
        <translation>Vup braucht Lese- und Schreibzugriff auf %1, um Zombies zu finden und zurückzuholen.
Bitte wählen Sie das Objekt oder seinen übergeordneten Ordner aus und klicken Sie auf „Öffnen“.</translation>
    </message>
    <message>
        <source>%1 belongs to %2 and has the mode %3 (%4). Vup runs as %5.</source>
        <translation>%1 gehört %2 und hat die Zugriffsrechte %3 (%4). Vup läuft als %5.</translation>
    </message>
    <message>
        <source>%1 cannot be looked at: %2. Vup runs as %3.</source>
        <translation>Auf %1 kann nicht zugegriffen werden: %2. Vup läuft als %3.</translation>
    </message>
    <message>
        <source>Grant read access to this folder, for example with a file manager or chmod, then press Open</source>
        <translation>Gewähren Sie Lesezugriff auf diesen Ordner, zum Beispiel mit einem Dateimanager oder chmod, und klicken Sie dann auf „Öffnen“</translation>
    </message>
    <message>
        <source>Grant read access to this file, for example with a file manager or chmod, then press Open</source>
        <translation>Gewähren Sie Lesezugriff auf diese Datei, zum Beispiel mit einem Dateimanager oder chmod, und klicken Sie dann auf „Öffnen“</translation>
    </message>
    <message>
        <source>Read Access Required</source>
        <translation>Lesezugriff erforderlich</translation>
    </message>
</context>
<context>
    <name>AccessPromptPanel</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Still No Read Access</source>
        <translation>Weiterhin kein Lesezugriff</translation>
    </message>
    <message>
        <source>%1

Grant read access, for example with a file manager or chmod, then press Try Again; or press Continue to go on without reading it.</source>
        <translation>%1

Gewähren Sie Lesezugriff, zum Beispiel mit einem Dateimanager oder chmod, und klicken Sie dann auf „Erneut versuchen“; oder klicken Sie auf „Fortfahren“, um ohne diesen Lesezugriff weiterzumachen.</translation>
    </message>
    <message>
        <source>&amp;Try Again</source>
        <translation>&amp;Erneut versuchen</translation>
    </message>
    <message>
        <source>&amp;Continue</source>
        <translation>&amp;Fortfahren</translation>
    </message>
</context>
<context>
    <name>Alert</name>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Interrupted Zombie Recovery</source>
        <translation>Unterbrochene Zombie-Wiederherstellung</translation>
    </message>
    <message>
        <source>Unable To Process</source>
        <translation>Verarbeitung nicht möglich</translation>
    </message>
    <message>
        <source>Unsupported Version</source>
        <translation>Nicht unterstützte Version</translation>
    </message>
    <message>
        <source>Missing Keywords</source>
        <translation>Fehlende Schlagwörter</translation>
    </message>
    <message>
        <source>Scan Incomplete</source>
        <translation>Prüfung unvollständig</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unable To Continue</source>
        <translation>Fortsetzen nicht möglich</translation>
    </message>
    <message>
        <source>Selection Changed</source>
        <translation>Auswahl geändert</translation>
    </message>
</context>
<context>
    <name>CrashReportCommand</name>
    <message>
        <source>usage: vup crash-report [--send|--ignore|--discard] [--comments TEXT] [--email ADDRESS]
</source>
        <translation>Aufruf: vup crash-report [--send|--ignore|--discard] [--comments TEXT] [--email ADRESSE]
</translation>
    </message>
    <message>
        <source>No crash report submission address is configured (vup defaults write ZXNCrashReporterCrashSubmissionURL URL).</source>
        <translation>Es ist keine Adresse für Absturzberichte eingerichtet (vup defaults write ZXNCrashReporterCrashSubmissionURL URL).</translation>
    </message>
    <message>
        <source>vup: the crash report submission address is not an http or https URL (vup defaults write ZXNCrashReporterCrashSubmissionURL URL)</source>
        <translation>vup: Die Adresse für Absturzberichte ist keine http- oder https-Adresse (vup defaults write ZXNCrashReporterCrashSubmissionURL URL)</translation>
    </message>
    <message>
        <source>Send this report? [s]end, [i]gnore, [d]iscard: </source>
        <translation>Diesen Bericht senden? [s]end = senden, [i]gnore = ignorieren, [d]iscard = verwerfen: </translation>
    </message>
    <message>
        <source>No new crash log.</source>
        <translation>Kein neues Absturzprotokoll.</translation>
    </message>
    <message>
        <source>New crash log: %1</source>
        <translation>Neues Absturzprotokoll: %1</translation>
    </message>
    <message>
        <source>Report to %1 with these fields:</source>
        <translation>Bericht an %1 mit diesen Feldern:</translation>
    </message>
    <message>
        <source>
vup: no choice made; the crash log is kept</source>
        <translation>
vup: Keine Auswahl getroffen; das Absturzprotokoll bleibt erhalten</translation>
    </message>
    <message>
        <source>Moved the crash log to the Trash.</source>
        <translation>Das Absturzprotokoll wurde in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <source>Ignored; the crash log will be offered again at the next launch.</source>
        <translation>Ignoriert; das Absturzprotokoll wird beim nächsten Start erneut angeboten.</translation>
    </message>
</context>
<context>
    <name>DefaultsCommand</name>
    <message>
        <source>usage: vup defaults read [KEY]
       vup defaults write KEY [-string|-bool|-int|-date] VALUE
       vup defaults delete KEY
  -bool takes YES/NO, true/false or 1/0; -date takes ISO 8601 (for example
  2026-01-31T08:15:00.250Z) or &quot;now&quot;.
</source>
        <translation>Aufruf: vup defaults read [SCHLÜSSEL]
        vup defaults write SCHLÜSSEL [-string|-bool|-int|-date] WERT
        vup defaults delete SCHLÜSSEL
  -bool nimmt YES/NO, true/false oder 1/0; -date nimmt ISO 8601 (zum Beispiel
  2026-01-31T08:15:00.250Z) oder „now“.
</translation>
    </message>
    <message>
        <source>vup: the default &quot;%1&quot; does not exist</source>
        <translation>vup: Die Einstellung „%1“ gibt es nicht</translation>
    </message>
    <message>
        <source>vup: a default needs a name</source>
        <translation>vup: Eine Einstellung braucht einen Namen</translation>
    </message>
    <message>
        <source>vup: %1 needs a value</source>
        <translation>vup: %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>vup: &quot;%1&quot; is not a boolean (YES or NO)</source>
        <translation>vup: „%1“ ist kein Wahrheitswert (YES oder NO)</translation>
    </message>
    <message>
        <source>vup: &quot;%1&quot; is not an integer</source>
        <translation>vup: „%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>vup: &quot;%1&quot; is not an ISO 8601 date</source>
        <translation>vup: „%1“ ist kein Datum nach ISO 8601</translation>
    </message>
</context>
<context>
    <name>Findings</name>
    <message>
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message>
        <source>would remove</source>
        <translation>würde entfernt</translation>
    </message>
    <message>
        <source>tagged &quot;%1&quot;</source>
        <translation>mit „%1“ markiert</translation>
    </message>
    <message>
        <source>would tag &quot;%1&quot;</source>
        <translation>würde mit „%1“ markiert</translation>
    </message>
    <message>
        <source>not removed</source>
        <translation>nicht entfernt</translation>
    </message>
    <message>
        <source>not tagged &quot;%1&quot;</source>
        <translation>nicht mit „%1“ markiert</translation>
    </message>
    <message>
        <source>left alone</source>
        <translation>unverändert gelassen</translation>
    </message>
    <message>
        <source>re-added to album &quot;%1&quot;</source>
        <translation>erneut ins Album „%1“ aufgenommen</translation>
    </message>
    <message>
        <source>would be re-added</source>
        <translation>würde erneut aufgenommen</translation>
    </message>
    <message>
        <source>put back</source>
        <translation>zurückgelegt</translation>
    </message>
    <message>
        <source>left in place</source>
        <translation>an seinem Platz gelassen</translation>
    </message>
    <message>
        <source>still parked</source>
        <translation>noch geparkt</translation>
    </message>
    <message>
        <source>gone</source>
        <translation>verschwunden</translation>
    </message>
    <message>
        <source>its image path is a missing value, so its image file cannot be checked</source>
        <translation>sein Bildpfad ist ein fehlender Wert, daher kann seine Bilddatei nicht geprüft werden</translation>
    </message>
    <message>
        <source>no image path was given for it</source>
        <translation>für das Foto wurde kein Bildpfad angegeben</translation>
    </message>
    <message>
        <source>its image file exists; only its file name is a missing value</source>
        <translation>seine Bilddatei ist vorhanden; nur sein Dateiname ist ein fehlender Wert</translation>
    </message>
    <message>
        <source>the scan was cancelled before its changes began</source>
        <translation>die Prüfung wurde abgebrochen, bevor ihre Änderungen begannen</translation>
    </message>
    <message>
        <source>the scan ended before Vup got to it</source>
        <translation>die Prüfung endete, bevor Vup dazu kam</translation>
    </message>
    <message>
        <source>the import did not bring it into the album</source>
        <translation>der Import hat die Datei nicht ins Album gebracht</translation>
    </message>
    <message>
        <source>the scan was cancelled</source>
        <translation>die Prüfung wurde abgebrochen</translation>
    </message>
    <message>
        <source>it could not be moved out of the library</source>
        <translation>die Datei konnte nicht aus der Bibliothek verschoben werden</translation>
    </message>
    <message>
        <source>photoapp stopped responding; Vup finishes its recovery at its next run</source>
        <translation>photoapp antwortete nicht mehr; Vup schließt die Wiederherstellung beim nächsten Lauf ab</translation>
    </message>
    <message>
        <source>its place was taken, so it could not be put back</source>
        <translation>ihr Platz war belegt, daher konnte sie nicht zurückgelegt werden</translation>
    </message>
    <message>
        <source>a photo names it: it is no zombie</source>
        <translation>ein Foto verweist auf sie: sie ist kein Zombie</translation>
    </message>
    <message>
        <source>it appeared during the scan</source>
        <translation>sie ist während der Prüfung aufgetaucht</translation>
    </message>
    <message>
        <source>it was no longer where Vup had parked it</source>
        <translation>sie war nicht mehr dort, wo Vup sie geparkt hatte</translation>
    </message>
    <message>
        <source>a symbolic link is never moved or imported</source>
        <translation>ein symbolischer Link wird nie verschoben oder importiert</translation>
    </message>
    <message>
        <source>zombie detection skipped</source>
        <translation>Zombie-Suche übersprungen</translation>
    </message>
    <message>
        <source>image missing</source>
        <translation>Bild fehlt</translation>
    </message>
    <message>
        <source>master missing</source>
        <translation>Original fehlt</translation>
    </message>
    <message>
        <source>unchecked</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>change refused</source>
        <translation>Änderung abgelehnt</translation>
    </message>
    <message>
        <source>zombie</source>
        <translation>Zombie</translation>
    </message>
    <message>
        <source>linked item</source>
        <translation>verlinktes Objekt</translation>
    </message>
    <message>
        <source>completed</source>
        <translation>abgeschlossen</translation>
    </message>
    <message>
        <source>incomplete</source>
        <translation>unvollständig</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>not run</source>
        <translation>nicht gelaufen</translation>
    </message>
    <message>
        <source>Preview of a selection scan of %1</source>
        <translation>Vorschau einer Auswahlprüfung von %1</translation>
    </message>
    <message>
        <source>Preview of a selection scan</source>
        <translation>Vorschau einer Auswahlprüfung</translation>
    </message>
    <message>
        <source>Preview of a library scan of %1</source>
        <translation>Vorschau einer Bibliotheksprüfung von %1</translation>
    </message>
    <message>
        <source>Preview of a library scan</source>
        <translation>Vorschau einer Bibliotheksprüfung</translation>
    </message>
    <message>
        <source>Selection scan of %1</source>
        <translation>Auswahlprüfung von %1</translation>
    </message>
    <message>
        <source>Selection scan</source>
        <translation>Auswahlprüfung</translation>
    </message>
    <message>
        <source>Library scan of %1</source>
        <translation>Bibliotheksprüfung von %1</translation>
    </message>
    <message>
        <source>Library scan</source>
        <translation>Bibliotheksprüfung</translation>
    </message>
    <message>
        <source>1 issue would be tagged or removed</source>
        <translation>1 Problem würde markiert oder entfernt</translation>
    </message>
    <message numerus="yes">
        <source>%n issues would be tagged or removed</source>
        <translation>
            <numerusform>%n Problem würde markiert oder entfernt</numerusform>
            <numerusform>%n Probleme würden markiert oder entfernt</numerusform>
        </translation>
    </message>
    <message>
        <source>1 issue found before it stopped</source>
        <translation>1 Problem gefunden, bevor sie anhielt</translation>
    </message>
    <message numerus="yes">
        <source>%n issues found before it stopped</source>
        <translation>
            <numerusform>%n Problem gefunden, bevor sie anhielt</numerusform>
            <numerusform>%n Probleme gefunden, bevor sie anhielt</numerusform>
        </translation>
    </message>
    <message>
        <source>1 issue tagged or removed</source>
        <translation>1 Problem markiert oder entfernt</translation>
    </message>
    <message numerus="yes">
        <source>%n issues tagged or removed</source>
        <translation>
            <numerusform>%n Problem markiert oder entfernt</numerusform>
            <numerusform>%n Probleme markiert oder entfernt</numerusform>
        </translation>
    </message>
    <message>
        <source>1 photo could not be checked</source>
        <translation>1 Foto konnte nicht geprüft werden</translation>
    </message>
    <message numerus="yes">
        <source>%n photos could not be checked</source>
        <translation>
            <numerusform>%n Foto konnte nicht geprüft werden</numerusform>
            <numerusform>%n Fotos konnten nicht geprüft werden</numerusform>
        </translation>
    </message>
    <message>
        <source>1 zombie would be re-added</source>
        <translation>1 Zombie würde erneut aufgenommen</translation>
    </message>
    <message numerus="yes">
        <source>%n zombies would be re-added</source>
        <translation>
            <numerusform>%n Zombie würde erneut aufgenommen</numerusform>
            <numerusform>%n Zombies würden erneut aufgenommen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 change refused</source>
        <translation>1 Änderung abgelehnt</translation>
    </message>
    <message numerus="yes">
        <source>%n changes refused</source>
        <translation>
            <numerusform>%n Änderung abgelehnt</numerusform>
            <numerusform>%n Änderungen abgelehnt</numerusform>
        </translation>
    </message>
    <message>
        <source>1 zombie re-added</source>
        <translation>1 Zombie erneut aufgenommen</translation>
    </message>
    <message numerus="yes">
        <source>%n zombies re-added</source>
        <translation>
            <numerusform>%n Zombie erneut aufgenommen</numerusform>
            <numerusform>%n Zombies erneut aufgenommen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 zombie not re-added</source>
        <translation>1 Zombie nicht erneut aufgenommen</translation>
    </message>
    <message numerus="yes">
        <source>%n zombies not re-added</source>
        <translation>
            <numerusform>%n Zombie nicht erneut aufgenommen</numerusform>
            <numerusform>%n Zombies nicht erneut aufgenommen</numerusform>
        </translation>
    </message>
    <message>
        <source>nothing was changed</source>
        <translation>nichts wurde geändert</translation>
    </message>
    <message>
        <source>%1, %2: %3</source>
        <extracomment>%1 what ran on which library, %2 when it ended, %3 how it ended and its counts</extracomment>
        <translation>%1, %2: %3</translation>
    </message>
    <message>
        <source>re-added where it lies, tagged &quot;%1&quot;</source>
        <translation>an seinem Ort wieder aufgenommen, mit „%1“ markiert</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>sie kann nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>FindingsModel</name>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Issue</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
</context>
<context>
    <name>FindingsPresenter</name>
    <message>
        <source>Export Report</source>
        <translation>Bericht exportieren</translation>
    </message>
    <message>
        <source>JSON report (*.json)</source>
        <translation>JSON-Bericht (*.json)</translation>
    </message>
    <message>
        <source>CSV table (*.csv)</source>
        <translation>CSV-Tabelle (*.csv)</translation>
    </message>
    <message>
        <source>Vup findings %1</source>
        <translation>Vup-Befunde %1</translation>
    </message>
    <message>
        <source>Report saved to %1</source>
        <translation>Bericht gespeichert unter %1</translation>
    </message>
    <message>
        <source>Could Not Save the Report</source>
        <translation>Bericht konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Vup could not write %1: %2</source>
        <translation>Vup konnte %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>The scan at %1 ended (%2) before it checked a photo; the findings shown are from the run before.</source>
        <translation>Die Prüfung um %1 endete (%2), bevor sie ein Foto geprüft hatte; die gezeigten Befunde stammen aus dem Lauf davor.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>FindingsView</name>
    <message>
        <source>All findings</source>
        <translation>Alle Befunde</translation>
    </message>
    <message>
        <source>Filter by name, path, action or reason</source>
        <translation>Nach Name, Pfad, Aktion oder Grund filtern</translation>
    </message>
    <message>
        <source>Show in &amp;Folder</source>
        <translation>Im &amp;Ordner zeigen</translation>
    </message>
    <message>
        <source>C&amp;opy Path</source>
        <translation>Pfad &amp;kopieren</translation>
    </message>
    <message>
        <source>Scan &amp;Now</source>
        <translation>&amp;Jetzt prüfen</translation>
    </message>
    <message>
        <source>E&amp;xport Report...</source>
        <translation>Bericht e&amp;xportieren...</translation>
    </message>
    <message>
        <source>%1 of %2 shown</source>
        <translation>%1 von %2 angezeigt</translation>
    </message>
    <message>
        <source>Showing the first %1 of %2 selected items.</source>
        <translation>Die ersten %1 von %2 ausgewählten Einträgen werden gezeigt.</translation>
    </message>
    <message>
        <source>Copied 1 path.</source>
        <translation>1 Pfad kopiert.</translation>
    </message>
    <message numerus="yes">
        <source>Copied %n paths.</source>
        <translation>
            <numerusform>%n Pfad kopiert.</numerusform>
            <numerusform>%n Pfade kopiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Fil&amp;ter:</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>re-added to album &quot;Vup Zombies 0000-00-00-000000&quot;</source>
        <translation>erneut ins Album „Vup Zombies 0000-00-00-000000“ aufgenommen</translation>
    </message>
    <message>
        <source>Not the library the photo application has open now. %1</source>
        <translation>Nicht die Bibliothek, die die Fotoanwendung gerade geöffnet hat. %1</translation>
    </message>
    <message>
        <source>No file manager could open %1.</source>
        <translation>Kein Dateimanager konnte %1 öffnen.</translation>
    </message>
</context>
<context>
    <name>InfoPanel</name>
    <message>
        <source>How Vup Works</source>
        <translation>So arbeitet Vup</translation>
    </message>
    <message>
        <source>Vup checks your photo library while the photo application is running. It finds photos whose image file or original (master) file is gone and tags them &quot;Vup Missing&quot; or &quot;Vup Master Missing&quot;, or removes them if you ask it to. A whole-library scan can also recover zombies: files in the library&apos;s Masters folder that no photo uses, re-imported into a new album.

Do not use the photo application while a scan is in progress.</source>
        <translation>Vup prüft Ihre Fotobibliothek, während die Fotoanwendung läuft. Es findet Fotos, deren Bilddatei oder Originaldatei (Master) fehlt, und versieht sie mit dem Schlagwort „Vup Missing“ oder „Vup Master Missing“ oder entfernt sie, wenn Sie es wünschen. Eine Prüfung der ganzen Bibliothek kann außerdem Zombies zurückholen: Dateien im Ordner „Masters“ der Bibliothek, die kein Foto verwendet; sie werden in ein neues Album importiert.

Benutzen Sie die Fotoanwendung nicht, solange eine Prüfung läuft.</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t show this again</source>
        <translation>&amp;Nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>&amp;More Info…</source>
        <translation>&amp;Mehr erfahren…</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>KeywordVerification</name>
    <message>
        <source>iPhoto is missing the following keywords:

%1
To add keywords in iPhoto use the menu item Window-&gt;Manage My Keywords.  Then click &quot;Edit Keywords&quot;.  There is a + button on the lower left which adds new keywords.

You may not continue without adding these keywords. Once you have, click on okay and %2 will check that they have been entered correctly.</source>
        <translation>iPhoto fehlen die folgenden Schlagwörter:

%1
Um in iPhoto Schlagwörter hinzuzufügen, wählen Sie den Menüpunkt Fenster-&gt;Meine Schlagwörter verwalten. Klicken Sie dann auf „Schlagwörter bearbeiten“. Unten links fügt die Taste + neue Schlagwörter hinzu.

Sie können erst fortfahren, wenn diese Schlagwörter hinzugefügt sind. Klicken Sie danach auf OK, und %2 prüft, ob sie richtig eingegeben wurden.</translation>
    </message>
</context>
<context>
    <name>LastRunStore</name>
    <message>
        <source>it is not a findings file of this version of Vup</source>
        <translation>sie ist keine Befunddatei dieser Vup-Version</translation>
    </message>
    <message>
        <source>it is damaged or cut short</source>
        <translation>sie ist beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>a later run has replaced it</source>
        <translation>ein späterer Lauf hat sie ersetzt</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Finds photos whose files are gone and files the photo library forgot, and repairs the library through the running photo application.</source>
        <translation>Findet Fotos, deren Dateien fehlen, und Dateien, die die Fotobibliothek vergessen hat, und repariert die Bibliothek über die laufende Fotoanwendung.</translation>
    </message>
    <message>
        <source>Product page: %1</source>
        <translation>Produktseite: %1</translation>
    </message>
    <message>
        <source>Support: %1</source>
        <translation>Unterstützung: %1</translation>
    </message>
    <message>
        <source>&amp;Scan</source>
        <translation>&amp;Prüfen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About %1</source>
        <translation>&amp;Über %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Vup</source>
        <translation>Vup</translation>
    </message>
    <message>
        <source>Photos in the library:</source>
        <translation>Fotos in der Bibliothek:</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Photos selected:</source>
        <translation>Ausgewählte Fotos:</translation>
    </message>
    <message>
        <source>&amp;Remove photos whose image file is missing instead of tagging them</source>
        <translation>Fotos, deren Bilddatei fehlt, &amp;entfernen statt sie zu markieren</translation>
    </message>
    <message>
        <source>Recover &amp;zombie files (whole-library scans)</source>
        <translation>&amp;Zombie-Dateien zurückholen (Prüfung der ganzen Bibliothek)</translation>
    </message>
    <message>
        <source>&amp;Preview: make every check, change nothing</source>
        <translation>&amp;Vorschau: alles prüfen, nichts ändern</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Scan S&amp;election</source>
        <translation>A&amp;uswahl prüfen</translation>
    </message>
    <message>
        <source>Scan &amp;Library</source>
        <translation>&amp;Bibliothek prüfen</translation>
    </message>
</context>
<context>
    <name>RecoveryResume</name>
    <message>
        <source>Vup finished an interrupted zombie recovery: %1 re-added, %2 put back, %3 still parked in %4.</source>
        <translation>Vup hat eine unterbrochene Zombie-Wiederherstellung abgeschlossen: erneut aufgenommen: %1, zurückgelegt: %2, noch geparkt in %4: %3.</translation>
    </message>
    <message>
        <source>Vup could not finish an interrupted zombie recovery without photoapp: %1 re-added, %2 put back, %3 still parked in %4.</source>
        <translation>Vup konnte eine unterbrochene Zombie-Wiederherstellung ohne photoapp nicht abschließen: erneut aufgenommen: %1, zurückgelegt: %2, noch geparkt in %4: %3.</translation>
    </message>
    <message>
        <source>Vup found an interrupted zombie recovery of %1 zombies in %2; the next scan with photoapp running will finish it.</source>
        <translation>Vup hat in %2 eine unterbrochene Zombie-Wiederherstellung gefunden (Zombies: %1); die nächste Prüfung bei laufendem photoapp schließt sie ab.</translation>
    </message>
</context>
<context>
    <name>ScanCommand</name>
    <message>
        <source>usage: vup scan --library|--selection [--delete] [--recover-zombies] [--dry-run]
                [--report FILE.json|FILE.csv | --report-raw FILE.csv] [--yes]
                [--app photoapp|darktable]
  --library          scan every photo of the library
  --selection        scan the photos selected in the photo application
  --delete           remove photos whose image file is gone instead of tagging them
  --recover-zombies  re-import files in Masters/ that no photo names (library scans)
  --dry-run          make every check, print what would be done, change nothing
  --report FILE      write the findings as JSON, or as a CSV table when FILE ends in .csv
                     (cells that a spreadsheet would run as formulas begin with &apos;)
  --report-raw FILE  write the CSV table with every cell exactly as it is
  --yes              answer prompts at once instead of reading standard input
  --app NAME         the photo application to repair; needed when both are running
</source>
        <translation>Aufruf: vup scan --library|--selection [--delete] [--recover-zombies] [--dry-run]
                 [--report DATEI.json|DATEI.csv | --report-raw DATEI.csv] [--yes]
                 [--app photoapp|darktable]
  --library          alle Fotos der Bibliothek prüfen
  --selection        die in der Fotoanwendung ausgewählten Fotos prüfen
  --delete           Fotos, deren Bilddatei fehlt, entfernen statt sie zu markieren
  --recover-zombies  Dateien in Masters/, auf die kein Foto verweist, erneut importieren
                     (nur bei Prüfung der ganzen Bibliothek)
  --dry-run          alles prüfen, ausgeben, was getan würde, nichts ändern
  --report DATEI     die Befunde als JSON schreiben, oder als CSV-Tabelle, wenn DATEI
                     auf .csv endet (Zellen, die eine Tabellenkalkulation als Formel
                     ausführen würde, beginnen mit &apos;)
  --report-raw DATEI die CSV-Tabelle mit jeder Zelle genau so schreiben, wie sie ist
  --yes              Fragen sofort beantworten, statt die Standardeingabe zu lesen
  --app NAME         die zu reparierende Fotoanwendung; nötig, wenn beide laufen
</translation>
    </message>
    <message>
        <source>vup scan: cannot write the report %1</source>
        <translation>vup scan: Der Bericht %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>--app needs photoapp or darktable</source>
        <translation>--app braucht photoapp oder darktable</translation>
    </message>
    <message>
        <source>--app takes photoapp or darktable, not</source>
        <translation>--app nimmt photoapp oder darktable, nicht</translation>
    </message>
    <message>
        <source>--report needs a file name</source>
        <translation>--report braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--report-raw writes a CSV table; its file name must end in .csv</source>
        <translation>--report-raw schreibt eine CSV-Tabelle; ihr Dateiname muss auf .csv enden</translation>
    </message>
    <message>
        <source>unknown option</source>
        <translation>Unbekannte Option</translation>
    </message>
    <message>
        <source>choose exactly one of --library and --selection</source>
        <translation>Wählen Sie genau eine der Optionen --library und --selection</translation>
    </message>
    <message>
        <source>the report path is a folder:</source>
        <translation>Der Pfad für den Bericht ist ein Ordner:</translation>
    </message>
    <message>
        <source>vup scan: no folder %1 for the report</source>
        <translation>vup scan: Den Ordner %1 für den Bericht gibt es nicht</translation>
    </message>
    <message>
        <source>photo %1 (position %2)</source>
        <translation>Foto %1 (Position %2)</translation>
    </message>
    <message>
        <source>(no path)</source>
        <translation>(kein Pfad)</translation>
    </message>
    <message>
        <source>failed to remove: %1: %2</source>
        <translation>Entfernen fehlgeschlagen: %1: %2</translation>
    </message>
    <message>
        <source>failed to tag %1: %2: %3</source>
        <translation>Markieren mit „%1“ fehlgeschlagen: %2: %3</translation>
    </message>
    <message>
        <source>would tag &quot;%1&quot;: %2</source>
        <translation>würde mit „%1“ markiert: %2</translation>
    </message>
    <message>
        <source>tagged &quot;%1&quot;: %2</source>
        <translation>mit „%1“ markiert: %2</translation>
    </message>
    <message>
        <source>would remove: %1</source>
        <translation>würde entfernt: %1</translation>
    </message>
    <message>
        <source>removed: %1</source>
        <translation>entfernt: %1</translation>
    </message>
    <message>
        <source>unchecked: %1: %2</source>
        <translation>nicht geprüft: %1: %2</translation>
    </message>
    <message>
        <source>dry run: nothing was changed</source>
        <translation>Vorschau: nichts wurde geändert</translation>
    </message>
    <message>
        <source>vup scan: the interrupt came after the changes had begun, so it did not stop them</source>
        <translation>vup scan: Die Unterbrechung kam erst, nachdem die Änderungen begonnen hatten, und hat sie daher nicht angehalten</translation>
    </message>
    <message>
        <source>both photoapp and darktable are running; say which library to repair with --app photoapp or --app darktable</source>
        <translation>photoapp und darktable laufen beide; geben Sie mit --app photoapp oder --app darktable an, welche Bibliothek repariert werden soll</translation>
    </message>
</context>
<context>
    <name>TerminalDelegate</name>
    <message>
        <source>Press Enter to continue. </source>
        <translation>Weiter mit der Eingabetaste. </translation>
    </message>
    <message>
        <source>vup scan: the photo application still lacks the keywords listed above; add them and scan again
</source>
        <translation>vup scan: Der Fotoanwendung fehlen noch die oben genannten Schlagwörter; legen Sie sie an und prüfen Sie erneut
</translation>
    </message>
    <message>
        <source>Open %1? [y/N] </source>
        <translation>%1 öffnen? [y = ja / N = nein] </translation>
    </message>
    <message>
        <source>
standard input closed: going on as if Open was pressed
</source>
        <translation>
Standardeingabe geschlossen: weiter, als wäre „Öffnen“ gewählt worden
</translation>
    </message>
</context>
<context>
    <name>UserNotification</name>
    <message>
        <source>Show Vup</source>
        <translation>Vup zeigen</translation>
    </message>
</context>
<context>
    <name>VersionCheck</name>
    <message>
        <source>A serious error has occurred in communicating with %1. If the problem persists please contact %2</source>
        <translation>Bei der Kommunikation mit %1 ist ein schwerer Fehler aufgetreten. Wenn das Problem bestehen bleibt, wenden Sie sich bitte an %2</translation>
    </message>
    <message>
        <source>This version of Vup is compatible with iPhoto &apos;11 Versions 9.0 and above only.</source>
        <translation>Diese Version von Vup ist nur mit iPhoto &apos;11 ab Version 9.0 kompatibel.</translation>
    </message>
    <message>
        <source>This version of Vup is compatible with %1 Lua API 9.0 and above only; %1 %2 has Lua API %3.</source>
        <translation>Diese Version von Vup ist nur mit %1 ab Lua-API 9.0 kompatibel; %1 %2 hat Lua-API %3.</translation>
    </message>
    <message>
        <source>%1 is not running. Start it and scan again.</source>
        <translation>%1 läuft nicht. Starten Sie das Programm und prüfen Sie erneut.</translation>
    </message>
</context>
<context>
    <name>VupAppDelegate</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel Scan</source>
        <translation>Prüfung abbrechen</translation>
    </message>
    <message>
        <source>The photos selected in %1 are not the ones the preview looked at. Preview the selection again before scanning it.</source>
        <translation>Die in %1 ausgewählten Fotos sind nicht die, die die Vorschau betrachtet hat. Lassen Sie die Vorschau der Auswahl erneut laufen, bevor Sie sie prüfen.</translation>
    </message>
    <message>
        <source>Preview S&amp;election</source>
        <translation>Vorschau der A&amp;uswahl</translation>
    </message>
    <message>
        <source>Scan S&amp;election</source>
        <translation>A&amp;uswahl prüfen</translation>
    </message>
    <message>
        <source>Preview &amp;Library</source>
        <translation>Vorschau der &amp;Bibliothek</translation>
    </message>
    <message>
        <source>Scan &amp;Library</source>
        <translation>&amp;Bibliothek prüfen</translation>
    </message>
    <message>
        <source>A scan is running. Stop it and quit?</source>
        <translation>Eine Prüfung läuft. Anhalten und beenden?</translation>
    </message>
    <message>
        <source>Vup stops the scan as Cancel does, and quits once it has stopped. Changes already made stay.</source>
        <translation>Vup hält die Prüfung an wie „Abbrechen“ und wird beendet, sobald sie angehalten ist. Bereits vorgenommene Änderungen bleiben erhalten.</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>Anhalten und beenden</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>Stopping the scan; Vup quits once it has stopped</source>
        <translation>Die Prüfung wird angehalten; danach wird Vup beendet</translation>
    </message>
    <message>
        <source>Quit and lose your crash report comments?</source>
        <translation>Beenden und Ihre Kommentare zum Absturzbericht verwerfen?</translation>
    </message>
    <message>
        <source>The comments you typed in the crash report have not been sent. Send the report first to keep them.</source>
        <translation>Ihre Kommentare im Absturzbericht wurden nicht gesendet. Senden Sie zuerst den Bericht, um sie zu behalten.</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Keep Editing</source>
        <translation>&amp;Weiter bearbeiten</translation>
    </message>
</context>
<context>
    <name>VupMode</name>
    <message>
        <source>Loading Data</source>
        <translation>Daten werden geladen</translation>
    </message>
    <message>
        <source>Detecting Zombies</source>
        <translation>Zombies werden gesucht</translation>
    </message>
    <message>
        <source>Processing Images</source>
        <translation>Bilder werden verarbeitet</translation>
    </message>
    <message>
        <source>Tagging Items</source>
        <translation>Objekte werden markiert</translation>
    </message>
    <message>
        <source>its properties could not be read: %1</source>
        <translation>seine Eigenschaften konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>its image file %1 cannot be looked at: %2</source>
        <translation>auf seine Bilddatei %1 kann nicht zugegriffen werden: %2</translation>
    </message>
    <message>
        <source>its master file %1 cannot be looked at: %2</source>
        <translation>auf seine Originaldatei %1 kann nicht zugegriffen werden: %2</translation>
    </message>
    <message>
        <source>You need to select the photos you want me to process</source>
        <translation>Sie müssen die Fotos auswählen, die ich verarbeiten soll</translation>
    </message>
    <message>
        <source>You need to deal with the item(s) that %1 could not open because the original referenced item could not be found.</source>
        <translation>Sie müssen sich um die Objekte kümmern, die %1 nicht öffnen konnte, weil das Original, auf das sie verweisen, nicht gefunden wurde.</translation>
    </message>
    <message>
        <source>%1 stopped responding while Vup was working. Nothing more was changed. Run the scan again when %1 is running.</source>
        <translation>%1 antwortete nicht mehr, während Vup arbeitete. Es wurde nichts weiter geändert. Starten Sie die Prüfung erneut, wenn %1 läuft.</translation>
    </message>
    <message>
        <source>Vup could not check %1 photo(s) and could not change %2 photo(s); they were left as they were and are listed in the report.</source>
        <translation>Vup konnte %1 Foto(s) nicht prüfen und %2 Foto(s) nicht ändern; sie wurden unverändert gelassen und sind im Bericht aufgeführt.</translation>
    </message>
    <message>
        <source>Processing Complete</source>
        <translation>Verarbeitung abgeschlossen</translation>
    </message>
    <message>
        <source>Scan Incomplete</source>
        <translation>Prüfung unvollständig</translation>
    </message>
    <message>
        <source>Scan Cancelled</source>
        <translation>Prüfung abgebrochen</translation>
    </message>
    <message>
        <source>Scan Failed</source>
        <translation>Prüfung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Scan Refused</source>
        <translation>Prüfung abgelehnt</translation>
    </message>
    <message>
        <source>Vup has finished processing.</source>
        <translation>Vup hat die Verarbeitung abgeschlossen.</translation>
    </message>
    <message numerus="yes">
        <source>Vup discovered %n issues that were tagged or deleted to make everything happy again.  You can search for the keyword &quot;Vup Missing&quot; or &quot;Vup Master Missing&quot; within %1 to see these images.</source>
        <translation>
            <numerusform>Vup hat %n Problem gefunden, das markiert oder gelöscht wurde, damit wieder alles in Ordnung ist.  Suchen Sie in %1 nach dem Schlagwort „Vup Missing“ oder „Vup Master Missing“, um diese Bilder zu sehen.</numerusform>
            <numerusform>Vup hat %n Probleme gefunden, die markiert oder gelöscht wurden, damit wieder alles in Ordnung ist.  Suchen Sie in %1 nach dem Schlagwort „Vup Missing“ oder „Vup Master Missing“, um diese Bilder zu sehen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Vup discovered %n issues that were tagged or deleted to make everything happy again.  You can search for the tag &quot;Vup Missing&quot; within %1 to see these images.</source>
        <translation>
            <numerusform>Vup hat %n Problem gefunden, das markiert oder gelöscht wurde, damit wieder alles in Ordnung ist.  Suchen Sie in %1 nach dem Schlagwort „Vup Missing“, um diese Bilder zu sehen.</numerusform>
            <numerusform>Vup hat %n Probleme gefunden, die markiert oder gelöscht wurden, damit wieder alles in Ordnung ist.  Suchen Sie in %1 nach dem Schlagwort „Vup Missing“, um diese Bilder zu sehen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Congratulations, your selected images are problem free and happy.  0 issues found.</source>
        <translation>Glückwunsch, Ihre ausgewählten Bilder sind fehlerfrei und glücklich.  0 Probleme gefunden.</translation>
    </message>
    <message>
        <source>Congratulations, your %1 library is problem free and happy.  0 issues found.</source>
        <translation>Glückwunsch, Ihre %1-Bibliothek ist fehlerfrei und glücklich.  0 Probleme gefunden.</translation>
    </message>
    <message numerus="yes">
        <source>Dry run: Vup found %n issues that would be tagged or deleted.</source>
        <translation>
            <numerusform>Vorschau: Vup hat %n Problem gefunden, das markiert oder gelöscht würde.</numerusform>
            <numerusform>Vorschau: Vup hat %n Probleme gefunden, die markiert oder gelöscht würden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Another Vup scan is working on this library.</source>
        <translation>Eine andere Vup-Prüfung arbeitet gerade an dieser Bibliothek.</translation>
    </message>
    <message>
        <source>Finishing Interrupted Recovery</source>
        <translation>Unterbrochene Wiederherstellung wird abgeschlossen</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>darktable did not confirm it</source>
        <translation>darktable hat es nicht bestätigt</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message>
        <source>vup: cannot save the screenshot %1
</source>
        <translation>vup: Das Bildschirmfoto %1 kann nicht gespeichert werden
</translation>
    </message>
</context>
<context>
    <name>ZXNCrashReporter</name>
    <message>
        <source>The crash log %1 is not the regular file that was offered; nothing was sent.</source>
        <translation>Das Absturzprotokoll %1 ist nicht mehr die gewöhnliche Datei, die angeboten wurde; es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The crash log %1 cannot be read: %2</source>
        <translation>Das Absturzprotokoll %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Crash Reporter: %1 (%2)</source>
        <translation>Absturzbericht: %1 (%2)</translation>
    </message>
    <message>
        <source>Crash Reporter: %1</source>
        <translation>Absturzbericht: %1</translation>
    </message>
    <message>
        <source>Please enter a description of the actions leading up to the crash.</source>
        <translation>Bitte beschreiben Sie, was Sie vor dem Absturz getan haben.</translation>
    </message>
    <message>
        <source>Ignore the report and lose your comments?</source>
        <translation>Bericht ignorieren und Ihre Kommentare verwerfen?</translation>
    </message>
    <message>
        <source>The comments you typed have not been sent. The crash log stays and is offered again at the next launch.</source>
        <translation>Ihre Kommentare wurden nicht gesendet. Das Absturzprotokoll bleibt erhalten und wird beim nächsten Start erneut angeboten.</translation>
    </message>
    <message>
        <source>&amp;Ignore Report</source>
        <translation>Bericht &amp;ignorieren</translation>
    </message>
    <message>
        <source>The crash log is kept and will be offered again at the next launch, with your comments.</source>
        <translation>Das Absturzprotokoll bleibt erhalten und wird beim nächsten Start mit Ihren Kommentaren erneut angeboten.</translation>
    </message>
    <message>
        <source>&amp;Keep Editing</source>
        <translation>&amp;Weiter bearbeiten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Thank you for taking the time to help improve %1!</source>
        <translation>Danke, dass Sie sich die Zeit nehmen, %1 zu verbessern!</translation>
    </message>
    <message>
        <source>Unrecognized response from the server</source>
        <translation>Unbekannte Antwort des Servers</translation>
    </message>
    <message>
        <source>The request timed out.</source>
        <translation>Die Anfrage hat das Zeitlimit überschritten.</translation>
    </message>
    <message>
        <source>The transfer took longer than allowed and was stopped.</source>
        <translation>Die Übertragung dauerte länger als erlaubt und wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The server closed the connection without answering.</source>
        <translation>Der Server hat die Verbindung ohne Antwort geschlossen.</translation>
    </message>
    <message>
        <source>The crash report was successfully submitted.</source>
        <translation>Der Absturzbericht wurde erfolgreich gesendet.</translation>
    </message>
    <message>
        <source>An error occurred while submitting the crash report.</source>
        <translation>Beim Senden des Absturzberichts ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>The error was: %1</source>
        <translation>Der Fehler war: %1</translation>
    </message>
</context>
<context>
    <name>ZXNCrashReporterWindow</name>
    <message>
        <source>Crash Reporter</source>
        <translation>Absturzbericht</translation>
    </message>
    <message>
        <source>The application quit unexpectedly the last time it was used. You can send the crash log to the developers, together with your comments, to help them fix the problem.</source>
        <translation>Das Programm wurde bei der letzten Benutzung unerwartet beendet. Sie können das Absturzprotokoll zusammen mit Ihren Kommentaren an die Entwickler senden, damit sie den Fehler beheben können.</translation>
    </message>
    <message>
        <source>&amp;Comments:</source>
        <translation>&amp;Kommentare:</translation>
    </message>
    <message>
        <source>E-&amp;mail address:</source>
        <translation>E-&amp;Mail-Adresse:</translation>
    </message>
    <message>
        <source>I&amp;nclude my e-mail address, so that the developers can reply</source>
        <translation>Meine E-Mail-Adresse &amp;beifügen, damit die Entwickler antworten können</translation>
    </message>
    <message>
        <source>Include &amp;anonymous information about this computer</source>
        <translation>&amp;Anonyme Angaben über diesen Computer beifügen</translation>
    </message>
    <message>
        <source>The computer&apos;s model, processor, memory and system version.</source>
        <translation>Modell, Prozessor, Arbeitsspeicher und Systemversion des Computers.</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <translation>&amp;Ignorieren</translation>
    </message>
    <message>
        <source>&amp;Send Report</source>
        <translation>Bericht &amp;senden</translation>
    </message>
</context>
<context>
    <name>ZombieDetector</name>
    <message>
        <source>%1 of %2 photos have no master path, so any file in the Masters folder could be theirs.</source>
        <translation>Bei %1 von %2 Fotos fehlt der Originalpfad, daher könnte jede Datei im Ordner „Masters“ zu ihnen gehören.</translation>
    </message>
    <message>
        <source>the master list names files outside this library (in %1 as well as %2).</source>
        <translation>die Liste der Originale nennt Dateien außerhalb dieser Bibliothek (in %1 wie in %2).</translation>
    </message>
    <message>
        <source>the Masters folder %1 cannot be read (%2).</source>
        <translation>der Ordner „Masters“ %1 kann nicht gelesen werden (%2).</translation>
    </message>
    <message>
        <source>the Masters folder %1 is a link to %2; nothing is moved through it.</source>
        <translation>der Ordner „Masters“ %1 ist ein Link auf %2; durch ihn wird nichts verschoben.</translation>
    </message>
</context>
<context>
    <name>ZombieRecovery</name>
    <message>
        <source>Zombies Detected</source>
        <translation>Zombies gefunden</translation>
    </message>
</context>
<context>
    <name>ZombieSummary</name>
    <message numerus="yes">
        <source>%n Zombies were detected and re-added to your library.  They are located in the Vup Zombies Album.</source>
        <translation>
            <numerusform>%n Zombie wurde gefunden und erneut in Ihre Bibliothek aufgenommen.  Er liegt im Album „Vup Zombies“.</numerusform>
            <numerusform>%n Zombies wurden gefunden und erneut in Ihre Bibliothek aufgenommen.  Sie liegen im Album „Vup Zombies“.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zombies would be re-added to your library.</source>
        <translation>
            <numerusform>%n Zombie würde erneut in Ihre Bibliothek aufgenommen.</numerusform>
            <numerusform>%n Zombies würden erneut in Ihre Bibliothek aufgenommen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zombies could not be re-added and were put back where they were.</source>
        <translation>
            <numerusform>%n Zombie konnte nicht erneut aufgenommen werden und wurde an seinen Platz zurückgelegt.</numerusform>
            <numerusform>%n Zombies konnten nicht erneut aufgenommen werden und wurden an ihren Platz zurückgelegt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n are still parked in %1.</source>
        <translation>
            <numerusform>%n ist noch in %1 geparkt.</numerusform>
            <numerusform>%n sind noch in %1 geparkt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Vup finishes their recovery at its next run, with photoapp running.</source>
        <translation>Vup schließt ihre Wiederherstellung beim nächsten Lauf ab, wenn photoapp läuft.</translation>
    </message>
    <message numerus="yes">
        <source>%n zombies were no longer where Vup had parked them.</source>
        <translation>
            <numerusform>%n Zombie war nicht mehr dort, wo Vup ihn geparkt hatte.</numerusform>
            <numerusform>%n Zombies waren nicht mehr dort, wo Vup sie geparkt hatte.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n linked items in the Masters folder were left alone.</source>
        <translation>
            <numerusform>%n verlinktes Objekt im Ordner „Masters“ wurde unverändert gelassen.</numerusform>
            <numerusform>%n verlinkte Objekte im Ordner „Masters“ wurden unverändert gelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 linked item in the Masters folder was left alone.</source>
        <translation>1 verlinktes Objekt im Ordner „Masters“ wurde unverändert gelassen.</translation>
    </message>
    <message>
        <source>Zombie detection was skipped: %1</source>
        <translation>Die Zombie-Suche wurde übersprungen: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n Zombies were detected and re-added to your library where they lie.  They carry the tag &quot;%1&quot;.</source>
        <translation>
            <numerusform>%n Zombie wurde gefunden und an seinem Ort wieder in Ihre Bibliothek aufgenommen.  Er trägt das Schlagwort „%1“.</numerusform>
            <numerusform>%n Zombies wurden gefunden und an ihrem Ort wieder in Ihre Bibliothek aufgenommen.  Sie tragen das Schlagwort „%1“.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zombies were not imported by %1; the report gives its reasons.</source>
        <translation>
            <numerusform>%n Zombie wurde von %1 nicht importiert; der Bericht nennt die Gründe.</numerusform>
            <numerusform>%n Zombies wurden von %1 nicht importiert; der Bericht nennt die Gründe.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zombies were gone before they could be imported.</source>
        <translation>
            <numerusform>%n Zombie war verschwunden, bevor er importiert werden konnte.</numerusform>
            <numerusform>%n Zombies waren verschwunden, bevor sie importiert werden konnten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n linked items in the film-roll folders were left alone.</source>
        <translation>
            <numerusform>%n verknüpftes Objekt in den Filmrollen-Ordnern wurde nicht angerührt.</numerusform>
            <numerusform>%n verknüpfte Objekte in den Filmrollen-Ordnern wurden nicht angerührt.</numerusform>
        </translation>
    </message>
    <message>
        <source>would recover zombie: %1</source>
        <translation>Zombie würde zurückgeholt: %1</translation>
    </message>
    <message>
        <source>zombie %1: %2</source>
        <translation>Zombie %1: %2</translation>
    </message>
    <message>
        <source>zombie %1: %2 (from %3)</source>
        <translation>Zombie %1: %2 (aus %3)</translation>
    </message>
    <message>
        <source>linked item left alone: %1</source>
        <translation>verlinktes Objekt unverändert gelassen: %1</translation>
    </message>
</context>
<context>
    <name>vup</name>
    <message>
        <source>usage: vup                      open the window
       vup scan --library|--selection [--delete] [--recover-zombies] [--dry-run]
                [--report FILE.json|FILE.csv | --report-raw FILE.csv] [--yes]
       vup crash-report [--send|--ignore|--discard] [--comments TEXT] [--email ADDRESS]
       vup defaults read [KEY] | write KEY VALUE | delete KEY
       vup --version | --help
</source>
        <translation>Aufruf: vup                     öffnet das Fenster
        vup scan --library|--selection [--delete] [--recover-zombies] [--dry-run]
                 [--report DATEI.json|DATEI.csv | --report-raw DATEI.csv] [--yes]
        vup crash-report [--send|--ignore|--discard] [--comments TEXT] [--email ADRESSE]
        vup defaults read [SCHLÜSSEL] | write SCHLÜSSEL WERT | delete SCHLÜSSEL
        vup --version | --help
</translation>
    </message>
    <message>
        <source>vup: unknown option &quot;%1&quot;
</source>
        <translation>vup: Unbekannte Option „%1“
</translation>
    </message>
    <message>
        <source>vup: unknown command &quot;%1&quot;
</source>
        <translation>vup: Unbekannter Befehl „%1“
</translation>
    </message>
</context>
</TS>
