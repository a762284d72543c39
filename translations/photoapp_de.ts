<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Catalogue</name>
    <message>
        <source>%1 already exists</source>
        <translation>%1 existiert bereits</translation>
    </message>
    <message>
        <source>cannot create the catalogue %1: %2</source>
        <translation>Der Katalog %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot use the catalogue %1: %2</source>
        <translation>Der Katalog %1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>no photo library at %1</source>
        <translation>Unter %1 gibt es keine Fotobibliothek</translation>
    </message>
    <message>
        <source>%1 is not a photo library: its catalogue %2 is missing or not a file</source>
        <translation>%1 ist keine Fotobibliothek: Ihr Katalog %2 fehlt oder ist keine Datei</translation>
    </message>
    <message>
        <source>cannot open the catalogue %1: %2</source>
        <translation>Der Katalog %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>the catalogue %1 is not an SQLite database; it was left as it is</source>
        <translation>Der Katalog %1 ist keine SQLite-Datenbank; er wurde unverändert gelassen</translation>
    </message>
    <message>
        <source>cannot upgrade the catalogue %1: %2</source>
        <translation>Der Katalog %1 kann nicht aktualisiert werden: %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: photoapp COMMAND LIBRARY [ARGUMENTS]
       photoapp --version

A photo application that keeps a library (a NAME.photolibrary folder with Masters/, Modified/ and
a SQLite catalogue in Database/) and serves it on the session bus as com.apple.iPhoto.

Library:
  create LIBRARY                          make an empty library
  import LIBRARY PATH... [--album NAME]   copy image files or folders (recursively) into the
                                          library and the album NAME (made if missing)
  serve LIBRARY [--version TEXT] [--window]
                                          serve the library on the session bus until SIGTERM or
                                          SIGINT; version text defaults to 9.6.1. One service per
                                          library: a second one, on any bus, exits with status 1.
                                          With --window, also show the library in a window;
                                          closing it ends the service
  open LIBRARY [--version TEXT]           the same as serve --window
  dump LIBRARY                            the whole catalogue as JSON: photos (id, imageFilename,
                                          imagePath, originalPath, date, width, height, keywords,
                                          albums), albums (id, name, type, photos), keywords,
                                          selection, libraryAlbum, trashAlbum
  demo LIBRARY [--photos N] [--missing-images K] [--missing-masters K] [--zombies K]
                                          a demo library of small JPEGs (defaults 40, 3, 2, 2)
  keyword-image OUT.jpg KEYWORD...        write a small JPEG carrying the keywords (IPTC, XMP)

Scripting and tests (work whether or not a service serves the library; a running service sees
the change with its next request):
  select LIBRARY --photos ID... | --album ID
  keyword add LIBRARY NAME                a known keyword (the existing one when the name is known
                                          in any case); prints its id
  album create LIBRARY NAME [--type albm|smrt]
  photo add-record LIBRARY --image PATH [--original PATH] [--date MS] [--width W] [--height H]
                   [--album ID]           a catalogue row naming any path, nothing copied
  edit LIBRARY PHOTO_ID                   make an edited version (image path != master path)
  fault LIBRARY --photo ID --null KEY     the property KEY answers the missing value
  fault LIBRARY --photo ID --absent KEY   the property KEY is left out of the answer
  fault LIBRARY --photo ID --fail-properties
                                          the photo&apos;s property request fails
  fault LIBRARY --photo ID --refuse-changes
                                          keyword assignments and removals of the photo fail
  fault LIBRARY --version-error NAME MESSAGE
                                          the version request fails with that D-Bus error
  fault LIBRARY --import-delay MS         every import takes at least MS milliseconds
  fault LIBRARY --stop-before-record      an import stops its process (SIGSTOP) between naming a
                                          copy and recording it, for a test to kill it there
  fault LIBRARY --clear                   remove every injected fault

The same changes can be made on a running service through com.apple.iPhoto.Control at /control:
SelectItems(ao), AddKeyword(s) -&gt; o, EditPhoto(x) -&gt; s, SetNullKey(x, s), SetAbsentKey(x, s),
FailProperties(x), RefuseChanges(x), SetVersionError(s, s), SetImportDelay(i), ClearFaults().
</source>
        <translation>Aufruf: photoapp BEFEHL BIBLIOTHEK [ARGUMENTE]
        photoapp --version

Eine Fotoanwendung, die eine Bibliothek führt (einen Ordner NAME.photolibrary mit Masters/,
Modified/ und einem SQLite-Katalog in Database/) und sie auf dem Sitzungsbus als com.apple.iPhoto
anbietet. In den Befehlen steht LIBRARY für die Bibliothek.

