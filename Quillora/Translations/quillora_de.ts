<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ActiveCatalogue</name>
    <message>
        <source>The stations come from %1, which Quillora cannot change: copy a station as a CSV row and paste it into that spreadsheet.</source>
        <translation>Die Sender stammen aus %1, das Quillora nicht ändern kann: Kopieren Sie einen Sender als CSV-Zeile und fügen Sie ihn in diese Tabelle ein.</translation>
    </message>
    <message>
        <source>d MMMM, HH:mm</source>
        <translation>d. MMMM, HH:mm</translation>
    </message>
    <message>
        <source>d MMMM yyyy, HH:mm</source>
        <translation>d. MMMM yyyy, HH:mm</translation>
    </message>
    <message>
        <source>Offline: stations from %1</source>
        <translation>Offline: Sender vom %1</translation>
    </message>
    <message>
        <source>Cannot create My stations: %1</source>
        <translation>»Meine Sender« kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>Cannot keep the catalogue in the store: %1</source>
        <translation>Der Katalog kann nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>%1 holds no station.</source>
        <translation>%1 enthält keinen Sender.</translation>
    </message>
    <message>
        <source>Cannot remember the catalogue in the settings: %1</source>
        <translation>Der Katalog kann nicht in den Einstellungen gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Catalogue: %1</source>
        <translation>Katalog: %1</translation>
    </message>
    <message>
        <source>The stations come from %1, which Quillora cannot change.</source>
        <translation>Die Sender stammen aus %1, das Quillora nicht ändern kann.</translation>
    </message>
    <message>
        <source>“%1” is already in %2.</source>
        <translation>„%1“ ist bereits in %2.</translation>
    </message>
    <message>
        <source>Station removed</source>
        <translation>Sender entfernt</translation>
    </message>
    <message>
        <source>Removed “%1”</source>
        <translation>„%1“ entfernt</translation>
    </message>
    <message>
        <source>Station moved</source>
        <translation>Sender verschoben</translation>
    </message>
    <message>
        <source>Moved “%1”</source>
        <translation>„%1“ verschoben</translation>
    </message>
    <message>
        <source>Cannot undo: %1</source>
        <translation>Rückgängig machen nicht möglich: %1</translation>
    </message>
    <message>
        <source>Nothing imported: %1 is not a file on this computer</source>
        <translation>Nichts importiert: %1 ist keine Datei auf diesem Rechner</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n station(s) to %1</source>
        <translation>
            <numerusform>%n Sender nach %1 exportiert</numerusform>
            <numerusform>%n Sender nach %1 exportiert</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Unresolved error %1, {%2}</source>
        <translation>Ungelöster Fehler %1, {%2}</translation>
    </message>
</context>
<context>
    <name>AvLibrary</name>
    <message>
        <source>Cannot load %1: %2</source>
        <translation>%1 kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <source>Cannot use libavformat: %1 is missing</source>
        <translation>libavformat ist nicht nutzbar: %1 fehlt</translation>
    </message>
</context>
<context>
    <name>CachesDirectory</name>
    <message>
        <source>No caches directory for this user</source>
        <translation>Kein Zwischenspeicher-Ordner für diesen Benutzer</translation>
    </message>
</context>
<context>
    <name>CatalogueDropArea</name>
    <message>
        <source>Drop a CSV file or an address to use it as the catalogue</source>
        <translation>Legen Sie eine CSV-Datei oder eine Adresse ab, um sie als Katalog zu verwenden</translation>
    </message>
</context>
<context>
    <name>CatalogueFile</name>
    <message>
        <source>Could not create the folder %1</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>The starter catalogue is missing from the application</source>
        <translation>Der Startkatalog fehlt in der Anwendung</translation>
    </message>
    <message>
        <source>Created %1 from the starter catalogue</source>
        <translation>%1 aus dem Startkatalog angelegt</translation>
    </message>
    <message>
        <source>A station needs a title.</source>
        <translation>Ein Sender braucht einen Titel.</translation>
    </message>
    <message>
        <source>The stream address must be an http:// or https:// address.</source>
        <translation>Die Streamadresse muss eine http://- oder https://-Adresse sein.</translation>
    </message>
    <message>
        <source>The logo address must be empty or an http:// or https:// address.</source>
        <translation>Die Logoadresse muss leer oder eine http://- oder https://-Adresse sein.</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>No id is left for a new station.</source>
        <translation>Für einen neuen Sender ist keine Kennung mehr frei.</translation>
    </message>
    <message>
        <source>There is no station with id %1 in %2.</source>
        <translation>In %2 gibt es keinen Sender mit der Kennung %1.</translation>
    </message>
    <message>
        <source>No id is left for the station.</source>
        <translation>Für den Sender ist keine Kennung mehr frei.</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>CatalogueRetry</name>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>%1; showing the stored stations until the network is back</source>
        <translation>%1; die gespeicherten Sender werden angezeigt, bis das Netzwerk zurück ist</translation>
    </message>
    <message>
        <source>%1; trying again in %2</source>
        <translation>%1; neuer Versuch in %2</translation>
    </message>
