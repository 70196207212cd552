<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>HomePage</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>Technology Support</source>
        <comment>row caption</comment>
        <translation>Technischer Support</translation>
    </message>
    <message>
        <source>Technology Support</source>
        <comment>link to the support mailbox</comment>
        <translation>Technischer Support</translation>
    </message>
    <message>
        <source>Made with Qt, FFmpeg, TagLib and PulseAudio.</source>
        <translation>Erstellt mit Qt, FFmpeg, TagLib und PulseAudio.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>AdvancedControlsDialog</name>
    <message>
        <source>Dialog</source>
        <extracomment>the caption until the controls of the line are built</extracomment>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>These settings can be used to make fine adjustments to your audio.</source>
        <translation>Mit diesen Einstellungen können Sie Ihren Ton fein abstimmen.</translation>
    </message>
    <message>
        <source>Other Controls</source>
        <translation>Weitere Regler</translation>
    </message>
    <message>
        <source>These settings make other changes to how your audio sounds. See your hardware documentation for details.</source>
        <translation>Diese Einstellungen verändern den Klang Ihres Audios auf andere Weise. Einzelheiten finden Sie in der Dokumentation Ihrer Hardware.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Advanced Properties for %1</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Erweiterte Eigenschaften für %1</translation>
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
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Keine reguläre Datei</translation>
    </message>
    <message>
        <source>The file is empty</source>
        <translation>Die Datei ist leer</translation>
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
        <translation>Das Audioformat ist unbekannt</translation>
    </message>
    <message>
        <source>The file holds no audio that can be decoded</source>
        <translation>Die Datei enthält keine dekodierbaren Audiodaten</translation>
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
        <translation>%1: %2, %3 bit Gleitkomma, %4</translation>
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
        <translation>%1 kann nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>A WAV file cannot hold more than 4 GB</source>
        <translation>Eine WAV-Datei kann nicht größer als 4 GB sein</translation>
    </message>
    <message>
        <source>No WMA encoder is installed</source>
        <translation>Es ist kein WMA-Encoder installiert</translation>
    </message>
    <message>
        <source>No FLAC encoder is installed</source>
        <translation>Es ist kein FLAC-Encoder installiert</translation>
    </message>
    <message>
        <source>No Ogg Vorbis encoder is installed</source>
        <translation>Es ist kein Ogg-Vorbis-Encoder installiert</translation>
    </message>
    <message>
        <source>No Opus encoder is installed</source>
        <translation>Es ist kein Opus-Encoder installiert</translation>
    </message>
    <message>
        <source>No MP3 encoder is installed</source>
        <translation>Es ist kein MP3-Encoder installiert</translation>
    </message>
    <message>
        <source>Cannot create %1: %2 (%3)</source>
        <extracomment>%1 the file, %2 why, %3 the format asked for (&quot;MPEG 1.0 layer-3: 128 kbps, ...&quot;).</extracomment>
        <translation>%1 kann nicht erstellt werden: %2 (%3)</translation>
    </message>
    <message>
        <source>Cannot create %1: no %2 writer</source>
        <extracomment>%2 is FFmpeg&apos;s name of a container format (&quot;ogg&quot;, &quot;asf&quot;).</extracomment>
        <translation>%1 kann nicht erstellt werden: kein Schreibmodul für %2</translation>
    </message>
    <message>
        <source>Cannot write %1: the file is closed</source>
        <translation>%1 kann nicht geschrieben werden: die Datei ist geschlossen</translation>
    </message>
    <message>
        <source>Cannot move the recording to %1: %2</source>
        <translation>Die Aufnahme kann nicht nach %1 verschoben werden: %2</translation>
    </message>
    <message>
        <source>no file is being written</source>
        <translation>es wird keine Datei geschrieben</translation>
    </message>
    <message>
        <source>it is being moved already</source>
        <translation>sie wird bereits verschoben</translation>
    </message>
    <message>
        <source>that is the recording itself</source>
        <translation>das ist die Aufnahme selbst</translation>
    </message>
    <message>
        <source>that file is being written</source>
        <translation>diese Datei wird gerade geschrieben</translation>
    </message>
</context>
<context>
    <name>CaptureInput</name>
    <message>
        <source>The recording could not start</source>
        <translation>Die Aufnahme konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>Capture did not start again</source>
        <translation>Die Audioerfassung wurde nicht erneut gestartet</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.</source>
        <extracomment>%1 is the command&apos;s name, %2 what is wrong with the command line.</extracomment>
        <translation>%1: %2
Weitere Informationen erhalten Sie mit &apos;%1 --help&apos;.</translation>
    </message>
    <message>
        <source>Usage: %1 [options] [file]
       %1 --record [-d SECONDS] [-s NAME] [--split SECONDS] [--on-sound DBFS [--quiet SECONDS]]
                   [--at HH:MM] [--monitor] [--separate] [output]
       %1 --list-sources
       %1 --remote record|pause|stop|status
       %1 --remote marker [name]</source>
        <extracomment>The usage lines of --help; %1 is the command&apos;s name. Option names (--record, -d, ...) and the remote commands (record, pause, stop, status, marker) are typed as they are: keep them.</extracomment>
        <translation>Aufruf: %1 [Optionen] [Datei]
        %1 --record [-d SEKUNDEN] [-s NAME] [--split SEKUNDEN] [--on-sound DBFS [--quiet SEKUNDEN]]
                    [--at HH:MM] [--monitor] [--separate] [Ziel]
        %1 --list-sources
        %1 --remote record|pause|stop|status
        %1 --remote marker [Name]</translation>
    </message>
    <message>
        <source>
Exit status: 0 when everything recorded was written (or the window was closed); 1 when a
recording could not start or ended in a failure, or the remote control found no running
recorder or was refused; 2 for a usage error.
</source>
        <extracomment>The end of --help: what the exit status says. 0, 1 and 2 are the statuses themselves.</extracomment>
        <translation>
