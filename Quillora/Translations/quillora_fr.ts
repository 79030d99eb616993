<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ActiveCatalogue</name>
    <message>
        <source>The stations come from %1, which Quillora cannot change: copy a station as a CSV row and paste it into that spreadsheet.</source>
        <translation>Les stations proviennent de %1, que Quillora ne peut pas modifier&#xa0;: copiez une station comme ligne CSV et collez-la dans ce tableur.</translation>
    </message>
    <message>
        <source>d MMMM, HH:mm</source>
        <translation>d MMMM &apos;à&apos; HH:mm</translation>
    </message>
    <message>
        <source>d MMMM yyyy, HH:mm</source>
        <translation>d MMMM yyyy &apos;à&apos; HH:mm</translation>
    </message>
    <message>
        <source>Offline: stations from %1</source>
        <translation>Hors ligne&#xa0;: stations du %1</translation>
    </message>
    <message>
        <source>Cannot create My stations: %1</source>
        <translation>Impossible de créer «&#xa0;Mes stations&#xa0;»&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cannot keep the catalogue in the store: %1</source>
        <translation>Impossible de conserver le catalogue dans la base&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 holds no station.</source>
        <translation>%1 ne contient aucune station.</translation>
    </message>
    <message>
        <source>Cannot remember the catalogue in the settings: %1</source>
        <translation>Impossible d&apos;enregistrer le catalogue dans les paramètres&#xa0;: %1</translation>
    </message>
    <message>
        <source>Catalogue: %1</source>
        <translation>Catalogue&#xa0;: %1</translation>
    </message>
    <message>
        <source>The stations come from %1, which Quillora cannot change.</source>
        <translation>Les stations proviennent de %1, que Quillora ne peut pas modifier.</translation>
    </message>
    <message>
        <source>“%1” is already in %2.</source>
        <translation>«&#xa0;%1&#xa0;» est déjà dans %2.</translation>
    </message>
    <message>
        <source>Station removed</source>
        <translation>Station supprimée</translation>
    </message>
    <message>
        <source>Removed “%1”</source>
        <translation>«&#xa0;%1&#xa0;» supprimée</translation>
    </message>
    <message>
        <source>Station moved</source>
        <translation>Station déplacée</translation>
    </message>
    <message>
        <source>Moved “%1”</source>
        <translation>«&#xa0;%1&#xa0;» déplacée</translation>
    </message>
    <message>
        <source>Cannot undo: %1</source>
        <translation>Impossible d&apos;annuler&#xa0;: %1</translation>
    </message>
    <message>
        <source>Nothing imported: %1 is not a file on this computer</source>
        <translation>Rien n&apos;a été importé&#xa0;: %1 n&apos;est pas un fichier de cet ordinateur</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n station(s) to %1</source>
        <translation>
            <numerusform>%n station exportée vers %1</numerusform>
            <numerusform>%n stations exportées vers %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Unresolved error %1, {%2}</source>
        <translation>Erreur non résolue %1, {%2}</translation>
    </message>
</context>
<context>
    <name>AvLibrary</name>
    <message>
        <source>Cannot load %1: %2</source>
        <translation>Impossible de charger %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot use libavformat: %1 is missing</source>
        <translation>libavformat est inutilisable&#xa0;: %1 manque</translation>
    </message>
</context>
<context>
    <name>CachesDirectory</name>
    <message>
        <source>No caches directory for this user</source>
        <translation>Aucun dossier de cache pour cet utilisateur</translation>
    </message>
</context>
<context>
    <name>CatalogueDropArea</name>
    <message>
        <source>Drop a CSV file or an address to use it as the catalogue</source>
        <translation>Déposez un fichier CSV ou une adresse pour en faire le catalogue</translation>
    </message>
</context>
<context>
    <name>CatalogueFile</name>
    <message>
        <source>Could not create the folder %1</source>
        <translation>Impossible de créer le dossier %1</translation>
    </message>
    <message>
        <source>The starter catalogue is missing from the application</source>
        <translation>Le catalogue de départ manque dans l&apos;application</translation>
    </message>
    <message>
        <source>Created %1 from the starter catalogue</source>
        <translation>%1 créé à partir du catalogue de départ</translation>
    </message>
    <message>
        <source>A station needs a title.</source>
        <translation>Une station a besoin d&apos;un titre.</translation>
    </message>
    <message>
        <source>The stream address must be an http:// or https:// address.</source>
        <translation>L&apos;adresse du flux doit être une adresse http:// ou https://.</translation>
    </message>
    <message>
        <source>The logo address must be empty or an http:// or https:// address.</source>
        <translation>L&apos;adresse du logo doit être vide ou une adresse http:// ou https://.</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>Impossible de lire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>No id is left for a new station.</source>
        <translation>Il ne reste aucun identifiant pour une nouvelle station.</translation>
    </message>
    <message>
        <source>There is no station with id %1 in %2.</source>
        <translation>Il n&apos;y a aucune station d&apos;identifiant %1 dans %2.</translation>
    </message>
    <message>
        <source>No id is left for the station.</source>
        <translation>Il ne reste aucun identifiant pour la station.</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>Impossible d&apos;enregistrer %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>CatalogueRetry</name>
    <message>
        <source>%1 min</source>
        <translation>%1&#xa0;min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1&#xa0;s</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1&#xa0;ms</translation>
    </message>
    <message>
        <source>%1; showing the stored stations until the network is back</source>
        <translation>%1&#xa0;; les stations enregistrées restent affichées jusqu&apos;au retour du réseau</translation>
    </message>
    <message>
        <source>%1; trying again in %2</source>
        <translation>%1&#xa0;; nouvel essai dans %2</translation>
    </message>
