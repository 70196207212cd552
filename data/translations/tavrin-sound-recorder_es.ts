<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>HomePage</source>
        <translation>Página web</translation>
    </message>
    <message>
        <source>Technology Support</source>
        <comment>row caption</comment>
        <translation>Soporte técnico</translation>
    </message>
    <message>
        <source>Technology Support</source>
        <comment>link to the support mailbox</comment>
        <translation>Soporte técnico</translation>
    </message>
    <message>
        <source>Made with Qt, FFmpeg, TagLib and PulseAudio.</source>
        <translation>Creado con Qt, FFmpeg, TagLib y PulseAudio.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>AdvancedControlsDialog</name>
    <message>
        <source>Dialog</source>
        <extracomment>the caption until the controls of the line are built</extracomment>
        <translation>Diálogo</translation>
    </message>
    <message>
        <source>These settings can be used to make fine adjustments to your audio.</source>
        <translation>Esta configuración permite realizar ajustes finos en el audio.</translation>
    </message>
    <message>
        <source>Other Controls</source>
        <translation>Otros controles</translation>
    </message>
    <message>
        <source>These settings make other changes to how your audio sounds. See your hardware documentation for details.</source>
        <translation>Esta configuración modifica otros aspectos del sonido. Consulte la documentación del hardware para obtener más detalles.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Advanced Properties for %1</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Propiedades avanzadas de %1</translation>
    </message>
</context>
<context>
    <name>AudioDecoder</name>
    <message>
        <source>%1 kbps</source>
        <extracomment>A bit rate in a file format; %1 is in kilobits per second.</extracomment>
        <translation>%1 kbps</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>No se puede abrir %1: %2</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>No es un archivo normal</translation>
    </message>
    <message>
        <source>The file is empty</source>
        <translation>El archivo está vacío</translation>
    </message>
    <message>
        <source>MPEG %1 layer-%2: %3 kbps, %4 Hz, %5</source>
        <extracomment>Keep &quot;MPEG %1 layer-%2:&quot; as it is (the status bar shortens it to &quot;MP3&quot;). %1 the MPEG version, %2 the layer, %3 the bit rate, %4 the sample rate, %5 the channels.</extracomment>
        <translation>MPEG %1 layer-%2: %3 kbps, %4 Hz, %5</translation>
    </message>
    <message>
        <source>%1: %2 Hz, %3</source>
        <extracomment>%1 the codec (Opus or Ogg Vorbis), %2 the sample rate, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>%1: %2 Hz, %3</translation>
    </message>
    <message>
        <source>The audio format is not known</source>
        <translation>Formato de audio desconocido</translation>
    </message>
    <message>
        <source>The file holds no audio that can be decoded</source>
        <translation>El archivo no contiene audio que se pueda decodificar</translation>
    </message>
    <message>
        <source>%1 Hz</source>
        <extracomment>A sample rate in a file format; %1 is the rate in Hz.</extracomment>
        <translation>%1 Hz</translation>
    </message>
    <message>
        <source>MPEG %1 layer-%2: %3 VBR, %4, %5</source>
        <extracomment>Keep &quot;MPEG %1 layer-%2:&quot; as it is (the status bar shortens it to &quot;MP3&quot;). %1 the MPEG version, %2 the layer, %3 the bit rate (&quot;128 kbps&quot;), %4 the sample rate (&quot;44100 Hz&quot;), %5 the channels (&quot;Stereo&quot;). VBR: a variable bit rate.</extracomment>
        <translation>MPEG %1 layer-%2: %3 VBR, %4, %5</translation>
    </message>
    <message>
        <source>MPEG %1 layer-%2: %3, %4, %5</source>
        <extracomment>Keep &quot;MPEG %1 layer-%2:&quot; as it is (the status bar shortens it to &quot;MP3&quot;). %1 the MPEG version, %2 the layer, %3 the bit rate (&quot;128 kbps&quot;), %4 the sample rate (&quot;44100 Hz&quot;), %5 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>MPEG %1 layer-%2: %3, %4, %5</translation>
    </message>
    <message>
        <source>%1: %2, %3 bit float, %4</source>
        <extracomment>%1 the codec (&quot;PCM&quot;), %2 the sample rate (&quot;44100 Hz&quot;), %3 bits per sample, %4 the channels (&quot;Stereo&quot;). Float: samples in floating point.</extracomment>
        <translation>%1: %2, %3 bit flotante, %4</translation>
    </message>
    <message>
        <source>%1: %2, %3 bit, %4</source>
        <extracomment>%1 the codec (&quot;PCM&quot;, &quot;IMA ADPCM&quot;), %2 the sample rate (&quot;44100 Hz&quot;), %3 bits per sample, %4 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>%1: %2, %3 bit, %4</translation>
    </message>
    <message>
        <source>FLAC: %1, %2 bit, %3</source>
        <extracomment>%1 the sample rate (&quot;44100 Hz&quot;), %2 bits per sample, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>FLAC: %1, %2 bit, %3</translation>
    </message>
    <message>
        <source>Audio</source>
        <extracomment>The name of a codec FFmpeg gives no name.</extracomment>
        <translation>Audio</translation>
    </message>
</context>
<context>
    <name>AudioWriter</name>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>No se puede crear %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>A WAV file cannot hold more than 4 GB</source>
        <translation>Un archivo WAV no puede superar los 4 GB</translation>
    </message>
    <message>
        <source>No WMA encoder is installed</source>
        <translation>No hay ningún codificador WMA instalado</translation>
    </message>
    <message>
        <source>No FLAC encoder is installed</source>
        <translation>No hay ningún codificador FLAC instalado</translation>
    </message>
    <message>
        <source>No Ogg Vorbis encoder is installed</source>
        <translation>No hay ningún codificador Ogg Vorbis instalado</translation>
    </message>
    <message>
        <source>No Opus encoder is installed</source>
        <translation>No hay ningún codificador Opus instalado</translation>
    </message>
    <message>
        <source>No MP3 encoder is installed</source>
        <translation>No hay ningún codificador MP3 instalado</translation>
    </message>
    <message>
        <source>Cannot create %1: %2 (%3)</source>
        <extracomment>%1 the file, %2 why, %3 the format asked for (&quot;MPEG 1.0 layer-3: 128 kbps, ...&quot;).</extracomment>
        <translation>No se puede crear %1: %2 (%3)</translation>
    </message>
    <message>
        <source>Cannot create %1: no %2 writer</source>
        <extracomment>%2 is FFmpeg&apos;s name of a container format (&quot;ogg&quot;, &quot;asf&quot;).</extracomment>
        <translation>No se puede crear %1: no hay escritor para el formato %2</translation>
    </message>
    <message>
        <source>Cannot write %1: the file is closed</source>
        <translation>No se puede escribir %1: el archivo está cerrado</translation>
    </message>
    <message>
        <source>Cannot move the recording to %1: %2</source>
        <translation>No se puede mover la grabación a %1: %2</translation>
    </message>
    <message>
        <source>no file is being written</source>
        <translation>no se está escribiendo ningún archivo</translation>
    </message>
    <message>
        <source>it is being moved already</source>
        <translation>ya se está moviendo</translation>
    </message>
    <message>
        <source>that is the recording itself</source>
        <translation>es la propia grabación</translation>
    </message>
    <message>
        <source>that file is being written</source>
        <translation>ese archivo se está escribiendo</translation>
    </message>
</context>
<context>
    <name>CaptureInput</name>
    <message>
        <source>The recording could not start</source>
        <translation>No se pudo iniciar la grabación</translation>
    </message>
    <message>
        <source>Capture did not start again</source>
        <translation>No se pudo reanudar la captura</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.</source>
        <extracomment>%1 is the command&apos;s name, %2 what is wrong with the command line.</extracomment>
        <translation>%1: %2
Pruebe &apos;%1 --help&apos; para más información.</translation>
    </message>
    <message>
        <source>Usage: %1 [options] [file]
       %1 --record [-d SECONDS] [-s NAME] [--split SECONDS] [--on-sound DBFS [--quiet SECONDS]]
                   [--at HH:MM] [--monitor] [--separate] [output]
       %1 --list-sources
       %1 --remote record|pause|stop|status
       %1 --remote marker [name]</source>
        <extracomment>The usage lines of --help; %1 is the command&apos;s name. Option names (--record, -d, ...) and the remote commands (record, pause, stop, status, marker) are typed as they are: keep them.</extracomment>
        <translation>Uso: %1 [opciones] [archivo]
     %1 --record [-d SEGUNDOS] [-s NOMBRE] [--split SEGUNDOS] [--on-sound DBFS [--quiet SEGUNDOS]]
                 [--at HH:MM] [--monitor] [--separate] [salida]
     %1 --list-sources
     %1 --remote record|pause|stop|status
     %1 --remote marker [nombre]</translation>
    </message>
    <message>
        <source>
Exit status: 0 when everything recorded was written (or the window was closed); 1 when a
recording could not start or ended in a failure, or the remote control found no running
recorder or was refused; 2 for a usage error.
</source>
        <extracomment>The end of --help: what the exit status says. 0, 1 and 2 are the statuses themselves.</extracomment>
        <translation>