Bibliothek:
  create LIBRARY                          legt eine leere Bibliothek an
  import LIBRARY PATH... [--album NAME]   kopiert Bilddateien oder Ordner (rekursiv) in die
                                          Bibliothek und ins Album NAME (wird bei Bedarf angelegt)
  serve LIBRARY [--version TEXT] [--window]
                                          bietet die Bibliothek auf dem Sitzungsbus an, bis SIGTERM
                                          oder SIGINT kommt; der Versionstext ist sonst 9.6.1. Ein
                                          Dienst je Bibliothek: ein zweiter, auf welchem Bus auch
                                          immer, endet mit Status 1. Mit --window wird die Bibliothek
                                          auch in einem Fenster gezeigt; dessen Schließen beendet
                                          den Dienst
  open LIBRARY [--version TEXT]           dasselbe wie serve --window
  dump LIBRARY                            der ganze Katalog als JSON: photos (id, imageFilename,
                                          imagePath, originalPath, date, width, height, keywords,
                                          albums), albums (id, name, type, photos), keywords,
                                          selection, libraryAlbum, trashAlbum
  demo LIBRARY [--photos N] [--missing-images K] [--missing-masters K] [--zombies K]
                                          eine Demo-Bibliothek aus kleinen JPEGs (Vorgaben 40, 3, 2, 2)
  keyword-image OUT.jpg KEYWORD...        schreibt ein kleines JPEG mit den Schlagwörtern (IPTC, XMP)

Für Skripte und Tests (wirken, ob ein Dienst die Bibliothek anbietet oder nicht; ein laufender
Dienst sieht die Änderung bei seiner nächsten Anfrage):
  select LIBRARY --photos ID... | --album ID
  keyword add LIBRARY NAME                ein bekanntes Schlagwort (das vorhandene, wenn der Name
                                          in beliebiger Schreibung bekannt ist); gibt seine ID aus
  album create LIBRARY NAME [--type albm|smrt]
  photo add-record LIBRARY --image PATH [--original PATH] [--date MS] [--width W] [--height H]
                   [--album ID]           ein Katalogeintrag mit beliebigem Pfad, nichts wird kopiert
  edit LIBRARY PHOTO_ID                   erzeugt eine bearbeitete Fassung (Bildpfad != Masterpfad)
  fault LIBRARY --photo ID --null KEY     die Eigenschaft KEY antwortet mit dem fehlenden Wert
  fault LIBRARY --photo ID --absent KEY   die Eigenschaft KEY fehlt in der Antwort
  fault LIBRARY --photo ID --fail-properties
                                          die Eigenschaftsanfrage des Fotos schlägt fehl
  fault LIBRARY --photo ID --refuse-changes
                                          Schlagwortzuweisungen und Entfernen des Fotos schlagen fehl
  fault LIBRARY --version-error NAME MESSAGE
                                          die Versionsanfrage schlägt mit diesem D-Bus-Fehler fehl
  fault LIBRARY --import-delay MS         jeder Import dauert mindestens MS Millisekunden
  fault LIBRARY --stop-before-record      ein Import hält seinen Prozess an (SIGSTOP), nachdem er eine
                                          Kopie benannt und bevor er sie erfasst hat, damit ein Test
                                          ihn dort beenden kann
  fault LIBRARY --clear                   entfernt alle eingespeisten Fehler