</context>
<context>
    <name>CatalogueSource</name>
    <message>
        <source>My stations</source>
        <translation>Mes stations</translation>
    </message>
    <message>
        <source>Paste the address of a catalogue, or choose a CSV file.</source>
        <translation>Collez l&apos;adresse d&apos;un catalogue ou choisissez un fichier CSV.</translation>
    </message>
    <message>
        <source>This is not an address: it should begin with https://, http:// or file://.</source>
        <translation>Ce n&apos;est pas une adresse&#xa0;: elle devrait commencer par https://, http:// ou file://.</translation>
    </message>
    <message>
        <source>The address names no server.</source>
        <translation>L&apos;adresse ne désigne aucun serveur.</translation>
    </message>
    <message>
        <source>A catalogue address begins with https://, http:// or file://, not %1:.</source>
        <translation>Une adresse de catalogue commence par https://, http:// ou file://, pas par %1:.</translation>
    </message>
    <message>
        <source>Only files on this computer can be opened.</source>
        <translation>Seuls les fichiers de cet ordinateur peuvent être ouverts.</translation>
    </message>
    <message>
        <source>The address names no file.</source>
        <translation>L&apos;adresse ne désigne aucun fichier.</translation>
    </message>
    <message>
        <source>There is no file at %1.</source>
        <translation>Il n&apos;y a pas de fichier à l&apos;emplacement %1.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a CSV file.</source>
        <translation>%1 est un dossier, pas un fichier CSV.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 ne peut pas être lu.</translation>
    </message>
    <message>
        <source>Ignoring the catalogue of %1: %2</source>
        <translation>Catalogue de %1 ignoré&#xa0;: %2</translation>
    </message>
    <message>
        <source>Could not save the choice of catalogue in %1</source>
        <translation>Impossible d&apos;enregistrer le choix du catalogue dans %1</translation>
    </message>
</context>
<context>
    <name>CatalogueStateView</name>
    <message>
        <source>My stations is empty</source>
        <translation>«&#xa0;Mes stations&#xa0;» est vide</translation>
    </message>
    <message>
        <source>%1 holds no station</source>
        <translation>%1 ne contient aucune station</translation>
    </message>
    <message>
        <source>Find stations in the directory, or choose another catalogue.</source>
        <translation>Trouvez des stations dans l&apos;annuaire ou choisissez un autre catalogue.</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Discover</source>
        <translation>Découvrir</translation>
    </message>
    <message>
        <source>Stations…</source>
        <translation>Stations…</translation>
    </message>
</context>
<context>
    <name>CatalogueTable</name>
    <message>
        <source>not %1 text</source>
        <translation>pas du texte %1</translation>
    </message>
    <message>
        <source>the id is empty</source>
        <translation>l&apos;identifiant est vide</translation>
    </message>
    <message>
        <source>the id &quot;%1&quot; is not a whole number</source>
        <translation>l&apos;identifiant «&#xa0;%1&#xa0;» n&apos;est pas un nombre entier</translation>
    </message>
    <message>
        <source>the url is empty</source>
        <translation>l&apos;URL est vide</translation>
    </message>
    <message>
        <source>the title is empty</source>
        <translation>le titre est vide</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>plus de %1&#xa0;Mo</translation>
    </message>
    <message>
        <source>a web page</source>
        <translation>une page web</translation>
    </message>
    <message>
        <source>no %1 column in its first row</source>
        <translation>aucune colonne %1 dans la première ligne</translation>
    </message>
    <message>
        <source> or </source>
        <translation> ou </translation>
    </message>
    <message>
        <source>its one row is not a station</source>
        <translation>sa seule ligne n&apos;est pas une station</translation>
    </message>
    <message>
        <source>none of its %1 rows is a station</source>
        <translation>aucune de ses %1 lignes n&apos;est une station</translation>
    </message>
    <message>
        <source>Skipped row %1 of %2: %3</source>
        <translation>Ligne %1 de %2 ignorée&#xa0;: %3</translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n more rows of %1</source>
        <translation>
            <numerusform>%n autre ligne de %1 ignorée</numerusform>
            <numerusform>%n autres lignes de %1 ignorées</numerusform>
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
        <translation>Lecteur de radio Internet&#xa0;: ouvre sa fenêtre, ou joue sans fenêtre (--headless).

Les stations viennent de «&#xa0;Mes stations&#xa0;» (stations.csv dans le dossier de
données, ~/.local/share/quillora/), ou de l&apos;adresse donnée par --catalogue,
QUILLORA_CATALOGUE_URL ou la clé catalogue de
~/.config/quillora/quillora.conf, dans cet ordre.