Estado de salida: 0 si se escribió todo lo grabado (o se cerró la ventana); 1 si una
grabación no pudo iniciarse o terminó con un error, o si el control remoto no encontró
ninguna grabadora en ejecución o fue rechazado; 2 si hubo un error de uso.
</translation>
    </message>
    <message>
        <source>Records sound into MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus files, plays them back and edits their tags. Without --record, --list-sources or --remote it opens its window.</source>
        <translation>Graba sonido en archivos MP3, WAV, WMA, FLAC, Ogg Vorbis y Opus, los reproduce y edita sus etiquetas. Sin --record, --list-sources ni --remote, abre su ventana.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Muestra la ayuda sobre las opciones de la línea de comandos.</translation>
    </message>
    <message>
        <source>Records without a window into [output]: a file (the format from its extension, .mp3, .wav, .wma, .flac, .ogg or .opus, with the stored settings of that format, never written over) or an existing folder (the next &quot;Untitled n&quot; in the stored format); without it, the stored save folder and format. Ctrl+C stops it; Enter (on a terminal) or SIGUSR1 adds a marker. The path of every file written is printed at the end.</source>
        <extracomment>&quot;Untitled n&quot; is how the recordings&apos; files are named: keep it as it is.</extracomment>
        <translation>Graba sin ventana en [salida]: un archivo (el formato según su extensión, .mp3, .wav, .wma, .flac, .ogg u .opus, con la configuración guardada de ese formato; nunca se sobrescribe) o una carpeta existente (el siguiente &quot;Untitled n&quot; en el formato guardado); sin ella, la carpeta de guardado y el formato guardados. Ctrl+C la detiene; Intro (en un terminal) o SIGUSR1 añade un marcador. Al final se muestra la ruta de cada archivo escrito.</translation>
    </message>
    <message>
        <source>seconds</source>
        <extracomment>In --help, the value an option takes: a number of seconds (&quot;--duration &lt;seconds&gt;&quot;).</extracomment>
        <translation>segundos</translation>
    </message>
    <message>
        <source>With --record: stops after that many seconds.</source>
        <translation>Con --record: se detiene tras ese número de segundos.</translation>
    </message>
    <message>
        <source>With --record: the input, as --list-sources names it or by an id that is the same in every language, &quot;mix:microphone+computer&quot; or &quot;sink-input:&lt;application&gt;&quot; (the default input without it).</source>
        <extracomment>&quot;mix:microphone+computer&quot; and &quot;sink-input:&quot; are typed as they are: keep them.</extracomment>
        <translation>Con --record: la entrada, tal como la nombra --list-sources o por un identificador igual en todos los idiomas, «mix:microphone+computer» o «sink-input:&lt;aplicación&gt;» (sin ella, la entrada predeterminada).</translation>
    </message>
    <message>
        <source>name</source>
        <extracomment>In --help, the value --source takes: the name of an input.</extracomment>
        <translation>nombre</translation>
    </message>
    <message>
        <source>With --record: a new file every that many seconds.</source>
        <translation>Con --record: un archivo nuevo cada ese número de segundos.</translation>
    </message>
    <message>
        <source>With --record: writing starts when the sound is louder than this level, -60 to 0 dBFS.</source>
        <translation>Con --record: la escritura empieza cuando el sonido supera este nivel, de -60 a 0 dBFS.</translation>
    </message>
    <message>
        <source>dbfs</source>
        <extracomment>In --help, the value --on-sound takes: a level in dBFS (decibels below full scale).</extracomment>
        <translation>dbfs</translation>
    </message>
    <message>
        <source>With --on-sound: that many seconds of quiet (1 to 60; the stored value without it) pause the recording until the next sound.</source>
        <translation>Con --on-sound: ese número de segundos de silencio (de 1 a 60; sin ella, el valor guardado) pone en pausa la grabación hasta el siguiente sonido.</translation>
    </message>
    <message>
        <source>With --record: starts at that time, today or tomorrow if it has passed.</source>
        <translation>Con --record: empieza a esa hora, hoy, o mañana si ya ha pasado.</translation>
    </message>
    <message>
        <source>HH:MM</source>
        <extracomment>In --help, the value --at takes: a time of day as hours and minutes (&quot;14:30&quot;).</extracomment>
        <translation>HH:MM</translation>
    </message>
    <message>
        <source>With --record: plays what is recorded on the default output device too (refused with a warning for an input that would play back into it).</source>
        <translation>Con --record: reproduce también lo que se graba en el dispositivo de salida predeterminado (se rechaza con un aviso si la entrada captaría esa misma reproducción).</translation>
    </message>
    <message>
        <source>With --record and &quot;Microphone + computer sound&quot;: also writes each side to a file of its own beside the mix, &quot;&lt;output&gt; (microphone)&quot; and &quot;&lt;output&gt; (computer)&quot; (the stored choice without it).</source>
        <extracomment>&quot;&lt;output&gt; (microphone)&quot; and &quot;&lt;output&gt; (computer)&quot; are the names of the files written: keep them as they are.</extracomment>
        <translation>Con --record y &quot;Micrófono + sonido del equipo&quot;: también escribe cada lado en un archivo propio junto a la mezcla, &quot;&lt;output&gt; (microphone)&quot; y &quot;&lt;output&gt; (computer)&quot; (sin ella, la opción guardada).</translation>
    </message>
    <message>
        <source>Prints every input --source takes: its name, a tab, its description, and &quot;default&quot; for the default input.</source>
        <extracomment>&quot;default&quot; is printed as it is: keep it.</extracomment>
        <translation>Muestra todas las entradas que admite --source: su nombre, un tabulador, su descripción y &quot;default&quot; para la entrada predeterminada.</translation>
    </message>
    <message>
        <source>Tells the running recorder&apos;s window to record, pause or stop, to add a marker (marker [name]), or prints its state, elapsed time and file (status).</source>
        <extracomment>record, pause, stop, marker and status are typed as they are: keep them.</extracomment>
        <translation>Indica a la ventana de la grabadora en ejecución que grabe (record), pause (pause) o se detenga (stop), que añada un marcador (marker [nombre]), o muestra su estado, tiempo transcurrido y archivo (status).</translation>
    </message>
    <message>
        <source>command</source>
        <extracomment>In --help, the value --remote takes: what the window is told to do.</extracomment>
        <translation>comando</translation>
    </message>
    <message>
        <source>file</source>
        <extracomment>In --help, the name of the one argument: a sound file.</extracomment>
        <translation>archivo</translation>
    </message>
    <message>
        <source>A sound file to open at start-up, as File / Open does; with --record, where to record.</source>
        <translation>Un archivo de sonido que se abre al iniciar, como en Archivo / Abrir; con --record, dónde grabar.</translation>
    </message>
    <message>
        <source>[file]</source>
        <extracomment>In --help&apos;s usage line, the one argument, which may be left out.</extracomment>
        <translation>[archivo]</translation>
    </message>
    <message>
        <source>--record, --list-sources and --remote cannot be combined.</source>
        <translation>--record, --list-sources y --remote no se pueden combinar.</translation>
    </message>
    <message>
        <source>--%1 is an option of --record.</source>
        <extracomment>%1 is an option&apos;s name (&quot;duration&quot;).</extracomment>
        <translation>--%1 es una opción de --record.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argumento inesperado &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Unknown remote command &apos;%1&apos;; it is record, pause, stop, marker or status.</source>
        <extracomment>record, pause, stop, marker and status are typed as they are: keep them.</extracomment>
        <translation>Comando remoto desconocido &apos;%1&apos;; debe ser record, pause, stop, marker o status.</translation>
    </message>
    <message>
        <source>Only one file can be named at a time; %1 were named.</source>
        <translation>Solo se puede indicar un archivo a la vez; se indicaron %1.</translation>
    </message>
    <message>
        <source>%1 has no extension the recorder writes (.mp3, .wav, .wma, .flac, .ogg or .opus).</source>
        <translation>%1 no tiene ninguna extensión que la grabadora pueda escribir (.mp3, .wav, .wma, .flac, .ogg u .opus).</translation>
    </message>
    <message>
        <source>Bad --duration &apos;%1&apos;: a whole number of seconds, at least 1.</source>
        <translation>--duration &apos;%1&apos; no válido: debe ser un número entero de segundos, como mínimo 1.</translation>
    </message>
    <message>
        <source>Bad --split &apos;%1&apos;: a whole number of seconds, at least 1.</source>
        <translation>--split &apos;%1&apos; no válido: debe ser un número entero de segundos, como mínimo 1.</translation>
    </message>
    <message>
        <source>Bad --on-sound &apos;%1&apos;: a level from -60 to 0 dBFS.</source>
        <translation>--on-sound &apos;%1&apos; no válido: debe ser un nivel de -60 a 0 dBFS.</translation>
    </message>
    <message>
        <source>--quiet is an option of --on-sound.</source>
        <translation>--quiet es una opción de --on-sound.</translation>
    </message>
    <message>
        <source>Bad --quiet &apos;%1&apos;: from 1 to 60 seconds.</source>
        <translation>--quiet &apos;%1&apos; no válido: debe estar entre 1 y 60 segundos.</translation>
    </message>
    <message>
        <source>Bad --at &apos;%1&apos;: a time as HH:MM.</source>
        <translation>--at &apos;%1&apos; no válido: debe ser una hora con el formato HH:MM.</translation>
    </message>
</context>
<context>
    <name>CommandLineRecorder</name>
    <message>
        <source>%1 kB</source>
        <extracomment>A file&apos;s size in kilobytes; &quot;kB&quot; is the unit as the language writes it.</extracomment>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <extracomment>A file&apos;s size in megabytes; &quot;MB&quot; is the unit as the language writes it.</extracomment>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <extracomment>A file&apos;s size in gigabytes; &quot;GB&quot; is the unit as the language writes it.</extracomment>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>peak -60 dBFS</source>
        <extracomment>The progress line&apos;s loudest level of the last moment, in decibels below full scale.</extracomment>
        <translation>pico -60 dBFS</translation>
    </message>
    <message>
        <source>peak %1 dBFS</source>
        <extracomment>The progress line&apos;s loudest level of the last moment, in decibels below full scale (%1 is -60 to 0).</extracomment>
        <translation>pico %1 dBFS</translation>
    </message>
    <message>
        <source>Cannot write %1: the folder %2 does not exist</source>
        <translation>No se puede escribir %1: la carpeta %2 no existe</translation>
    </message>
    <message>
        <source>Cannot write %1: the file exists</source>
        <translation>No se puede escribir %1: el archivo ya existe</translation>
    </message>
    <message>
        <source>Unknown source &apos;%1&apos;; %2 --list-sources names them</source>
        <extracomment>%1 is the source asked for, %2 the command&apos;s name.</extracomment>
        <translation>Fuente desconocida &apos;%1&apos;; %2 --list-sources muestra las disponibles</translation>
    </message>
    <message>
        <source>--separate keeps the sides of &quot;Microphone + computer sound&quot; apart; %1 has none</source>
        <extracomment>&quot;Microphone + computer sound&quot; is the input of that name; %1 is the input chosen.</extracomment>
        <translation>--separate mantiene separados los lados de &quot;Micrófono + sonido del equipo&quot;; %1 no tiene lados</translation>
    </message>
    <message>
        <source>The recording could not start</source>
        <translation>No se pudo iniciar la grabación</translation>
    </message>
    <message>
        <source>%1: warning: %2</source>
        <extracomment>A warning on the terminal: %1 is the command&apos;s name, %2 what is wrong.</extracomment>
        <translation>%1: aviso: %2</translation>
    </message>
    <message>
        <source>%1 (at %2)</source>
        <extracomment>The progress line while a recording waits for its set time: %1 is &quot;Recording in 01:02:03&quot;, %2 the time it starts (hours and minutes).</extracomment>
        <translation>%1 (a las %2)</translation>
    </message>
    <message>
        <source>%1  Waiting for sound...</source>
        <extracomment>The progress line; %1 is the time recorded so far.</extracomment>
        <translation>%1  Esperando sonido...</translation>
    </message>
    <message>
        <source>%1  Waiting for device...</source>
        <extracomment>The progress line; %1 is the time recorded so far.</extracomment>
        <translation>%1  Esperando al dispositivo...</translation>
    </message>
</context>
<context>
    <name>Convert</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <extracomment>%1 is the text typed.</extracomment>
        <translation>&apos;%1&apos; no es un valor entero válido</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <extracomment>The button of a desktop notification that brings the window up with the file shown.</extracomment>
        <translation>Mostrar</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A notification&apos;s text: %1 is the recording&apos;s file name, %2 why it ended (&quot;Untitled3.mp3: the time limit was reached&quot;).</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Recording ended</source>
        <extracomment>A notification&apos;s title: a recording ended by itself (its time limit, a full disk, ...).</extracomment>
        <translation>Grabación finalizada</translation>
    </message>
    <message>
        <source>%1: the scheduled recording started</source>
        <extracomment>A notification&apos;s text: %1 is the file now recorded.</extracomment>
        <translation>%1: se inició la grabación programada</translation>
    </message>
    <message>
        <source>%1: sound came and the recording started</source>
        <extracomment>A notification&apos;s text: %1 is the file now recorded.</extracomment>
        <translation>%1: se detectó sonido y se inició la grabación</translation>
    </message>
    <message>
        <source>Recording started</source>
        <extracomment>A notification&apos;s title: a scheduled recording, or one started on sound, started by itself.</extracomment>
        <translation>Grabación iniciada</translation>
    </message>
    <message>
        <source>%1 was interrupted; it was repaired and listed</source>
        <extracomment>A notification&apos;s text at start-up: %1 is a file&apos;s name.</extracomment>
        <translation>%1 se interrumpió; se reparó y se añadió a la lista</translation>
    </message>
    <message>
        <source>%1 interrupted recordings were repaired and listed: %2</source>
        <extracomment>A notification&apos;s text at start-up: %1 is how many files (2 or more), %2 lists their names (&quot;Untitled3.mp3, Untitled4.mp3 and Untitled5.mp3&quot;).</extracomment>
        <translation>Se repararon y se añadieron a la lista %1 grabaciones interrumpidas: %2</translation>
    </message>
    <message>
        <source>Recordings recovered</source>
        <extracomment>A notification&apos;s title at start-up.</extracomment>
        <translation>Grabaciones recuperadas</translation>
    </message>
