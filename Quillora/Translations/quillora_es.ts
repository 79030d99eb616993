<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>ActiveCatalogue</name>
    <message>
        <source>The stations come from %1, which Quillora cannot change: copy a station as a CSV row and paste it into that spreadsheet.</source>
        <translation>Las emisoras vienen de %1, que Quillora no puede modificar: copie una emisora como fila CSV y péguela en esa hoja de cálculo.</translation>
    </message>
    <message>
        <source>d MMMM, HH:mm</source>
        <translation>d &apos;de&apos; MMMM, HH:mm</translation>
    </message>
    <message>
        <source>d MMMM yyyy, HH:mm</source>
        <translation>d &apos;de&apos; MMMM &apos;de&apos; yyyy, HH:mm</translation>
    </message>
    <message>
        <source>Offline: stations from %1</source>
        <translation>Sin conexión: emisoras del %1</translation>
    </message>
    <message>
        <source>Cannot create My stations: %1</source>
        <translation>No se puede crear «Mis emisoras»: %1</translation>
    </message>
    <message>
        <source>Cannot keep the catalogue in the store: %1</source>
        <translation>No se puede guardar el catálogo en la base de datos: %1</translation>
    </message>
    <message>
        <source>%1 holds no station.</source>
        <translation>%1 no contiene ninguna emisora.</translation>
    </message>
    <message>
        <source>Cannot remember the catalogue in the settings: %1</source>
        <translation>No se puede guardar el catálogo en la configuración: %1</translation>
    </message>
    <message>
        <source>Catalogue: %1</source>
        <translation>Catálogo: %1</translation>
    </message>
    <message>
        <source>The stations come from %1, which Quillora cannot change.</source>
        <translation>Las emisoras vienen de %1, que Quillora no puede modificar.</translation>
    </message>
    <message>
        <source>“%1” is already in %2.</source>
        <translation>«%1» ya está en %2.</translation>
    </message>
    <message>
        <source>Station removed</source>
        <translation>Emisora eliminada</translation>
    </message>
    <message>
        <source>Removed “%1”</source>
        <translation>«%1» eliminada</translation>
    </message>
    <message>
        <source>Station moved</source>
        <translation>Emisora movida</translation>
    </message>
    <message>
        <source>Moved “%1”</source>
        <translation>«%1» movida</translation>
    </message>
    <message>
        <source>Cannot undo: %1</source>
        <translation>No se puede deshacer: %1</translation>
    </message>
    <message>
        <source>Nothing imported: %1 is not a file on this computer</source>
        <translation>No se importó nada: %1 no es un archivo de este equipo</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n station(s) to %1</source>
        <translation>
            <numerusform>%n emisora exportada a %1</numerusform>
            <numerusform>%n emisoras exportadas a %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Unresolved error %1, {%2}</source>
        <translation>Error no resuelto %1, {%2}</translation>
    </message>
</context>
<context>
    <name>AvLibrary</name>
    <message>
        <source>Cannot load %1: %2</source>
        <translation>No se puede cargar %1: %2</translation>
    </message>
    <message>
        <source>Cannot use libavformat: %1 is missing</source>
        <translation>No se puede usar libavformat: falta %1</translation>
    </message>
</context>
<context>
    <name>CachesDirectory</name>
    <message>
        <source>No caches directory for this user</source>
        <translation>No hay carpeta de caché para este usuario</translation>
    </message>
</context>
<context>
    <name>CatalogueDropArea</name>
    <message>
        <source>Drop a CSV file or an address to use it as the catalogue</source>
        <translation>Suelte un archivo CSV o una dirección para usarlo como catálogo</translation>
    </message>
</context>
<context>
    <name>CatalogueFile</name>
    <message>
        <source>Could not create the folder %1</source>
        <translation>No se pudo crear la carpeta %1</translation>
    </message>
    <message>
        <source>The starter catalogue is missing from the application</source>
        <translation>Falta el catálogo inicial en la aplicación</translation>
    </message>
    <message>
        <source>Created %1 from the starter catalogue</source>
        <translation>%1 creado a partir del catálogo inicial</translation>
    </message>
    <message>
        <source>A station needs a title.</source>
        <translation>Una emisora necesita un título.</translation>
    </message>
    <message>
        <source>The stream address must be an http:// or https:// address.</source>
        <translation>La dirección del flujo debe ser una dirección http:// o https://.</translation>
    </message>
    <message>
        <source>The logo address must be empty or an http:// or https:// address.</source>
        <translation>La dirección del logotipo debe estar vacía o ser una dirección http:// o https://.</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>No se pudo leer %1: %2</translation>
    </message>
    <message>
        <source>No id is left for a new station.</source>
        <translation>No queda ningún identificador para una emisora nueva.</translation>
    </message>
    <message>
        <source>There is no station with id %1 in %2.</source>
        <translation>No hay ninguna emisora con el identificador %1 en %2.</translation>
    </message>
    <message>
        <source>No id is left for the station.</source>
        <translation>No queda ningún identificador para la emisora.</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>No se pudo guardar %1: %2</translation>
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
        <translation>%1; se muestran las emisoras guardadas hasta que vuelva la red</translation>
    </message>
    <message>
        <source>%1; trying again in %2</source>
        <translation>%1; nuevo intento en %2</translation>
    </message>