Exit-Status: 0, wenn alles Aufgenommene geschrieben wurde (oder das Fenster geschlossen wurde); 1, wenn
eine Aufnahme nicht starten konnte oder mit einem Fehler endete oder die Fernsteuerung kein laufendes
Aufnahmeprogramm fand oder abgewiesen wurde; 2 bei einem Aufruffehler.
</translation>
    </message>
    <message>
        <source>Records sound into MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus files, plays them back and edits their tags. Without --record, --list-sources or --remote it opens its window.</source>
        <translation>Nimmt Ton in MP3-, WAV-, WMA-, FLAC-, Ogg-Vorbis- und Opus-Dateien auf, spielt sie ab und bearbeitet ihre Tags. Ohne --record, --list-sources oder --remote wird das Fenster geöffnet.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt die Hilfe zu den Befehlszeilenoptionen an.</translation>
    </message>
    <message>
        <source>Records without a window into [output]: a file (the format from its extension, .mp3, .wav, .wma, .flac, .ogg or .opus, with the stored settings of that format, never written over) or an existing folder (the next &quot;Untitled n&quot; in the stored format); without it, the stored save folder and format. Ctrl+C stops it; Enter (on a terminal) or SIGUSR1 adds a marker. The path of every file written is printed at the end.</source>
        <extracomment>&quot;Untitled n&quot; is how the recordings&apos; files are named: keep it as it is.</extracomment>
        <translation>Nimmt ohne Fenster in [Ziel] auf: eine Datei (das Format ergibt sich aus der Endung .mp3, .wav, .wma, .flac, .ogg oder .opus, mit den gespeicherten Einstellungen dieses Formats; sie wird nie überschrieben) oder einen vorhandenen Ordner (die nächste freie Datei „Untitled n“ im gespeicherten Format); ohne Angabe in den gespeicherten Speicherordner und das gespeicherte Format. Ctrl+C beendet die Aufnahme; Enter (im Terminal) oder SIGUSR1 setzt eine Marke. Am Ende wird der Pfad jeder geschriebenen Datei ausgegeben.</translation>
    </message>
    <message>
        <source>seconds</source>
        <extracomment>In --help, the value an option takes: a number of seconds (&quot;--duration &lt;seconds&gt;&quot;).</extracomment>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>With --record: stops after that many seconds.</source>
        <translation>Mit --record: beendet die Aufnahme nach so vielen Sekunden.</translation>
    </message>
    <message>
        <source>With --record: the input, as --list-sources names it or by an id that is the same in every language, &quot;mix:microphone+computer&quot; or &quot;sink-input:&lt;application&gt;&quot; (the default input without it).</source>
        <extracomment>&quot;mix:microphone+computer&quot; and &quot;sink-input:&quot; are typed as they are: keep them.</extracomment>
        <translation>Mit --record: der Eingang, wie --list-sources ihn benennt oder mit einer Kennung, die in jeder Sprache gleich ist, „mix:microphone+computer“ oder „sink-input:&lt;Anwendung&gt;“ (ohne Angabe der Standardeingang).</translation>
    </message>
    <message>
        <source>name</source>
        <extracomment>In --help, the value --source takes: the name of an input.</extracomment>
        <translation>Name</translation>
    </message>
    <message>
        <source>With --record: a new file every that many seconds.</source>
        <translation>Mit --record: alle so vielen Sekunden eine neue Datei.</translation>
    </message>
    <message>
        <source>With --record: writing starts when the sound is louder than this level, -60 to 0 dBFS.</source>
        <translation>Mit --record: das Schreiben beginnt, sobald der Ton lauter als dieser Pegel ist, -60 bis 0 dBFS.</translation>
    </message>
    <message>
        <source>dbfs</source>
        <extracomment>In --help, the value --on-sound takes: a level in dBFS (decibels below full scale).</extracomment>
        <translation>dbfs</translation>
    </message>
    <message>
        <source>With --on-sound: that many seconds of quiet (1 to 60; the stored value without it) pause the recording until the next sound.</source>
        <translation>Mit --on-sound: so viele Sekunden Stille (1 bis 60; ohne Angabe der gespeicherte Wert) pausieren die Aufnahme bis zum nächsten Ton.</translation>
    </message>
    <message>
        <source>With --record: starts at that time, today or tomorrow if it has passed.</source>
        <translation>Mit --record: beginnt zu dieser Uhrzeit, heute oder morgen, falls sie bereits vorbei ist.</translation>
    </message>
    <message>
        <source>HH:MM</source>
        <extracomment>In --help, the value --at takes: a time of day as hours and minutes (&quot;14:30&quot;).</extracomment>
        <translation>HH:MM</translation>
    </message>
    <message>
        <source>With --record: plays what is recorded on the default output device too (refused with a warning for an input that would play back into it).</source>
        <translation>Mit --record: gibt das Aufgenommene auch über das Standard-Ausgabegerät wieder (wird mit einer Warnung abgelehnt, wenn der Eingang diese Wiedergabe selbst wieder aufnehmen würde).</translation>
    </message>
    <message>
        <source>With --record and &quot;Microphone + computer sound&quot;: also writes each side to a file of its own beside the mix, &quot;&lt;output&gt; (microphone)&quot; and &quot;&lt;output&gt; (computer)&quot; (the stored choice without it).</source>
        <extracomment>&quot;&lt;output&gt; (microphone)&quot; and &quot;&lt;output&gt; (computer)&quot; are the names of the files written: keep them as they are.</extracomment>
        <translation>Mit --record und „Mikrofon + Computerton“: schreibt zusätzlich zum Mix jede Seite in eine eigene Datei daneben, „&lt;output&gt; (microphone)“ und „&lt;output&gt; (computer)“ (ohne Angabe die gespeicherte Wahl).</translation>
    </message>
    <message>
        <source>Prints every input --source takes: its name, a tab, its description, and &quot;default&quot; for the default input.</source>
        <extracomment>&quot;default&quot; is printed as it is: keep it.</extracomment>
        <translation>Listet jeden Eingang auf, den --source annimmt: seinen Namen, einen Tabulator, seine Beschreibung und „default“ für den Standardeingang.</translation>
    </message>
    <message>
        <source>Tells the running recorder&apos;s window to record, pause or stop, to add a marker (marker [name]), or prints its state, elapsed time and file (status).</source>
        <extracomment>record, pause, stop, marker and status are typed as they are: keep them.</extracomment>
        <translation>Weist das Fenster des laufenden Aufnahmeprogramms an, aufzunehmen, zu pausieren oder zu stoppen, eine Marke zu setzen (marker [Name]), oder gibt dessen Zustand, die verstrichene Zeit und die Datei aus (status).</translation>
    </message>
    <message>
        <source>command</source>
        <extracomment>In --help, the value --remote takes: what the window is told to do.</extracomment>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>file</source>
        <extracomment>In --help, the name of the one argument: a sound file.</extracomment>
        <translation>Datei</translation>
    </message>
    <message>
        <source>A sound file to open at start-up, as File / Open does; with --record, where to record.</source>
        <translation>Eine Audiodatei, die beim Start geöffnet wird, wie mit Datei / Öffnen; mit --record das Aufnahmeziel.</translation>
    </message>
    <message>
        <source>[file]</source>
        <extracomment>In --help&apos;s usage line, the one argument, which may be left out.</extracomment>
        <translation>[Datei]</translation>
    </message>
    <message>
        <source>--record, --list-sources and --remote cannot be combined.</source>
        <translation>--record, --list-sources und --remote können nicht kombiniert werden.</translation>
    </message>
    <message>
        <source>--%1 is an option of --record.</source>
        <extracomment>%1 is an option&apos;s name (&quot;duration&quot;).</extracomment>
        <translation>--%1 ist eine Option von --record.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Unknown remote command &apos;%1&apos;; it is record, pause, stop, marker or status.</source>
        <extracomment>record, pause, stop, marker and status are typed as they are: keep them.</extracomment>
        <translation>Unbekannter Fernsteuerungsbefehl &apos;%1&apos;; möglich sind record, pause, stop, marker oder status.</translation>
    </message>
    <message>
        <source>Only one file can be named at a time; %1 were named.</source>
        <translation>Es kann nur eine Datei angegeben werden; angegeben wurden %1.</translation>
    </message>
    <message>
        <source>%1 has no extension the recorder writes (.mp3, .wav, .wma, .flac, .ogg or .opus).</source>
        <translation>%1 hat keine Endung, die das Programm schreibt (.mp3, .wav, .wma, .flac, .ogg oder .opus).</translation>
    </message>
    <message>
        <source>Bad --duration &apos;%1&apos;: a whole number of seconds, at least 1.</source>
        <translation>Ungültiger Wert für --duration &apos;%1&apos;: eine ganze Zahl von Sekunden, mindestens 1.</translation>
    </message>
    <message>
        <source>Bad --split &apos;%1&apos;: a whole number of seconds, at least 1.</source>
        <translation>Ungültiger Wert für --split &apos;%1&apos;: eine ganze Zahl von Sekunden, mindestens 1.</translation>
    </message>
    <message>
        <source>Bad --on-sound &apos;%1&apos;: a level from -60 to 0 dBFS.</source>
        <translation>Ungültiger Wert für --on-sound &apos;%1&apos;: ein Pegel von -60 bis 0 dBFS.</translation>
    </message>
    <message>
        <source>--quiet is an option of --on-sound.</source>
        <translation>--quiet ist eine Option von --on-sound.</translation>
    </message>
    <message>
        <source>Bad --quiet &apos;%1&apos;: from 1 to 60 seconds.</source>
        <translation>Ungültiger Wert für --quiet &apos;%1&apos;: 1 bis 60 Sekunden.</translation>
    </message>
    <message>
        <source>Bad --at &apos;%1&apos;: a time as HH:MM.</source>
        <translation>Ungültiger Wert für --at &apos;%1&apos;: eine Uhrzeit als HH:MM.</translation>
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
        <translation>Spitze -60 dBFS</translation>
    </message>
    <message>
        <source>peak %1 dBFS</source>
        <extracomment>The progress line&apos;s loudest level of the last moment, in decibels below full scale (%1 is -60 to 0).</extracomment>
        <translation>Spitze %1 dBFS</translation>
    </message>
    <message>
        <source>Cannot write %1: the folder %2 does not exist</source>
        <translation>%1 kann nicht geschrieben werden: der Ordner %2 existiert nicht</translation>
    </message>
    <message>
        <source>Cannot write %1: the file exists</source>
        <translation>%1 kann nicht geschrieben werden: die Datei existiert bereits</translation>
    </message>
    <message>
        <source>Unknown source &apos;%1&apos;; %2 --list-sources names them</source>
        <extracomment>%1 is the source asked for, %2 the command&apos;s name.</extracomment>
        <translation>Unbekannte Quelle &apos;%1&apos;; %2 --list-sources listet sie auf</translation>
    </message>
    <message>
        <source>--separate keeps the sides of &quot;Microphone + computer sound&quot; apart; %1 has none</source>
        <extracomment>&quot;Microphone + computer sound&quot; is the input of that name; %1 is the input chosen.</extracomment>
        <translation>--separate hält die Seiten von „Mikrofon + Computerton“ getrennt; %1 hat keine</translation>
    </message>
    <message>
        <source>The recording could not start</source>
        <translation>Die Aufnahme konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>%1: warning: %2</source>
        <extracomment>A warning on the terminal: %1 is the command&apos;s name, %2 what is wrong.</extracomment>
        <translation>%1: Warnung: %2</translation>
    </message>
    <message>
        <source>%1 (at %2)</source>
        <extracomment>The progress line while a recording waits for its set time: %1 is &quot;Recording in 01:02:03&quot;, %2 the time it starts (hours and minutes).</extracomment>
        <translation>%1 (um %2)</translation>
    </message>
    <message>
        <source>%1  Waiting for sound...</source>
        <extracomment>The progress line; %1 is the time recorded so far.</extracomment>
        <translation>%1  Warte auf Ton...</translation>
    </message>
    <message>
        <source>%1  Waiting for device...</source>
        <extracomment>The progress line; %1 is the time recorded so far.</extracomment>
        <translation>%1  Warte auf Gerät...</translation>
    </message>
</context>
<context>
    <name>Convert</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <extracomment>%1 is the text typed.</extracomment>
        <translation>&apos;%1&apos; ist kein gültiger Ganzzahlwert</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <extracomment>The button of a desktop notification that brings the window up with the file shown.</extracomment>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A notification&apos;s text: %1 is the recording&apos;s file name, %2 why it ended (&quot;Untitled3.mp3: the time limit was reached&quot;).</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Recording ended</source>
        <extracomment>A notification&apos;s title: a recording ended by itself (its time limit, a full disk, ...).</extracomment>
        <translation>Aufnahme beendet</translation>
    </message>
    <message>
        <source>%1: the scheduled recording started</source>
        <extracomment>A notification&apos;s text: %1 is the file now recorded.</extracomment>
        <translation>%1: die geplante Aufnahme hat begonnen</translation>
    </message>
    <message>
        <source>%1: sound came and the recording started</source>
        <extracomment>A notification&apos;s text: %1 is the file now recorded.</extracomment>
        <translation>%1: Ton erkannt, die Aufnahme hat begonnen</translation>
    </message>
    <message>
        <source>Recording started</source>
        <extracomment>A notification&apos;s title: a scheduled recording, or one started on sound, started by itself.</extracomment>
        <translation>Aufnahme gestartet</translation>
    </message>
    <message>
        <source>%1 was interrupted; it was repaired and listed</source>
        <extracomment>A notification&apos;s text at start-up: %1 is a file&apos;s name.</extracomment>
        <translation>%1 wurde unterbrochen; die Datei wurde repariert und aufgelistet</translation>
    </message>
    <message>
        <source>%1 interrupted recordings were repaired and listed: %2</source>
        <extracomment>A notification&apos;s text at start-up: %1 is how many files (2 or more), %2 lists their names (&quot;Untitled3.mp3, Untitled4.mp3 and Untitled5.mp3&quot;).</extracomment>
        <translation>%1 unterbrochene Aufnahmen wurden repariert und aufgelistet: %2</translation>
    </message>
    <message>
        <source>Recordings recovered</source>
        <extracomment>A notification&apos;s title at start-up.</extracomment>
        <translation>Aufnahmen wiederhergestellt</translation>
    </message>