</context>
<context>
    <name>DiskRunway</name>
    <message>
        <source>There is not enough room on the disk of %1 to record: less than %2 seconds would fit. Free some space or choose another folder in Options</source>
        <extracomment>%1 is the save folder, %2 a number of seconds.</extracomment>
        <translation>No hay espacio suficiente en el disco de %1 para grabar: cabrían menos de %2 segundos. Libere espacio o elija otra carpeta en Opciones</translation>
    </message>
</context>
<context>
    <name>EqualizerBands</name>
    <message>
        <source>0 dB</source>
        <translation>0 dB</translation>
    </message>
    <message>
        <source>%1%2 dB</source>
        <extracomment>a band&apos;s gain: %1 is &quot;+&quot; for a boost (nothing for a cut), %2 the decibels</extracomment>
        <translation>%1%2 dB</translation>
    </message>
    <message>
        <source>%1 Hz: %2</source>
        <translation>%1 Hz: %2</translation>
    </message>
    <message>
        <source>Hz</source>
        <extracomment>the unit of the frequencies under the bands: hertz</extracomment>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Band %1</source>
        <extracomment>a band of the equalizer without a frequency label; %1 is its number, 1 to 12</extracomment>
        <translation>Banda %1</translation>
    </message>
    <message>
        <source>%1 kHz</source>
        <extracomment>a band&apos;s frequency in kilohertz, such as &quot;1.7 kHz&quot;</extracomment>
        <translation>%1 kHz</translation>
    </message>
    <message>
        <source>%1 Hz</source>
        <extracomment>a band&apos;s frequency in hertz, such as &quot;330 Hz&quot;</extracomment>
        <translation>%1 Hz</translation>
    </message>
    <message>
        <source>Equalizer</source>
        <translation>Ecualizador</translation>
    </message>
</context>
<context>
    <name>EqualizerWindow</name>
    <message>
        <source>Equalizer</source>
        <translation>Ecualizador</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Twelve bands from 36 Hz to 16 kHz, each from -15 to 15 dB</source>
        <translation>Doce bandas de 36 Hz a 16 kHz, cada una de -15 a 15 dB</translation>
    </message>
</context>
<context>
    <name>FfmpegAudioFile</name>
    <message>
        <source>Cannot create %1: No WMA encoder is installed</source>
        <translation>No se puede crear %1: no hay ningún codificador WMA instalado</translation>
    </message>
    <message>
        <source>Cannot write: no file is open for writing</source>
        <translation>No se puede escribir: no hay ningún archivo abierto para escritura</translation>
    </message>
    <message>
        <source>Cannot repair %1: it is being written</source>
        <translation>No se puede reparar %1: se está escribiendo</translation>
    </message>
    <message>
        <source>Cannot repair %1: %2 is not a format the program records</source>
        <extracomment>%2 is a file name extension (&quot;.mp4&quot;).</extracomment>
        <translation>No se puede reparar %1: %2 no es un formato que el programa grabe</translation>
    </message>
    <message>
        <source>Cannot move the recording to %1: no file is being written</source>
        <translation>No se puede mover la grabación a %1: no se está escribiendo ningún archivo</translation>
    </message>
    <message>
        <source>Cannot write the markers of %1: the file is being written</source>
        <translation>No se pueden escribir los marcadores de %1: el archivo se está escribiendo</translation>
    </message>
</context>
<context>
    <name>FfmpegUtil</name>
    <message>
        <source>Error %1</source>
        <extracomment>An FFmpeg failure without a text of its own; %1 is its error number.</extracomment>
        <translation>Error %1</translation>
    </message>
    <message>
        <source>Mono</source>
        <extracomment>One channel, at the end of a file format (&quot;PCM: 44100 Hz, 16 bit, Mono&quot;).</extracomment>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <extracomment>Two channels, at the end of a file format (&quot;PCM: 44100 Hz, 16 bit, Stereo&quot;).</extracomment>
        <translation>Estéreo</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 canales</translation>
    </message>
</context>
<context>
    <name>FileInfoPage</name>
    <message>
        <source>File name</source>
        <translation>Nombre de archivo</translation>
    </message>
    <message>
        <source>Size</source>
        <comment>column header: a file&apos;s size</comment>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>column header: a file&apos;s length, a marker&apos;s place</comment>
        <translation>Tiempo</translation>
    </message>
    <message>
        <source>Save Directory</source>
        <translation>Carpeta de guardado</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Cambiar nombre</translation>
    </message>
    <message>
        <source>Delete from list box</source>
        <translation>Quitar de la lista</translation>
    </message>
    <message>
        <source>Delete from hard disk</source>
        <translation>Eliminar del disco duro</translation>
    </message>
    <message>
        <source>Rename Marker</source>
        <translation>Cambiar nombre del marcador</translation>
    </message>
    <message>
        <source>Remove Marker</source>
        <translation>Eliminar marcador</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Título:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artista:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Álbum:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Género:</translation>
    </message>
    <message>
        <source>Copyright:</source>
        <translation>Copyright:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Año:</translation>
    </message>
    <message>
        <source>Track:</source>
        <translation>Pista:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Comentario:</translation>
    </message>
    <message>
        <source>Mpeg Tag Version</source>
        <translation>Versión de etiqueta MPEG</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Restablecer</translation>
    </message>
    <message>
        <source>Reset file info</source>
        <translation>Restablecer la información del archivo</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Apply file info</source>
        <translation>Aplicar la información del archivo</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <extracomment>a file&apos;s size in kilobytes</extracomment>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>A marker: double-click to rename it, Delete removes it; Apply writes the change</source>
        <translation>Un marcador: haga doble clic para cambiarle el nombre, Supr lo elimina; Aplicar guarda el cambio</translation>
    </message>
    <message>
        <source>Invalid Year Value</source>
        <translation>Valor de año no válido</translation>
    </message>
    <message>
        <source>Invalid Track Value</source>
        <translation>Valor de pista no válido</translation>
    </message>
    <message>
        <source>File list</source>
        <translation>Lista de archivos</translation>
    </message>
</context>
<context>
    <name>FileMarkers</name>
    <message>
        <source>this type of file keeps no markers</source>
        <translation>este tipo de archivo no guarda marcadores</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>no es un archivo</translation>
    </message>
    <message>
        <source>the file is cut short</source>
        <translation>el archivo está truncado</translation>
    </message>
    <message>
        <source>more than %1 markers</source>
        <translation>más de %1 marcadores</translation>
    </message>
    <message>
        <source>a marker before the start</source>
        <translation>un marcador antes del inicio</translation>
    </message>
    <message>
        <source>the comment list is damaged</source>
        <translation>la lista de comentarios está dañada</translation>
    </message>
    <message>
        <source>not a FLAC file</source>
        <translation>no es un archivo FLAC</translation>
    </message>
    <message>
        <source>the FLAC metadata is damaged</source>
        <translation>los metadatos FLAC están dañados</translation>
    </message>
    <message>
        <source>not an Ogg Vorbis or Opus stream</source>
        <translation>no es un flujo Ogg Vorbis ni Opus</translation>
    </message>
    <message>
        <source>the comment header is damaged</source>
        <translation>la cabecera de comentarios está dañada</translation>
    </message>
    <message>
        <source>the Ogg headers are damaged or cut short</source>
        <translation>las cabeceras Ogg están dañadas o truncadas</translation>
    </message>
    <message>
        <source>the Ogg headers are laid out in an unusual way</source>
        <translation>las cabeceras Ogg tienen una disposición inusual</translation>
    </message>
    <message>
        <source>the Ogg pages are damaged</source>
        <translation>las páginas Ogg están dañadas</translation>
    </message>
    <message>
        <source>not a WAV file</source>
        <translation>no es un archivo WAV</translation>
    </message>
    <message>
        <source>the %1 chunk is cut short</source>
        <extracomment>%1 is the four-letter name of a part of a WAV file (&quot;LIST&quot;).</extracomment>
        <translation>el bloque %1 está truncado</translation>
    </message>
    <message>
        <source>the fmt chunk is damaged</source>
        <translation>el bloque fmt está dañado</translation>
    </message>
    <message>
        <source>the WAV file has no fmt or data chunk</source>
        <translation>el archivo WAV no tiene bloque fmt o data</translation>
    </message>
    <message>
        <source>the cue chunk is damaged</source>
        <translation>el bloque cue está dañado</translation>
    </message>
    <message>
        <source>the adtl list is damaged</source>
        <translation>la lista adtl está dañada</translation>
    </message>
    <message>
        <source>a marker past the reach of a WAV file</source>
        <translation>un marcador más allá del límite de un archivo WAV</translation>
    </message>
    <message>
        <source>the ID3v2 tag is damaged</source>
        <translation>la etiqueta ID3v2 está dañada</translation>
    </message>
    <message>
        <source>the ID3v2 tag is cut short</source>
        <translation>la etiqueta ID3v2 está truncada</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>no se puede abrir</translation>
    </message>
    <message>
        <source>not an MP3 file</source>
        <translation>no es un archivo MP3</translation>
    </message>
    <message>
        <source>no MP3 audio found</source>
        <translation>no se encontró audio MP3</translation>
    </message>
    <message>
        <source>the ASF header is damaged</source>
        <translation>la cabecera ASF está dañada</translation>
    </message>
    <message>
        <source>not an ASF file</source>
        <translation>no es un archivo ASF</translation>
    </message>
    <message>
        <source>the ASF file has no audio stream</source>
        <translation>el archivo ASF no tiene flujo de audio</translation>
    </message>
    <message>
        <source>the ASF markers are damaged</source>
        <translation>los marcadores ASF están dañados</translation>
    </message>
    <message>
        <source>Cannot read the markers of %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;the file is cut short&quot;).</extracomment>
        <translation>No se pueden leer los marcadores de %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the markers of %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;the file is cut short&quot;).</extracomment>
        <translation>No se pueden escribir los marcadores de %1: %2</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>Cannot create %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>No se puede crear %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: the file exists</source>
        <translation>No se puede escribir %1: el archivo ya existe</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>No se puede crear %1</translation>
    </message>
    <message>
        <source>Cannot create %1: every name is taken</source>
        <translation>No se puede crear %1: todos los nombres están ocupados</translation>
    </message>