</context>
<context>
    <name>CatalogueSource</name>
    <message>
        <source>My stations</source>
        <translation>Mis emisoras</translation>
    </message>
    <message>
        <source>Paste the address of a catalogue, or choose a CSV file.</source>
        <translation>Pegue la dirección de un catálogo o elija un archivo CSV.</translation>
    </message>
    <message>
        <source>This is not an address: it should begin with https://, http:// or file://.</source>
        <translation>Esto no es una dirección: debería empezar por https://, http:// o file://.</translation>
    </message>
    <message>
        <source>The address names no server.</source>
        <translation>La dirección no indica ningún servidor.</translation>
    </message>
    <message>
        <source>A catalogue address begins with https://, http:// or file://, not %1:.</source>
        <translation>Una dirección de catálogo empieza por https://, http:// o file://, no por %1:.</translation>
    </message>
    <message>
        <source>Only files on this computer can be opened.</source>
        <translation>Solo se pueden abrir archivos de este equipo.</translation>
    </message>
    <message>
        <source>The address names no file.</source>
        <translation>La dirección no indica ningún archivo.</translation>
    </message>
    <message>
        <source>There is no file at %1.</source>
        <translation>No hay ningún archivo en %1.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a CSV file.</source>
        <translation>%1 es una carpeta, no un archivo CSV.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>No se puede leer %1.</translation>
    </message>
    <message>
        <source>Ignoring the catalogue of %1: %2</source>
        <translation>Se ignora el catálogo de %1: %2</translation>
    </message>
    <message>
        <source>Could not save the choice of catalogue in %1</source>
        <translation>No se pudo guardar la elección de catálogo en %1</translation>
    </message>
</context>
<context>
    <name>CatalogueStateView</name>
    <message>
        <source>My stations is empty</source>
        <translation>«Mis emisoras» está vacía</translation>
    </message>
    <message>
        <source>%1 holds no station</source>
        <translation>%1 no contiene ninguna emisora</translation>
    </message>
    <message>
        <source>Find stations in the directory, or choose another catalogue.</source>
        <translation>Busque emisoras en el directorio o elija otro catálogo.</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Discover</source>
        <translation>Descubrir</translation>
    </message>
    <message>
        <source>Stations…</source>
        <translation>Emisoras…</translation>
    </message>
</context>
<context>
    <name>CatalogueTable</name>
    <message>
        <source>not %1 text</source>
        <translation>no es texto %1</translation>
    </message>
    <message>
        <source>the id is empty</source>
        <translation>el identificador está vacío</translation>
    </message>
    <message>
        <source>the id &quot;%1&quot; is not a whole number</source>
        <translation>el identificador «%1» no es un número entero</translation>
    </message>
    <message>
        <source>the url is empty</source>
        <translation>la URL está vacía</translation>
    </message>
    <message>
        <source>the title is empty</source>
        <translation>el título está vacío</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>más de %1 MB</translation>
    </message>
    <message>
        <source>a web page</source>
        <translation>una página web</translation>
    </message>
    <message>
        <source>no %1 column in its first row</source>
        <translation>ninguna columna %1 en la primera fila</translation>
    </message>
    <message>
        <source> or </source>
        <translation> o </translation>
    </message>
    <message>
        <source>its one row is not a station</source>
        <translation>su única fila no es una emisora</translation>
    </message>
    <message>
        <source>none of its %1 rows is a station</source>
        <translation>ninguna de sus %1 filas es una emisora</translation>
    </message>
    <message>
        <source>Skipped row %1 of %2: %3</source>
        <translation>Se omitió la fila %1 de %2: %3</translation>
    </message>
    <message numerus="yes">
        <source>Skipped %n more rows of %1</source>
        <translation>
            <numerusform>Se omitió %n fila más de %1</numerusform>
            <numerusform>Se omitieron %n filas más de %1</numerusform>
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
        <translation>Reproductor de radio por Internet: abre su ventana o reproduce sin ella (--headless).

Las emisoras vienen de «Mis emisoras» (stations.csv en la carpeta de datos,
~/.local/share/quillora/), o de la dirección indicada por --catalogue,
QUILLORA_CATALOGUE_URL o la clave catalogue de
~/.config/quillora/quillora.conf, en este orden.

