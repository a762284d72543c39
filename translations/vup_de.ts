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