</context>
<context>
    <name>FileRepair</name>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>its tags cannot be read</source>
        <translation>no se pueden leer sus etiquetas</translation>
    </message>
    <message>
        <source>Cannot repair %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;its header is damaged&quot;).</extracomment>
        <translation>No se puede reparar %1: %2</translation>
    </message>
    <message>
        <source>its header is cut short</source>
        <translation>su cabecera está truncada</translation>
    </message>
    <message>
        <source>its chunk list is damaged</source>
        <translation>su lista de bloques está dañada</translation>
    </message>
    <message>
        <source>its format chunk is damaged</source>
        <translation>su bloque de formato está dañado</translation>
    </message>
    <message>
        <source>its format chunk is cut short</source>
        <translation>su bloque de formato está truncado</translation>
    </message>
    <message>
        <source>it has no usable format chunk</source>
        <translation>no tiene ningún bloque de formato utilizable</translation>
    </message>
    <message>
        <source>it has no data chunk</source>
        <translation>no tiene bloque de datos</translation>
    </message>
    <message>
        <source>it is larger than a WAV file can describe</source>
        <translation>es más grande de lo que un archivo WAV puede describir</translation>
    </message>
    <message>
        <source>it holds no MPEG audio frames</source>
        <translation>no contiene tramas de audio MPEG</translation>
    </message>
    <message>
        <source>it holds no whole MPEG audio frame</source>
        <translation>no contiene ninguna trama de audio MPEG completa</translation>
    </message>
    <message>
        <source>its audio data is damaged at byte %1</source>
        <translation>sus datos de audio están dañados en el byte %1</translation>
    </message>
    <message>
        <source>its header frame is damaged</source>
        <translation>su trama de cabecera está dañada</translation>
    </message>
    <message>
        <source>its header is damaged</source>
        <translation>su cabecera está dañada</translation>
    </message>
    <message>
        <source>its header has no file properties</source>
        <translation>su cabecera no tiene propiedades de archivo</translation>
    </message>
    <message>
        <source>its packets are not of one fixed size</source>
        <translation>sus paquetes no tienen un tamaño fijo</translation>
    </message>
    <message>
        <source>its data object is missing</source>
        <translation>falta su objeto de datos</translation>
    </message>
    <message>
        <source>its packets cannot be read</source>
        <translation>no se pueden leer sus paquetes</translation>
    </message>
    <message>
        <source>its metadata is cut short</source>
        <translation>sus metadatos están truncados</translation>
    </message>
    <message>
        <source>it has no stream information block</source>
        <translation>no tiene bloque de información del flujo</translation>
    </message>
    <message>
        <source>its metadata is damaged</source>
        <translation>sus metadatos están dañados</translation>
    </message>
    <message>
        <source>it holds no whole Ogg page</source>
        <translation>no contiene ninguna página Ogg completa</translation>
    </message>
    <message>
        <source>its last page cannot be read</source>
        <translation>no se puede leer su última página</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>está vacío</translation>
    </message>
    <message>
        <source>it is not a %1 file</source>
        <extracomment>%1 is a format&apos;s name: WAV, MP3, WMA, FLAC or Ogg.</extracomment>
        <translation>no es un archivo %1</translation>
    </message>
    <message>
        <source>it is not a %1 or %2 file</source>
        <extracomment>%1 is a list of formats (&quot;WAV, MP3, WMA, FLAC&quot;), %2 the last one (&quot;Ogg&quot;).</extracomment>
        <translation>no es un archivo %1 ni %2</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>es un enlace simbólico</translation>
    </message>
    <message>
        <source>bytes in memory</source>
        <extracomment>Stands for a file&apos;s name in &quot;Cannot repair %1: ...&quot; when the bytes are in no file.</extracomment>
        <translation>bytes en memoria</translation>
    </message>
</context>
<context>
    <name>FormatText</name>
    <message>
        <source>%1 h %2 min</source>
        <extracomment>A stretch of time in hours and minutes (&quot;2 h 41 min&quot;): %1 hours, %2 minutes. &quot;h&quot; and &quot;min&quot; are the usual short units of the language.</extracomment>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 min</source>
        <extracomment>A stretch of time in minutes (&quot;12 min&quot;); &quot;min&quot; is the usual short unit for minutes.</extracomment>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <extracomment>A stretch of time in seconds (&quot;45 s&quot;); &quot;s&quot; is the usual short unit for seconds.</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 left on disk</source>
        <extracomment>In the status bar: the recording time that still fits on the disk; %1 is a stretch of time such as &quot;2 h 41 min&quot;.</extracomment>
        <translation>%1 restantes en disco</translation>
    </message>
    <message>
        <source>Recording in %1:%2:%3</source>
        <extracomment>While a recording waits for its set start time: the time left, %1 hours, %2 minutes, %3 seconds (&quot;Recording in 01:02:03&quot;).</extracomment>
        <translation>Grabación dentro de %1:%2:%3</translation>
    </message>
    <message>
        <source>%1 left</source>
        <extracomment>In the status bar, short: the recording time that still fits on the disk; %1 is a stretch of time such as &quot;2 h 41 min&quot; (the tooltip says &quot;2 h 41 min left on disk&quot;).</extracomment>
        <translation>%1 restantes</translation>
    </message>
</context>
<context>
    <name>GlobalShortcuts</name>
    <message>
        <source>Record or pause</source>
        <translation>Grabar o pausar</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Detener la grabación</translation>
    </message>
    <message>
        <source>Add a marker</source>
        <translation>Añadir un marcador</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <extracomment>%1 is the settings file&apos;s path.</extracomment>
        <translation>No se puede escribir en %1</translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Level</source>
        <translation>Nivel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Wav files (*.wav)</source>
        <translation>Archivos WAV (*.wav)</translation>
    </message>
    <message>
        <source>MPEG files (*.mp3;*.mp2;*.mp1;*.mpeg)</source>
        <translation>Archivos MPEG (*.mp3;*.mp2;*.mp1;*.mpeg)</translation>
    </message>
    <message>
        <source>Ogg Vorbis files (*.ogg)</source>
        <translation>Archivos Ogg Vorbis (*.ogg)</translation>
    </message>
    <message>
        <source>FLAC files (*.flac)</source>
        <translation>Archivos FLAC (*.flac)</translation>
    </message>
    <message>
        <source>Opus files (*.opus)</source>
        <translation>Archivos Opus (*.opus)</translation>
    </message>
    <message>
        <source>AVI files (*.avi)</source>
        <translation>Archivos AVI (*.avi)</translation>
    </message>
    <message>
        <source>G721 files (*.g721)</source>
        <translation>Archivos G721 (*.g721)</translation>
    </message>
    <message>
        <source>MPPlus files (*.mpc;*.mp+)</source>
        <translation>Archivos MPPlus (*.mpc;*.mp+)</translation>
    </message>
    <message>
        <source>WMA files (*.wma)</source>
        <translation>Archivos WMA (*.wma)</translation>
    </message>
    <message>
        <source>A recording is running</source>
        <translation>Hay una grabación en curso</translation>
    </message>
    <message>
        <source>Repairing %1 from a recording that was interrupted...</source>
        <translation>Reparando %1 a partir de una grabación interrumpida...</translation>
    </message>
    <message>
        <source>Rewrite File?</source>
        <translation>¿Sobrescribir el archivo?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>A&amp;cción</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Grabar</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Reproducir</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>&amp;Pausa</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>Add &amp;Marker</source>
        <translation>Añadir &amp;marcador</translation>
    </message>
    <message>
        <source>&amp;Next Marker</source>
        <translation>Marcador &amp;siguiente</translation>
    </message>
    <message>
        <source>Pre&amp;vious Marker</source>
        <translation>Marcador &amp;anterior</translation>
    </message>
    <message>
        <source>Sc&amp;hedule Recording...</source>
        <translation>Pr&amp;ogramar grabación...</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Recording Controls</source>
        <translation>&amp;Controles de grabación</translation>
    </message>
    <message>
        <source>&amp;Playback Volume Controls</source>
        <translation>Controles de &amp;reproducción</translation>
    </message>
    <message>
        <source>&amp;File Info...</source>
        <translation>&amp;Información del archivo...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Opciones...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;Help Contents</source>
        <translation>&amp;Contenido de la ayuda</translation>
    </message>
    <message>
        <source>Home&amp;page</source>
        <translation>&amp;Página web</translation>
    </message>
    <message>
        <source>&amp;Tip of the Day</source>
        <translation>Consejo del &amp;día</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Acerca &amp;de</translation>
    </message>
    <message>
        <source>Tools</source>
        <comment>tool bar title</comment>
        <translation>Herramientas</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>tool bar button</comment>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Abrir un archivo</translation>
    </message>
    <message>
        <source>Options</source>
        <comment>tool bar button</comment>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Marker</source>
        <comment>tool bar button</comment>
        <translation>Marcador</translation>
    </message>
    <message>
        <source>Add a marker where the recording is now (Ctrl+M)</source>
        <translation>Añadir un marcador en el punto actual de la grabación (Ctrl+M)</translation>
    </message>
    <message>
        <source>Help</source>
        <comment>tool bar button</comment>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Contenido de la ayuda</translation>
    </message>
    <message>
        <source>About</source>
        <comment>tool bar button</comment>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Record Sound</source>
        <translation>Grabación</translation>
    </message>
    <message>
        <source>Recording Controls</source>
        <translation>Controles de grabación</translation>
    </message>
    <message>
        <source>Playback Volume Controls</source>
        <translation>Controles de reproducción</translation>
    </message>
    <message>
        <source>File Info</source>
        <translation>Información del archivo</translation>
    </message>
    <message>
        <source>Play/Record Control</source>
        <translation>Control de reproducción/grabación</translation>
    </message>
    <message>
        <source>Time Elapsed</source>
        <translation>Tiempo transcurrido</translation>
    </message>
    <message>
        <source>&amp;Wait for It</source>
        <translation>&amp;Esperar</translation>
    </message>
    <message>
        <source>&amp;Forget It</source>
        <translation>&amp;Descartar</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Abrir archivo</translation>
    </message>
    <message>
        <source>That time has passed; choose a later one.</source>
        <translation>Esa hora ya ha pasado; elija una posterior.</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Posición</translation>
    </message>
    <message>
        <source>Where the file plays; Left and Right move it</source>
        <translation>Punto de reproducción del archivo; las flechas izquierda y derecha lo mueven</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transporte</translation>
    </message>
    <message>
        <source>Play, Pause, Stop, Record, the volume and Mute</source>
        <translation>Reproducir, Pausa, Detener, Grabar, el volumen y Silenciar</translation>
    </message>
    <message>
        <source>Left level</source>
        <translation>Nivel izquierdo</translation>
    </message>
    <message>
        <source>Right level</source>
        <translation>Nivel derecho</translation>
    </message>
    <message>
        <source>A recording is running. Quitting stops it and keeps what was recorded.</source>
        <translation>Hay una grabación en curso. Al salir se detendrá y se conservará lo grabado.</translation>
    </message>
    <message>
        <source>Keep recording</source>
        <translation>Seguir grabando</translation>
    </message>
    <message>
        <source>Stop and quit</source>
        <translation>Detener y salir</translation>
    </message>
</context>
<context>
    <name>MediaPlayerControl</name>
    <message>
        <source>A file cannot be played while a recording runs.</source>
        <translation>No se puede reproducir un archivo mientras se graba.</translation>
    </message>