</context>
<context>
    <name>CatalogueSource</name>
    <message>
        <source>My stations</source>
        <translation>Meine Sender</translation>
    </message>
    <message>
        <source>Paste the address of a catalogue, or choose a CSV file.</source>
        <translation>Fügen Sie die Adresse eines Katalogs ein oder wählen Sie eine CSV-Datei.</translation>
    </message>
    <message>
        <source>This is not an address: it should begin with https://, http:// or file://.</source>
        <translation>Das ist keine Adresse: Sie sollte mit https://, http:// oder file:// beginnen.</translation>
    </message>
    <message>
        <source>The address names no server.</source>
        <translation>Die Adresse nennt keinen Server.</translation>
    </message>
    <message>
        <source>A catalogue address begins with https://, http:// or file://, not %1:.</source>
        <translation>Eine Katalogadresse beginnt mit https://, http:// oder file://, nicht mit %1:.</translation>
    </message>
    <message>
        <source>Only files on this computer can be opened.</source>
        <translation>Nur Dateien auf diesem Rechner können geöffnet werden.</translation>
    </message>
    <message>
        <source>The address names no file.</source>
        <translation>Die Adresse nennt keine Datei.</translation>
    </message>
    <message>
        <source>There is no file at %1.</source>
        <translation>Unter %1 gibt es keine Datei.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a CSV file.</source>
        <translation>%1 ist ein Ordner, keine CSV-Datei.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Ignoring the catalogue of %1: %2</source>
        <translation>Der Katalog aus %1 wird ignoriert: %2</translation>
    </message>
    <message>
        <source>Could not save the choice of catalogue in %1</source>
        <translation>Die Katalogwahl konnte nicht in %1 gespeichert werden</translation>
    </message>
</context>
<context>
    <name>CatalogueStateView</name>
    <message>
        <source>My stations is empty</source>
        <translation>»Meine Sender« ist leer</translation>
    </message>
    <message>
        <source>%1 holds no station</source>
        <translation>%1 enthält keinen Sender</translation>
    </message>
    <message>
        <source>Find stations in the directory, or choose another catalogue.</source>
        <translation>Suchen Sie Sender im Verzeichnis oder wählen Sie einen anderen Katalog.</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Discover</source>
        <translation>Entdecken</translation>
    </message>
    <message>
        <source>Stations…</source>
        <translation>Sender …</translation>
    </message>
</context>
<context>
    <name>CatalogueTable</name>
    <message>
        <source>not %1 text</source>
        <translation>kein %1-Text</translation>
    </message>
    <message>
        <source>the id is empty</source>
        <translation>die Kennung ist leer</translation>
    </message>
    <message>
        <source>the id &quot;%1&quot; is not a whole number</source>
        <translation>die Kennung „%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>the url is empty</source>
        <translation>die URL ist leer</translation>
    </message>
    <message>
        <source>the title is empty</source>
        <translation>der Titel ist leer</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>größer als %1 MB</translation>
    </message>
    <message>
        <source>a web page</source>
        <translation>eine Webseite</translation>
    </message>
    <message>
        <source>no %1 column in its first row</source>
        <translation>keine Spalte %1 in der ersten Zeile</translation>
    </message>
    <message>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <source>its one row is not a station</source>
        <translation>die einzige Zeile ist kein Sender</translation>
    </message>
    <message>
        <source>none of its %1 rows is a station</source>
        <translation>keine der %1 Zeilen ist ein Sender</translation>
    </message>
    <message>
        <source>Skipped row %1 of %2: %3</source>
        <translation>Zeile %1 von %2 übersprungen: %3</translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n more rows of %1</source>
        <translation>
            <numerusform>%n weitere Zeile von %1 übersprungen</numerusform>
            <numerusform>%n weitere Zeilen von %1 übersprungen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Internet-radio player: opens its window, or plays without one (--headless).

The stations come from My stations (stations.csv in the data folder,
~/.local/share/quillora/), or from the address given by --catalogue,
QUILLORA_CATALOGUE_URL or the catalogue key of
~/.config/quillora/quillora.conf, in this order.