Entorno:
  QUILLORA_CATALOGUE_URL  dirección del catálogo cuando no se da --catalogue
  QUILLORA_DIRECTORY_URL  servidor del directorio de emisoras (http://host:puerto)
                          en lugar de los servidores del directorio comunitario
  QUILLORA_RENDERER       software u opengl: cómo dibuja la ventana (por
                          defecto software donde el propio OpenGL se
                          ejecutaría por software, como en un servidor sin DRI)
  QUILLORA_MPV_OPTIONS    opciones adicionales de libmpv para depuración,
                          como pares nombre=valor separados por comas
                          (p. ej. ao=pcm,ao-pcm-file=/tmp/out.raw)</translation>
    </message>
    <message>
        <source>Play without a window, driven by the media controls (MPRIS).</source>
        <translation>Reproducir sin ventana, con los controles multimedia (MPRIS).</translation>
    </message>
    <message>
        <source>Load the station catalogue (CSV) from &lt;url&gt;: http, https, file or a path.</source>
        <translation>Cargar el catálogo de emisoras (CSV) desde &lt;url&gt;: http, https, file o una ruta.</translation>
    </message>
    <message>
        <source>Add the stations of the files to My stations: M3U, PLS, XSPF, Goodvibes stations.xml, Radiotray-NG bookmarks.json, pyradio stations.csv, or any CSV with a URL column.</source>
        <translation>Añadir las emisoras de los archivos a «Mis emisoras»: M3U, PLS, XSPF, stations.xml de Goodvibes, bookmarks.json de Radiotray-NG, stations.csv de pyradio o cualquier CSV con una columna URL.</translation>
    </message>
    <message>
        <source>Write the stations in use (My stations, or the catalogue of --catalogue) as &lt;format&gt;: m3u, pls, xspf or csv, to the file given, else to standard output.</source>
        <translation>Escribir las emisoras en uso («Mis emisoras» o el catálogo de --catalogue) en &lt;format&gt;: m3u, pls, xspf o csv, en el archivo indicado o, si no, en la salida estándar.</translation>
    </message>
    <message>
        <source>The files of --import or --export.</source>
        <translation>Los archivos de --import o --export.</translation>
    </message>
    <message>
        <source>--import needs at least one file.</source>
        <translation>--import necesita al menos un archivo.</translation>
    </message>
    <message>
        <source>--export writes one file.</source>
        <translation>--export escribe un solo archivo.</translation>
    </message>
</context>
<context>
    <name>CompositionRoot</name>
    <message>
        <source>Playing a radio station</source>
        <translation>Reproduciendo una emisora de radio</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Stations</source>
        <translation>Emisoras</translation>
    </message>
    <message>
        <source>Search stations</source>
        <translation>Buscar emisoras</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Reconnecting in %1 s…</source>
        <translation>Reconectando en %1 s…</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Reconectando…</translation>
    </message>
    <message>
        <source>Recently played</source>
        <translation>Escuchado recientemente</translation>
    </message>
    <message>
        <source>Previous station</source>
        <translation>Emisora anterior</translation>
    </message>
    <message>
        <source>Next station</source>
        <translation>Emisora siguiente</translation>
    </message>
    <message>
        <source>My stations</source>
        <translation>Mis emisoras</translation>
    </message>
    <message>
        <source>Save last song</source>
        <translation>Guardar la última canción</translation>
    </message>
    <message>
        <source>Save %1</source>
        <translation>Guardar %1</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 guardada</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>Cannot create the folder of the store</source>
        <translation>No se puede crear la carpeta de la base de datos</translation>
    </message>
    <message>
        <source>The store %1 could not be read (%2); moved it to %3 and started a fresh one</source>
        <translation>No se pudo leer la base de datos %1 (%2); se movió a %3 y se empezó una nueva</translation>
    </message>
</context>
<context>
    <name>DirectoryClient</name>
    <message>
        <source>Directory: QUILLORA_DIRECTORY_URL is not an http or https address: %1</source>
        <translation>Directorio: QUILLORA_DIRECTORY_URL no es una dirección http o https: %1</translation>
    </message>
    <message>
        <source>Directory: no click counted for a station without a directory identifier</source>
        <translation>Directorio: no se cuenta ningún clic para una emisora sin identificador del directorio</translation>
    </message>
    <message>
        <source>Directory: servers %1</source>
        <translation>Directorio: servidores %1</translation>
    </message>
    <message>
        <source>Directory: now using %1</source>
        <translation>Directorio: ahora se usa %1</translation>
    </message>
</context>
<context>
    <name>DirectoryReply</name>
    <message>
        <source>The station directory cannot be reached.</source>
        <translation>No se puede acceder al directorio de emisoras.</translation>
    </message>
    <message>
        <source>The station directory did not answer in time.</source>
        <translation>El directorio de emisoras no respondió a tiempo.</translation>
    </message>
    <message>
        <source>The station directory is not working right now.</source>
        <translation>El directorio de emisoras no funciona en este momento.</translation>
    </message>
    <message>
        <source>The station directory sent an answer Quillora cannot read.</source>
        <translation>El directorio de emisoras envió una respuesta que Quillora no puede leer.</translation>
    </message>
    <message>
        <source>The station directory sent an answer too large to read.</source>
        <translation>El directorio de emisoras envió una respuesta demasiado grande para leerla.</translation>
    </message>
    <message>
        <source>QUILLORA_DIRECTORY_URL is not an http or https address.</source>
        <translation>QUILLORA_DIRECTORY_URL no es una dirección http o https.</translation>
    </message>
    <message>
        <source>Directory: %1%2 failed: %3</source>
        <translation>Directorio: falló %1%2: %3</translation>
    </message>
</context>
<context>
    <name>DirectorySearchModel</name>
    <message>
        <source>No stations found</source>
        <translation>No se encontraron emisoras</translation>
    </message>
</context>
<context>
    <name>DirectoryServerDiscovery</name>
    <message>
        <source>Directory: no servers found for %1 (%2)</source>
        <translation>Directorio: no se encontraron servidores para %1 (%2)</translation>
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
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copiar como fila CSV</translation>
    </message>
</context>
<context>
    <name>DiscoverSheet</name>
    <message>
        <source>Discover</source>
        <translation>Descubrir</translation>
    </message>
    <message>
        <source>Discover stations</source>
        <translation>Descubrir emisoras</translation>
    </message>
    <message>
        <source>Add station…</source>
        <translation>Añadir emisora…</translation>
    </message>
    <message>
        <source>Search stations by name</source>
        <translation>Buscar emisoras por nombre</translation>
    </message>
    <message>
        <source>Stations found</source>
        <translation>Emisoras encontradas</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Find stations by name, or pick a tag.</source>
        <translation>Busque emisoras por nombre o elija una etiqueta.</translation>
    </message>
    <message>
        <source>No stations found</source>
        <translation>No se encontraron emisoras</translation>
    </message>
    <message>
        <source>Try another name, tag or country, or add the station by its stream address.</source>
        <translation>Pruebe con otro nombre, etiqueta o país, o añada la emisora por la dirección de su flujo.</translation>
    </message>
</context>
<context>
    <name>ExchangeCommands</name>
    <message>
        <source>Cannot export as &quot;%1&quot;: the formats are m3u, pls, xspf and csv.</source>
        <translation>No se puede exportar como «%1»: los formatos son m3u, pls, xspf y csv.</translation>
    </message>
    <message>
        <source>Nothing exported: %1 is %2</source>
        <translation>No se exportó nada: %1: %2</translation>
    </message>
    <message>
        <source>Nothing exported: %1 has not been loaded yet; start Quillora with it once.</source>
        <translation>No se exportó nada: %1 aún no se ha cargado; inicie Quillora una vez con él.</translation>
    </message>
    <message>
        <source>Nothing exported: could not write to standard output</source>
        <translation>No se exportó nada: no se pudo escribir en la salida estándar</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n station(s) to %1</source>
        <translation>
            <numerusform>%n emisora exportada a %1</numerusform>
            <numerusform>%n emisoras exportadas a %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Playlists and station lists</source>
        <translation>Listas de reproducción y listas de emisoras</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Todos los archivos</translation>
    </message>
    <message>
        <source>%1 playlist</source>
        <translation>Lista de reproducción %1</translation>
    </message>
    <message>
        <source>The file dialog did not open: %1</source>
        <translation>El diálogo de archivos no se abrió: %1</translation>
    </message>
    <message>
        <source>The file dialog did not open.</source>
        <translation>El diálogo de archivos no se abrió.</translation>
    </message>
    <message>
        <source>The file dialog closed without a file.</source>
        <translation>El diálogo de archivos se cerró sin ningún archivo.</translation>
    </message>
</context>
<context>
    <name>FileIndex</name>
    <message>
        <source>The index store is not available: %1</source>
        <translation>El almacén del índice no está disponible: %1</translation>
    </message>
    <message>
        <source>The index store %1 is unreadable (%2): starting with an empty index</source>
        <translation>El almacén del índice %1 no se puede leer (%2): se empieza con un índice vacío</translation>
    </message>
</context>
<context>
    <name>GetError</name>
    <message>
        <source>The address is not an http or https address.</source>
        <translation>La dirección no es una dirección http o https.</translation>
    </message>
    <message>
        <source>The server sent the request on to an address that is not followed.</source>
        <translation>El servidor redirigió la petición a una dirección que no se sigue.</translation>
    </message>
    <message>
        <source>The server is not answering.</source>
        <translation>El servidor no responde.</translation>
    </message>
    <message>
        <source>The secure connection failed.</source>
        <translation>La conexión segura falló.</translation>
    </message>
    <message>
        <source>The server did not send a whole answer in time.</source>
        <translation>El servidor no envió una respuesta completa a tiempo.</translation>
    </message>
    <message>
        <source>The server answered %1.</source>
        <translation>El servidor respondió %1.</translation>
    </message>
    <message>
        <source>The answer is too large.</source>
        <translation>La respuesta es demasiado grande.</translation>
    </message>
    <message>
        <source>The transfer stopped half way.</source>
        <translation>La transferencia se detuvo a medias.</translation>
    </message>
    <message>
        <source>The transfer was cancelled.</source>
        <translation>La transferencia se canceló.</translation>
    </message>
</context>
<context>
    <name>GuestMarker</name>
    <message>
        <source>My stations</source>
        <translation>Mis emisoras</translation>
    </message>
    <message>
        <source>Not in %1</source>
        <translation>No está en %1</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Añadir a %1</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copiar como fila CSV</translation>
    </message>
    <message>
        <source>Quillora cannot write to %1</source>
        <translation>Quillora no puede escribir en %1</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder of %1</source>
        <translation>No se puede crear la carpeta de %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
</context>
<context>
    <name>LoadFailure</name>
    <message>
        <source>the address is not an http, https or file address</source>
        <translation>la dirección no es una dirección http, https o file</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>el archivo no existe</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>el archivo no se puede leer</translation>
    </message>
    <message>
        <source>the server answered %1</source>
        <translation>el servidor respondió %1</translation>
    </message>
    <message>
        <source>the server is not answering</source>
        <translation>el servidor no responde</translation>
    </message>
    <message>
        <source>the secure connection failed</source>
        <translation>la conexión segura falló</translation>
    </message>
    <message>
        <source>the file is not a station list</source>
        <translation>el archivo no es una lista de emisoras</translation>
    </message>
    <message>
        <source>the answer is not a station list</source>
        <translation>la respuesta no es una lista de emisoras</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>el archivo es demasiado grande</translation>
    </message>
    <message>
        <source>the answer is too large</source>
        <translation>la respuesta es demasiado grande</translation>
    </message>
    <message>
        <source>the transfer stopped half way</source>
        <translation>la transferencia se detuvo a medias</translation>
    </message>
    <message>
        <source>Could not load the stations from %1: %2</source>
        <translation>No se pudieron cargar las emisoras de %1: %2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Stops in %1</source>
        <translation>Se detiene en %1</translation>
    </message>
    <message>
        <source>Opens the settings to change or cancel the sleep timer.</source>
        <translation>Abre las preferencias para cambiar o cancelar el temporizador de apagado.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
</context>
<context>
    <name>MprisService</name>
    <message>
        <source>No D-Bus session bus: media controls are off</source>
        <translation>No hay bus de sesión D-Bus: los controles multimedia están desactivados</translation>
    </message>
    <message>
        <source>Cannot export the media controls: %1</source>
        <translation>No se pueden exportar los controles multimedia: %1</translation>
    </message>
    <message>
        <source>Cannot register the media controls: %1</source>
        <translation>No se pueden registrar los controles multimedia: %1</translation>
    </message>
</context>
<context>
    <name>MpvLibrary</name>
    <message>
        <source>Cannot load the media player (%1): %2</source>
        <translation>No se puede cargar el reproductor multimedia (%1): %2</translation>
    </message>
    <message>
        <source>Cannot use the media player (%1): a function is missing</source>
        <translation>No se puede usar el reproductor multimedia (%1): falta una función</translation>
    </message>
</context>
<context>
    <name>MpvMediaPlayer</name>
    <message>
        <source>Ignoring %1 entry %2: %3</source>
        <translation>Se ignora la entrada %2 de %1: %3</translation>
    </message>
    <message>
        <source>Cannot create the media player</source>
        <translation>No se puede crear el reproductor multimedia</translation>
    </message>
    <message>
        <source>Media player option %1=%2: %3</source>
        <translation>Opción del reproductor multimedia %1=%2: %3</translation>
    </message>
    <message>
        <source>Cannot start the media player: %1</source>
        <translation>No se puede iniciar el reproductor multimedia: %1</translation>
    </message>
</context>
<context>
    <name>OfflineNote</name>
    <message>
        <source>Try loading the stations again</source>
        <translation>Intentar cargar las emisoras de nuevo</translation>
    </message>
</context>
<context>
    <name>PlayButton</name>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Conectando</translation>
    </message>
</context>
<context>
    <name>PlaybackSession</name>
    <message>
        <source>Cannot play %1: not an http(s) stream address</source>
        <translation>No se puede reproducir %1: no es una dirección de flujo http(s)</translation>
    </message>
    <message>
        <source>The media player cannot start</source>
        <translation>El reproductor multimedia no puede iniciarse</translation>
    </message>
    <message>
        <source>Reconnecting (attempt %1%2) after %3</source>
        <translation>Reconectando (intento %1%2) tras %3</translation>
    </message>
    <message numerus="yes">
        <source>Playback failed after %n tries: %1</source>
        <translation>
            <numerusform>La reproducción falló tras %n intento: %1</numerusform>
            <numerusform>La reproducción falló tras %n intentos: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message numerus="yes">
        <source>Loaded %n stations</source>
        <translation>
            <numerusform>%n emisora cargada</numerusform>
            <numerusform>%n emisoras cargadas</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecentlyPlayed</name>
    <message>
        <source>Cannot keep the recently played songs: %1</source>
        <translation>No se pueden guardar las canciones escuchadas recientemente: %1</translation>
    </message>
</context>
<context>
    <name>RecentlyPlayedRow</name>
    <message>
        <source>Saved</source>
        <translation>Guardada</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copiado</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
</context>
<context>
    <name>RecentlyPlayedSheet</name>
    <message>
        <source>Recently played</source>
        <translation>Escuchado recientemente</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>No songs yet</source>
        <translation>Aún no hay canciones</translation>
    </message>
    <message>
        <source>Songs appear here as the stations announce them.</source>
        <translation>Las canciones aparecen aquí a medida que las emisoras las anuncian.</translation>
    </message>
</context>
<context>
    <name>RecordSwitch</name>
    <message>
        <source>Keep songs</source>
        <translation>Guardar canciones</translation>
    </message>
    <message>
        <source>Recording this song</source>
        <translation>Grabando esta canción</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Cannot write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
    <message>
        <source>Kept %1</source>
        <translation>%1 guardada</translation>
    </message>
    <message>
        <source>Cannot keep songs: %1 cannot be written</source>
        <translation>No se pueden guardar canciones: no se puede escribir en %1</translation>
    </message>
    <message>
        <source>Recording paused: less than 500 MB free on the disk of %1</source>
        <translation>Grabación en pausa: menos de 500 MB libres en el disco de %1</translation>
    </message>
</context>
<context>
    <name>RecordingSettings</name>
    <message>
        <source>quillora.conf: [recording] %1=%2 is not a number of seconds; using %3</source>
        <translation>quillora.conf: [recording] %1=%2 no es un número de segundos; se usa %3</translation>
    </message>
    <message>
        <source>quillora.conf: [recording] mode=%1 is not off, all or decide; recording is off</source>
        <translation>quillora.conf: [recording] mode=%1 no es off, all ni decide; la grabación está desactivada</translation>
    </message>
</context>
<context>
    <name>SearchField</name>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
</context>
<context>
    <name>SettingsSheet</name>
    <message>
        <source>Settings</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Reproducción</translation>
    </message>
    <message>
        <source>Keep playing when the window closes</source>
        <translation>Seguir reproduciendo al cerrar la ventana</translation>
    </message>
    <message>
        <source>The media controls and the tray icon bring it back.</source>
        <translation>Los controles multimedia y el icono de la bandeja la recuperan.</translation>
    </message>
    <message>
        <source>Notify when the song changes</source>
        <translation>Notificar cuando cambie la canción</translation>
    </message>
    <message>
        <source>Not while the window is in front.</source>
        <translation>No mientras la ventana esté en primer plano.</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Colores</translation>
    </message>
    <message>
        <source>As the desktop</source>
        <translation>Como el escritorio</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
    <message>
        <source>Sleep timer</source>
        <translation>Temporizador de apagado</translation>
    </message>
    <message>
        <source>Stops in %1</source>
        <translation>Se detiene en %1</translation>
    </message>
    <message>
        <source>Starts while a station plays.</source>
        <translation>Empieza mientras suena una emisora.</translation>
    </message>
    <message numerus="yes">
        <source>Stop in %n minutes</source>
        <translation>
            <numerusform>Detener en %n minuto</numerusform>
            <numerusform>Detener en %n minutos</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Keeping songs</source>
        <translation>Guardar canciones</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>Every song</source>
        <translation>Todas las canciones</translation>
    </message>
    <message>
        <source>I choose</source>
        <translation>Yo elijo</translation>
    </message>
    <message>
        <source>Every song heard from its start to its end is kept in the folder.</source>
        <translation>Cada canción escuchada de principio a fin se guarda en la carpeta.</translation>
    </message>
    <message>
        <source>The last ten songs wait; Save keeps one in the folder.</source>
        <translation>Las últimas diez canciones esperan; «Guardar» conserva una en la carpeta.</translation>
    </message>
    <message>
        <source>The switch beside the song still keeps one station&apos;s songs.</source>
        <translation>El interruptor junto a la canción sigue guardando las canciones de una emisora.</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Carpeta: %1</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Elegir…</translation>
    </message>
    <message>
        <source>Folder for kept songs</source>
        <translation>Carpeta de las canciones guardadas</translation>
    </message>
    <message>
        <source>No folder dialog on this desktop: set folder= under [recording] in quillora.conf.</source>
        <translation>No hay diálogo de carpetas en este escritorio: ajuste folder= en [recording] de quillora.conf.</translation>
    </message>
</context>
<context>
    <name>Sheet</name>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>Cannot claim %1 on the session bus: %2</source>
        <translation>No se puede reservar %1 en el bus de sesión: %2</translation>
    </message>
    <message>
        <source>Quillora is running but does not answer: %1</source>
        <translation>Quillora está en marcha pero no responde: %1</translation>
    </message>
</context>
<context>
    <name>SongCutter</name>
    <message>
        <source>Cannot read the recording: %1</source>
        <translation>No se puede leer la grabación: %1</translation>
    </message>
    <message>
        <source>The recording holds no audio</source>
        <translation>La grabación no contiene audio</translation>
    </message>
    <message>
        <source>Songs in %1 cannot be kept</source>
        <translation>Las canciones en %1 no se pueden guardar</translation>
    </message>
    <message>
        <source>Nothing was recorded</source>
        <translation>No se grabó nada</translation>
    </message>
    <message>
        <source>Cannot set up the song&apos;s file</source>
        <translation>No se puede preparar el archivo de la canción</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
</context>
<context>
    <name>SongHistory</name>
    <message>
        <source>Cannot read the recently played songs: %1</source>
        <translation>No se pueden leer las canciones escuchadas recientemente: %1</translation>
    </message>
</context>
<context>
    <name>SongLine</name>
    <message>
        <source>Recently played</source>
        <translation>Escuchado recientemente</translation>
    </message>
</context>
<context>
    <name>SongNotifier</name>
    <message>
        <source>The song notification failed: %1</source>
        <translation>Falló la notificación de la canción: %1</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
</context>
<context>
    <name>StateStore</name>
    <message>
        <source>The store could not be read: %1</source>
        <translation>No se pudo leer la base de datos: %1</translation>
    </message>
</context>
<context>
    <name>StationEditing</name>
    <message>
        <source>Added “%1” to %2</source>
        <translation>«%1» añadida a %2</translation>
    </message>
    <message>
        <source>Copied “%1” as a CSV row: paste it into %2</source>
        <translation>«%1» copiada como fila CSV: péguela en %2</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Add to %1</source>
        <translation>Añadir a %1</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copiar como fila CSV</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Editar…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Add station…</source>
        <translation>Añadir emisora…</translation>
    </message>
    <message>
        <source>Station actions</source>
        <translation>Acciones de la emisora</translation>
    </message>
</context>
<context>
    <name>StationExchange</name>
    <message>
        <source>not a playlist or station list: %1</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: %1</translation>
    </message>
    <message>
        <source>not a playlist or station list: a table without a URL column</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: una tabla sin columna URL</translation>
    </message>
    <message>
        <source>a JSON object</source>
        <translation>un objeto JSON</translation>
    </message>
    <message>
        <source>a JSON value</source>
        <translation>un valor JSON</translation>
    </message>
    <message>
        <source>JSON nested deeper than %1 levels</source>
        <translation>JSON anidado en más de %1 niveles</translation>
    </message>
    <message>
        <source>not a playlist or station list: not valid JSON (at byte %1: %2)</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: JSON no válido (en el byte %1: %2)</translation>
    </message>
    <message>
        <source>not a list: %1, not Radiotray-NG&apos;s list of bookmark groups</source>
        <translation>no es una lista: %1, no la lista de grupos de marcadores de Radiotray-NG</translation>
    </message>
    <message>
        <source>larger than %1 MB</source>
        <translation>más de %1 MB</translation>
    </message>
    <message>
        <source>not a playlist or station list: not text</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: no es texto</translation>
    </message>
    <message>
        <source>not a playlist or station list: empty</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: está vacío</translation>
    </message>
    <message>
        <source>not a playlist or station list: it holds no stream address</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: no contiene ninguna dirección de flujo</translation>
    </message>
    <message>
        <source>M3U playlist</source>
        <translation>Lista de reproducción M3U</translation>
    </message>
    <message>
        <source>PLS playlist</source>
        <translation>Lista de reproducción PLS</translation>
    </message>
    <message>
        <source>XSPF playlist</source>
        <translation>Lista de reproducción XSPF</translation>
    </message>
    <message>
        <source>Goodvibes stations</source>
        <translation>Emisoras de Goodvibes</translation>
    </message>
    <message>
        <source>Radiotray-NG bookmarks</source>
        <translation>Marcadores de Radiotray-NG</translation>
    </message>
    <message>
        <source>pyradio stations</source>
        <translation>Emisoras de pyradio</translation>
    </message>
    <message>
        <source>CSV station list</source>
        <translation>Lista de emisoras CSV</translation>
    </message>
    <message>
        <source>more than %1 stations</source>
        <translation>más de %1 emisoras</translation>
    </message>
    <message>
        <source>an XML file with entity declarations, which are refused</source>
        <translation>un archivo XML con declaraciones de entidades, que se rechazan</translation>
    </message>
    <message>
        <source>not a playlist or station list: an XML file whose root is &lt;%1&gt;, not an XSPF &lt;playlist&gt; or Goodvibes &lt;Stations&gt;</source>
        <translation>no es una lista de reproducción ni una lista de emisoras: un archivo XML cuya raíz es &lt;%1&gt;, no &lt;playlist&gt; de XSPF ni &lt;Stations&gt; de Goodvibes</translation>
    </message>
    <message>
        <source>not well-formed XML (line %1: %2)</source>
        <translation>XML mal formado (línea %1: %2)</translation>
    </message>
</context>
<context>
    <name>StationFormSheet</name>
    <message>
        <source>Copied “%1” as a CSV row</source>
        <translation>«%1» copiada como fila CSV</translation>
    </message>
    <message>
        <source>Added “%1” to %2</source>
        <translation>«%1» añadida a %2</translation>
    </message>
    <message>
        <source>Saved “%1”</source>
        <translation>«%1» guardada</translation>
    </message>
    <message>
        <source>Add station</source>
        <translation>Añadir emisora</translation>
    </message>
    <message>
        <source>Edit station</source>
        <translation>Editar emisora</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>The station&apos;s name</source>
        <translation>El nombre de la emisora</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Género</translation>
    </message>
    <message>
        <source>Optional, for example Jazz</source>
        <translation>Opcional, por ejemplo Jazz</translation>
    </message>
    <message>
        <source>Stream address</source>
        <translation>Dirección del flujo</translation>
    </message>
    <message>
        <source>Logo address</source>
        <translation>Dirección del logotipo</translation>
    </message>
    <message>
        <source>Optional, https://…</source>
        <translation>Opcional, https://…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Copy as CSV row</source>
        <translation>Copiar como fila CSV</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
</context>
<context>
    <name>StationImport</name>
    <message numerus="yes">
        <source>%n already in My stations</source>
        <translation>
            <numerusform>%n ya estaba en «Mis emisoras»</numerusform>
            <numerusform>%n ya estaban en «Mis emisoras»</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped: not an http(s) address</source>
        <translation>
            <numerusform>%n omitida: no es una dirección http(s)</numerusform>
            <numerusform>%n omitidas: no son direcciones http(s)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %n station(s)</source>
        <translation>
            <numerusform>%n emisora importada</numerusform>
            <numerusform>%n emisoras importadas</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Nothing imported: %1 is %2</source>
        <translation>No se importó nada: %1 (%2)</translation>
    </message>
    <message>
        <source>Nothing imported: more than %1 stations</source>
        <translation>No se importó nada: más de %1 emisoras</translation>
    </message>
    <message>
        <source>Nothing imported: %1</source>
        <translation>No se importó nada: %1</translation>
    </message>
    <message>
        <source>Nothing imported: could not read %1: %2</source>
        <translation>No se importó nada: no se pudo leer %1: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es una carpeta</translation>
    </message>
</context>
<context>
    <name>StationList</name>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Filter stations</source>
        <translation>Filtrar emisoras</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Emisoras</translation>
    </message>
</context>
<context>
    <name>StationRow</name>
    <message>
        <source>Playing</source>
        <translation>Sonando</translation>
    </message>
</context>
<context>
    <name>StationView</name>
    <message>
        <source>%1 logo</source>
        <translation>Logotipo de %1</translation>
    </message>
</context>
<context>
    <name>StationsSheet</name>
    <message>
        <source>Stations</source>
        <translation>Emisoras</translation>
    </message>
    <message>
        <source>Stations: the catalogue in use</source>
        <translation>Emisoras: el catálogo en uso</translation>
    </message>
    <message>
        <source>In use</source>
        <translation>En uso</translation>
    </message>
    <message numerus="yes">
        <source>%n station(s)</source>
        <translation>
            <numerusform>%n emisora</numerusform>
            <numerusform>%n emisoras</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) could not be read</source>
        <translation>
            <numerusform>No se pudo leer %n fila</numerusform>
            <numerusform>No se pudieron leer %n filas</numerusform>
        </translation>
    </message>
    <message>
        <source>Use My stations</source>
        <translation>Usar «Mis emisoras»</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importar…</translation>
    </message>
    <message>
        <source>Add the stations of playlists or other players&apos; lists to My stations</source>
        <translation>Añadir a «Mis emisoras» las emisoras de listas de reproducción o de las listas de otros reproductores</translation>
    </message>
    <message>
        <source>Import stations</source>
        <translation>Importar emisoras</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exportar…</translation>
    </message>
    <message>
        <source>Save the stations in use as a playlist</source>
        <translation>Guardar las emisoras en uso como lista de reproducción</translation>
    </message>
    <message>
        <source>Export stations</source>
        <translation>Exportar emisoras</translation>
    </message>
    <message>
        <source>Use another catalogue</source>
        <translation>Usar otro catálogo</translation>
    </message>
    <message>
        <source>The CSV address of a published spreadsheet, any CSV address, or a CSV file on this computer.</source>
        <translation>La dirección CSV de una hoja de cálculo publicada, cualquier dirección CSV o un archivo CSV de este equipo.</translation>
    </message>
    <message>
        <source>https://… or /path/to/stations.csv</source>
        <translation>https://… o /ruta/a/stations.csv</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Usar</translation>
    </message>
    <message>
        <source>Open a CSV file…</source>
        <translation>Abrir un archivo CSV…</translation>
    </message>
    <message>
        <source>Open a station catalogue</source>
        <translation>Abrir un catálogo de emisoras</translation>
    </message>
    <message>
        <source>No file dialog here: paste the file&apos;s path above.</source>
        <translation>Aquí no hay diálogo de archivos: pegue arriba la ruta del archivo.</translation>
    </message>
    <message>
        <source>Reading the catalogue…</source>
        <translation>Leyendo el catálogo…</translation>
    </message>
    <message>
        <source>The stations in use stay as they are.</source>
        <translation>Las emisoras en uso se quedan como están.</translation>
    </message>
    <message>
        <source>You can also drop a CSV file or an address on the window.</source>
        <translation>También puede soltar un archivo CSV o una dirección en la ventana.</translation>
    </message>