</context>
<context>
    <name>MixerSide</name>
    <message>
        <source>Capture</source>
        <extracomment>The one line of a recording device that has no inputs of its own to choose.</extracomment>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Master</source>
        <extracomment>The line of an output device&apos;s own volume, beside the programs playing on it.</extracomment>
        <translation>General</translation>
    </message>
    <message>
        <source>Cannot set the playback volume: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>No se puede ajustar el volumen de reproducción: %1</translation>
    </message>
    <message>
        <source>Cannot set the volume of %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede ajustar el volumen de %1: %2</translation>
    </message>
    <message>
        <source>Cannot set the playback balance: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>No se puede ajustar el balance de reproducción: %1</translation>
    </message>
    <message>
        <source>Cannot set the balance of %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede ajustar el balance de %1: %2</translation>
    </message>
    <message>
        <source>Cannot mute the playback: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>No se puede silenciar la reproducción: %1</translation>
    </message>
    <message>
        <source>Cannot mute %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede silenciar %1: %2</translation>
    </message>
    <message>
        <source>Cannot select %1: %2</source>
        <extracomment>%1 an input of a recording device (&quot;Microphone&quot;), %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede seleccionar %1: %2</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>The switch that silences a recording device.</extracomment>
        <translation>Silenciar</translation>
    </message>
    <message>
        <source>Cannot switch %1 to %2: %3</source>
        <extracomment>%1 an output device, %2 one of its outputs (&quot;Headphones&quot;), %3 the sound server&apos;s reason.</extracomment>
        <translation>No se puede cambiar %1 a %2: %3</translation>
    </message>
</context>
<context>
    <name>MixerStrip</name>
    <message>
        <source>Balance</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>Select</source>
        <comment>record from this line</comment>
        <translation>Elegir</translation>
    </message>
    <message>
        <source>Mute</source>
        <comment>silence this line</comment>
        <translation>Mudo</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avanzado</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>%1 volume</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Volumen de %1</translation>
    </message>
    <message>
        <source>%1 balance</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Balance de %1</translation>
    </message>
    <message>
        <source>Select %1</source>
        <extracomment>record from this line; %1 is the name of the mixer line</extracomment>
        <translation>Seleccionar %1</translation>
    </message>
    <message>
        <source>Mute %1</source>
        <extracomment>silence this line; %1 is the name of the mixer line</extracomment>
        <translation>Silenciar %1</translation>
    </message>
    <message>
        <source>Advanced controls of %1</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Controles avanzados de %1</translation>
    </message>
</context>
<context>
    <name>MonitorStream</name>
    <message>
        <source>Listening to the input</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that plays the input back.</extracomment>
        <translation>Escuchando la entrada</translation>
    </message>
</context>
<context>
    <name>OpenFileMove</name>
    <message>
        <source>Cannot move the recording to %1: %2</source>
        <translation>No se puede mover la grabación a %1: %2</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Save Path</source>
        <translation>Ruta de guardado</translation>
    </message>
    <message>
        <source>select save directory</source>
        <translation>seleccionar carpeta de guardado</translation>
    </message>
    <message>
        <source>Record Format</source>
        <translation>Formato de grabación</translation>
    </message>
    <message>
        <source>MP3</source>
        <translation>MP3</translation>
    </message>
    <message>
        <source>WAV</source>
        <translation>WAV</translation>
    </message>
    <message>
        <source>WMA</source>
        <translation>WMA</translation>
    </message>
    <message>
        <source>FLAC</source>
        <translation>FLAC</translation>
    </message>
    <message>
        <source>Ogg</source>
        <translation>Ogg</translation>
    </message>
    <message>
        <source>Ogg Vorbis</source>
        <translation>Ogg Vorbis</translation>
    </message>
    <message>
        <source>Opus</source>
        <translation>Opus</translation>
    </message>
    <message>
        <source>0 writes fastest, 8 writes the smallest files; the sound is the same</source>
        <translation>0 escribe más rápido, 8 crea los archivos más pequeños; el sonido es el mismo</translation>
    </message>
    <message>
        <source>Compression level</source>
        <translation>Nivel de compresión</translation>
    </message>
    <message>
        <source>Time Limit</source>
        <translation>Límite de tiempo</translation>
    </message>
    <message>
        <source>No Limit</source>
        <translation>Sin límite</translation>
    </message>
    <message>
        <source>Stop recording after </source>
        <extracomment>followed by the hours, minutes and seconds fields</extracomment>
        <translation>Detener la grabación tras </translation>
    </message>
    <message>
        <source>hours</source>
        <translation>horas</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutos</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>segundos</translation>
    </message>
    <message>
        <source>Auto Split</source>
        <translation>División automática</translation>
    </message>
    <message>
        <source>Split Every</source>
        <extracomment>followed by the minutes and seconds fields</extracomment>
        <translation>Dividir cada</translation>
    </message>
    <message>
        <source>Lost Input Device</source>
        <translation>Dispositivo de entrada perdido</translation>
    </message>
    <message>
        <source>Go on recording when it comes back</source>
        <translation>Continuar grabando cuando vuelva</translation>
    </message>
    <message>
        <source>A recording whose input device went away waits up to ten minutes for it and goes on in a new file</source>
        <translation>Una grabación cuyo dispositivo de entrada desaparece lo espera hasta diez minutos y continúa en un archivo nuevo</translation>
    </message>
    <message>
        <source>Before Record</source>
        <translation>Antes de Grabar</translation>
    </message>
    <message>
        <source>Keep the last</source>
        <extracomment>followed by a number field and &quot;seconds before Record&quot;</extracomment>
        <translation>Conservar los últimos</translation>
    </message>
    <message>
        <source>The input stays open while the program is idle; Record writes these seconds first</source>
        <translation>La entrada permanece abierta mientras el programa está inactivo; Grabar escribe primero estos segundos</translation>
    </message>
    <message>
        <source>seconds before Record</source>
        <translation>segundos antes de Grabar</translation>
    </message>
    <message>
        <source>Start on sound</source>
        <translation>Empezar con sonido</translation>
    </message>
    <message>
        <source>Record waits for sound; the half second before it is kept</source>
        <translation>Grabar espera a que haya sonido; se conserva el medio segundo anterior</translation>
    </message>
    <message>
        <source> dBFS</source>
        <extracomment>the unit after the trigger level: decibels relative to full scale</extracomment>
        <translation> dBFS</translation>
    </message>
    <message>
        <source> s</source>
        <extracomment>the unit after a number of seconds</extracomment>
        <translation> s</translation>
    </message>
    <message>
        <source>Each sound in a new file</source>
        <translation>Cada sonido en un archivo nuevo</translation>
    </message>
    <message>
        <source>Sound is louder than</source>
        <extracomment>followed by a level in dBFS</extracomment>
        <translation>El sonido supera</translation>
    </message>
    <message>
        <source>Pause after a quiet of</source>
        <extracomment>followed by a number of seconds</extracomment>
        <translation>Pausar tras un silencio de</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Select a directory to save output files</source>
        <translation>Seleccione una carpeta para guardar los archivos</translation>
    </message>
    <message>
        <source>MP3 quality</source>
        <translation>Calidad MP3</translation>
    </message>
    <message>
        <source>WAV quality</source>
        <translation>Calidad WAV</translation>
    </message>
    <message>
        <source>WMA profile</source>
        <translation>Perfil WMA</translation>
    </message>
    <message>
        <source>FLAC quality</source>
        <translation>Calidad FLAC</translation>
    </message>
    <message>
        <source>Ogg Vorbis quality</source>
        <translation>Calidad Ogg Vorbis</translation>
    </message>
    <message>
        <source>Opus quality</source>
        <translation>Calidad Opus</translation>
    </message>
    <message>
        <source>Time limit hours</source>
        <translation>Horas del límite de tiempo</translation>
    </message>
    <message>
        <source>Time limit minutes</source>
        <translation>Minutos del límite de tiempo</translation>
    </message>
    <message>
        <source>Time limit seconds</source>
        <translation>Segundos del límite de tiempo</translation>
    </message>
    <message>
        <source>Auto split minutes</source>
        <translation>Minutos de la división automática</translation>
    </message>
    <message>
        <source>Auto split seconds</source>
        <translation>Segundos de la división automática</translation>
    </message>
    <message>
        <source>not bound</source>
        <translation>sin asignar</translation>
    </message>
    <message>
        <source>In the background</source>
        <translation>En segundo plano</translation>
    </message>
    <message>
        <source>Keep recording in the tray when the window is closed</source>
        <translation>Seguir grabando en la bandeja del sistema al cerrar la ventana</translation>
    </message>
    <message>
        <source>Notify me when a recording starts or ends by itself</source>
        <translation>Avisarme cuando una grabación empiece o termine por sí sola</translation>
    </message>
    <message>
        <source>Global shortcuts</source>
        <translation>Atajos globales</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Cambiar…</translation>
    </message>
    <message>
        <source>Global shortcuts are not available on this desktop. The desktop&apos;s own keyboard settings can run “tavrin-sound-recorder --remote record”, “--remote stop” or “--remote marker” instead.</source>
        <translation>Los atajos globales no están disponibles en este escritorio. En su lugar, la configuración de teclado del propio escritorio puede ejecutar “tavrin-sound-recorder --remote record”, “--remote stop” o “--remote marker”.</translation>
    </message>
</context>
<context>
    <name>OutputFormat</name>
    <message>
        <source>%1 Hz</source>
        <extracomment>A sample rate in a file format; %1 is the rate in Hz.</extracomment>
        <translation>%1 Hz</translation>
    </message>
    <message>
        <source>PCM: %1, %2 bit, %3</source>
        <extracomment>%1 the sample rate (&quot;44100 Hz&quot;), %2 bits per sample, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>PCM: %1, %2 bit, %3</translation>
    </message>
    <message>
        <source>MPEG %1 layer-3: %2 kbps, %3, %4</source>
        <extracomment>Keep &quot;MPEG %1 layer-3:&quot; as it is (the status bar shortens it to &quot;MP3&quot;). %1 the MPEG version, %2 the bit rate, %3 the sample rate (&quot;44100 Hz&quot;), %4 the channels.</extracomment>
        <translation>MPEG %1 layer-3: %2 kbps, %3, %4</translation>
    </message>
    <message>
        <source>Windows Media Audio V2: %1 kbps, %2, %3</source>
        <extracomment>%1 the bit rate, %2 the sample rate (&quot;44100 Hz&quot;), %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>Windows Media Audio V2: %1 kbps, %2, %3</translation>
    </message>
    <message>
        <source>FLAC: %1, %2 bit, %3</source>
        <extracomment>%1 the sample rate (&quot;44100 Hz&quot;), %2 bits per sample, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>FLAC: %1, %2 bit, %3</translation>
    </message>
    <message>
        <source>Ogg Vorbis: quality %1, %2, %3</source>
        <extracomment>%1 the Vorbis quality (-1 to 10), %2 the sample rate (&quot;44100 Hz&quot;), %3 the channels.</extracomment>
        <translation>Ogg Vorbis: calidad %1, %2, %3</translation>
    </message>
    <message>
        <source>Opus: %1 kbps, %2, %3</source>
        <extracomment>%1 the bit rate, %2 the sample rate (&quot;48000 Hz&quot;), %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>Opus: %1 kbps, %2, %3</translation>
    </message>
    <message>
        <source>%1 kbps, %2 Hz, %3</source>
        <extracomment>A WMA profile in the list of profiles: %1 the bit rate, %2 the sample rate, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>%1 kbps, %2 Hz, %3</translation>
    </message>