</context>
<context>
    <name>DiskRunway</name>
    <message>
        <source>There is not enough room on the disk of %1 to record: less than %2 seconds would fit. Free some space or choose another folder in Options</source>
        <extracomment>%1 is the save folder, %2 a number of seconds.</extracomment>
        <translation>Auf dem Datenträger von %1 ist nicht genug Platz für eine Aufnahme: Es würden weniger als %2 Sekunden passen. Geben Sie Speicherplatz frei oder wählen Sie in den Optionen einen anderen Ordner</translation>
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
        <translation>Band %1</translation>
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
        <translation>Equalizer</translation>
    </message>
</context>
<context>
    <name>EqualizerWindow</name>
    <message>
        <source>Equalizer</source>
        <translation>Equalizer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Twelve bands from 36 Hz to 16 kHz, each from -15 to 15 dB</source>
        <translation>Zwölf Bänder von 36 Hz bis 16 kHz, je von -15 bis 15 dB</translation>
    </message>
</context>
<context>
    <name>FfmpegAudioFile</name>
    <message>
        <source>Cannot create %1: No WMA encoder is installed</source>
        <translation>%1 kann nicht erstellt werden: es ist kein WMA-Encoder installiert</translation>
    </message>
    <message>
        <source>Cannot write: no file is open for writing</source>
        <translation>Schreiben nicht möglich: keine Datei zum Schreiben geöffnet</translation>
    </message>
    <message>
        <source>Cannot repair %1: it is being written</source>
        <translation>%1 kann nicht repariert werden: die Datei wird gerade geschrieben</translation>
    </message>
    <message>
        <source>Cannot repair %1: %2 is not a format the program records</source>
        <extracomment>%2 is a file name extension (&quot;.mp4&quot;).</extracomment>
        <translation>%1 kann nicht repariert werden: %2 ist kein Format, das das Programm aufnimmt</translation>
    </message>
    <message>
        <source>Cannot move the recording to %1: no file is being written</source>
        <translation>Die Aufnahme kann nicht nach %1 verschoben werden: es wird keine Datei geschrieben</translation>
    </message>
    <message>
        <source>Cannot write the markers of %1: the file is being written</source>
        <translation>Die Marken von %1 können nicht geschrieben werden: die Datei wird gerade geschrieben</translation>
    </message>
</context>
<context>
    <name>FfmpegUtil</name>
    <message>
        <source>Error %1</source>
        <extracomment>An FFmpeg failure without a text of its own; %1 is its error number.</extracomment>
        <translation>Fehler %1</translation>
    </message>
    <message>
        <source>Mono</source>
        <extracomment>One channel, at the end of a file format (&quot;PCM: 44100 Hz, 16 bit, Mono&quot;).</extracomment>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <extracomment>Two channels, at the end of a file format (&quot;PCM: 44100 Hz, 16 bit, Stereo&quot;).</extracomment>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 Kanäle</translation>
    </message>
</context>
<context>
    <name>FileInfoPage</name>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Size</source>
        <comment>column header: a file&apos;s size</comment>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>column header: a file&apos;s length, a marker&apos;s place</comment>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Save Directory</source>
        <translation>Speicherordner</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Delete from list box</source>
        <translation>Aus Liste entfernen</translation>
    </message>
    <message>
        <source>Delete from hard disk</source>
        <translation>Von Festplatte löschen</translation>
    </message>
    <message>
        <source>Rename Marker</source>
        <translation>Marke umbenennen</translation>
    </message>
    <message>
        <source>Remove Marker</source>
        <translation>Marke entfernen</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Interpret:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Copyright:</source>
        <translation>Copyright:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Jahr:</translation>
    </message>
    <message>
        <source>Track:</source>
        <translation>Titelnummer:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Kommentar:</translation>
    </message>
    <message>
        <source>Mpeg Tag Version</source>
        <translation>MPEG-Tag-Version</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Reset file info</source>
        <translation>Dateiinfo zurücksetzen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Apply file info</source>
        <translation>Dateiinfo übernehmen</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <extracomment>a file&apos;s size in kilobytes</extracomment>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>A marker: double-click to rename it, Delete removes it; Apply writes the change</source>
        <translation>Eine Marke: Doppelklick zum Umbenennen, Entf entfernt sie; Übernehmen schreibt die Änderung</translation>
    </message>
    <message>
        <source>Invalid Year Value</source>
        <translation>Ungültiger Wert für Jahr</translation>
    </message>
    <message>
        <source>Invalid Track Value</source>
        <translation>Ungültiger Wert für Titelnummer</translation>
    </message>
    <message>
        <source>File list</source>
        <translation>Dateiliste</translation>
    </message>
</context>
<context>
    <name>FileMarkers</name>
    <message>
        <source>this type of file keeps no markers</source>
        <translation>dieser Dateityp speichert keine Marken</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>the file is cut short</source>
        <translation>die Datei ist abgeschnitten</translation>
    </message>
    <message>
        <source>more than %1 markers</source>
        <translation>mehr als %1 Marken</translation>
    </message>
    <message>
        <source>a marker before the start</source>
        <translation>eine Marke vor dem Anfang</translation>
    </message>
    <message>
        <source>the comment list is damaged</source>
        <translation>die Kommentarliste ist beschädigt</translation>
    </message>
    <message>
        <source>not a FLAC file</source>
        <translation>keine FLAC-Datei</translation>
    </message>
    <message>
        <source>the FLAC metadata is damaged</source>
        <translation>die FLAC-Metadaten sind beschädigt</translation>
    </message>
    <message>
        <source>not an Ogg Vorbis or Opus stream</source>
        <translation>kein Ogg-Vorbis- oder Opus-Stream</translation>
    </message>
    <message>
        <source>the comment header is damaged</source>
        <translation>der Kommentar-Header ist beschädigt</translation>
    </message>
    <message>
        <source>the Ogg headers are damaged or cut short</source>
        <translation>die Ogg-Header sind beschädigt oder abgeschnitten</translation>
    </message>
    <message>
        <source>the Ogg headers are laid out in an unusual way</source>
        <translation>die Ogg-Header sind ungewöhnlich angeordnet</translation>
    </message>
    <message>
        <source>the Ogg pages are damaged</source>
        <translation>die Ogg-Seiten sind beschädigt</translation>
    </message>
    <message>
        <source>not a WAV file</source>
        <translation>keine WAV-Datei</translation>
    </message>
    <message>
        <source>the %1 chunk is cut short</source>
        <extracomment>%1 is the four-letter name of a part of a WAV file (&quot;LIST&quot;).</extracomment>
        <translation>der %1-Chunk ist abgeschnitten</translation>
    </message>
    <message>
        <source>the fmt chunk is damaged</source>
        <translation>der fmt-Chunk ist beschädigt</translation>
    </message>
    <message>
        <source>the WAV file has no fmt or data chunk</source>
        <translation>die WAV-Datei hat keinen fmt- oder data-Chunk</translation>
    </message>
    <message>
        <source>the cue chunk is damaged</source>
        <translation>der cue-Chunk ist beschädigt</translation>
    </message>
    <message>
        <source>the adtl list is damaged</source>
        <translation>die adtl-Liste ist beschädigt</translation>
    </message>
    <message>
        <source>a marker past the reach of a WAV file</source>
        <translation>eine Marke außerhalb der Reichweite einer WAV-Datei</translation>
    </message>
    <message>
        <source>the ID3v2 tag is damaged</source>
        <translation>das ID3v2-Tag ist beschädigt</translation>
    </message>
    <message>
        <source>the ID3v2 tag is cut short</source>
        <translation>das ID3v2-Tag ist abgeschnitten</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>not an MP3 file</source>
        <translation>keine MP3-Datei</translation>
    </message>
    <message>
        <source>no MP3 audio found</source>
        <translation>keine MP3-Audiodaten gefunden</translation>
    </message>
    <message>
        <source>the ASF header is damaged</source>
        <translation>der ASF-Header ist beschädigt</translation>
    </message>
    <message>
        <source>not an ASF file</source>
        <translation>keine ASF-Datei</translation>
    </message>
    <message>
        <source>the ASF file has no audio stream</source>
        <translation>die ASF-Datei hat keinen Audiostream</translation>
    </message>
    <message>
        <source>the ASF markers are damaged</source>
        <translation>die ASF-Marken sind beschädigt</translation>
    </message>
    <message>
        <source>Cannot read the markers of %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;the file is cut short&quot;).</extracomment>
        <translation>Die Marken von %1 können nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the markers of %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;the file is cut short&quot;).</extracomment>
        <translation>Die Marken von %1 können nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>Cannot create %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>%1 kann nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: the file exists</source>
        <translation>%1 kann nicht geschrieben werden: die Datei existiert bereits</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>%1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Cannot create %1: every name is taken</source>
        <translation>%1 kann nicht erstellt werden: alle Namen sind vergeben</translation>
    </message>