Dieselben Änderungen lassen sich an einem laufenden Dienst über com.apple.iPhoto.Control unter
/control vornehmen: SelectItems(ao), AddKeyword(s) -&gt; o, EditPhoto(x) -&gt; s, SetNullKey(x, s),
SetAbsentKey(x, s), FailProperties(x), RefuseChanges(x), SetVersionError(s, s), SetImportDelay(i),
ClearFaults().
</translation>
    </message>
    <message numerus="yes">
        <source>%1 needs %n value(s)</source>
        <translation>
            <numerusform>%1 braucht %n Wert</numerusform>
            <numerusform>%1 braucht %n Werte</numerusform>
        </translation>
    </message>
    <message>
        <source>missing %1</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>Unerwartetes Argument %1</translation>
    </message>
    <message>
        <source>%1 is not a %2 id</source>
        <translation>%1 ist keine gültige ID für %2</translation>
    </message>
    <message>
        <source>%1 must be a number of at least 0, not %2</source>
        <translation>%1 muss eine Zahl ab 0 sein, nicht %2</translation>
    </message>
    <message>
        <source>created %1</source>
        <translation>%1 angelegt</translation>
    </message>
    <message>
        <source>nothing to import: name files or folders</source>
        <translation>Nichts zu importieren: Nennen Sie Dateien oder Ordner</translation>
    </message>
    <message>
        <source>cannot make the album %1: %2</source>
        <translation>Das Album %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>demo library %1: %2 photos, %3 missing images, %4 missing masters, %5 zombies</source>
        <translation>Demo-Bibliothek %1: %2 Fotos, %3 fehlende Bilder, %4 fehlende Master, %5 Zombies</translation>
    </message>
    <message>
        <source>name at least one keyword</source>
        <translation>Nennen Sie mindestens ein Schlagwort</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>select takes either --photos ID... or --album ID</source>
        <translation>select nimmt entweder --photos ID... oder --album ID</translation>
    </message>
    <message>
        <source>album</source>
        <translation>ein Album</translation>
    </message>
    <message>
        <source>no album with id %1</source>
        <translation>Kein Album mit der ID %1</translation>
    </message>
    <message>
        <source>photo</source>
        <translation>ein Foto</translation>
    </message>
    <message>
        <source>no photo with id %1</source>
        <translation>Kein Foto mit der ID %1</translation>
    </message>
    <message>
        <source>keyword subcommand (add)</source>
        <translation>Unterbefehl von keyword (add)</translation>
    </message>
    <message>
        <source>unknown keyword subcommand %1</source>
        <translation>Unbekannter Unterbefehl von keyword: %1</translation>
    </message>
    <message>
        <source>a keyword name cannot be %1</source>
        <translation>Ein Schlagwortname darf nicht %1 sein</translation>
    </message>
    <message>
        <source>album subcommand (create)</source>
        <translation>Unterbefehl von album (create)</translation>
    </message>
    <message>
        <source>unknown album subcommand %1</source>
        <translation>Unbekannter Unterbefehl von album: %1</translation>
    </message>
    <message>
        <source>--type is albm or smrt, not %1</source>
        <translation>--type ist albm oder smrt, nicht %1</translation>
    </message>
    <message>
        <source>photo subcommand (add-record)</source>
        <translation>Unterbefehl von photo (add-record)</translation>
    </message>
    <message>
        <source>unknown photo subcommand %1</source>
        <translation>Unbekannter Unterbefehl von photo: %1</translation>
    </message>
    <message>
        <source>add-record needs --image PATH</source>
        <translation>add-record braucht --image PATH</translation>
    </message>
    <message>
        <source>fault takes exactly one of --null, --absent, --fail-properties, --refuse-changes, --version-error, --import-delay, --stop-before-record, --clear</source>
        <translation>fault nimmt genau eine der Optionen --null, --absent, --fail-properties, --refuse-changes, --version-error, --import-delay, --stop-before-record, --clear</translation>
    </message>
    <message>
        <source>this fault needs --photo ID</source>
        <translation>Dieser Fehler braucht --photo ID</translation>
    </message>
    <message>
        <source>--photo goes with --null, --absent, --fail-properties or --refuse-changes</source>
        <translation>--photo gehört zu --null, --absent, --fail-properties oder --refuse-changes</translation>
    </message>
    <message>
        <source>%1 is not a D-Bus error name (such as com.example.Error.Failed)</source>
        <translation>%1 ist kein D-Bus-Fehlername (wie com.example.Error.Failed)</translation>
    </message>
    <message>
        <source>%1 is not a property key; the keys are %2</source>
        <translation>%1 ist kein Eigenschaftsschlüssel; die Schlüssel sind %2</translation>
    </message>
    <message>
        <source>no window can be shown here</source>
        <translation>Hier kann kein Fenster gezeigt werden</translation>
    </message>
    <message>
        <source>unknown command %1; see photoapp --help</source>
        <translation>Unbekannter Befehl %1; siehe photoapp --help</translation>
    </message>
    <message numerus="yes">
        <source>imported %1 of %n files</source>
        <translation>
            <numerusform>%1 von %n Datei importiert</numerusform>
            <numerusform>%1 von %n Dateien importiert</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DemoLibrary</name>
    <message>
        <source>counts must not be negative</source>
        <translation>Anzahlen dürfen nicht negativ sein</translation>
    </message>
    <message>
        <source>%1 missing images and %2 missing masters do not fit in %3 photos</source>
        <translation>%1 fehlende Bilder und %2 fehlende Master passen nicht in %3 Fotos</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>%1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot record photo %1: %2</source>
        <translation>Foto %1 kann nicht erfasst werden: %2</translation>
    </message>
    <message>
        <source>cannot write the catalogue: %1</source>
        <translation>Der Katalog kann nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>KeywordListModel</name>
    <message>
        <source>&quot;%1&quot; cannot be a keyword name (%2).</source>
        <translation>„%1“ kann kein Schlagwortname sein (%2).</translation>
    </message>
    <message>
        <source>The keyword &quot;%1&quot; could not be added: %2.</source>
        <translation>Das Schlagwort „%1“ konnte nicht hinzugefügt werden: %2.</translation>
    </message>
    <message>
        <source>The keyword &quot;%1&quot; could not be renamed: %2.</source>
        <translation>Das Schlagwort „%1“ konnte nicht umbenannt werden: %2.</translation>
    </message>