</context>
<context>
    <name>PartRecovery</name>
    <message>
        <source>Cannot repair %1: its journal cannot be written</source>
        <translation>No se puede reparar %1: no se puede escribir su registro</translation>
    </message>
    <message>
        <source>its journal does not say exactly which file was recorded</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>su registro no indica exactamente qué archivo se grabó</translation>
    </message>
    <message>
        <source>%1 on %2 is not reachable; it will be repaired when it is.</source>
        <extracomment>%1 is a file name, %2 its folder.</extracomment>
        <translation>%1 en %2 no está accesible; se reparará cuando lo esté.</translation>
    </message>
    <message>
        <source>it is a link now</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>ahora es un enlace</translation>
    </message>
    <message>
        <source>it is not the file that was recorded</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>no es el archivo que se grabó</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be repaired: its repair did not finish the last time. It was left as it was.</source>
        <translation>%1 quedó de una grabación interrumpida y no se pudo reparar: su reparación no terminó la última vez. Se dejó tal como estaba.</translation>
    </message>
    <message>
        <source>Recovered %1 (%2) from a recording that was interrupted.</source>
        <extracomment>%1 is a file name, %2 its length in minutes and seconds (&quot;12:04&quot;).</extracomment>
        <translation>Se recuperó %1 (%2) de una grabación interrumpida.</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be repaired; it was left as it was (%2).</source>
        <extracomment>%1 is a file name, %2 why it could not be repaired.</extracomment>
        <translation>%1 quedó de una grabación interrumpida y no se pudo reparar; se dejó tal como estaba (%2).</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted, but was not repaired and was left as it was: %2.</source>
        <extracomment>%1 is a file&apos;s path, %2 why it was not repaired.</extracomment>
        <translation>%1 quedó de una grabación interrumpida, pero no se reparó y se dejó tal como estaba: %2.</translation>
    </message>
    <message>
        <source>its repair did not finish the last time</source>
        <extracomment>Why a file could not be repaired, said in brackets inside another message.</extracomment>
        <translation>su reparación no terminó la última vez</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be given a name (%2); it is kept and will be tried again at the next start.</source>
        <extracomment>%1 is a file name, %2 why no name could be given.</extracomment>
        <translation>%1 quedó de una grabación interrumpida y no se le pudo dar un nombre (%2); se conserva y se volverá a intentar en el próximo inicio.</translation>
    </message>
    <message>
        <source>Recovered %1 (%2) from a recording that was interrupted; it was no longer in %3, so it is now %4.</source>
        <extracomment>%1 is a file name, %2 its length in minutes and seconds, %3 the folder it was recorded in, %4 its new path.</extracomment>
        <translation>Se recuperó %1 (%2) de una grabación interrumpida; ya no estaba en %3, así que ahora es %4.</translation>
    </message>
    <message>
        <source>%1 was not repaired and was left as it was (%2); the recording itself was recovered as %3 (%4).</source>
        <extracomment>%1 is a file&apos;s path, %2 why it was not repaired, %3 the recovered file&apos;s path, %4 its length in minutes and seconds.</extracomment>
        <translation>%1 no se reparó y se dejó tal como estaba (%2); la grabación en sí se recuperó como %3 (%4).</translation>
    </message>
    <message>
        <source>It could not be repaired (%1).</source>
        <extracomment>Follows a message about a recovered file; %1 says why it could not be repaired.</extracomment>
        <translation>No se pudo reparar (%1).</translation>
    </message>
</context>
<context>
    <name>PartWatch</name>
    <message>
        <source>Cannot create %1</source>
        <translation>No se puede crear %1</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording. It was made again and the recording put back into it as %2; the recording goes on.</source>
        <extracomment>%1 is a folder, %2 a file name.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación. Se volvió a crear y la grabación se devolvió a ella como %2; la grabación continúa.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and could not be made again (%2). The recording goes on in %3.</source>
        <extracomment>%1 is a folder, %2 why it could not be made, %3 the file&apos;s new path.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación y no se pudo volver a crear (%2). La grabación continúa en %3.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording, and the recording could not be given a name again (%2; %3). What was recorded is lost when the recording ends.</source>
        <extracomment>%1 is a folder; %2 and %3 say why no name could be had there and in the rescue folder.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación y no se pudo volver a dar un nombre a la grabación (%2; %3). Lo grabado se perderá al terminar la grabación.</translation>
    </message>
    <message>
        <source>every name is taken in %1</source>
        <extracomment>Why no name could be had, said in brackets inside another message; %1 is a folder.</extracomment>
        <translation>todos los nombres están ocupados en %1</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and the recording could not be copied back into it (%2). The recording goes on in %3.</source>
        <extracomment>%1 is a folder, %2 why the copy failed, %3 the file&apos;s new path.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación y la grabación no se pudo volver a copiar en ella (%2). La grabación continúa en %3.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording, and the recording could not be copied back (%2). What was recorded is lost when the recording ends.</source>
        <extracomment>%1 is a folder, %2 why the copy failed.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación y la grabación no se pudo volver a copiar (%2). Lo grabado se perderá al terminar la grabación.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and could not be made again. Everything recorded so far was copied into %2, and the recording goes on there.</source>
        <extracomment>%1 is a folder, %2 the file&apos;s new path.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación y no se pudo volver a crear. Todo lo grabado hasta ahora se copió en %2 y la grabación continúa allí.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording. It was made again, everything recorded so far was copied back into it as %2, and the recording goes on.</source>
        <extracomment>%1 is a folder, %2 a file name.</extracomment>
        <translation>La carpeta %1 se eliminó durante la grabación. Se volvió a crear, todo lo grabado hasta ahora se volvió a copiar en ella como %2 y la grabación continúa.</translation>
    </message>
</context>
<context>
    <name>PartWriter</name>
    <message>
        <source>The disk did not keep up with the recording: %1 of sound could not be written to %2. The recording goes on.</source>
        <extracomment>%1 is a stretch of time (&quot;12 s&quot;), %2 a file name.</extracomment>
        <translation>El disco no pudo seguir el ritmo de la grabación: no se pudieron escribir %1 de sonido en %2. La grabación continúa.</translation>
    </message>
    <message>
        <source>the disk of %1 is full. The file holds everything recorded until now</source>
        <extracomment>Why a recording ended, said after &quot;The recording was stopped: &quot;; %1 is a folder.</extracomment>
        <translation>el disco de %1 está lleno. El archivo contiene todo lo grabado hasta ahora</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>No se puede crear %1</translation>
    </message>
    <message>
        <source>%1 has no name left; it is kept and will be recovered at the next start</source>
        <translation>%1 se ha quedado sin nombre; se conserva y se recuperará en el próximo inicio</translation>
    </message>
    <message>
        <source>%1 has no name left: what was recorded into it is lost</source>
        <translation>%1 se ha quedado sin nombre: lo grabado en él se ha perdido</translation>
    </message>
</context>
<context>
    <name>PlaybackControlsPage</name>
    <message>
        <source>Output Device</source>
        <translation>Dispositivo de salida</translation>
    </message>
    <message>
        <source>Equalizer</source>
        <comment>switch</comment>
        <translation>Ecualizador</translation>
    </message>
    <message>
        <source>Equalizer...</source>
        <translation>Ecualizador...</translation>
    </message>
</context>
<context>
    <name>PlaybackSession</name>
    <message>
        <source>Cannot open %1</source>
        <translation>No se puede abrir %1</translation>
    </message>
    <message>
        <source>Cannot play %1: it holds no sound</source>
        <translation>No se puede reproducir %1: no contiene sonido</translation>
    </message>
    <message>
        <source>the output did not start</source>
        <extracomment>Why a file cannot be played, said after &quot;Cannot play &lt;file&gt;: &quot;.</extracomment>
        <translation>la salida no se inició</translation>
    </message>
    <message>
        <source>Cannot play %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 why the output device did not start.</extracomment>
        <translation>No se puede reproducir %1: %2</translation>
    </message>
    <message>
        <source>The playback was stopped: %1</source>
        <extracomment>%1 says why.</extracomment>
        <translation>La reproducción se detuvo: %1</translation>
    </message>
</context>
<context>
    <name>PositionSlider</name>
    <message>
        <source>Position</source>
        <translation>Posición</translation>
    </message>
</context>
<context>
    <name>PulseContext</name>
    <message>
        <source>Cannot create the sound server connection</source>
        <translation>No se puede crear la conexión con el servidor de sonido</translation>
    </message>
    <message>
        <source>Cannot start the sound server connection</source>
        <translation>No se puede iniciar la conexión con el servidor de sonido</translation>
    </message>
    <message>
        <source>No sound server answers (%1)</source>
        <extracomment>%1 is the sound server&apos;s own text (&quot;Connection refused&quot;).</extracomment>
        <translation>Ningún servidor de sonido responde (%1)</translation>
    </message>
    <message>
        <source>No sound server</source>
        <translation>No hay servidor de sonido</translation>
    </message>
</context>
<context>
    <name>RecordSoundPage</name>
    <message>
        <source>FFTArraySize</source>
        <extracomment>the number of samples each analysis of the spectrum takes</extracomment>
        <translation>Tamaño FFT</translation>
    </message>
    <message>
        <source>FFTWindowType</source>
        <extracomment>the window function the spectrum&apos;s analysis applies</extracomment>
        <translation>Ventana FFT</translation>
    </message>
    <message>
        <source>None</source>
        <comment>no window function</comment>
        <translation>Ninguna</translation>
    </message>
    <message>
        <source>Welch</source>
        <translation>Welch</translation>
    </message>
    <message>
        <source>Barlett</source>
        <translation>Bartlett</translation>
    </message>
    <message>
        <source>Hanning</source>
        <translation>Hanning</translation>
    </message>
    <message>
        <source>Hamming</source>
        <translation>Hamming</translation>
    </message>
    <message>
        <source>VisType</source>
        <extracomment>how the spectrum is drawn</extracomment>
        <translation>Visualización</translation>
    </message>
    <message>
        <source>vtFFTAnalog</source>
        <translation>Analógico</translation>
    </message>
    <message>
        <source>vtFFTLinear</source>
        <translation>Lineal</translation>
    </message>
    <message>
        <source>vtFFTNormal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>vtFFTFire</source>
        <translation>Fuego</translation>
    </message>
    <message>
        <source>vtFFTGlass</source>
        <translation>Cristal</translation>
    </message>
    <message>
        <source>vtFFTKryptonite</source>
        <translation>Kryptonita</translation>
    </message>
    <message>
        <source>Sound Visualization</source>
        <translation>Visualización del sonido</translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation>Espectro</translation>
    </message>
    <message>
        <source>The loudness of the sound at each frequency, low at the left, high at the right, as it is recorded or played</source>
        <translation>La intensidad del sonido en cada frecuencia, graves a la izquierda, agudos a la derecha, mientras se graba o reproduce</translation>
    </message>