</context>
<context>
    <name>StatusNotifierItem</name>
    <message>
        <source>The panel refused the tray icon: %1</source>
        <translation>El panel rechazó el icono de la bandeja: %1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Ocultar ventana</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>Mostrar ventana</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>StoreSchema</name>
    <message>
        <source>The store was written by a newer Quillora (version %1); using it as it is</source>
        <translation>La base de datos la escribió un Quillora más reciente (versión %1); se usa tal cual</translation>
    </message>
</context>
<context>
    <name>StreamReport</name>
    <message>
        <source>The stream ended</source>
        <translation>El flujo terminó</translation>
    </message>
    <message>
        <source>The station&apos;s server is not answering</source>
        <translation>El servidor de la emisora no responde</translation>
    </message>
    <message>
        <source>Not found (404)</source>
        <translation>No encontrado (404)</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Acceso denegado</translation>
    </message>
    <message>
        <source>Unsupported stream format</source>
        <translation>Formato de flujo no compatible</translation>
    </message>
    <message>
        <source>No audio output</source>
        <translation>No hay salida de audio</translation>
    </message>
    <message>
        <source>The stream could not be played</source>
        <translation>No se pudo reproducir el flujo</translation>
    </message>
</context>
<context>
    <name>SuspendInhibitor</name>
    <message>
        <source>Cannot keep the machine awake while playing: no portal and no logind</source>
        <translation>No se puede mantener el equipo despierto durante la reproducción: no hay portal ni logind</translation>
    </message>
    <message>
        <source>Cannot keep the machine awake while playing: %1</source>
        <translation>No se puede mantener el equipo despierto durante la reproducción: %1</translation>
    </message>
</context>
<context>
    <name>VolumeSlider</name>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
</context>
</TS>