</context>
<context>
    <name>FileRepair</name>
    <message>
        <source>it is not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>its tags cannot be read</source>
        <translation>die Tags können nicht gelesen werden</translation>
    </message>
    <message>
        <source>Cannot repair %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;its header is damaged&quot;).</extracomment>
        <translation>%1 kann nicht repariert werden: %2</translation>
    </message>
    <message>
        <source>its header is cut short</source>
        <translation>der Header ist abgeschnitten</translation>
    </message>
    <message>
        <source>its chunk list is damaged</source>
        <translation>die Chunk-Liste ist beschädigt</translation>
    </message>
    <message>
        <source>its format chunk is damaged</source>
        <translation>der Format-Chunk ist beschädigt</translation>
    </message>
    <message>
        <source>its format chunk is cut short</source>
        <translation>der Format-Chunk ist abgeschnitten</translation>
    </message>
    <message>
        <source>it has no usable format chunk</source>
        <translation>kein verwendbarer Format-Chunk vorhanden</translation>
    </message>
    <message>
        <source>it has no data chunk</source>
        <translation>kein data-Chunk vorhanden</translation>
    </message>
    <message>
        <source>it is larger than a WAV file can describe</source>
        <translation>größer, als eine WAV-Datei beschreiben kann</translation>
    </message>
    <message>
        <source>it holds no MPEG audio frames</source>
        <translation>enthält keine MPEG-Audioframes</translation>
    </message>
    <message>
        <source>it holds no whole MPEG audio frame</source>
        <translation>enthält keinen vollständigen MPEG-Audioframe</translation>
    </message>
    <message>
        <source>its audio data is damaged at byte %1</source>
        <translation>die Audiodaten sind bei Byte %1 beschädigt</translation>
    </message>
    <message>
        <source>its header frame is damaged</source>
        <translation>der Header-Frame ist beschädigt</translation>
    </message>
    <message>
        <source>its header is damaged</source>
        <translation>der Header ist beschädigt</translation>
    </message>
    <message>
        <source>its header has no file properties</source>
        <translation>der Header enthält keine Dateieigenschaften</translation>
    </message>
    <message>
        <source>its packets are not of one fixed size</source>
        <translation>die Pakete haben keine einheitliche feste Größe</translation>
    </message>
    <message>
        <source>its data object is missing</source>
        <translation>das Datenobjekt fehlt</translation>
    </message>
    <message>
        <source>its packets cannot be read</source>
        <translation>die Pakete können nicht gelesen werden</translation>
    </message>
    <message>
        <source>its metadata is cut short</source>
        <translation>die Metadaten sind abgeschnitten</translation>
    </message>
    <message>
        <source>it has no stream information block</source>
        <translation>kein Streaminfo-Block vorhanden</translation>
    </message>
    <message>
        <source>its metadata is damaged</source>
        <translation>die Metadaten sind beschädigt</translation>
    </message>
    <message>
        <source>it holds no whole Ogg page</source>
        <translation>enthält keine vollständige Ogg-Seite</translation>
    </message>
    <message>
        <source>its last page cannot be read</source>
        <translation>die letzte Seite kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>it is not a %1 file</source>
        <extracomment>%1 is a format&apos;s name: WAV, MP3, WMA, FLAC or Ogg.</extracomment>
        <translation>keine %1-Datei</translation>
    </message>
    <message>
        <source>it is not a %1 or %2 file</source>
        <extracomment>%1 is a list of formats (&quot;WAV, MP3, WMA, FLAC&quot;), %2 the last one (&quot;Ogg&quot;).</extracomment>
        <translation>keine %1- oder %2-Datei</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>ein symbolischer Link</translation>
    </message>
    <message>
        <source>bytes in memory</source>
        <extracomment>Stands for a file&apos;s name in &quot;Cannot repair %1: ...&quot; when the bytes are in no file.</extracomment>
        <translation>Bytes im Speicher</translation>
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
        <translation>noch %1 auf dem Datenträger</translation>
    </message>
    <message>
        <source>Recording in %1:%2:%3</source>
        <extracomment>While a recording waits for its set start time: the time left, %1 hours, %2 minutes, %3 seconds (&quot;Recording in 01:02:03&quot;).</extracomment>
        <translation>Aufnahme in %1:%2:%3</translation>
    </message>
    <message>
        <source>%1 left</source>
        <extracomment>In the status bar, short: the recording time that still fits on the disk; %1 is a stretch of time such as &quot;2 h 41 min&quot; (the tooltip says &quot;2 h 41 min left on disk&quot;).</extracomment>
        <translation>noch %1</translation>
    </message>
</context>
<context>
    <name>GlobalShortcuts</name>
    <message>
        <source>Record or pause</source>
        <translation>Aufnehmen oder pausieren</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Aufnahme stoppen</translation>
    </message>
    <message>
        <source>Add a marker</source>
        <translation>Marke setzen</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <extracomment>%1 is the settings file&apos;s path.</extracomment>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Level</source>
        <translation>Pegel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Wav files (*.wav)</source>
        <translation>WAV-Dateien (*.wav)</translation>
    </message>
    <message>
        <source>MPEG files (*.mp3;*.mp2;*.mp1;*.mpeg)</source>
        <translation>MPEG-Dateien (*.mp3;*.mp2;*.mp1;*.mpeg)</translation>
    </message>
    <message>
        <source>Ogg Vorbis files (*.ogg)</source>
        <translation>Ogg-Vorbis-Dateien (*.ogg)</translation>
    </message>
    <message>
        <source>FLAC files (*.flac)</source>
        <translation>FLAC-Dateien (*.flac)</translation>
    </message>
    <message>
        <source>Opus files (*.opus)</source>
        <translation>Opus-Dateien (*.opus)</translation>
    </message>
    <message>
        <source>AVI files (*.avi)</source>
        <translation>AVI-Dateien (*.avi)</translation>
    </message>
    <message>
        <source>G721 files (*.g721)</source>
        <translation>G721-Dateien (*.g721)</translation>
    </message>
    <message>
        <source>MPPlus files (*.mpc;*.mp+)</source>
        <translation>MPPlus-Dateien (*.mpc;*.mp+)</translation>
    </message>
    <message>
        <source>WMA files (*.wma)</source>
        <translation>WMA-Dateien (*.wma)</translation>
    </message>
    <message>
        <source>A recording is running</source>
        <translation>Eine Aufnahme läuft</translation>
    </message>
    <message>
        <source>Repairing %1 from a recording that was interrupted...</source>
        <translation>%1 wird aus einer unterbrochenen Aufnahme repariert...</translation>
    </message>
    <message>
        <source>Rewrite File?</source>
        <translation>Datei überschreiben?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Aktion</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Aufnehmen</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Wiedergabe</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>Add &amp;Marker</source>
        <translation>&amp;Marke setzen</translation>
    </message>
    <message>
        <source>&amp;Next Marker</source>
        <translation>&amp;Nächste Marke</translation>
    </message>
    <message>
        <source>Pre&amp;vious Marker</source>
        <translation>&amp;Vorherige Marke</translation>
    </message>
    <message>
        <source>Sc&amp;hedule Recording...</source>
        <translation>Aufnahme&amp;zeitplan...</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Recording Controls</source>
        <translation>&amp;Aufnahmeregler</translation>
    </message>
    <message>
        <source>&amp;Playback Volume Controls</source>
        <translation>&amp;Wiedergaberegler</translation>
    </message>
    <message>
        <source>&amp;File Info...</source>
        <translation>&amp;Dateiinfo...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Help Contents</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>Home&amp;page</source>
        <translation>Home&amp;page</translation>
    </message>
    <message>
        <source>&amp;Tip of the Day</source>
        <translation>&amp;Tipp des Tages</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Tools</source>
        <comment>tool bar title</comment>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>tool bar button</comment>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Options</source>
        <comment>tool bar button</comment>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Marker</source>
        <comment>tool bar button</comment>
        <translation>Marke</translation>
    </message>
    <message>
        <source>Add a marker where the recording is now (Ctrl+M)</source>
        <translation>Marke an der aktuellen Aufnahmeposition setzen (Ctrl+M)</translation>
    </message>
    <message>
        <source>Help</source>
        <comment>tool bar button</comment>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>About</source>
        <comment>tool bar button</comment>
        <translation>Über</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Record Sound</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Recording Controls</source>
        <translation>Aufnahmeregler</translation>
    </message>
    <message>
        <source>Playback Volume Controls</source>
        <translation>Wiedergaberegler</translation>
    </message>
    <message>
        <source>File Info</source>
        <translation>Dateiinfo</translation>
    </message>
    <message>
        <source>Play/Record Control</source>
        <translation>Wiedergabe-/Aufnahmesteuerung</translation>
    </message>
    <message>
        <source>Time Elapsed</source>
        <translation>Verstrichene Zeit</translation>
    </message>
    <message>
        <source>&amp;Wait for It</source>
        <translation>&amp;Abwarten</translation>
    </message>
    <message>
        <source>&amp;Forget It</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>That time has passed; choose a later one.</source>
        <translation>Dieser Zeitpunkt ist bereits vorbei; wählen Sie einen späteren.</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Where the file plays; Left and Right move it</source>
        <translation>Wiedergabestelle der Datei; mit Links und Rechts verschieben</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transport</translation>
    </message>
    <message>
        <source>Play, Pause, Stop, Record, the volume and Mute</source>
        <translation>Wiedergabe, Pause, Stopp, Aufnehmen, Lautstärke und Stumm</translation>
    </message>
    <message>
        <source>Left level</source>
        <translation>Pegel links</translation>
    </message>
    <message>
        <source>Right level</source>
        <translation>Pegel rechts</translation>
    </message>
    <message>
        <source>A recording is running. Quitting stops it and keeps what was recorded.</source>
        <translation>Eine Aufnahme läuft. Beim Beenden wird sie gestoppt; das bisher Aufgenommene bleibt erhalten.</translation>
    </message>
    <message>
        <source>Keep recording</source>
        <translation>Weiter aufnehmen</translation>
    </message>
    <message>
        <source>Stop and quit</source>
        <translation>Stoppen und beenden</translation>
    </message>
</context>
<context>
    <name>MediaPlayerControl</name>
    <message>
        <source>A file cannot be played while a recording runs.</source>
        <translation>Während einer Aufnahme kann keine Datei wiedergegeben werden.</translation>
    </message>