Environnement&#xa0;:
  QUILLORA_CATALOGUE_URL  adresse du catalogue quand --catalogue est absent
  QUILLORA_DIRECTORY_URL  serveur d&apos;annuaire de stations (http://hôte:port)
                          à la place des serveurs de l&apos;annuaire communautaire
  QUILLORA_RENDERER       software ou opengl&#xa0;: comment la fenêtre dessine
                          (par défaut software là où OpenGL lui-même
                          tournerait en logiciel, comme sur un serveur sans DRI)
  QUILLORA_MPV_OPTIONS    options libmpv supplémentaires pour le débogage,
                          en paires nom=valeur séparées par des virgules
                          (par ex. ao=pcm,ao-pcm-file=/tmp/out.raw)</translation>
    </message>
    <message>
        <source>Play without a window, driven by the media controls (MPRIS).</source>
        <translation>Lire sans fenêtre, piloté par les commandes multimédia (MPRIS).</translation>
    </message>
    <message>
        <source>Load the station catalogue (CSV) from &lt;url&gt;: http, https, file or a path.</source>
        <translation>Charger le catalogue de stations (CSV) depuis &lt;url&gt;&#xa0;: http, https, file ou un chemin.</translation>
    </message>
    <message>
        <source>Add the stations of the files to My stations: M3U, PLS, XSPF, Goodvibes stations.xml, Radiotray-NG bookmarks.json, pyradio stations.csv, or any CSV with a URL column.</source>
        <translation>Ajouter les stations des fichiers à «&#xa0;Mes stations&#xa0;»&#xa0;: M3U, PLS, XSPF, stations.xml de Goodvibes, bookmarks.json de Radiotray-NG, stations.csv de pyradio ou tout CSV avec une colonne URL.</translation>
    </message>
    <message>
        <source>Write the stations in use (My stations, or the catalogue of --catalogue) as &lt;format&gt;: m3u, pls, xspf or csv, to the file given, else to standard output.</source>
        <translation>Écrire les stations utilisées («&#xa0;Mes stations&#xa0;» ou le catalogue de --catalogue) au &lt;format&gt; m3u, pls, xspf ou csv, dans le fichier indiqué, sinon sur la sortie standard.</translation>
    </message>
    <message>
        <source>The files of --import or --export.</source>
        <translation>Les fichiers de --import ou --export.</translation>
    </message>
    <message>
        <source>--import needs at least one file.</source>
        <translation>--import demande au moins un fichier.</translation>
    </message>
    <message>
        <source>--export writes one file.</source>
        <translation>--export écrit un seul fichier.</translation>
    </message>
</context>
<context>
    <name>CompositionRoot</name>
    <message>
        <source>Playing a radio station</source>
        <translation>Lecture d&apos;une station de radio</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Stations</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>Search stations</source>
        <translation>Rechercher des stations</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Reconnecting in %1 s…</source>
        <translation>Reconnexion dans %1&#xa0;s…</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Reconnexion…</translation>
    </message>
    <message>
        <source>Recently played</source>
        <translation>Écoutés récemment</translation>
    </message>
    <message>
        <source>Previous station</source>
        <translation>Station précédente</translation>
    </message>
    <message>
        <source>Next station</source>
        <translation>Station suivante</translation>
    </message>
    <message>
        <source>My stations</source>
        <translation>Mes stations</translation>
    </message>
    <message>
        <source>Save last song</source>
        <translation>Enregistrer le dernier titre</translation>
    </message>
    <message>
        <source>Save %1</source>
        <translation>Enregistrer %1</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 enregistré</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>Cannot create the folder of the store</source>
        <translation>Impossible de créer le dossier de la base</translation>
    </message>
    <message>
        <source>The store %1 could not be read (%2); moved it to %3 and started a fresh one</source>
        <translation>La base %1 n&apos;a pas pu être lue (%2)&#xa0;; elle a été déplacée vers %3 et une nouvelle a été créée</translation>
    </message>
</context>
<context>
    <name>DirectoryClient</name>
    <message>
        <source>Directory: QUILLORA_DIRECTORY_URL is not an http or https address: %1</source>
        <translation>Annuaire&#xa0;: QUILLORA_DIRECTORY_URL n&apos;est pas une adresse http ou https&#xa0;: %1</translation>
    </message>
    <message>
        <source>Directory: no click counted for a station without a directory identifier</source>
        <translation>Annuaire&#xa0;: aucun clic compté pour une station sans identifiant d&apos;annuaire</translation>
    </message>
    <message>
        <source>Directory: servers %1</source>
        <translation>Annuaire&#xa0;: serveurs %1</translation>
    </message>
    <message>
        <source>Directory: now using %1</source>
        <translation>Annuaire&#xa0;: utilise maintenant %1</translation>
    </message>
</context>
<context>
    <name>DirectoryReply</name>
    <message>
        <source>The station directory cannot be reached.</source>
        <translation>L&apos;annuaire des stations est injoignable.</translation>
    </message>
    <message>
        <source>The station directory did not answer in time.</source>
        <translation>L&apos;annuaire des stations n&apos;a pas répondu à temps.</translation>
    </message>
    <message>
        <source>The station directory is not working right now.</source>
        <translation>L&apos;annuaire des stations ne fonctionne pas pour le moment.</translation>
    </message>
    <message>
        <source>The station directory sent an answer Quillora cannot read.</source>
        <translation>L&apos;annuaire des stations a envoyé une réponse que Quillora ne sait pas lire.</translation>
    </message>
    <message>
        <source>The station directory sent an answer too large to read.</source>
        <translation>L&apos;annuaire des stations a envoyé une réponse trop volumineuse pour être lue.</translation>
    </message>
    <message>
        <source>QUILLORA_DIRECTORY_URL is not an http or https address.</source>
        <translation>QUILLORA_DIRECTORY_URL n&apos;est pas une adresse http ou https.</translation>
    </message>
    <message>
        <source>Directory: %1%2 failed: %3</source>
        <translation>Annuaire&#xa0;: échec de %1%2&#xa0;: %3</translation>
    </message>
</context>
<context>
    <name>DirectorySearchModel</name>
    <message>
        <source>No stations found</source>
        <translation>Aucune station trouvée</translation>
    </message>
</context>
<context>
    <name>DirectoryServerDiscovery</name>
    <message>
        <source>Directory: no servers found for %1 (%2)</source>
        <translation>Annuaire&#xa0;: aucun serveur trouvé pour %1 (%2)</translation>
    </message>
</context>
<context>
    <name>DiscoverRow</name>
    <message>
        <source>%1 kbit/s</source>
        <translation>%1&#xa0;kbit/s</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copier comme ligne CSV</translation>
    </message>
</context>
<context>
    <name>DiscoverSheet</name>
    <message>
        <source>Discover</source>
        <translation>Découvrir</translation>
    </message>
    <message>
        <source>Discover stations</source>
        <translation>Découvrir des stations</translation>
    </message>
    <message>
        <source>Add station…</source>
        <translation>Ajouter une station…</translation>
    </message>
    <message>
        <source>Search stations by name</source>
        <translation>Rechercher des stations par nom</translation>
    </message>
    <message>
        <source>Stations found</source>
        <translation>Stations trouvées</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Find stations by name, or pick a tag.</source>
        <translation>Cherchez des stations par nom ou choisissez une étiquette.</translation>
    </message>
    <message>
        <source>No stations found</source>
        <translation>Aucune station trouvée</translation>
    </message>
    <message>
        <source>Try another name, tag or country, or add the station by its stream address.</source>
        <translation>Essayez un autre nom, une autre étiquette ou un autre pays, ou ajoutez la station par l&apos;adresse de son flux.</translation>
    </message>
</context>
<context>
    <name>ExchangeCommands</name>
    <message>
        <source>Cannot export as &quot;%1&quot;: the formats are m3u, pls, xspf and csv.</source>
        <translation>Impossible d&apos;exporter au format «&#xa0;%1&#xa0;»&#xa0;: les formats sont m3u, pls, xspf et csv.</translation>
    </message>
    <message>
        <source>Nothing exported: %1 is %2</source>
        <translation>Rien n&apos;a été exporté&#xa0;: %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Nothing exported: %1 has not been loaded yet; start Quillora with it once.</source>
        <translation>Rien n&apos;a été exporté&#xa0;: %1 n&apos;a pas encore été chargé&#xa0;; lancez Quillora une fois avec.</translation>
    </message>
    <message>
        <source>Nothing exported: could not write to standard output</source>
        <translation>Rien n&apos;a été exporté&#xa0;: impossible d&apos;écrire sur la sortie standard</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n station(s) to %1</source>
        <translation>
            <numerusform>%n station exportée vers %1</numerusform>
            <numerusform>%n stations exportées vers %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Playlists and station lists</source>
        <translation>Listes de lecture et listes de stations</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>%1 playlist</source>
        <translation>Liste de lecture %1</translation>
    </message>
    <message>
        <source>The file dialog did not open: %1</source>
        <translation>La boîte de dialogue des fichiers ne s&apos;est pas ouverte&#xa0;: %1</translation>
    </message>
    <message>
        <source>The file dialog did not open.</source>
        <translation>La boîte de dialogue des fichiers ne s&apos;est pas ouverte.</translation>
    </message>
    <message>
        <source>The file dialog closed without a file.</source>
        <translation>La boîte de dialogue des fichiers s&apos;est fermée sans fichier.</translation>
    </message>
</context>
<context>
    <name>FileIndex</name>
    <message>
        <source>The index store is not available: %1</source>
        <translation>La base d&apos;index n&apos;est pas disponible&#xa0;: %1</translation>
    </message>
    <message>
        <source>The index store %1 is unreadable (%2): starting with an empty index</source>
        <translation>La base d&apos;index %1 est illisible (%2)&#xa0;: démarrage avec un index vide</translation>
    </message>
</context>
<context>
    <name>GetError</name>
    <message>
        <source>The address is not an http or https address.</source>
        <translation>L&apos;adresse n&apos;est pas une adresse http ou https.</translation>
    </message>
    <message>
        <source>The server sent the request on to an address that is not followed.</source>
        <translation>Le serveur a redirigé la requête vers une adresse qui n&apos;est pas suivie.</translation>
    </message>
    <message>
        <source>The server is not answering.</source>
        <translation>Le serveur ne répond pas.</translation>
    </message>
    <message>
        <source>The secure connection failed.</source>
        <translation>La connexion sécurisée a échoué.</translation>
    </message>
    <message>
        <source>The server did not send a whole answer in time.</source>
        <translation>Le serveur n&apos;a pas envoyé de réponse complète à temps.</translation>
    </message>
    <message>
        <source>The server answered %1.</source>
        <translation>Le serveur a répondu %1.</translation>
    </message>
    <message>
        <source>The answer is too large.</source>
        <translation>La réponse est trop volumineuse.</translation>
    </message>
    <message>
        <source>The transfer stopped half way.</source>
        <translation>Le transfert s&apos;est arrêté en cours de route.</translation>
    </message>
    <message>
        <source>The transfer was cancelled.</source>
        <translation>Le transfert a été annulé.</translation>
    </message>
</context>
<context>
    <name>GuestMarker</name>
    <message>
        <source>My stations</source>
        <translation>Mes stations</translation>
    </message>
    <message>
        <source>Not in %1</source>
        <translation>Pas dans %1</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Ajouter à %1</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copier comme ligne CSV</translation>
    </message>
    <message>
        <source>Quillora cannot write to %1</source>
        <translation>Quillora ne peut pas écrire dans %1</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder of %1</source>
        <translation>Impossible de créer le dossier de %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>LoadFailure</name>
    <message>
        <source>the address is not an http, https or file address</source>
        <translation>l&apos;adresse n&apos;est pas une adresse http, https ou file</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>le fichier n&apos;existe pas</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>le fichier ne peut pas être lu</translation>
    </message>
    <message>
        <source>the server answered %1</source>
        <translation>le serveur a répondu %1</translation>
    </message>
    <message>
        <source>the server is not answering</source>
        <translation>le serveur ne répond pas</translation>
    </message>
    <message>
        <source>the secure connection failed</source>
        <translation>la connexion sécurisée a échoué</translation>
    </message>
    <message>
        <source>the file is not a station list</source>
        <translation>le fichier n&apos;est pas une liste de stations</translation>
    </message>
    <message>
        <source>the answer is not a station list</source>
        <translation>la réponse n&apos;est pas une liste de stations</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>le fichier est trop volumineux</translation>
    </message>
    <message>
        <source>the answer is too large</source>
        <translation>la réponse est trop volumineuse</translation>
    </message>
    <message>
        <source>the transfer stopped half way</source>
        <translation>le transfert s&apos;est arrêté en cours de route</translation>
    </message>
    <message>
        <source>Could not load the stations from %1: %2</source>
        <translation>Impossible de charger les stations depuis %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Stops in %1</source>
        <translation>Arrêt dans %1</translation>
    </message>
    <message>
        <source>Opens the settings to change or cancel the sleep timer.</source>
        <translation>Ouvre les paramètres pour modifier ou annuler la minuterie d&apos;arrêt.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>MprisService</name>
    <message>
        <source>No D-Bus session bus: media controls are off</source>
        <translation>Pas de bus de session D-Bus&#xa0;: les commandes multimédia sont désactivées</translation>
    </message>
    <message>
        <source>Cannot export the media controls: %1</source>
        <translation>Impossible d&apos;exporter les commandes multimédia&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cannot register the media controls: %1</source>
        <translation>Impossible d&apos;enregistrer les commandes multimédia&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>MpvLibrary</name>
    <message>
        <source>Cannot load the media player (%1): %2</source>
        <translation>Impossible de charger le lecteur multimédia (%1)&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot use the media player (%1): a function is missing</source>
        <translation>Impossible d&apos;utiliser le lecteur multimédia (%1)&#xa0;: une fonction manque</translation>
    </message>
</context>
<context>
    <name>MpvMediaPlayer</name>
    <message>
        <source>Ignoring %1 entry %2: %3</source>
        <translation>Entrée %2 de %1 ignorée&#xa0;: %3</translation>
    </message>
    <message>
        <source>Cannot create the media player</source>
        <translation>Impossible de créer le lecteur multimédia</translation>
    </message>
    <message>
        <source>Media player option %1=%2: %3</source>
        <translation>Option du lecteur multimédia %1=%2&#xa0;: %3</translation>
    </message>
    <message>
        <source>Cannot start the media player: %1</source>
        <translation>Impossible de démarrer le lecteur multimédia&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>OfflineNote</name>
    <message>
        <source>Try loading the stations again</source>
        <translation>Essayer de recharger les stations</translation>
    </message>
</context>
<context>
    <name>PlayButton</name>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Connexion</translation>
    </message>
</context>
<context>
    <name>PlaybackSession</name>
    <message>
        <source>Cannot play %1: not an http(s) stream address</source>
        <translation>Impossible de lire %1&#xa0;: ce n&apos;est pas une adresse de flux http(s)</translation>
    </message>
    <message>
        <source>The media player cannot start</source>
        <translation>Le lecteur multimédia ne peut pas démarrer</translation>
    </message>
    <message>
        <source>Reconnecting (attempt %1%2) after %3</source>
        <translation>Reconnexion (essai %1%2) après %3</translation>
    </message>
    <message numerus="yes">
        <source>Playback failed after %n tries: %1</source>
        <translation>
            <numerusform>Échec de la lecture après %n essai&#xa0;: %1</numerusform>
            <numerusform>Échec de la lecture après %n essais&#xa0;: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message numerus="yes">
        <source>Loaded %n stations</source>
        <translation>
            <numerusform>%n station chargée</numerusform>
            <numerusform>%n stations chargées</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecentlyPlayed</name>
    <message>
        <source>Cannot keep the recently played songs: %1</source>
        <translation>Impossible de conserver les titres écoutés récemment&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>RecentlyPlayedRow</name>
    <message>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copié</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
</context>
<context>
    <name>RecentlyPlayedSheet</name>
    <message>
        <source>Recently played</source>
        <translation>Écoutés récemment</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>No songs yet</source>
        <translation>Aucun titre pour l&apos;instant</translation>
    </message>
    <message>
        <source>Songs appear here as the stations announce them.</source>
        <translation>Les titres apparaissent ici à mesure que les stations les annoncent.</translation>
    </message>
</context>
<context>
    <name>RecordSwitch</name>
    <message>
        <source>Keep songs</source>
        <translation>Garder les titres</translation>
    </message>
    <message>
        <source>Recording this song</source>
        <translation>Enregistrement de ce titre</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Cannot write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
    <message>
        <source>Kept %1</source>
        <translation>%1 gardé</translation>
    </message>
    <message>
        <source>Cannot keep songs: %1 cannot be written</source>
        <translation>Impossible de garder les titres&#xa0;: %1 n&apos;est pas accessible en écriture</translation>
    </message>
    <message>
        <source>Recording paused: less than 500 MB free on the disk of %1</source>
        <translation>Enregistrement en pause&#xa0;: moins de 500&#xa0;Mo libres sur le disque de %1</translation>
    </message>
</context>
<context>
    <name>RecordingSettings</name>
    <message>
        <source>quillora.conf: [recording] %1=%2 is not a number of seconds; using %3</source>
        <translation>quillora.conf&#xa0;: [recording] %1=%2 n&apos;est pas un nombre de secondes&#xa0;; %3 est utilisé</translation>
    </message>
    <message>
        <source>quillora.conf: [recording] mode=%1 is not off, all or decide; recording is off</source>
        <translation>quillora.conf&#xa0;: [recording] mode=%1 n&apos;est ni off, ni all, ni decide&#xa0;; l&apos;enregistrement est désactivé</translation>
    </message>
</context>
<context>
    <name>SearchField</name>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
</context>
<context>
    <name>SettingsSheet</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Keep playing when the window closes</source>
        <translation>Continuer la lecture quand la fenêtre se ferme</translation>
    </message>
    <message>
        <source>The media controls and the tray icon bring it back.</source>
        <translation>Les commandes multimédia et l&apos;icône de la zone de notification la rouvrent.</translation>
    </message>
    <message>
        <source>Notify when the song changes</source>
        <translation>Notifier quand le titre change</translation>
    </message>
    <message>
        <source>Not while the window is in front.</source>
        <translation>Pas quand la fenêtre est au premier plan.</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Couleurs</translation>
    </message>
    <message>
        <source>As the desktop</source>
        <translation>Comme le bureau</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Clair</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <source>Sleep timer</source>
        <translation>Minuterie d&apos;arrêt</translation>
    </message>
    <message>
        <source>Stops in %1</source>
        <translation>Arrêt dans %1</translation>
    </message>
    <message>
        <source>Starts while a station plays.</source>
        <translation>Démarre pendant la lecture d&apos;une station.</translation>
    </message>
    <message numerus="yes">
        <source>Stop in %n minutes</source>
        <translation>
            <numerusform>Arrêter dans %n minute</numerusform>
            <numerusform>Arrêter dans %n minutes</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Keeping songs</source>
        <translation>Garder les titres</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Every song</source>
        <translation>Chaque titre</translation>
    </message>
    <message>
        <source>I choose</source>
        <translation>Je choisis</translation>
    </message>
    <message>
        <source>Every song heard from its start to its end is kept in the folder.</source>
        <translation>Chaque titre écouté du début à la fin est gardé dans le dossier.</translation>
    </message>
    <message>
        <source>The last ten songs wait; Save keeps one in the folder.</source>
        <translation>Les dix derniers titres attendent&#xa0;; «&#xa0;Enregistrer&#xa0;» en garde un dans le dossier.</translation>
    </message>
    <message>
        <source>The switch beside the song still keeps one station&apos;s songs.</source>
        <translation>L’interrupteur à côté du titre garde toujours les titres d’une station.</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Dossier&#xa0;: %1</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Choisir…</translation>
    </message>
    <message>
        <source>Folder for kept songs</source>
        <translation>Dossier des titres gardés</translation>
    </message>
    <message>
        <source>No folder dialog on this desktop: set folder= under [recording] in quillora.conf.</source>
        <translation>Pas de boîte de dialogue de dossier sur ce bureau&#xa0;: réglez folder= sous [recording] dans quillora.conf.</translation>
    </message>
</context>
<context>
    <name>Sheet</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>Cannot claim %1 on the session bus: %2</source>
        <translation>Impossible de réserver %1 sur le bus de session&#xa0;: %2</translation>
    </message>
    <message>
        <source>Quillora is running but does not answer: %1</source>
        <translation>Quillora est lancé mais ne répond pas&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>SongCutter</name>
    <message>
        <source>Cannot read the recording: %1</source>
        <translation>Impossible de lire l&apos;enregistrement&#xa0;: %1</translation>
    </message>
    <message>
        <source>The recording holds no audio</source>
        <translation>L&apos;enregistrement ne contient pas de son</translation>
    </message>
    <message>
        <source>Songs in %1 cannot be kept</source>
        <translation>Les titres au format %1 ne peuvent pas être gardés</translation>
    </message>
    <message>
        <source>Nothing was recorded</source>
        <translation>Rien n&apos;a été enregistré</translation>
    </message>
    <message>
        <source>Cannot set up the song&apos;s file</source>
        <translation>Impossible de préparer le fichier du titre</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>SongHistory</name>
    <message>
        <source>Cannot read the recently played songs: %1</source>
        <translation>Impossible de lire les titres écoutés récemment&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>SongLine</name>
    <message>
        <source>Recently played</source>
        <translation>Écoutés récemment</translation>
    </message>
</context>
<context>
    <name>SongNotifier</name>
    <message>
        <source>The song notification failed: %1</source>
        <translation>La notification du titre a échoué&#xa0;: %1</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
</context>
<context>
    <name>StateStore</name>
    <message>
        <source>The store could not be read: %1</source>
        <translation>La base n&apos;a pas pu être lue&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>StationEditing</name>
    <message>
        <source>Added “%1” to %2</source>
        <translation>«&#xa0;%1&#xa0;» ajoutée à %2</translation>
    </message>
    <message>
        <source>Copied “%1” as a CSV row: paste it into %2</source>
        <translation>«&#xa0;%1&#xa0;» copiée comme ligne CSV&#xa0;: collez-la dans %2</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Ajouter à %1</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copier comme ligne CSV</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Add station…</source>
        <translation>Ajouter une station…</translation>
    </message>
    <message>
        <source>Station actions</source>
        <translation>Actions de la station</translation>
    </message>
</context>
<context>
    <name>StationExchange</name>
    <message>
        <source>not a playlist or station list: %1</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: %1</translation>
    </message>
    <message>
        <source>not a playlist or station list: a table without a URL column</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: un tableau sans colonne URL</translation>
    </message>
    <message>
        <source>a JSON object</source>
        <translation>un objet JSON</translation>
    </message>
    <message>
        <source>a JSON value</source>
        <translation>une valeur JSON</translation>
    </message>
    <message>
        <source>JSON nested deeper than %1 levels</source>
        <translation>du JSON imbriqué sur plus de %1 niveaux</translation>
    </message>
    <message>
        <source>not a playlist or station list: not valid JSON (at byte %1: %2)</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: JSON non valide (à l&apos;octet %1&#xa0;: %2)</translation>
    </message>
    <message>
        <source>not a list: %1, not Radiotray-NG&apos;s list of bookmark groups</source>
        <translation>pas une liste&#xa0;: %1, et non la liste de groupes de signets de Radiotray-NG</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>plus de %1&#xa0;Mo</translation>
    </message>
    <message>
        <source>not a playlist or station list: not text</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: ce n&apos;est pas du texte</translation>
    </message>
    <message>
        <source>not a playlist or station list: empty</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: vide</translation>
    </message>
    <message>
        <source>not a playlist or station list: it holds no stream address</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: aucune adresse de flux</translation>
    </message>
    <message>
        <source>M3U playlist</source>
        <translation>Liste de lecture M3U</translation>
    </message>
    <message>
        <source>PLS playlist</source>
        <translation>Liste de lecture PLS</translation>
    </message>
    <message>
        <source>XSPF playlist</source>
        <translation>Liste de lecture XSPF</translation>
    </message>
    <message>
        <source>Goodvibes stations</source>
        <translation>Stations Goodvibes</translation>
    </message>
    <message>
        <source>Radiotray-NG bookmarks</source>
        <translation>Signets Radiotray-NG</translation>
    </message>
    <message>
        <source>pyradio stations</source>
        <translation>Stations pyradio</translation>
    </message>
    <message>
        <source>CSV station list</source>
        <translation>Liste de stations CSV</translation>
    </message>
    <message>
        <source>more than %1 stations</source>
        <translation>plus de %1 stations</translation>
    </message>
    <message>
        <source>an XML file with entity declarations, which are refused</source>
        <translation>un fichier XML avec des déclarations d&apos;entités, qui sont refusées</translation>
    </message>
    <message>
        <source>not a playlist or station list: an XML file whose root is &lt;%1&gt;, not an XSPF &lt;playlist&gt; or Goodvibes &lt;Stations&gt;</source>
        <translation>ni une liste de lecture ni une liste de stations&#xa0;: un fichier XML dont la racine est &lt;%1&gt;, et non &lt;playlist&gt; (XSPF) ou &lt;Stations&gt; (Goodvibes)</translation>
    </message>
    <message>
        <source>not well-formed XML (line %1: %2)</source>
        <translation>du XML mal formé (ligne %1&#xa0;: %2)</translation>
    </message>
</context>
<context>
    <name>StationFormSheet</name>
    <message>
        <source>Copied “%1” as a CSV row</source>
        <translation>«&#xa0;%1&#xa0;» copiée comme ligne CSV</translation>
    </message>
    <message>
        <source>Added “%1” to %2</source>
        <translation>«&#xa0;%1&#xa0;» ajoutée à %2</translation>
    </message>
    <message>
        <source>Saved “%1”</source>
        <translation>«&#xa0;%1&#xa0;» enregistrée</translation>
    </message>
    <message>
        <source>Add station</source>
        <translation>Ajouter une station</translation>
    </message>
    <message>
        <source>Edit station</source>
        <translation>Modifier la station</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>The station&apos;s name</source>
        <translation>Le nom de la station</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Optional, for example Jazz</source>
        <translation>Facultatif, par exemple Jazz</translation>
    </message>
    <message>
        <source>Stream address</source>
        <translation>Adresse du flux</translation>
    </message>
    <message>
        <source>Logo address</source>
        <translation>Adresse du logo</translation>
    </message>
    <message>
        <source>Optional, https://…</source>
        <translation>Facultatif, https://…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copier comme ligne CSV</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
</context>
<context>
    <name>StationImport</name>
    <message numerus="yes">
        <source>%n already in My stations</source>
        <translation>
            <numerusform>%n déjà dans «&#xa0;Mes stations&#xa0;»</numerusform>
            <numerusform>%n déjà dans «&#xa0;Mes stations&#xa0;»</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: not an http(s) address</source>
        <translation>
            <numerusform>%n ignorée&#xa0;: pas une adresse http(s)</numerusform>
            <numerusform>%n ignorées&#xa0;: pas des adresses http(s)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %n station(s)</source>
        <translation>
            <numerusform>%n station importée</numerusform>
            <numerusform>%n stations importées</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Nothing imported: %1 is %2</source>
        <translation>Rien n&apos;a été importé&#xa0;: %1 (%2)</translation>
    </message>
    <message>
        <source>Nothing imported: more than %1 stations</source>
        <translation>Rien n&apos;a été importé&#xa0;: plus de %1 stations</translation>
    </message>
    <message>
        <source>Nothing imported: %1</source>
        <translation>Rien n&apos;a été importé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Nothing imported: could not read %1: %2</source>
        <translation>Rien n&apos;a été importé&#xa0;: impossible de lire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>c&apos;est un dossier</translation>
    </message>
</context>
<context>
    <name>StationList</name>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Filter stations</source>
        <translation>Filtrer les stations</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Stations</translation>
    </message>
</context>
<context>
    <name>StationRow</name>
    <message>
        <source>Playing</source>
        <translation>En cours</translation>
    </message>
</context>
<context>
    <name>StationView</name>
    <message>
        <source>%1 logo</source>
        <translation>Logo de %1</translation>
    </message>
</context>
<context>
    <name>StationsSheet</name>
    <message>
        <source>Stations</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>Stations: the catalogue in use</source>
        <translation>Stations&#xa0;: le catalogue utilisé</translation>
    </message>
    <message>
        <source>In use</source>
        <translation>Utilisé</translation>
    </message>
    <message numerus="yes">
        <source>%n station(s)</source>
        <translation>
            <numerusform>%n station</numerusform>
            <numerusform>%n stations</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) could not be read</source>
        <translation>
            <numerusform>%n ligne n&apos;a pas pu être lue</numerusform>
            <numerusform>%n lignes n&apos;ont pas pu être lues</numerusform>
        </translation>
    </message>
    <message>
        <source>Use My stations</source>
        <translation>Utiliser «&#xa0;Mes stations&#xa0;»</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importer…</translation>
    </message>
    <message>
        <source>Add the stations of playlists or other players&apos; lists to My stations</source>
        <translation>Ajouter à «&#xa0;Mes stations&#xa0;» les stations de listes de lecture ou des listes d&apos;autres lecteurs</translation>
    </message>
    <message>
        <source>Import stations</source>
        <translation>Importer des stations</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exporter…</translation>
    </message>
    <message>
        <source>Save the stations in use as a playlist</source>
        <translation>Enregistrer les stations utilisées comme liste de lecture</translation>
    </message>
    <message>
        <source>Export stations</source>
        <translation>Exporter les stations</translation>
    </message>
    <message>
        <source>Use another catalogue</source>
        <translation>Utiliser un autre catalogue</translation>
    </message>
    <message>
        <source>The CSV address of a published spreadsheet, any CSV address, or a CSV file on this computer.</source>
        <translation>L&apos;adresse CSV d&apos;un tableur publié, n&apos;importe quelle adresse CSV ou un fichier CSV de cet ordinateur.</translation>
    </message>
    <message>
        <source>https://… or /path/to/stations.csv</source>
        <translation>https://… ou /chemin/vers/stations.csv</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Utiliser</translation>
    </message>
    <message>
        <source>Open a CSV file…</source>
        <translation>Ouvrir un fichier CSV…</translation>
    </message>
    <message>
        <source>Open a station catalogue</source>
        <translation>Ouvrir un catalogue de stations</translation>
    </message>
    <message>
        <source>No file dialog here: paste the file&apos;s path above.</source>
        <translation>Pas de boîte de dialogue des fichiers ici&#xa0;: collez le chemin du fichier ci-dessus.</translation>
    </message>
    <message>
        <source>Reading the catalogue…</source>
        <translation>Lecture du catalogue…</translation>
    </message>
    <message>
        <source>The stations in use stay as they are.</source>
        <translation>Les stations utilisées restent telles quelles.</translation>
    </message>
    <message>
        <source>You can also drop a CSV file or an address on the window.</source>
        <translation>Vous pouvez aussi déposer un fichier CSV ou une adresse sur la fenêtre.</translation>
    </message>
</context>
<context>
    <name>StatusNotifierItem</name>
    <message>
        <source>The panel refused the tray icon: %1</source>
        <translation>Le tableau de bord a refusé l&apos;icône de notification&#xa0;: %1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Masquer la fenêtre</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>Afficher la fenêtre</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>StoreSchema</name>
    <message>
        <source>The store was written by a newer Quillora (version %1); using it as it is</source>
        <translation>La base a été écrite par un Quillora plus récent (version %1)&#xa0;; elle est utilisée telle quelle</translation>
    </message>
</context>
<context>
    <name>StreamReport</name>
    <message>
        <source>The stream ended</source>
        <translation>Le flux s&apos;est terminé</translation>
    </message>
    <message>
        <source>The station&apos;s server is not answering</source>
        <translation>Le serveur de la station ne répond pas</translation>
    </message>
    <message>
        <source>Not found (404)</source>
        <translation>Introuvable (404)</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Accès refusé</translation>
    </message>
    <message>
        <source>Unsupported stream format</source>
        <translation>Format de flux non pris en charge</translation>
    </message>
    <message>
        <source>No audio output</source>
        <translation>Aucune sortie audio</translation>
    </message>
    <message>
        <source>The stream could not be played</source>
        <translation>Le flux n&apos;a pas pu être lu</translation>
    </message>
</context>
<context>
    <name>SuspendInhibitor</name>
    <message>
        <source>Cannot keep the machine awake while playing: no portal and no logind</source>
        <translation>Impossible de garder l&apos;ordinateur éveillé pendant la lecture&#xa0;: ni portail ni logind</translation>
    </message>
    <message>
        <source>Cannot keep the machine awake while playing: %1</source>
        <translation>Impossible de garder l&apos;ordinateur éveillé pendant la lecture&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>VolumeSlider</name>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
</context>
</TS>