</context>
<context>
    <name>RecordedFiles</name>
    <message>
        <source>Cannot set %1</source>
        <extracomment>%1 names a tag field as the tag component knows it (&quot;infoTitle&quot;).</extracomment>
        <translation>No se puede establecer %1</translation>
    </message>
    <message>
        <source>new name can not be blank!</source>
        <translation>¡El nuevo nombre no puede estar vacío!</translation>
    </message>
    <message>
        <source>Cannot rename to %1: a file name cannot contain &quot;/&quot;.</source>
        <translation>No se puede cambiar el nombre a %1: un nombre de archivo no puede contener &quot;/&quot;.</translation>
    </message>
    <message>
        <source>Cannot rename to %1: a file of that name already exists.</source>
        <translation>No se puede cambiar el nombre a %1: ya existe un archivo con ese nombre.</translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: %3</source>
        <extracomment>%1 is a file&apos;s path, %2 its new name, %3 the system&apos;s reason.</extracomment>
        <translation>No se puede cambiar el nombre de %1 a %2: %3</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>No se puede eliminar %1: %2</translation>
    </message>
</context>
<context>
    <name>RecorderCore</name>
    <message>
        <source>Listening to the input ended: its output device is gone</source>
        <translation>Se dejó de escuchar la entrada: su dispositivo de salida ya no está</translation>
    </message>
    <message>
        <source>Recording...</source>
        <extracomment>The status bar&apos;s state words: a recording runs.</extracomment>
        <translation>Grabando...</translation>
    </message>
    <message>
        <source>Waiting for sound...</source>
        <extracomment>The status bar&apos;s state words: a recording waits for sound to start writing.</extracomment>
        <translation>Esperando sonido...</translation>
    </message>
    <message>
        <source>Waiting for device...</source>
        <extracomment>The status bar&apos;s state words: a recording waits for its lost input device.</extracomment>
        <translation>Esperando dispositivo...</translation>
    </message>
    <message>
        <source>Playing...</source>
        <extracomment>The status bar&apos;s state words: a file is played.</extracomment>
        <translation>Reproduciendo...</translation>
    </message>
    <message>
        <source>Pause</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while a recording or playback is paused.</extracomment>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>Listening</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while the input is open before a recording (pre-record).</extracomment>
        <translation>Escuchando</translation>
    </message>
    <message>
        <source>Stop</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while nothing records or plays.</extracomment>
        <translation>Detenido</translation>
    </message>
    <message>
        <source>Cannot delete %1: it is being recorded. Stop the recording first.</source>
        <translation>No se puede eliminar %1: se está grabando. Detenga primero la grabación.</translation>
    </message>
    <message>
        <source>Cannot rename %1: it is being recorded</source>
        <translation>No se puede cambiar el nombre de %1: se está grabando</translation>
    </message>
</context>
<context>
    <name>RecordingControlsPage</name>
    <message>
        <source>Input Device</source>
        <translation>Dispositivo de entrada</translation>
    </message>
    <message>
        <source>Set Filter</source>
        <translation>Filtros</translation>
    </message>
    <message>
        <source>Listen to the input</source>
        <translation>Escuchar la entrada</translation>
    </message>
    <message>
        <source>Play what is recorded on the output device while it is captured</source>
        <translation>Reproducir en el dispositivo de salida lo que se graba mientras se captura</translation>
    </message>
    <message>
        <source>A file for each side</source>
        <translation>Un archivo por lado</translation>
    </message>
    <message>
        <source>From the next recording on, the microphone and the computer sound are also written each to a file of its own beside the mix, such as &quot;Untitled4 (microphone).flac&quot; and &quot;Untitled4 (computer).flac&quot;</source>
        <translation>A partir de la próxima grabación, el micrófono y el sonido del equipo también se escriben cada uno en su propio archivo junto a la mezcla, como &quot;Untitled4 (microphone).flac&quot; y &quot;Untitled4 (computer).flac&quot;</translation>
    </message>
</context>
<context>
    <name>RecordingDevices</name>
    <message>
        <source>Microphone + computer sound</source>
        <extracomment>The last entry of the input list: the microphone and what the computer plays, mixed.</extracomment>
        <translation>Micrófono + sonido del equipo</translation>
    </message>
    <message>
        <source>stream %1</source>
        <extracomment>A playing program that gives no name; %1 is its number.</extracomment>
        <translation>flujo %1</translation>
    </message>
    <message>
        <source>Sound of %1 (%2)</source>
        <extracomment>An entry of the input list: only the sound of the program %1. %2 counts the program&apos;s streams when it plays more than one.</extracomment>
        <translation>Sonido de %1 (%2)</translation>
    </message>
    <message>
        <source>Sound of %1</source>
        <extracomment>An entry of the input list: only the sound of the program %1.</extracomment>
        <translation>Sonido de %1</translation>
    </message>
    <message>
        <source>Microphone</source>
        <extracomment>The line of &quot;Microphone + computer sound&quot; that holds the microphone&apos;s level.</extracomment>
        <translation>Micrófono</translation>
    </message>
    <message>
        <source>Computer sound</source>
        <extracomment>The line of &quot;Microphone + computer sound&quot; that holds the computer sound&apos;s level.</extracomment>
        <translation>Sonido del equipo</translation>
    </message>
    <message>
        <source>Cannot set the volume of %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede ajustar el volumen de %1: %2</translation>
    </message>
    <message>
        <source>Cannot set the balance of %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede ajustar el balance de %1: %2</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>The switch that silences a playing program.</extracomment>
        <translation>Silenciar</translation>
    </message>
    <message>
        <source>Cannot mute %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede silenciar %1: %2</translation>
    </message>
</context>
<context>
    <name>RecordingFiltersWindow</name>
    <message>
        <source>Notch Filter</source>
        <translation>Filtro de muesca</translation>
    </message>
    <message>
        <source>HighPass Filter</source>
        <translation>Filtro paso alto</translation>
    </message>
    <message>
        <source>LowPass Filter</source>
        <translation>Filtro paso bajo</translation>
    </message>
    <message>
        <source>Recording Filters</source>
        <translation>Filtros de grabación</translation>
    </message>
    <message>
        <source>Hz</source>
        <extracomment>the unit of the frequency box beside it: hertz</extracomment>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Notch filter frequency</source>
        <translation>Frecuencia del filtro de muesca</translation>
    </message>
    <message>
        <source>Notch filter frequency in Hz</source>
        <translation>Frecuencia del filtro de muesca en Hz</translation>
    </message>
    <message>
        <source>High-pass filter frequency</source>
        <translation>Frecuencia del filtro paso alto</translation>
    </message>
    <message>
        <source>High-pass filter frequency in Hz</source>
        <translation>Frecuencia del filtro paso alto en Hz</translation>
    </message>
    <message>
        <source>Low-pass filter frequency</source>
        <translation>Frecuencia del filtro paso bajo</translation>
    </message>
    <message>
        <source>Low-pass filter frequency in Hz</source>
        <translation>Frecuencia del filtro paso bajo en Hz</translation>
    </message>
</context>
<context>
    <name>RecordingSession</name>
    <message>
        <source>The recording was stopped: the input device did not come back within %1 minutes</source>
        <translation>La grabación se detuvo: el dispositivo de entrada no volvió en %1 minutos</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>No se puede crear %1</translation>
    </message>
    <message>
        <source>Not recording</source>
        <translation>No se está grabando</translation>
    </message>
    <message>
        <source>%1 holds %2 markers, as many as a file can: no more can be added</source>
        <extracomment>%1 is a file name, %2 the most markers a file can hold.</extracomment>
        <translation>%1 contiene %2 marcadores, el máximo que admite un archivo: no se pueden añadir más</translation>
    </message>
    <message>
        <source>Marker %1</source>
        <extracomment>The name a marker gets when none is typed; %1 counts the markers of the file.</extracomment>
        <translation>Marcador %1</translation>
    </message>
    <message>
        <source>%1 at %2:%3:%4</source>
        <extracomment>Said when a marker was added: %1 is its name, then the hours, minutes and seconds into the file (&quot;Marker 3 at 00:12:04&quot;).</extracomment>
        <translation>%1 en %2:%3:%4</translation>
    </message>
    <message>
        <source>The recording was stopped: %1</source>
        <extracomment>%1 says why, as a clause of its own (&quot;the disk of /home/me/Recording is full. ...&quot;).</extracomment>
        <translation>La grabación se detuvo: %1</translation>
    </message>
    <message>
        <source>The recording stopped: %1. The recording goes on in a new file when the device comes back (waiting up to %2 minutes; Stop ends the wait).</source>
        <extracomment>%1 says why the input device was lost, %2 is a number of minutes.</extracomment>
        <translation>La grabación se detuvo: %1. La grabación continuará en un archivo nuevo cuando vuelva el dispositivo (se espera hasta %2 minutos; Detener finaliza la espera).</translation>
    </message>
    <message>
        <source>The recording stopped: %1. %2 is kept and listed. The recording goes on in a new file when the device comes back (waiting up to %3 minutes; Stop ends the wait).</source>
        <extracomment>%1 says why the input device was lost, %2 is the file recorded so far, %3 a number of minutes.</extracomment>
        <translation>La grabación se detuvo: %1. %2 se conserva y aparece en la lista. La grabación continuará en un archivo nuevo cuando vuelva el dispositivo (se espera hasta %3 minutos; Detener finaliza la espera).</translation>
    </message>
    <message>
        <source>The input device came back: the recording went on at %1 in %2.</source>
        <extracomment>%1 is the time of day, %2 the new file&apos;s name.</extracomment>
        <translation>El dispositivo de entrada volvió: la grabación continuó a las %1 en %2.</translation>
    </message>
    <message>
        <source>the input device did not come back within %1 minutes</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name; %1 is a number of minutes.</extracomment>
        <translation>el dispositivo de entrada no volvió en %1 minutos</translation>
    </message>
    <message>
        <source>the scheduled recording&apos;s length was reached</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name.</extracomment>
        <translation>se alcanzó la duración de la grabación programada</translation>
    </message>
    <message>
        <source>the time limit was reached</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name.</extracomment>
        <translation>se alcanzó el límite de tiempo</translation>
    </message>
</context>
<context>
    <name>RecordingSettings</name>
    <message>
        <source>No folder is set for recordings. Choose one in Options</source>
        <translation>No hay ninguna carpeta para las grabaciones. Elija una en Opciones</translation>
    </message>
    <message>
        <source>Cannot record into %1: the folder&apos;s name is not valid UTF-8. Choose the folder again in Options</source>
        <extracomment>%1 is the save folder.</extracomment>
        <translation>No se puede grabar en %1: el nombre de la carpeta no es UTF-8 válido. Vuelva a elegir la carpeta en Opciones</translation>
    </message>
</context>
<context>
    <name>RemoteClient</name>
    <message>
        <source>%1 is not running.</source>
        <extracomment>%1 is the program&apos;s name.</extracomment>
        <translation>%1 no se está ejecutando.</translation>
    </message>
