<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
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