</context>
<context>
    <name>KeywordsPanel</name>
    <message>
        <source>Keywords</source>
        <translation>Schlagwörter</translation>
    </message>
    <message>
        <source>Edit Keywords</source>
        <translation>Schlagwörter bearbeiten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Add a keyword</source>
        <translation>Ein Schlagwort hinzufügen</translation>
    </message>
    <message>
        <source>Remove the chosen keyword</source>
        <translation>Das gewählte Schlagwort entfernen</translation>
    </message>
    <message>
        <source>Remove Keyword</source>
        <translation>Schlagwort entfernen</translation>
    </message>
    <message>
        <source>Remove the keyword &quot;%1&quot;?</source>
        <translation>Das Schlagwort „%1“ entfernen?</translation>
    </message>
    <message>
        <source>One photo carries it; it loses it.</source>
        <translation>Ein Foto trägt es; es verliert es.</translation>
    </message>
    <message numerus="yes">
        <source>%n photos carry it; they lose it.</source>
        <translation>
            <numerusform>%n Foto trägt es; es verliert es.</numerusform>
            <numerusform>%n Fotos tragen es; sie verlieren es.</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>The keyword could not be removed: %1.</source>
        <translation>Das Schlagwort konnte nicht entfernt werden: %1.</translation>
    </message>
</context>
<context>
    <name>LibraryLock</name>
    <message>
        <source>cannot lock the library %1: %2: %3</source>
        <translation>Die Bibliothek %1 kann nicht gesperrt werden: %2: %3</translation>
    </message>
    <message>
        <source>cannot lock the library %1: %2</source>
        <translation>Die Bibliothek %1 kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>the library %1 is already served by process %2; stop that one first</source>
        <translation>Die Bibliothek %1 wird bereits von Prozess %2 angeboten; beenden Sie zuerst diesen</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(unbekannt)</translation>
    </message>
</context>
<context>
    <name>LibraryPackage</name>
    <message>
        <source>%1 already exists</source>
        <translation>%1 existiert bereits</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>LibraryWindow</name>
    <message>
        <source>%1 — photoapp</source>
        <translation>%1 — photoapp</translation>
    </message>
    <message>
        <source>Search keywords and file names</source>
        <translation>Schlagwörter und Dateinamen durchsuchen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Fenster schließen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>Manage My Keywords</source>
        <translation>Meine Schlagwörter verwalten</translation>
    </message>
    <message>
        <source>The selection could not be saved: %1</source>
        <translation>Die Auswahl konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>No photos</source>
        <translation>Keine Fotos</translation>
    </message>
    <message>
        <source>1 photo</source>
        <translation>1 Foto</translation>
    </message>
    <message numerus="yes">
        <source>%Ln photos</source>
        <translation>
            <numerusform>%Ln Foto</numerusform>
            <numerusform>%Ln Fotos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln of %1 match “%2”</source>
        <translation>
            <numerusform>%Ln von %1 passt zu „%2“</numerusform>
            <numerusform>%Ln von %1 passen zu „%2“</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %Ln selected</source>
        <translation>
            <numerusform>, %Ln ausgewählt</numerusform>
            <numerusform>, %Ln ausgewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>An import is in progress.</source>
        <translation>Ein Import läuft.</translation>
    </message>
    <message>
        <source>Closing the window stops the photo application: the import ends after the file it is copying, and the photos imported so far stay in the library.</source>
        <translation>Das Schließen des Fensters beendet die Fotoanwendung: Der Import endet nach der Datei, die er gerade kopiert, und die bis dahin importierten Fotos bleiben in der Bibliothek.</translation>
    </message>
    <message>
        <source>Stop Import and Close</source>
        <translation>Import beenden und schließen</translation>
    </message>
</context>
<context>
    <name>PhotoGridModel</name>
    <message>
        <source>Image missing</source>
        <translation>Bild fehlt</translation>
    </message>
    <message>
        <source>Cannot be shown</source>
        <translation>Nicht darstellbar</translation>
    </message>
</context>
<context>
    <name>SampleImages</name>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>cannot make a temporary folder: %1</source>
        <translation>Es kann kein temporärer Ordner angelegt werden: %1</translation>
    </message>
    <message>
        <source>cannot read back %1</source>
        <translation>%1 kann nicht zurückgelesen werden</translation>
    </message>
</context>
<context>
    <name>WindowApplication</name>
    <message>
        <source>cannot show a window: %1</source>
        <translation>Es kann kein Fenster gezeigt werden: %1</translation>
    </message>
    <message>
        <source>no display to show a window on (neither DISPLAY nor WAYLAND_DISPLAY is set); photoapp serve LIBRARY serves the library without one</source>
        <translation>Keine Anzeige für ein Fenster (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt); photoapp serve LIBRARY bietet die Bibliothek ohne Fenster an</translation>
    </message>
</context>
</TS>