</context>
<context>
    <name>RenameDialog</name>
    <message>
        <source>Rename</source>
        <translation>Cambiar nombre</translation>
    </message>
    <message>
        <source>Input New Filename:</source>
        <translation>Nuevo nombre de archivo:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>SaveFormat</name>
    <message>
        <source>Mono</source>
        <extracomment>One channel, in the Options dialog&apos;s lists of formats.</extracomment>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <extracomment>Two channels, in the Options dialog&apos;s lists of formats.</extracomment>
        <translation>Estéreo</translation>
    </message>
    <message>
        <source>%1 Hz, %2 kbps</source>
        <extracomment>An MP3 setting: %1 the sample rate in hertz, %2 the bit rate in kilobits a second. &quot;Hz&quot; and &quot;kbps&quot; are units: write them as the language does.</extracomment>
        <translation>%1 Hz, %2 kbps</translation>
    </message>
    <message>
        <source>%1 Hz - %2 bit,%3</source>
        <extracomment>A WAV or FLAC setting: %1 the sample rate in hertz, %2 the bits a sample, %3 &quot;Mono&quot; or &quot;Stereo&quot;. &quot;Hz&quot; and &quot;bit&quot; are units: write them as the language does.</extracomment>
        <translation>%1 Hz - %2 bit,%3</translation>
    </message>
    <message>
        <source>Quality %1 (about %2 kbps)</source>
        <extracomment>An Ogg Vorbis setting: %1 the quality (-1 to 10), %2 the bit rate it gives, in kilobits a second. &quot;kbps&quot; is a unit: write it as the language does.</extracomment>
        <translation>Calidad %1 (unos %2 kbps)</translation>
    </message>
    <message>
        <source>48000 Hz, %1 kbps, %2</source>
        <extracomment>An Opus setting, always at 48000 hertz: %1 the bit rate in kilobits a second, %2 &quot;Mono&quot; or &quot;Stereo&quot;. &quot;Hz&quot; and &quot;kbps&quot; are units: write them as the language does.</extracomment>
        <translation>48000 Hz, %1 kbps, %2</translation>
    </message>
</context>
<context>
    <name>ScheduleDialog</name>
    <message>
        <source>Schedule Recording</source>
        <translation>Programar grabación</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation>Mañana</translation>
    </message>
    <message>
        <source>Stop after</source>
        <translation>Detener tras</translation>
    </message>
    <message>
        <source>Hours, minutes and seconds; this recording only</source>
        <translation>Horas, minutos y segundos; solo esta grabación</translation>
    </message>
    <message>
        <source>Start at</source>
        <translation>Empezar a las</translation>
    </message>
    <message>
        <source>That time has passed today.</source>
        <translation>Esa hora ya ha pasado hoy.</translation>
    </message>
    <message>
        <source>Starts in %1.</source>
        <extracomment>%1 is how long until the recording starts, such as &quot;1 h 5 min&quot;</extracomment>
        <translation>Empieza dentro de %1.</translation>
    </message>
    <message>
        <source>Start day</source>
        <translation>Día de inicio</translation>
    </message>
    <message>
        <source>Recording length</source>
        <translation>Duración de la grabación</translation>
    </message>
</context>
<context>
    <name>SpectrumAnalysis</name>
    <message>
        <source>Cannot set up a %1-point FFT</source>
        <extracomment>%1 is the number of points of the spectrum&apos;s Fourier transform (256, 1024, 4096).</extracomment>
        <translation>No se puede preparar una FFT de %1 puntos</translation>
    </message>
    <message>
        <source>Out of memory for a %1-point FFT</source>
        <extracomment>%1 is the number of points of the spectrum&apos;s Fourier transform (256, 1024, 4096).</extracomment>
        <translation>Memoria insuficiente para una FFT de %1 puntos</translation>
    </message>
</context>
<context>
    <name>SpectrumView</name>
    <message>
        <source>Spectrum</source>
        <translation>Espectro</translation>
    </message>
    <message>
        <source>The sound&apos;s frequencies as they are now: low on the left, high on the right</source>
        <translation>Las frecuencias del sonido en este momento: graves a la izquierda, agudos a la derecha</translation>
    </message>
</context>
<context>
    <name>StatusPanels</name>
    <message>
        <source>Recording time left on the disk of the save folder</source>
        <translation>Tiempo de grabación restante en el disco de la carpeta de guardado</translation>
    </message>
</context>
<context>
    <name>TimeDisplay</name>
    <message>
        <source>Time Elapsed</source>
        <translation>Tiempo transcurrido</translation>
    </message>
</context>
<context>
    <name>TipOfTheDayDialog</name>
    <message>
        <source>File not found</source>
        <translation>Archivo no encontrado</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Ruta no encontrada</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Acceso denegado</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Demasiados archivos abiertos</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Nombre de archivo no válido</translation>
    </message>
    <message>
        <source>Tip of the Day</source>
        <translation>Consejo del día</translation>
    </message>
    <message>
        <source>Did you know...</source>
        <translation>¿Sabía que...?</translation>
    </message>
    <message>
        <source>Show Tips on Startup</source>
        <translation>Mostrar consejos al inicio</translation>
    </message>
    <message>
        <source>Next Tip</source>
        <translation>Siguiente consejo</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>TransportBlock</name>
    <message>
        <source>PLAYING</source>
        <translation>REPRODUCIENDO</translation>
    </message>
    <message>
        <source>PLAY</source>
        <comment>state, short for PLAYING</comment>
        <translation>REPR.</translation>
    </message>
    <message>
        <source>PAUSED</source>
        <translation>EN PAUSA</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <comment>state, short for PAUSED</comment>
        <translation>PAUSA</translation>
    </message>
    <message>
        <source>RECORDING</source>
        <translation>GRABANDO</translation>
    </message>
    <message>
        <source>REC</source>
        <comment>state, short for RECORDING</comment>
        <translation>REC</translation>
    </message>
    <message>
        <source>STOPPED</source>
        <translation>DETENIDO</translation>
    </message>
    <message>
        <source>STOP</source>
        <comment>state, short for STOPPED</comment>
        <translation>PARADO</translation>
    </message>
    <message>
        <source>MUTE</source>
        <comment>state: the sound is off</comment>
        <translation>SILENCIO</translation>
    </message>
    <message>
        <source>VOL %1</source>
        <comment>the volume, 0 to 100</comment>
        <translation>VOL %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Grabar</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Silenciar</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transporte</translation>
    </message>
</context>
<context>
    <name>TrayIndicator</name>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Hide Window</source>
        <translation>&amp;Ocultar ventana</translation>
    </message>
    <message>
        <source>&amp;Show Window</source>
        <translation>&amp;Mostrar ventana</translation>
    </message>
</context>
<context>
    <name>UiServices</name>
    <message>
        <source>Confirm</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Sí</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>engine::PulsePlayer</name>
    <message>
        <source>Unsupported playback format: %1 channels at %2 Hz</source>
        <translation>Formato de reproducción no admitido: %1 canales a %2 Hz</translation>
    </message>
    <message>
        <source>The playback device is not available</source>
        <translation>El dispositivo de reproducción no está disponible</translation>
    </message>
    <message>
        <source>Playback</source>
        <extracomment>The name the desktop&apos;s sound settings show for the program&apos;s playback stream.</extracomment>
        <translation>Reproducción</translation>
    </message>
    <message>
        <source>Cannot play on %1: %2</source>
        <extracomment>%1 the output device, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede reproducir en %1: %2</translation>
    </message>
    <message>
        <source>The playback device is no longer available (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>El dispositivo de reproducción ya no está disponible (%1)</translation>
    </message>
</context>
<context>
    <name>engine::PulseRecorder</name>
    <message>
        <source>Recording (microphone)</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the microphone.</extracomment>
        <translation>Grabación (micrófono)</translation>
    </message>
    <message>
        <source>Recording (computer sound)</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the computer sound.</extracomment>
        <translation>Grabación (sonido del equipo)</translation>
    </message>
    <message>
        <source>Unsupported recording format: %1 channels at %2 Hz</source>
        <translation>Formato de grabación no admitido: %1 canales a %2 Hz</translation>
    </message>
    <message>
        <source>The recording device is not available</source>
        <translation>El dispositivo de grabación no está disponible</translation>
    </message>
    <message>
        <source>Recording</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records an input.</extracomment>
        <translation>Grabación</translation>
    </message>
    <message>
        <source>Cannot record from %1: %2</source>
        <extracomment>%1 the input device, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede grabar desde %1: %2</translation>
    </message>
    <message>
        <source>%1 is not available</source>
        <extracomment>%1 is an entry of the input list (&quot;Sound of Firefox&quot;).</extracomment>
        <translation>%1 no está disponible</translation>
    </message>
    <message>
        <source>Recording %1</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the program %1.</extracomment>
        <translation>Grabación de %1</translation>
    </message>
    <message>
        <source>Cannot record %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>No se puede grabar %1: %2</translation>
    </message>
    <message>
        <source>There is neither a recording device nor a sound output</source>
        <translation>No hay ni dispositivo de grabación ni salida de sonido</translation>
    </message>
    <message>
        <source>Cannot record the microphone or the computer sound: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>No se puede grabar el micrófono ni el sonido del equipo: %1</translation>
    </message>
    <message>
        <source>The recording device is no longer available (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>El dispositivo de grabación ya no está disponible (%1)</translation>
    </message>
    <message>
        <source>%1 cannot be recorded any more (%2)</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 ya no se puede grabar (%2)</translation>
    </message>
    <message>
        <source>%1 stopped playing</source>
        <extracomment>%1 is a playing program.</extracomment>
        <translation>%1 dejó de reproducir</translation>
    </message>
    <message>
        <source>Neither the microphone nor the computer sound can be recorded any more (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Ya no se puede grabar ni el micrófono ni el sonido del equipo (%1)</translation>
    </message>
    <message>
        <source>Listening to the input is not possible: %1</source>
        <extracomment>%1 is why (&quot;there is no output device&quot;).</extracomment>
        <translation>No es posible escuchar la entrada: %1</translation>
    </message>
    <message>
        <source>%1 plays on an output already</source>
        <extracomment>%1 is an entry of the input list (&quot;Sound of Firefox&quot;).</extracomment>
        <translation>%1 ya se reproduce en una salida</translation>
    </message>
    <message>
        <source>there is no output device</source>
        <translation>no hay ningún dispositivo de salida</translation>
    </message>
    <message>
        <source>the output device %1 is not available</source>
        <translation>el dispositivo de salida %1 no está disponible</translation>
    </message>
    <message>
        <source>%1 is the sound of %2 itself, which would play back into itself</source>
        <extracomment>%1 an input device (&quot;Monitor of Built-in Audio&quot;), %2 the output device it is the sound of (&quot;Built-in Audio&quot;).</extracomment>
        <translation>%1 es el sonido del propio %2, que se reproduciría en sí mismo</translation>
    </message>
</context>
<context>
    <name>engine::TagLibInformation</name>
    <message>
        <source>AVI files hold no tags</source>
        <translation>Los archivos AVI no contienen etiquetas</translation>
    </message>
    <message>
        <source>Raw G.721 files hold no tags</source>
        <translation>Los archivos G.721 sin formato no contienen etiquetas</translation>
    </message>
    <message>
        <source>Files of this type hold no tags</source>
        <translation>Los archivos de este tipo no contienen etiquetas</translation>
    </message>
    <message>
        <source>Cannot write tags to %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;The file is being recorded&quot;).</extracomment>
        <translation>No se pueden escribir las etiquetas en %1: %2</translation>
    </message>
    <message>
        <source>The file is being recorded</source>
        <translation>El archivo se está grabando</translation>
    </message>
    <message>
        <source>The tag could not be written</source>
        <translation>No se pudo escribir la etiqueta</translation>
    </message>
    <message>
        <source>The tag could not be written without harm to the audio</source>
        <translation>No se pudo escribir la etiqueta sin dañar el audio</translation>
    </message>
</context>
</TS>