</context>
<context>
    <name>MixerSide</name>
    <message>
        <source>Capture</source>
        <extracomment>The one line of a recording device that has no inputs of its own to choose.</extracomment>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Master</source>
        <extracomment>The line of an output device&apos;s own volume, beside the programs playing on it.</extracomment>
        <translation>Master</translation>
    </message>
    <message>
        <source>Cannot set the playback volume: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Die Wiedergabelautstärke kann nicht eingestellt werden: %1</translation>
    </message>
    <message>
        <source>Cannot set the volume of %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>Die Lautstärke von %1 kann nicht eingestellt werden: %2</translation>
    </message>
    <message>
        <source>Cannot set the playback balance: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Die Wiedergabebalance kann nicht eingestellt werden: %1</translation>
    </message>
    <message>
        <source>Cannot set the balance of %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>Die Balance von %1 kann nicht eingestellt werden: %2</translation>
    </message>
    <message>
        <source>Cannot mute the playback: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Die Wiedergabe kann nicht stummgeschaltet werden: %1</translation>
    </message>
    <message>
        <source>Cannot mute %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 kann nicht stummgeschaltet werden: %2</translation>
    </message>
    <message>
        <source>Cannot select %1: %2</source>
        <extracomment>%1 an input of a recording device (&quot;Microphone&quot;), %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 kann nicht ausgewählt werden: %2</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>The switch that silences a recording device.</extracomment>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Cannot switch %1 to %2: %3</source>
        <extracomment>%1 an output device, %2 one of its outputs (&quot;Headphones&quot;), %3 the sound server&apos;s reason.</extracomment>
        <translation>%1 kann nicht auf %2 umgeschaltet werden: %3</translation>
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
        <translation>Wählen</translation>
    </message>
    <message>
        <source>Mute</source>
        <comment>silence this line</comment>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>%1 volume</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Lautstärke %1</translation>
    </message>
    <message>
        <source>%1 balance</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Balance %1</translation>
    </message>
    <message>
        <source>Select %1</source>
        <extracomment>record from this line; %1 is the name of the mixer line</extracomment>
        <translation>%1 auswählen</translation>
    </message>
    <message>
        <source>Mute %1</source>
        <extracomment>silence this line; %1 is the name of the mixer line</extracomment>
        <translation>%1 stumm</translation>
    </message>
    <message>
        <source>Advanced controls of %1</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Erweiterte Regler für %1</translation>
    </message>
</context>
<context>
    <name>MonitorStream</name>
    <message>
        <source>Listening to the input</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that plays the input back.</extracomment>
        <translation>Eingang mithören</translation>
    </message>
</context>
<context>
    <name>OpenFileMove</name>
    <message>
        <source>Cannot move the recording to %1: %2</source>
        <translation>Die Aufnahme kann nicht nach %1 verschoben werden: %2</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Save Path</source>
        <translation>Speicherpfad</translation>
    </message>
    <message>
        <source>select save directory</source>
        <translation>Speicherordner auswählen</translation>
    </message>
    <message>
        <source>Record Format</source>
        <translation>Aufnahmeformat</translation>
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
        <translation>0 schreibt am schnellsten, 8 erzeugt die kleinsten Dateien; der Klang ist gleich</translation>
    </message>
    <message>
        <source>Compression level</source>
        <translation>Kompressionsstufe</translation>
    </message>
    <message>
        <source>Time Limit</source>
        <translation>Zeitlimit</translation>
    </message>
    <message>
        <source>No Limit</source>
        <translation>Kein Limit</translation>
    </message>
    <message>
        <source>Stop recording after </source>
        <extracomment>followed by the hours, minutes and seconds fields</extracomment>
        <translation>Aufnahme beenden nach </translation>
    </message>
    <message>
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Auto Split</source>
        <translation>Automatisch aufteilen</translation>
    </message>
    <message>
        <source>Split Every</source>
        <extracomment>followed by the minutes and seconds fields</extracomment>
        <translation>Aufteilen alle</translation>
    </message>
    <message>
        <source>Lost Input Device</source>
        <translation>Eingabegerät verloren</translation>
    </message>
    <message>
        <source>Go on recording when it comes back</source>
        <translation>Aufnahme fortsetzen, sobald es wieder da ist</translation>
    </message>
    <message>
        <source>A recording whose input device went away waits up to ten minutes for it and goes on in a new file</source>
        <translation>Verschwindet das Eingabegerät einer Aufnahme, wartet sie bis zu zehn Minuten darauf und wird in einer neuen Datei fortgesetzt</translation>
    </message>
    <message>
        <source>Before Record</source>
        <translation>Vor der Aufnahme</translation>
    </message>
    <message>
        <source>Keep the last</source>
        <extracomment>followed by a number field and &quot;seconds before Record&quot;</extracomment>
        <translation>Die letzten</translation>
    </message>
    <message>
        <source>The input stays open while the program is idle; Record writes these seconds first</source>
        <translation>Der Eingang bleibt offen, solange das Programm untätig ist; „Aufnehmen“ schreibt zuerst diese Sekunden</translation>
    </message>
    <message>
        <source>seconds before Record</source>
        <translation>Sekunden vor dem Aufnehmen behalten</translation>
    </message>
    <message>
        <source>Start on sound</source>
        <translation>Bei Ton starten</translation>
    </message>
    <message>
        <source>Record waits for sound; the half second before it is kept</source>
        <translation>„Aufnehmen“ wartet auf Ton; die halbe Sekunde davor wird behalten</translation>
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
        <translation>Jeder Ton in einer neuen Datei</translation>
    </message>
    <message>
        <source>Sound is louder than</source>
        <extracomment>followed by a level in dBFS</extracomment>
        <translation>Ton ist lauter als</translation>
    </message>
    <message>
        <source>Pause after a quiet of</source>
        <extracomment>followed by a number of seconds</extracomment>
        <translation>Pause nach einer Stille von</translation>
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
        <source>Select a directory to save output files</source>
        <translation>Ordner zum Speichern der Ausgabedateien auswählen</translation>
    </message>
    <message>
        <source>MP3 quality</source>
        <translation>MP3-Qualität</translation>
    </message>
    <message>
        <source>WAV quality</source>
        <translation>WAV-Qualität</translation>
    </message>
    <message>
        <source>WMA profile</source>
        <translation>WMA-Profil</translation>
    </message>
    <message>
        <source>FLAC quality</source>
        <translation>FLAC-Qualität</translation>
    </message>
    <message>
        <source>Ogg Vorbis quality</source>
        <translation>Ogg-Vorbis-Qualität</translation>
    </message>
    <message>
        <source>Opus quality</source>
        <translation>Opus-Qualität</translation>
    </message>
    <message>
        <source>Time limit hours</source>
        <translation>Zeitlimit Stunden</translation>
    </message>
    <message>
        <source>Time limit minutes</source>
        <translation>Zeitlimit Minuten</translation>
    </message>
    <message>
        <source>Time limit seconds</source>
        <translation>Zeitlimit Sekunden</translation>
    </message>
    <message>
        <source>Auto split minutes</source>
        <translation>Automatisch aufteilen, Minuten</translation>
    </message>
    <message>
        <source>Auto split seconds</source>
        <translation>Automatisch aufteilen, Sekunden</translation>
    </message>
    <message>
        <source>not bound</source>
        <translation>nicht zugewiesen</translation>
    </message>
    <message>
        <source>In the background</source>
        <translation>Im Hintergrund</translation>
    </message>
    <message>
        <source>Keep recording in the tray when the window is closed</source>
        <translation>Nach dem Schließen des Fensters im Infobereich weiter aufnehmen</translation>
    </message>
    <message>
        <source>Notify me when a recording starts or ends by itself</source>
        <translation>Benachrichtigen, wenn eine Aufnahme von selbst beginnt oder endet</translation>
    </message>
    <message>
        <source>Global shortcuts</source>
        <translation>Globale Tastenkürzel</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Ändern…</translation>
    </message>
    <message>
        <source>Global shortcuts are not available on this desktop. The desktop&apos;s own keyboard settings can run “tavrin-sound-recorder --remote record”, “--remote stop” or “--remote marker” instead.</source>
        <translation>Globale Tastenkürzel sind in dieser Desktopumgebung nicht verfügbar. Stattdessen können die Tastatureinstellungen der Desktopumgebung “tavrin-sound-recorder --remote record”, “--remote stop” oder “--remote marker” ausführen.</translation>
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
        <translation>Ogg Vorbis: Qualität %1, %2, %3</translation>
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
        <translation>%1 kann nicht repariert werden: das zugehörige Journal kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>its journal does not say exactly which file was recorded</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>das zugehörige Journal gibt nicht genau an, welche Datei aufgenommen wurde</translation>
    </message>
    <message>
        <source>%1 on %2 is not reachable; it will be repaired when it is.</source>
        <extracomment>%1 is a file name, %2 its folder.</extracomment>
        <translation>%1 in %2 ist nicht erreichbar; die Datei wird repariert, sobald sie erreichbar ist.</translation>
    </message>
    <message>
        <source>it is a link now</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>es handelt sich jetzt um einen Link</translation>
    </message>
    <message>
        <source>it is not the file that was recorded</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>es handelt sich nicht um die aufgenommene Datei</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be repaired: its repair did not finish the last time. It was left as it was.</source>
        <translation>%1 stammt von einer unterbrochenen Aufnahme und konnte nicht repariert werden: Die Reparatur wurde beim letzten Mal nicht abgeschlossen. Die Datei wurde unverändert gelassen.</translation>
    </message>
    <message>
        <source>Recovered %1 (%2) from a recording that was interrupted.</source>
        <extracomment>%1 is a file name, %2 its length in minutes and seconds (&quot;12:04&quot;).</extracomment>
        <translation>%1 (%2) aus einer unterbrochenen Aufnahme wiederhergestellt.</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be repaired; it was left as it was (%2).</source>
        <extracomment>%1 is a file name, %2 why it could not be repaired.</extracomment>
        <translation>%1 stammt von einer unterbrochenen Aufnahme und konnte nicht repariert werden; die Datei wurde unverändert gelassen (%2).</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted, but was not repaired and was left as it was: %2.</source>
        <extracomment>%1 is a file&apos;s path, %2 why it was not repaired.</extracomment>
        <translation>%1 stammt von einer unterbrochenen Aufnahme, wurde aber nicht repariert und unverändert gelassen: %2.</translation>
    </message>
    <message>
        <source>its repair did not finish the last time</source>
        <extracomment>Why a file could not be repaired, said in brackets inside another message.</extracomment>
        <translation>die Reparatur wurde beim letzten Mal nicht abgeschlossen</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be given a name (%2); it is kept and will be tried again at the next start.</source>
        <extracomment>%1 is a file name, %2 why no name could be given.</extracomment>
        <translation>%1 stammt von einer unterbrochenen Aufnahme und konnte nicht benannt werden (%2); die Datei bleibt erhalten, und beim nächsten Start wird es erneut versucht.</translation>
    </message>
    <message>
        <source>Recovered %1 (%2) from a recording that was interrupted; it was no longer in %3, so it is now %4.</source>
        <extracomment>%1 is a file name, %2 its length in minutes and seconds, %3 the folder it was recorded in, %4 its new path.</extracomment>
        <translation>%1 (%2) aus einer unterbrochenen Aufnahme wiederhergestellt; die Datei befand sich nicht mehr in %3 und ist jetzt %4.</translation>
    </message>
    <message>
        <source>%1 was not repaired and was left as it was (%2); the recording itself was recovered as %3 (%4).</source>
        <extracomment>%1 is a file&apos;s path, %2 why it was not repaired, %3 the recovered file&apos;s path, %4 its length in minutes and seconds.</extracomment>
        <translation>%1 wurde nicht repariert und unverändert gelassen (%2); die Aufnahme selbst wurde als %3 (%4) wiederhergestellt.</translation>
    </message>
    <message>
        <source>It could not be repaired (%1).</source>
        <extracomment>Follows a message about a recovered file; %1 says why it could not be repaired.</extracomment>
        <translation>Die Datei konnte nicht repariert werden (%1).</translation>
    </message>