Environment:
  QUILLORA_CATALOGUE_URL  catalogue address when --catalogue is not given
  QUILLORA_DIRECTORY_URL  station directory server (http://host:port) in
                          place of the community directory&apos;s servers
  QUILLORA_RENDERER       software or opengl: how the window draws (by
                          default software where OpenGL itself would
                          run in software, as on a server without DRI)
  QUILLORA_MPV_OPTIONS    extra libmpv options for debugging, as
                          comma-separated name=value pairs
                          (e.g. ao=pcm,ao-pcm-file=/tmp/out.raw)</source>
        <translation>Internetradio-Player: öffnet sein Fenster oder spielt ohne Fenster (--headless).

Die Sender stammen aus »Meine Sender« (stations.csv im Datenordner,
~/.local/share/quillora/) oder von der Adresse aus --catalogue,
QUILLORA_CATALOGUE_URL oder dem Schlüssel catalogue in
~/.config/quillora/quillora.conf, in dieser Reihenfolge.

Umgebung:
  QUILLORA_CATALOGUE_URL  Katalogadresse, wenn --catalogue fehlt
  QUILLORA_DIRECTORY_URL  Server des Senderverzeichnisses (http://host:port)
                          anstelle der Server des Community-Verzeichnisses
  QUILLORA_RENDERER       software oder opengl: wie das Fenster zeichnet
                          (standardmäßig software, wo OpenGL selbst in
                          Software liefe, etwa auf einem Server ohne DRI)
  QUILLORA_MPV_OPTIONS    zusätzliche libmpv-Optionen zur Fehlersuche als
                          kommagetrennte Paare name=wert
                          (z. B. ao=pcm,ao-pcm-file=/tmp/out.raw)</translation>
    </message>
    <message>
        <source>Play without a window, driven by the media controls (MPRIS).</source>
        <translation>Ohne Fenster abspielen, gesteuert über die Mediensteuerung (MPRIS).</translation>
    </message>
    <message>
        <source>Load the station catalogue (CSV) from &lt;url&gt;: http, https, file or a path.</source>
        <translation>Den Senderkatalog (CSV) von &lt;url&gt; laden: http, https, file oder ein Pfad.</translation>
    </message>
    <message>
        <source>Add the stations of the files to My stations: M3U, PLS, XSPF, Goodvibes stations.xml, Radiotray-NG bookmarks.json, pyradio stations.csv, or any CSV with a URL column.</source>
        <translation>Die Sender der Dateien zu »Meine Sender« hinzufügen: M3U, PLS, XSPF, stations.xml von Goodvibes, bookmarks.json von Radiotray-NG, stations.csv von pyradio oder jede CSV-Datei mit einer URL-Spalte.</translation>
    </message>
    <message>
        <source>Write the stations in use (My stations, or the catalogue of --catalogue) as &lt;format&gt;: m3u, pls, xspf or csv, to the file given, else to standard output.</source>
        <translation>Die verwendeten Sender (»Meine Sender« oder den Katalog von --catalogue) als &lt;format&gt; schreiben: m3u, pls, xspf oder csv, in die angegebene Datei, sonst auf die Standardausgabe.</translation>
    </message>
    <message>
        <source>The files of --import or --export.</source>
        <translation>Die Dateien für --import oder --export.</translation>
    </message>
    <message>
        <source>--import needs at least one file.</source>
        <translation>--import braucht mindestens eine Datei.</translation>
    </message>
    <message>
        <source>--export writes one file.</source>
        <translation>--export schreibt eine Datei.</translation>
    </message>
</context>
<context>
    <name>CompositionRoot</name>
    <message>
        <source>Playing a radio station</source>
        <translation>Ein Radiosender wird abgespielt</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Stations</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Search stations</source>
        <translation>Sender suchen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Reconnecting in %1 s…</source>
        <translation>Neue Verbindung in %1 s …</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Verbindung wird wiederhergestellt …</translation>
    </message>
    <message>
        <source>Recently played</source>
        <translation>Zuletzt gespielt</translation>
    </message>
    <message>
        <source>Previous station</source>
        <translation>Vorheriger Sender</translation>
    </message>
    <message>
        <source>Next station</source>
        <translation>Nächster Sender</translation>
    </message>
    <message>
        <source>My stations</source>
        <translation>Meine Sender</translation>
    </message>
    <message>
        <source>Save last song</source>
        <translation>Letzten Titel speichern</translation>
    </message>
    <message>
        <source>Save %1</source>
        <translation>%1 speichern</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>Cannot create the folder of the store</source>
        <translation>Der Ordner des Speichers kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The store %1 could not be read (%2); moved it to %3 and started a fresh one</source>
        <translation>Der Speicher %1 konnte nicht gelesen werden (%2); er wurde nach %3 verschoben und ein neuer begonnen</translation>
    </message>
</context>
<context>
    <name>DirectoryClient</name>
    <message>
        <source>Directory: QUILLORA_DIRECTORY_URL is not an http or https address: %1</source>
        <translation>Verzeichnis: QUILLORA_DIRECTORY_URL ist keine http- oder https-Adresse: %1</translation>
    </message>
    <message>
        <source>Directory: no click counted for a station without a directory identifier</source>
        <translation>Verzeichnis: kein Klick gezählt für einen Sender ohne Verzeichniskennung</translation>
    </message>
    <message>
        <source>Directory: servers %1</source>
        <translation>Verzeichnis: Server %1</translation>
    </message>
    <message>
        <source>Directory: now using %1</source>
        <translation>Verzeichnis: verwendet jetzt %1</translation>
    </message>
</context>
<context>
    <name>DirectoryReply</name>
    <message>
        <source>The station directory cannot be reached.</source>
        <translation>Das Senderverzeichnis ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>The station directory did not answer in time.</source>
        <translation>Das Senderverzeichnis hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The station directory is not working right now.</source>
        <translation>Das Senderverzeichnis funktioniert gerade nicht.</translation>
    </message>
    <message>
        <source>The station directory sent an answer Quillora cannot read.</source>
        <translation>Das Senderverzeichnis hat eine Antwort geschickt, die Quillora nicht lesen kann.</translation>
    </message>
    <message>
        <source>The station directory sent an answer too large to read.</source>
        <translation>Das Senderverzeichnis hat eine zu große Antwort geschickt.</translation>
    </message>
    <message>
        <source>QUILLORA_DIRECTORY_URL is not an http or https address.</source>
        <translation>QUILLORA_DIRECTORY_URL ist keine http- oder https-Adresse.</translation>
    </message>
    <message>
        <source>Directory: %1%2 failed: %3</source>
        <translation>Verzeichnis: %1%2 fehlgeschlagen: %3</translation>
    </message>
</context>
<context>
    <name>DirectorySearchModel</name>
    <message>
        <source>No stations found</source>
        <translation>Keine Sender gefunden</translation>
    </message>
</context>
<context>
    <name>DirectoryServerDiscovery</name>
    <message>
        <source>Directory: no servers found for %1 (%2)</source>
        <translation>Verzeichnis: keine Server für %1 gefunden (%2)</translation>
    </message>
</context>
<context>
    <name>DiscoverRow</name>
    <message>
        <source>%1 kbit/s</source>
        <translation>%1 kbit/s</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Als CSV-Zeile kopieren</translation>
    </message>
</context>
<context>
    <name>DiscoverSheet</name>
    <message>
        <source>Discover</source>
        <translation>Entdecken</translation>
    </message>
    <message>
        <source>Discover stations</source>
        <translation>Sender entdecken</translation>
    </message>
    <message>
        <source>Add station…</source>
        <translation>Sender hinzufügen …</translation>
    </message>
    <message>
        <source>Search stations by name</source>
        <translation>Sender nach Namen suchen</translation>
    </message>
    <message>
        <source>Stations found</source>
        <translation>Gefundene Sender</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Find stations by name, or pick a tag.</source>
        <translation>Suchen Sie Sender nach Namen oder wählen Sie ein Schlagwort.</translation>
    </message>
    <message>
        <source>No stations found</source>
        <translation>Keine Sender gefunden</translation>
    </message>
    <message>
        <source>Try another name, tag or country, or add the station by its stream address.</source>
        <translation>Versuchen Sie einen anderen Namen, ein anderes Schlagwort oder Land, oder fügen Sie den Sender über seine Streamadresse hinzu.</translation>
    </message>
</context>
<context>
    <name>ExchangeCommands</name>
    <message>
        <source>Cannot export as &quot;%1&quot;: the formats are m3u, pls, xspf and csv.</source>
        <translation>Export als „%1“ nicht möglich: Die Formate sind m3u, pls, xspf und csv.</translation>
    </message>
    <message>
        <source>Nothing exported: %1 is %2</source>
        <translation>Nichts exportiert: %1: %2</translation>
    </message>
    <message>
        <source>Nothing exported: %1 has not been loaded yet; start Quillora with it once.</source>
        <translation>Nichts exportiert: %1 wurde noch nicht geladen; starten Sie Quillora einmal damit.</translation>
    </message>
    <message>
        <source>Nothing exported: could not write to standard output</source>
        <translation>Nichts exportiert: Die Standardausgabe konnte nicht beschrieben werden</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n station(s) to %1</source>
        <translation>
            <numerusform>%n Sender nach %1 exportiert</numerusform>
            <numerusform>%n Sender nach %1 exportiert</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Playlists and station lists</source>
        <translation>Wiedergabelisten und Senderlisten</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>%1 playlist</source>
        <translation>%1-Wiedergabeliste</translation>
    </message>
    <message>
        <source>The file dialog did not open: %1</source>
        <translation>Der Dateidialog hat sich nicht geöffnet: %1</translation>
    </message>
    <message>
        <source>The file dialog did not open.</source>
        <translation>Der Dateidialog hat sich nicht geöffnet.</translation>
    </message>
    <message>
        <source>The file dialog closed without a file.</source>
        <translation>Der Dateidialog wurde ohne Datei geschlossen.</translation>
    </message>
</context>
<context>
    <name>FileIndex</name>
    <message>
        <source>The index store is not available: %1</source>
        <translation>Der Index-Speicher ist nicht verfügbar: %1</translation>
    </message>
    <message>
        <source>The index store %1 is unreadable (%2): starting with an empty index</source>
        <translation>Der Index-Speicher %1 ist nicht lesbar (%2): Es wird mit einem leeren Index begonnen</translation>
    </message>
</context>
<context>
    <name>GetError</name>
    <message>
        <source>The address is not an http or https address.</source>
        <translation>Die Adresse ist keine http- oder https-Adresse.</translation>
    </message>
    <message>
        <source>The server sent the request on to an address that is not followed.</source>
        <translation>Der Server hat die Anfrage an eine Adresse weitergeleitet, der nicht gefolgt wird.</translation>
    </message>
    <message>
        <source>The server is not answering.</source>
        <translation>Der Server antwortet nicht.</translation>
    </message>
    <message>
        <source>The secure connection failed.</source>
        <translation>Die sichere Verbindung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The server did not send a whole answer in time.</source>
        <translation>Der Server hat nicht rechtzeitig eine vollständige Antwort geschickt.</translation>
    </message>
    <message>
        <source>The server answered %1.</source>
        <translation>Der Server hat mit %1 geantwortet.</translation>
    </message>
    <message>
        <source>The answer is too large.</source>
        <translation>Die Antwort ist zu groß.</translation>
    </message>
    <message>
        <source>The transfer stopped half way.</source>
        <translation>Die Übertragung ist mittendrin abgebrochen.</translation>
    </message>
    <message>
        <source>The transfer was cancelled.</source>
        <translation>Die Übertragung wurde abgebrochen.</translation>
    </message>
</context>
<context>
    <name>GuestMarker</name>
    <message>
        <source>My stations</source>
        <translation>Meine Sender</translation>
    </message>
    <message>
        <source>Not in %1</source>
        <translation>Nicht in %1</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Zu %1 hinzufügen</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Als CSV-Zeile kopieren</translation>
    </message>
    <message>
        <source>Quillora cannot write to %1</source>
        <translation>Quillora kann nicht in %1 schreiben</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder of %1</source>
        <translation>Der Ordner von %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>LoadFailure</name>
    <message>
        <source>the address is not an http, https or file address</source>
        <translation>die Adresse ist keine http-, https- oder file-Adresse</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the server answered %1</source>
        <translation>der Server hat mit %1 geantwortet</translation>
    </message>
    <message>
        <source>the server is not answering</source>
        <translation>der Server antwortet nicht</translation>
    </message>
    <message>
        <source>the secure connection failed</source>
        <translation>die sichere Verbindung ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the file is not a station list</source>
        <translation>die Datei ist keine Senderliste</translation>
    </message>
    <message>
        <source>the answer is not a station list</source>
        <translation>die Antwort ist keine Senderliste</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>die Datei ist zu groß</translation>
    </message>
    <message>
        <source>the answer is too large</source>
        <translation>die Antwort ist zu groß</translation>
    </message>
    <message>
        <source>the transfer stopped half way</source>
        <translation>die Übertragung ist mittendrin abgebrochen</translation>
    </message>
    <message>
        <source>Could not load the stations from %1: %2</source>
        <translation>Die Sender aus %1 konnten nicht geladen werden: %2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Stops in %1</source>
        <translation>Stoppt in %1</translation>
    </message>
    <message>
        <source>Opens the settings to change or cancel the sleep timer.</source>
        <translation>Öffnet die Einstellungen, um den Schlaf-Timer zu ändern oder abzubrechen.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
</context>
<context>
    <name>MprisService</name>
    <message>
        <source>No D-Bus session bus: media controls are off</source>
        <translation>Kein D-Bus-Sitzungsbus: Die Mediensteuerung ist aus</translation>
    </message>
    <message>
        <source>Cannot export the media controls: %1</source>
        <translation>Die Mediensteuerung kann nicht bereitgestellt werden: %1</translation>
    </message>
    <message>
        <source>Cannot register the media controls: %1</source>
        <translation>Die Mediensteuerung kann nicht angemeldet werden: %1</translation>
    </message>
</context>
<context>
    <name>MpvLibrary</name>
    <message>
        <source>Cannot load the media player (%1): %2</source>
        <translation>Der Medienspieler kann nicht geladen werden (%1): %2</translation>
    </message>
    <message>
        <source>Cannot use the media player (%1): a function is missing</source>
        <translation>Der Medienspieler kann nicht verwendet werden (%1): Eine Funktion fehlt</translation>
    </message>
</context>
<context>
    <name>MpvMediaPlayer</name>
    <message>
        <source>Ignoring %1 entry %2: %3</source>
        <translation>Eintrag %2 aus %1 wird ignoriert: %3</translation>
    </message>
    <message>
        <source>Cannot create the media player</source>
        <translation>Der Medienspieler kann nicht erzeugt werden</translation>
    </message>
    <message>
        <source>Media player option %1=%2: %3</source>
        <translation>Medienspieler-Option %1=%2: %3</translation>
    </message>
    <message>
        <source>Cannot start the media player: %1</source>
        <translation>Der Medienspieler kann nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>OfflineNote</name>
    <message>
        <source>Try loading the stations again</source>
        <translation>Sender erneut laden</translation>
    </message>
</context>
<context>
    <name>PlayButton</name>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Verbindung wird hergestellt</translation>
    </message>
</context>
<context>
    <name>PlaybackSession</name>
    <message>
        <source>Cannot play %1: not an http(s) stream address</source>
        <translation>%1 kann nicht abgespielt werden: keine http(s)-Streamadresse</translation>
    </message>
    <message>
        <source>The media player cannot start</source>
        <translation>Der Medienspieler kann nicht starten</translation>
    </message>
    <message>
        <source>Reconnecting (attempt %1%2) after %3</source>
        <translation>Neue Verbindung (Versuch %1%2) nach %3</translation>
    </message>
    <message numerus="yes">
        <source>Playback failed after %n tries: %1</source>
        <translation>
            <numerusform>Wiedergabe nach %n Versuch fehlgeschlagen: %1</numerusform>
            <numerusform>Wiedergabe nach %n Versuchen fehlgeschlagen: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message numerus="yes">
        <source>Loaded %n stations</source>
        <translation>
            <numerusform>%n Sender geladen</numerusform>
            <numerusform>%n Sender geladen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecentlyPlayed</name>
    <message>
        <source>Cannot keep the recently played songs: %1</source>
        <translation>Die zuletzt gespielten Titel können nicht gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>RecentlyPlayedRow</name>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
</context>
<context>
    <name>RecentlyPlayedSheet</name>
    <message>
        <source>Recently played</source>
        <translation>Zuletzt gespielt</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>No songs yet</source>
        <translation>Noch keine Titel</translation>
    </message>
    <message>
        <source>Songs appear here as the stations announce them.</source>
        <translation>Titel erscheinen hier, sobald die Sender sie ansagen.</translation>
    </message>
</context>
<context>
    <name>RecordSwitch</name>
    <message>
        <source>Keep songs</source>
        <translation>Titel behalten</translation>
    </message>
    <message>
        <source>Recording this song</source>
        <translation>Dieser Titel wird aufgenommen</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Cannot write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Kept %1</source>
        <translation>%1 behalten</translation>
    </message>
    <message>
        <source>Cannot keep songs: %1 cannot be written</source>
        <translation>Titel können nicht behalten werden: In %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Recording paused: less than 500 MB free on the disk of %1</source>
        <translation>Aufnahme pausiert: weniger als 500 MB frei auf dem Datenträger von %1</translation>
    </message>
</context>
<context>
    <name>RecordingSettings</name>
    <message>
        <source>quillora.conf: [recording] %1=%2 is not a number of seconds; using %3</source>
        <translation>quillora.conf: [recording] %1=%2 ist keine Anzahl Sekunden; %3 wird verwendet</translation>
    </message>
    <message>
        <source>quillora.conf: [recording] mode=%1 is not off, all or decide; recording is off</source>
        <translation>quillora.conf: [recording] mode=%1 ist weder off, all noch decide; die Aufnahme ist aus</translation>
    </message>
</context>
<context>
    <name>SearchField</name>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>SettingsSheet</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Keep playing when the window closes</source>
        <translation>Weiterspielen, wenn das Fenster geschlossen wird</translation>
    </message>
    <message>
        <source>The media controls and the tray icon bring it back.</source>
        <translation>Die Mediensteuerung und das Symbol im Infobereich holen es zurück.</translation>
    </message>
    <message>
        <source>Notify when the song changes</source>
        <translation>Benachrichtigen, wenn der Titel wechselt</translation>
    </message>
    <message>
        <source>Not while the window is in front.</source>
        <translation>Nicht, solange das Fenster im Vordergrund ist.</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>As the desktop</source>
        <translation>Wie die Arbeitsumgebung</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Sleep timer</source>
        <translation>Schlaf-Timer</translation>
    </message>
    <message>
        <source>Stops in %1</source>
        <translation>Stoppt in %1</translation>
    </message>
    <message>
        <source>Starts while a station plays.</source>
        <translation>Startet, während ein Sender spielt.</translation>
    </message>
    <message numerus="yes">
        <source>Stop in %n minutes</source>
        <translation>
            <numerusform>In %n Minute stoppen</numerusform>
            <numerusform>In %n Minuten stoppen</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Keeping songs</source>
        <translation>Titel behalten</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Every song</source>
        <translation>Jeden Titel</translation>
    </message>
    <message>
        <source>I choose</source>
        <translation>Ich wähle aus</translation>
    </message>
    <message>
        <source>Every song heard from its start to its end is kept in the folder.</source>
        <translation>Jeder vom Anfang bis zum Ende gehörte Titel wird im Ordner behalten.</translation>
    </message>
    <message>
        <source>The last ten songs wait; Save keeps one in the folder.</source>
        <translation>Die letzten zehn Titel warten; „Speichern“ behält einen im Ordner.</translation>
    </message>
    <message>
        <source>The switch beside the song still keeps one station&apos;s songs.</source>
        <translation>Der Schalter neben dem Titel behält weiterhin die Titel eines Senders.</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Ordner: %1</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen…</translation>
    </message>
    <message>
        <source>Folder for kept songs</source>
        <translation>Ordner für behaltene Titel</translation>
    </message>
    <message>
        <source>No folder dialog on this desktop: set folder= under [recording] in quillora.conf.</source>
        <translation>Kein Ordnerdialog auf diesem Desktop: folder= unter [recording] in quillora.conf setzen.</translation>
    </message>
</context>
<context>
    <name>Sheet</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>Cannot claim %1 on the session bus: %2</source>
        <translation>%1 kann auf dem Sitzungsbus nicht belegt werden: %2</translation>
    </message>
    <message>
        <source>Quillora is running but does not answer: %1</source>
        <translation>Quillora läuft, antwortet aber nicht: %1</translation>
    </message>
</context>
<context>
    <name>SongCutter</name>
    <message>
        <source>Cannot read the recording: %1</source>
        <translation>Die Aufnahme kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The recording holds no audio</source>
        <translation>Die Aufnahme enthält keinen Ton</translation>
    </message>
    <message>
        <source>Songs in %1 cannot be kept</source>
        <translation>Titel in %1 können nicht behalten werden</translation>
    </message>
    <message>
        <source>Nothing was recorded</source>
        <translation>Es wurde nichts aufgenommen</translation>
    </message>
    <message>
        <source>Cannot set up the song&apos;s file</source>
        <translation>Die Datei des Titels kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>SongHistory</name>
    <message>
        <source>Cannot read the recently played songs: %1</source>
        <translation>Die zuletzt gespielten Titel können nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>SongLine</name>
    <message>
        <source>Recently played</source>
        <translation>Zuletzt gespielt</translation>
    </message>
</context>
<context>
    <name>SongNotifier</name>
    <message>
        <source>The song notification failed: %1</source>
        <translation>Die Titelbenachrichtigung ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
</context>
<context>
    <name>StateStore</name>
    <message>
        <source>The store could not be read: %1</source>
        <translation>Der Speicher konnte nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>StationEditing</name>
    <message>
        <source>Added “%1” to %2</source>
        <translation>„%1“ zu %2 hinzugefügt</translation>
    </message>
    <message>
        <source>Copied “%1” as a CSV row: paste it into %2</source>
        <translation>„%1“ als CSV-Zeile kopiert: Fügen Sie sie in %2 ein</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Zu %1 hinzufügen</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Als CSV-Zeile kopieren</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Bearbeiten …</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Add station…</source>
        <translation>Sender hinzufügen …</translation>
    </message>
    <message>
        <source>Station actions</source>
        <translation>Senderaktionen</translation>
    </message>
</context>
<context>
    <name>StationExchange</name>
    <message>
        <source>not a playlist or station list: %1</source>
        <translation>keine Wiedergabeliste und keine Senderliste: %1</translation>
    </message>
    <message>
        <source>not a playlist or station list: a table without a URL column</source>
        <translation>keine Wiedergabeliste und keine Senderliste: eine Tabelle ohne URL-Spalte</translation>
    </message>
    <message>
        <source>a JSON object</source>
        <translation>ein JSON-Objekt</translation>
    </message>
    <message>
        <source>a JSON value</source>
        <translation>ein JSON-Wert</translation>
    </message>
    <message>
        <source>JSON nested deeper than %1 levels</source>
        <translation>JSON, das tiefer als %1 Ebenen verschachtelt ist</translation>
    </message>
    <message>
        <source>not a playlist or station list: not valid JSON (at byte %1: %2)</source>
        <translation>keine Wiedergabeliste und keine Senderliste: kein gültiges JSON (bei Byte %1: %2)</translation>
    </message>
    <message>
        <source>not a list: %1, not Radiotray-NG&apos;s list of bookmark groups</source>
        <translation>keine Liste: %1, nicht die Lesezeichengruppen von Radiotray-NG</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>größer als %1 MB</translation>
    </message>
    <message>
        <source>not a playlist or station list: not text</source>
        <translation>keine Wiedergabeliste und keine Senderliste: kein Text</translation>
    </message>
    <message>
        <source>not a playlist or station list: empty</source>
        <translation>keine Wiedergabeliste und keine Senderliste: leer</translation>
    </message>
    <message>
        <source>not a playlist or station list: it holds no stream address</source>
        <translation>keine Wiedergabeliste und keine Senderliste: Sie enthält keine Streamadresse</translation>
    </message>
    <message>
        <source>M3U playlist</source>
        <translation>M3U-Wiedergabeliste</translation>
    </message>
    <message>
        <source>PLS playlist</source>
        <translation>PLS-Wiedergabeliste</translation>
    </message>
    <message>
        <source>XSPF playlist</source>
        <translation>XSPF-Wiedergabeliste</translation>
    </message>
    <message>
        <source>Goodvibes stations</source>
        <translation>Goodvibes-Sender</translation>
    </message>
    <message>
        <source>Radiotray-NG bookmarks</source>
        <translation>Radiotray-NG-Lesezeichen</translation>
    </message>
    <message>
        <source>pyradio stations</source>
        <translation>pyradio-Sender</translation>
    </message>
    <message>
        <source>CSV station list</source>
        <translation>CSV-Senderliste</translation>
    </message>
    <message>
        <source>more than %1 stations</source>
        <translation>mehr als %1 Sender</translation>
    </message>
    <message>
        <source>an XML file with entity declarations, which are refused</source>
        <translation>eine XML-Datei mit Entity-Deklarationen, die abgelehnt werden</translation>
    </message>
    <message>
        <source>not a playlist or station list: an XML file whose root is &lt;%1&gt;, not an XSPF &lt;playlist&gt; or Goodvibes &lt;Stations&gt;</source>
        <translation>keine Wiedergabeliste und keine Senderliste: eine XML-Datei mit der Wurzel &lt;%1&gt;, nicht XSPF-&lt;playlist&gt; oder Goodvibes-&lt;Stations&gt;</translation>
    </message>
    <message>
        <source>not well-formed XML (line %1: %2)</source>
        <translation>kein wohlgeformtes XML (Zeile %1: %2)</translation>
    </message>
</context>
<context>
    <name>StationFormSheet</name>
    <message>
        <source>Copied “%1” as a CSV row</source>
        <translation>„%1“ als CSV-Zeile kopiert</translation>
    </message>
    <message>
        <source>Added “%1” to %2</source>
        <translation>„%1“ zu %2 hinzugefügt</translation>
    </message>
    <message>
        <source>Saved “%1”</source>
        <translation>„%1“ gespeichert</translation>
    </message>
    <message>
        <source>Add station</source>
        <translation>Sender hinzufügen</translation>
    </message>
    <message>
        <source>Edit station</source>
        <translation>Sender bearbeiten</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>The station&apos;s name</source>
        <translation>Der Name des Senders</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Optional, for example Jazz</source>
        <translation>Optional, zum Beispiel Jazz</translation>
    </message>
    <message>
        <source>Stream address</source>
        <translation>Streamadresse</translation>
    </message>
    <message>
        <source>Logo address</source>
        <translation>Logoadresse</translation>
    </message>
    <message>
        <source>Optional, https://…</source>
        <translation>Optional, https://…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Als CSV-Zeile kopieren</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
</context>
<context>
    <name>StationImport</name>
    <message numerus="yes">
        <source>%n already in My stations</source>
        <translation>
            <numerusform>%n bereits in »Meine Sender«</numerusform>
            <numerusform>%n bereits in »Meine Sender«</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: not an http(s) address</source>
        <translation>
            <numerusform>%n übersprungen: keine http(s)-Adresse</numerusform>
            <numerusform>%n übersprungen: keine http(s)-Adressen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %n station(s)</source>
        <translation>
            <numerusform>%n Sender importiert</numerusform>
            <numerusform>%n Sender importiert</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Nothing imported: %1 is %2</source>
        <translation>Nichts importiert: %1 ist %2</translation>
    </message>
    <message>
        <source>Nothing imported: more than %1 stations</source>
        <translation>Nichts importiert: mehr als %1 Sender</translation>
    </message>
    <message>
        <source>Nothing imported: %1</source>
        <translation>Nichts importiert: %1</translation>
    </message>
    <message>
        <source>Nothing imported: could not read %1: %2</source>
        <translation>Nichts importiert: %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
</context>
<context>
    <name>StationList</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Filter stations</source>
        <translation>Sender filtern</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Sender</translation>
    </message>
</context>
<context>
    <name>StationRow</name>
    <message>
        <source>Playing</source>
        <translation>Läuft</translation>
    </message>
</context>
<context>
    <name>StationView</name>
    <message>
        <source>%1 logo</source>
        <translation>Logo von %1</translation>
    </message>
</context>
<context>
    <name>StationsSheet</name>
    <message>
        <source>Stations</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Stations: the catalogue in use</source>
        <translation>Sender: der verwendete Katalog</translation>
    </message>
    <message>
        <source>In use</source>
        <translation>In Verwendung</translation>
    </message>
    <message numerus="yes">
        <source>%n station(s)</source>
        <translation>
            <numerusform>%n Sender</numerusform>
            <numerusform>%n Sender</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) could not be read</source>
        <translation>
            <numerusform>%n Zeile konnte nicht gelesen werden</numerusform>
            <numerusform>%n Zeilen konnten nicht gelesen werden</numerusform>
        </translation>
    </message>
    <message>
        <source>Use My stations</source>
        <translation>»Meine Sender« verwenden</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importieren …</translation>
    </message>
    <message>
        <source>Add the stations of playlists or other players&apos; lists to My stations</source>
        <translation>Die Sender von Wiedergabelisten oder den Listen anderer Player zu »Meine Sender« hinzufügen</translation>
    </message>
    <message>
        <source>Import stations</source>
        <translation>Sender importieren</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message>
        <source>Save the stations in use as a playlist</source>
        <translation>Die verwendeten Sender als Wiedergabeliste speichern</translation>
    </message>
    <message>
        <source>Export stations</source>
        <translation>Sender exportieren</translation>
    </message>
    <message>
        <source>Use another catalogue</source>
        <translation>Einen anderen Katalog verwenden</translation>
    </message>
    <message>
        <source>The CSV address of a published spreadsheet, any CSV address, or a CSV file on this computer.</source>
        <translation>Die CSV-Adresse einer veröffentlichten Tabelle, eine beliebige CSV-Adresse oder eine CSV-Datei auf diesem Rechner.</translation>
    </message>
    <message>
        <source>https://… or /path/to/stations.csv</source>
        <translation>https://… oder /pfad/zu/stations.csv</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Verwenden</translation>
    </message>
    <message>
        <source>Open a CSV file…</source>
        <translation>CSV-Datei öffnen …</translation>
    </message>
    <message>
        <source>Open a station catalogue</source>
        <translation>Einen Senderkatalog öffnen</translation>
    </message>
    <message>
        <source>No file dialog here: paste the file&apos;s path above.</source>
        <translation>Hier gibt es keinen Dateidialog: Fügen Sie den Pfad der Datei oben ein.</translation>
    </message>
    <message>
        <source>Reading the catalogue…</source>
        <translation>Katalog wird gelesen …</translation>
    </message>
    <message>
        <source>The stations in use stay as they are.</source>
        <translation>Die verwendeten Sender bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>You can also drop a CSV file or an address on the window.</source>
        <translation>Sie können auch eine CSV-Datei oder eine Adresse auf dem Fenster ablegen.</translation>
    </message>
</context>
<context>
    <name>StatusNotifierItem</name>
    <message>
        <source>The panel refused the tray icon: %1</source>
        <translation>Die Leiste hat das Symbol im Infobereich abgelehnt: %1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Fenster ausblenden</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>Fenster anzeigen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>StoreSchema</name>
    <message>
        <source>The store was written by a newer Quillora (version %1); using it as it is</source>
        <translation>Der Speicher wurde von einem neueren Quillora (Version %1) geschrieben; er wird unverändert verwendet</translation>
    </message>
</context>
<context>
    <name>StreamReport</name>
    <message>
        <source>The stream ended</source>
        <translation>Der Stream ist zu Ende</translation>
    </message>
    <message>
        <source>The station&apos;s server is not answering</source>
        <translation>Der Server des Senders antwortet nicht</translation>
    </message>
    <message>
        <source>Not found (404)</source>
        <translation>Nicht gefunden (404)</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Unsupported stream format</source>
        <translation>Nicht unterstütztes Streamformat</translation>
    </message>
    <message>
        <source>No audio output</source>
        <translation>Keine Audioausgabe</translation>
    </message>
    <message>
        <source>The stream could not be played</source>
        <translation>Der Stream konnte nicht abgespielt werden</translation>
    </message>
</context>
<context>
    <name>SuspendInhibitor</name>
    <message>
        <source>Cannot keep the machine awake while playing: no portal and no logind</source>
        <translation>Der Rechner kann während der Wiedergabe nicht wach gehalten werden: kein Portal und kein logind</translation>
    </message>
    <message>
        <source>Cannot keep the machine awake while playing: %1</source>
        <translation>Der Rechner kann während der Wiedergabe nicht wach gehalten werden: %1</translation>
    </message>
</context>
<context>
    <name>VolumeSlider</name>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
</context>
</TS>