</context>
<context>
    <name>PartWatch</name>
    <message>
        <source>Cannot create %1</source>
        <translation>%1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording. It was made again and the recording put back into it as %2; the recording goes on.</source>
        <extracomment>%1 is a folder, %2 a file name.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt. Er wurde neu erstellt und die Aufnahme als %2 wieder darin abgelegt; die Aufnahme läuft weiter.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and could not be made again (%2). The recording goes on in %3.</source>
        <extracomment>%1 is a folder, %2 why it could not be made, %3 the file&apos;s new path.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt und konnte nicht neu erstellt werden (%2). Die Aufnahme wird in %3 fortgesetzt.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording, and the recording could not be given a name again (%2; %3). What was recorded is lost when the recording ends.</source>
        <extracomment>%1 is a folder; %2 and %3 say why no name could be had there and in the rescue folder.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt, und der Aufnahme konnte kein neuer Name gegeben werden (%2; %3). Das Aufgenommene geht verloren, wenn die Aufnahme endet.</translation>
    </message>
    <message>
        <source>every name is taken in %1</source>
        <extracomment>Why no name could be had, said in brackets inside another message; %1 is a folder.</extracomment>
        <translation>in %1 sind alle Namen vergeben</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and the recording could not be copied back into it (%2). The recording goes on in %3.</source>
        <extracomment>%1 is a folder, %2 why the copy failed, %3 the file&apos;s new path.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt, und die Aufnahme konnte nicht dorthin zurückkopiert werden (%2). Die Aufnahme wird in %3 fortgesetzt.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording, and the recording could not be copied back (%2). What was recorded is lost when the recording ends.</source>
        <extracomment>%1 is a folder, %2 why the copy failed.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt, und die Aufnahme konnte nicht zurückkopiert werden (%2). Das Aufgenommene geht verloren, wenn die Aufnahme endet.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and could not be made again. Everything recorded so far was copied into %2, and the recording goes on there.</source>
        <extracomment>%1 is a folder, %2 the file&apos;s new path.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt und konnte nicht neu erstellt werden. Alles bisher Aufgenommene wurde nach %2 kopiert, und die Aufnahme wird dort fortgesetzt.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording. It was made again, everything recorded so far was copied back into it as %2, and the recording goes on.</source>
        <extracomment>%1 is a folder, %2 a file name.</extracomment>
        <translation>Der Ordner %1 wurde während der Aufnahme entfernt. Er wurde neu erstellt, alles bisher Aufgenommene wurde als %2 dorthin zurückkopiert, und die Aufnahme läuft weiter.</translation>
    </message>
</context>
<context>
    <name>PartWriter</name>
    <message>
        <source>The disk did not keep up with the recording: %1 of sound could not be written to %2. The recording goes on.</source>
        <extracomment>%1 is a stretch of time (&quot;12 s&quot;), %2 a file name.</extracomment>
        <translation>Der Datenträger kam mit der Aufnahme nicht mit: %1 Ton konnten nicht in %2 geschrieben werden. Die Aufnahme läuft weiter.</translation>
    </message>
    <message>
        <source>the disk of %1 is full. The file holds everything recorded until now</source>
        <extracomment>Why a recording ended, said after &quot;The recording was stopped: &quot;; %1 is a folder.</extracomment>
        <translation>der Datenträger von %1 ist voll. Die Datei enthält alles bis jetzt Aufgenommene</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>%1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>%1 has no name left; it is kept and will be recovered at the next start</source>
        <translation>%1 hat keinen Namen mehr; die Datei bleibt erhalten und wird beim nächsten Start wiederhergestellt</translation>
    </message>
    <message>
        <source>%1 has no name left: what was recorded into it is lost</source>
        <translation>%1 hat keinen Namen mehr: das darin Aufgenommene geht verloren</translation>
    </message>
</context>
<context>
    <name>PlaybackControlsPage</name>
    <message>
        <source>Output Device</source>
        <translation>Ausgabegerät</translation>
    </message>
    <message>
        <source>Equalizer</source>
        <comment>switch</comment>
        <translation>Equalizer</translation>
    </message>
    <message>
        <source>Equalizer...</source>
        <translation>Equalizer...</translation>
    </message>
</context>
<context>
    <name>PlaybackSession</name>
    <message>
        <source>Cannot open %1</source>
        <translation>%1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot play %1: it holds no sound</source>
        <translation>%1 kann nicht wiedergegeben werden: die Datei enthält keinen Ton</translation>
    </message>
    <message>
        <source>the output did not start</source>
        <extracomment>Why a file cannot be played, said after &quot;Cannot play &lt;file&gt;: &quot;.</extracomment>
        <translation>die Ausgabe ließ sich nicht starten</translation>
    </message>
    <message>
        <source>Cannot play %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 why the output device did not start.</extracomment>
        <translation>%1 kann nicht wiedergegeben werden: %2</translation>
    </message>
    <message>
        <source>The playback was stopped: %1</source>
        <extracomment>%1 says why.</extracomment>
        <translation>Die Wiedergabe wurde gestoppt: %1</translation>
    </message>
</context>
<context>
    <name>PositionSlider</name>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
</context>
<context>
    <name>PulseContext</name>
    <message>
        <source>Cannot create the sound server connection</source>
        <translation>Die Verbindung zum Soundserver kann nicht hergestellt werden</translation>
    </message>
    <message>
        <source>Cannot start the sound server connection</source>
        <translation>Die Verbindung zum Soundserver kann nicht gestartet werden</translation>
    </message>
    <message>
        <source>No sound server answers (%1)</source>
        <extracomment>%1 is the sound server&apos;s own text (&quot;Connection refused&quot;).</extracomment>
        <translation>Kein Soundserver antwortet (%1)</translation>
    </message>
    <message>
        <source>No sound server</source>
        <translation>Kein Soundserver</translation>
    </message>
</context>
<context>
    <name>RecordSoundPage</name>
    <message>
        <source>FFTArraySize</source>
        <extracomment>the number of samples each analysis of the spectrum takes</extracomment>
        <translation>FFT-Größe</translation>
    </message>
    <message>
        <source>FFTWindowType</source>
        <extracomment>the window function the spectrum&apos;s analysis applies</extracomment>
        <translation>FFT-Fenster</translation>
    </message>
    <message>
        <source>None</source>
        <comment>no window function</comment>
        <translation>Keine</translation>
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
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>vtFFTAnalog</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>vtFFTLinear</source>
        <translation>Linien</translation>
    </message>
    <message>
        <source>vtFFTNormal</source>
        <translation>Balken</translation>
    </message>
    <message>
        <source>vtFFTFire</source>
        <translation>Feuer</translation>
    </message>
    <message>
        <source>vtFFTGlass</source>
        <translation>Glas</translation>
    </message>
    <message>
        <source>vtFFTKryptonite</source>
        <translation>Kryptonit</translation>
    </message>
    <message>
        <source>Sound Visualization</source>
        <translation>Klangvisualisierung</translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation>Spektrum</translation>
    </message>
    <message>
        <source>The loudness of the sound at each frequency, low at the left, high at the right, as it is recorded or played</source>
        <translation>Lautstärke des Tons je Frequenz, tief links, hoch rechts, während Aufnahme oder Wiedergabe</translation>
    </message>
</context>
<context>
    <name>RecordedFiles</name>
    <message>
        <source>Cannot set %1</source>
        <extracomment>%1 names a tag field as the tag component knows it (&quot;infoTitle&quot;).</extracomment>
        <translation>%1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>new name can not be blank!</source>
        <translation>Der neue Name darf nicht leer sein!</translation>
    </message>
    <message>
        <source>Cannot rename to %1: a file name cannot contain &quot;/&quot;.</source>
        <translation>Umbenennen in %1 nicht möglich: Ein Dateiname darf kein „/“ enthalten.</translation>
    </message>
    <message>
        <source>Cannot rename to %1: a file of that name already exists.</source>
        <translation>Umbenennen in %1 nicht möglich: Eine Datei mit diesem Namen existiert bereits.</translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: %3</source>
        <extracomment>%1 is a file&apos;s path, %2 its new name, %3 the system&apos;s reason.</extracomment>
        <translation>%1 kann nicht in %2 umbenannt werden: %3</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>%1 kann nicht gelöscht werden: %2</translation>
    </message>
</context>
<context>
    <name>RecorderCore</name>
    <message>
        <source>Listening to the input ended: its output device is gone</source>
        <translation>Das Mithören des Eingangs wurde beendet: das Ausgabegerät ist nicht mehr vorhanden</translation>
    </message>
    <message>
        <source>Recording...</source>
        <extracomment>The status bar&apos;s state words: a recording runs.</extracomment>
        <translation>Aufnahme läuft...</translation>
    </message>
    <message>
        <source>Waiting for sound...</source>
        <extracomment>The status bar&apos;s state words: a recording waits for sound to start writing.</extracomment>
        <translation>Warte auf Ton...</translation>
    </message>
    <message>
        <source>Waiting for device...</source>
        <extracomment>The status bar&apos;s state words: a recording waits for its lost input device.</extracomment>
        <translation>Warte auf Gerät...</translation>
    </message>
    <message>
        <source>Playing...</source>
        <extracomment>The status bar&apos;s state words: a file is played.</extracomment>
        <translation>Wiedergabe...</translation>
    </message>
    <message>
        <source>Pause</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while a recording or playback is paused.</extracomment>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Listening</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while the input is open before a recording (pre-record).</extracomment>
        <translation>Hört zu</translation>
    </message>
    <message>
        <source>Stop</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while nothing records or plays.</extracomment>
        <translation>Gestoppt</translation>
    </message>
    <message>
        <source>Cannot delete %1: it is being recorded. Stop the recording first.</source>
        <translation>%1 kann nicht gelöscht werden: Die Datei wird gerade aufgenommen. Beenden Sie zuerst die Aufnahme.</translation>
    </message>
    <message>
        <source>Cannot rename %1: it is being recorded</source>
        <translation>%1 kann nicht umbenannt werden: die Datei wird gerade aufgenommen</translation>
    </message>
</context>
<context>
    <name>RecordingControlsPage</name>
    <message>
        <source>Input Device</source>
        <translation>Eingabegerät</translation>
    </message>
    <message>
        <source>Set Filter</source>
        <translation>Filter einstellen</translation>
    </message>
    <message>
        <source>Listen to the input</source>
        <translation>Eingang mithören</translation>
    </message>
    <message>
        <source>Play what is recorded on the output device while it is captured</source>
        <translation>Das Aufgenommene während der Aufnahme auf dem Ausgabegerät wiedergeben</translation>
    </message>
    <message>
        <source>A file for each side</source>
        <translation>Eine Datei je Seite</translation>
    </message>
    <message>
        <source>From the next recording on, the microphone and the computer sound are also written each to a file of its own beside the mix, such as &quot;Untitled4 (microphone).flac&quot; and &quot;Untitled4 (computer).flac&quot;</source>
        <translation>Ab der nächsten Aufnahme werden Mikrofon und Computerton zusätzlich jeweils in eine eigene Datei neben der Mischung geschrieben, etwa „Untitled4 (microphone).flac“ und „Untitled4 (computer).flac“</translation>
    </message>
</context>
<context>
    <name>RecordingDevices</name>
    <message>
        <source>Microphone + computer sound</source>
        <extracomment>The last entry of the input list: the microphone and what the computer plays, mixed.</extracomment>
        <translation>Mikrofon + Computerton</translation>
    </message>
    <message>
        <source>stream %1</source>
        <extracomment>A playing program that gives no name; %1 is its number.</extracomment>
        <translation>Stream %1</translation>
    </message>
    <message>
        <source>Sound of %1 (%2)</source>
        <extracomment>An entry of the input list: only the sound of the program %1. %2 counts the program&apos;s streams when it plays more than one.</extracomment>
        <translation>Ton von %1 (%2)</translation>
    </message>
    <message>
        <source>Sound of %1</source>
        <extracomment>An entry of the input list: only the sound of the program %1.</extracomment>
        <translation>Ton von %1</translation>
    </message>
    <message>
        <source>Microphone</source>
        <extracomment>The line of &quot;Microphone + computer sound&quot; that holds the microphone&apos;s level.</extracomment>
        <translation>Mikrofon</translation>
    </message>
    <message>
        <source>Computer sound</source>
        <extracomment>The line of &quot;Microphone + computer sound&quot; that holds the computer sound&apos;s level.</extracomment>
        <translation>Computerton</translation>
    </message>
    <message>
        <source>Cannot set the volume of %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>Die Lautstärke von %1 kann nicht eingestellt werden: %2</translation>
    </message>
    <message>
        <source>Cannot set the balance of %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>Die Balance von %1 kann nicht eingestellt werden: %2</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>The switch that silences a playing program.</extracomment>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Cannot mute %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 kann nicht stummgeschaltet werden: %2</translation>
    </message>
</context>
<context>
    <name>RecordingFiltersWindow</name>
    <message>
        <source>Notch Filter</source>
        <translation>Notch-Filter</translation>
    </message>
    <message>
        <source>HighPass Filter</source>
        <translation>Hochpassfilter</translation>
    </message>
    <message>
        <source>LowPass Filter</source>
        <translation>Tiefpassfilter</translation>
    </message>
    <message>
        <source>Recording Filters</source>
        <translation>Aufnahmefilter</translation>
    </message>
    <message>
        <source>Hz</source>
        <extracomment>the unit of the frequency box beside it: hertz</extracomment>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Notch filter frequency</source>
        <translation>Frequenz des Notch-Filters</translation>
    </message>
    <message>
        <source>Notch filter frequency in Hz</source>
        <translation>Frequenz des Notch-Filters in Hz</translation>
    </message>
    <message>
        <source>High-pass filter frequency</source>
        <translation>Frequenz des Hochpassfilters</translation>
    </message>
    <message>
        <source>High-pass filter frequency in Hz</source>
        <translation>Frequenz des Hochpassfilters in Hz</translation>
    </message>
    <message>
        <source>Low-pass filter frequency</source>
        <translation>Frequenz des Tiefpassfilters</translation>
    </message>
    <message>
        <source>Low-pass filter frequency in Hz</source>
        <translation>Frequenz des Tiefpassfilters in Hz</translation>
    </message>
</context>
<context>
    <name>RecordingSession</name>
    <message>
        <source>The recording was stopped: the input device did not come back within %1 minutes</source>
        <translation>Die Aufnahme wurde gestoppt: das Eingabegerät kam nicht innerhalb von %1 Minuten zurück</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>%1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Not recording</source>
        <translation>Keine Aufnahme aktiv</translation>
    </message>
    <message>
        <source>%1 holds %2 markers, as many as a file can: no more can be added</source>
        <extracomment>%1 is a file name, %2 the most markers a file can hold.</extracomment>
        <translation>%1 enthält %2 Marken, so viele, wie eine Datei enthalten kann: es können keine weiteren gesetzt werden</translation>
    </message>
    <message>
        <source>Marker %1</source>
        <extracomment>The name a marker gets when none is typed; %1 counts the markers of the file.</extracomment>
        <translation>Marke %1</translation>
    </message>
    <message>
        <source>%1 at %2:%3:%4</source>
        <extracomment>Said when a marker was added: %1 is its name, then the hours, minutes and seconds into the file (&quot;Marker 3 at 00:12:04&quot;).</extracomment>
        <translation>%1 bei %2:%3:%4</translation>
    </message>
    <message>
        <source>The recording was stopped: %1</source>
        <extracomment>%1 says why, as a clause of its own (&quot;the disk of /home/me/Recording is full. ...&quot;).</extracomment>
        <translation>Die Aufnahme wurde gestoppt: %1</translation>
    </message>
    <message>
        <source>The recording stopped: %1. The recording goes on in a new file when the device comes back (waiting up to %2 minutes; Stop ends the wait).</source>
        <extracomment>%1 says why the input device was lost, %2 is a number of minutes.</extracomment>
        <translation>Die Aufnahme wurde unterbrochen: %1. Sie wird in einer neuen Datei fortgesetzt, sobald das Gerät wieder da ist (Wartezeit bis zu %2 Minuten; „Stopp“ beendet das Warten).</translation>
    </message>
    <message>
        <source>The recording stopped: %1. %2 is kept and listed. The recording goes on in a new file when the device comes back (waiting up to %3 minutes; Stop ends the wait).</source>
        <extracomment>%1 says why the input device was lost, %2 is the file recorded so far, %3 a number of minutes.</extracomment>
        <translation>Die Aufnahme wurde unterbrochen: %1. %2 bleibt erhalten und wird aufgelistet. Die Aufnahme wird in einer neuen Datei fortgesetzt, sobald das Gerät wieder da ist (Wartezeit bis zu %3 Minuten; „Stopp“ beendet das Warten).</translation>
    </message>
    <message>
        <source>The input device came back: the recording went on at %1 in %2.</source>
        <extracomment>%1 is the time of day, %2 the new file&apos;s name.</extracomment>
        <translation>Das Eingabegerät ist wieder da: Die Aufnahme wurde um %1 in %2 fortgesetzt.</translation>
    </message>
    <message>
        <source>the input device did not come back within %1 minutes</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name; %1 is a number of minutes.</extracomment>
        <translation>das Eingabegerät kam nicht innerhalb von %1 Minuten zurück</translation>
    </message>
    <message>
        <source>the scheduled recording&apos;s length was reached</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name.</extracomment>
        <translation>die geplante Aufnahmedauer wurde erreicht</translation>
    </message>
    <message>
        <source>the time limit was reached</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name.</extracomment>
        <translation>das Zeitlimit wurde erreicht</translation>
    </message>
</context>
<context>
    <name>RecordingSettings</name>
    <message>
        <source>No folder is set for recordings. Choose one in Options</source>
        <translation>Für Aufnahmen ist kein Ordner festgelegt. Wählen Sie einen unter Optionen</translation>
    </message>
    <message>
        <source>Cannot record into %1: the folder&apos;s name is not valid UTF-8. Choose the folder again in Options</source>
        <extracomment>%1 is the save folder.</extracomment>
        <translation>In %1 kann nicht aufgenommen werden: Der Ordnername ist kein gültiges UTF-8. Wählen Sie den Ordner unter Optionen erneut</translation>
    </message>
</context>
<context>
    <name>RemoteClient</name>
    <message>
        <source>%1 is not running.</source>
        <extracomment>%1 is the program&apos;s name.</extracomment>
        <translation>%1 läuft nicht.</translation>
    </message>
</context>
<context>
    <name>RenameDialog</name>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Input New Filename:</source>
        <translation>Neuer Dateiname:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
        <translation>Stereo</translation>
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
        <translation>Qualität %1 (ca. %2 kbps)</translation>
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
        <translation>Aufnahme planen</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <source>Stop after</source>
        <translation>Beenden nach</translation>
    </message>
    <message>
        <source>Hours, minutes and seconds; this recording only</source>
        <translation>Stunden, Minuten und Sekunden; nur für diese Aufnahme</translation>
    </message>
    <message>
        <source>Start at</source>
        <translation>Starten um</translation>
    </message>
    <message>
        <source>That time has passed today.</source>
        <translation>Diese Uhrzeit ist heute bereits vorbei.</translation>
    </message>
    <message>
        <source>Starts in %1.</source>
        <extracomment>%1 is how long until the recording starts, such as &quot;1 h 5 min&quot;</extracomment>
        <translation>Startet in %1.</translation>
    </message>
    <message>
        <source>Start day</source>
        <translation>Starttag</translation>
    </message>
    <message>
        <source>Recording length</source>
        <translation>Aufnahmedauer</translation>
    </message>
</context>
<context>
    <name>SpectrumAnalysis</name>
    <message>
        <source>Cannot set up a %1-point FFT</source>
        <extracomment>%1 is the number of points of the spectrum&apos;s Fourier transform (256, 1024, 4096).</extracomment>
        <translation>Eine FFT mit %1 Punkten kann nicht eingerichtet werden</translation>
    </message>
    <message>
        <source>Out of memory for a %1-point FFT</source>
        <extracomment>%1 is the number of points of the spectrum&apos;s Fourier transform (256, 1024, 4096).</extracomment>
        <translation>Nicht genug Speicher für eine FFT mit %1 Punkten</translation>
    </message>
</context>
<context>
    <name>SpectrumView</name>
    <message>
        <source>Spectrum</source>
        <translation>Spektrum</translation>
    </message>
    <message>
        <source>The sound&apos;s frequencies as they are now: low on the left, high on the right</source>
        <translation>Die aktuellen Frequenzen des Tons: tief links, hoch rechts</translation>
    </message>
</context>
<context>
    <name>StatusPanels</name>
    <message>
        <source>Recording time left on the disk of the save folder</source>
        <translation>Verbleibende Aufnahmezeit auf dem Datenträger des Speicherordners</translation>
    </message>
</context>
<context>
    <name>TimeDisplay</name>
    <message>
        <source>Time Elapsed</source>
        <translation>Verstrichene Zeit</translation>
    </message>
</context>
<context>
    <name>TipOfTheDayDialog</name>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Zu viele offene Dateien</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Ungültiger Dateiname</translation>
    </message>
    <message>
        <source>Tip of the Day</source>
        <translation>Tipp des Tages</translation>
    </message>
    <message>
        <source>Did you know...</source>
        <translation>Wussten Sie schon...</translation>
    </message>
    <message>
        <source>Show Tips on Startup</source>
        <translation>Tipps beim Start anzeigen</translation>
    </message>
    <message>
        <source>Next Tip</source>
        <translation>Nächster Tipp</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>TransportBlock</name>
    <message>
        <source>PLAYING</source>
        <translation>WIEDERGABE</translation>
    </message>
    <message>
        <source>PLAY</source>
        <comment>state, short for PLAYING</comment>
        <translation>WIEDERG.</translation>
    </message>
    <message>
        <source>PAUSED</source>
        <translation>PAUSIERT</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <comment>state, short for PAUSED</comment>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>RECORDING</source>
        <translation>AUFNAHME</translation>
    </message>
    <message>
        <source>REC</source>
        <comment>state, short for RECORDING</comment>
        <translation>REC</translation>
    </message>
    <message>
        <source>STOPPED</source>
        <translation>GESTOPPT</translation>
    </message>
    <message>
        <source>STOP</source>
        <comment>state, short for STOPPED</comment>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>MUTE</source>
        <comment>state: the sound is off</comment>
        <translation>STUMM</translation>
    </message>
    <message>
        <source>VOL %1</source>
        <comment>the volume, 0 to 100</comment>
        <translation>VOL %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transport</translation>
    </message>
</context>
<context>
    <name>TrayIndicator</name>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Hide Window</source>
        <translation>Fenster &amp;ausblenden</translation>
    </message>
    <message>
        <source>&amp;Show Window</source>
        <translation>Fenster &amp;anzeigen</translation>
    </message>
</context>
<context>
    <name>UiServices</name>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>engine::PulsePlayer</name>
    <message>
        <source>Unsupported playback format: %1 channels at %2 Hz</source>
        <translation>Nicht unterstütztes Wiedergabeformat: %1 Kanäle mit %2 Hz</translation>
    </message>
    <message>
        <source>The playback device is not available</source>
        <translation>Das Wiedergabegerät ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Playback</source>
        <extracomment>The name the desktop&apos;s sound settings show for the program&apos;s playback stream.</extracomment>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Cannot play on %1: %2</source>
        <extracomment>%1 the output device, %2 the sound server&apos;s reason.</extracomment>
        <translation>Wiedergabe auf %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>The playback device is no longer available (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Das Wiedergabegerät ist nicht mehr verfügbar (%1)</translation>
    </message>
</context>
<context>
    <name>engine::PulseRecorder</name>
    <message>
        <source>Recording (microphone)</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the microphone.</extracomment>
        <translation>Aufnahme (Mikrofon)</translation>
    </message>
    <message>
        <source>Recording (computer sound)</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the computer sound.</extracomment>
        <translation>Aufnahme (Computerton)</translation>
    </message>
    <message>
        <source>Unsupported recording format: %1 channels at %2 Hz</source>
        <translation>Nicht unterstütztes Aufnahmeformat: %1 Kanäle mit %2 Hz</translation>
    </message>
    <message>
        <source>The recording device is not available</source>
        <translation>Das Aufnahmegerät ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Recording</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records an input.</extracomment>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Cannot record from %1: %2</source>
        <extracomment>%1 the input device, %2 the sound server&apos;s reason.</extracomment>
        <translation>Aufnahme von %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>%1 is not available</source>
        <extracomment>%1 is an entry of the input list (&quot;Sound of Firefox&quot;).</extracomment>
        <translation>%1 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Recording %1</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the program %1.</extracomment>
        <translation>Aufnahme von %1</translation>
    </message>
    <message>
        <source>Cannot record %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 kann nicht aufgenommen werden: %2</translation>
    </message>
    <message>
        <source>There is neither a recording device nor a sound output</source>
        <translation>Es gibt weder ein Aufnahmegerät noch eine Tonausgabe</translation>
    </message>
    <message>
        <source>Cannot record the microphone or the computer sound: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Mikrofon und Computerton können nicht aufgenommen werden: %1</translation>
    </message>
    <message>
        <source>The recording device is no longer available (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Das Aufnahmegerät ist nicht mehr verfügbar (%1)</translation>
    </message>
    <message>
        <source>%1 cannot be recorded any more (%2)</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 kann nicht mehr aufgenommen werden (%2)</translation>
    </message>
    <message>
        <source>%1 stopped playing</source>
        <extracomment>%1 is a playing program.</extracomment>
        <translation>%1 hat die Wiedergabe beendet</translation>
    </message>
    <message>
        <source>Neither the microphone nor the computer sound can be recorded any more (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Weder das Mikrofon noch der Computerton können weiter aufgenommen werden (%1)</translation>
    </message>
    <message>
        <source>Listening to the input is not possible: %1</source>
        <extracomment>%1 is why (&quot;there is no output device&quot;).</extracomment>
        <translation>Mithören des Eingangs nicht möglich: %1</translation>
    </message>
    <message>
        <source>%1 plays on an output already</source>
        <extracomment>%1 is an entry of the input list (&quot;Sound of Firefox&quot;).</extracomment>
        <translation>%1 wird bereits auf einer Ausgabe wiedergegeben</translation>
    </message>
    <message>
        <source>there is no output device</source>
        <translation>es gibt kein Ausgabegerät</translation>
    </message>
    <message>
        <source>the output device %1 is not available</source>
        <translation>das Ausgabegerät %1 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>%1 is the sound of %2 itself, which would play back into itself</source>
        <extracomment>%1 an input device (&quot;Monitor of Built-in Audio&quot;), %2 the output device it is the sound of (&quot;Built-in Audio&quot;).</extracomment>
        <translation>%1 ist der Ton von %2 selbst und würde in sich selbst zurückgespielt</translation>
    </message>
</context>
<context>
    <name>engine::TagLibInformation</name>
    <message>
        <source>AVI files hold no tags</source>
        <translation>AVI-Dateien enthalten keine Tags</translation>
    </message>
    <message>
        <source>Raw G.721 files hold no tags</source>
        <translation>Raw-G.721-Dateien enthalten keine Tags</translation>
    </message>
    <message>
        <source>Files of this type hold no tags</source>
        <translation>Dateien dieses Typs enthalten keine Tags</translation>
    </message>
    <message>
        <source>Cannot write tags to %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;The file is being recorded&quot;).</extracomment>
        <translation>Tags können nicht in %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The file is being recorded</source>
        <translation>Die Datei wird gerade aufgenommen</translation>
    </message>
    <message>
        <source>The tag could not be written</source>
        <translation>Das Tag konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The tag could not be written without harm to the audio</source>
        <translation>Das Tag konnte nicht ohne Beschädigung der Audiodaten geschrieben werden</translation>
    </message>
</context>
</TS>
