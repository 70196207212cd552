<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>HomePage</source>
        <translation>Page d’accueil</translation>
    </message>
    <message>
        <source>Technology Support</source>
        <comment>row caption</comment>
        <translation>Assistance technique</translation>
    </message>
    <message>
        <source>Technology Support</source>
        <comment>link to the support mailbox</comment>
        <translation>Assistance technique</translation>
    </message>
    <message>
        <source>Made with Qt, FFmpeg, TagLib and PulseAudio.</source>
        <translation>Réalisé avec Qt, FFmpeg, TagLib et PulseAudio.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>AdvancedControlsDialog</name>
    <message>
        <source>Dialog</source>
        <extracomment>the caption until the controls of the line are built</extracomment>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>These settings can be used to make fine adjustments to your audio.</source>
        <translation>Ces réglages permettent d’ajuster finement votre son.</translation>
    </message>
    <message>
        <source>Other Controls</source>
        <translation>Autres réglages</translation>
    </message>
    <message>
        <source>These settings make other changes to how your audio sounds. See your hardware documentation for details.</source>
        <translation>Ces réglages modifient d’autres aspects du rendu de votre son. Consultez la documentation de votre matériel pour plus de détails.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Advanced Properties for %1</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Propriétés avancées de %1</translation>
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
        <translation>Impossible d’ouvrir %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>The file is empty</source>
        <translation>Le fichier est vide</translation>
    </message>
    <message>
        <source>MPEG %1 layer-%2: %3 kbps, %4 Hz, %5</source>
        <extracomment>Keep &quot;MPEG %1 layer-%2:&quot; as it is (the status bar shortens it to &quot;MP3&quot;). %1 the MPEG version, %2 the layer, %3 the bit rate, %4 the sample rate, %5 the channels.</extracomment>
        <translation>MPEG %1 layer-%2: %3 kbps, %4 Hz, %5</translation>
    </message>
    <message>
        <source>%1: %2 Hz, %3</source>
        <extracomment>%1 the codec (Opus or Ogg Vorbis), %2 the sample rate, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>%1&#xa0;: %2 Hz, %3</translation>
    </message>
    <message>
        <source>The audio format is not known</source>
        <translation>Le format audio est inconnu</translation>
    </message>
    <message>
        <source>The file holds no audio that can be decoded</source>
        <translation>Le fichier ne contient aucune donnée audio décodable</translation>
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
        <translation>%1&#xa0;: %2, %3 bit flottant, %4</translation>
    </message>
    <message>
        <source>%1: %2, %3 bit, %4</source>
        <extracomment>%1 the codec (&quot;PCM&quot;, &quot;IMA ADPCM&quot;), %2 the sample rate (&quot;44100 Hz&quot;), %3 bits per sample, %4 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>%1&#xa0;: %2, %3 bit, %4</translation>
    </message>
    <message>
        <source>FLAC: %1, %2 bit, %3</source>
        <extracomment>%1 the sample rate (&quot;44100 Hz&quot;), %2 bits per sample, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>FLAC&#xa0;: %1, %2 bit, %3</translation>
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
        <translation>Impossible de créer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d’écrire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>A WAV file cannot hold more than 4 GB</source>
        <translation>Un fichier WAV ne peut pas dépasser 4 Go</translation>
    </message>
    <message>
        <source>No WMA encoder is installed</source>
        <translation>Aucun encodeur WMA n’est installé</translation>
    </message>
    <message>
        <source>No FLAC encoder is installed</source>
        <translation>Aucun encodeur FLAC n’est installé</translation>
    </message>
    <message>
        <source>No Ogg Vorbis encoder is installed</source>
        <translation>Aucun encodeur Ogg Vorbis n’est installé</translation>
    </message>
    <message>
        <source>No Opus encoder is installed</source>
        <translation>Aucun encodeur Opus n’est installé</translation>
    </message>
    <message>
        <source>No MP3 encoder is installed</source>
        <translation>Aucun encodeur MP3 n’est installé</translation>
    </message>
    <message>
        <source>Cannot create %1: %2 (%3)</source>
        <extracomment>%1 the file, %2 why, %3 the format asked for (&quot;MPEG 1.0 layer-3: 128 kbps, ...&quot;).</extracomment>
        <translation>Impossible de créer %1&#xa0;: %2 (%3)</translation>
    </message>
    <message>
        <source>Cannot create %1: no %2 writer</source>
        <extracomment>%2 is FFmpeg&apos;s name of a container format (&quot;ogg&quot;, &quot;asf&quot;).</extracomment>
        <translation>Impossible de créer %1&#xa0;: aucun module d’écriture %2</translation>
    </message>
    <message>
        <source>Cannot write %1: the file is closed</source>
        <translation>Impossible d’écrire %1&#xa0;: le fichier est fermé</translation>
    </message>
    <message>
        <source>Cannot move the recording to %1: %2</source>
        <translation>Impossible de déplacer l’enregistrement vers %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>no file is being written</source>
        <translation>aucun fichier n’est en cours d’écriture</translation>
    </message>
    <message>
        <source>it is being moved already</source>
        <translation>il est déjà en cours de déplacement</translation>
    </message>
    <message>
        <source>that is the recording itself</source>
        <translation>c’est l’enregistrement lui-même</translation>
    </message>
    <message>
        <source>that file is being written</source>
        <translation>ce fichier est en cours d’écriture</translation>
    </message>
</context>
<context>
    <name>CaptureInput</name>
    <message>
        <source>The recording could not start</source>
        <translation>L’enregistrement n’a pas pu démarrer</translation>
    </message>
    <message>
        <source>Capture did not start again</source>
        <translation>La capture n’a pas redémarré</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.</source>
        <extracomment>%1 is the command&apos;s name, %2 what is wrong with the command line.</extracomment>
        <translation>%1&#xa0;: %2
Essayez «&#xa0;%1 --help&#xa0;» pour plus d’informations.</translation>
    </message>
    <message>
        <source>Usage: %1 [options] [file]
       %1 --record [-d SECONDS] [-s NAME] [--split SECONDS] [--on-sound DBFS [--quiet SECONDS]]
                   [--at HH:MM] [--monitor] [--separate] [output]
       %1 --list-sources
       %1 --remote record|pause|stop|status
       %1 --remote marker [name]</source>
        <extracomment>The usage lines of --help; %1 is the command&apos;s name. Option names (--record, -d, ...) and the remote commands (record, pause, stop, status, marker) are typed as they are: keep them.</extracomment>
        <translation>Usage&#xa0;: %1 [options] [fichier]
        %1 --record [-d SECONDES] [-s NOM] [--split SECONDES] [--on-sound DBFS [--quiet SECONDES]]
                    [--at HH:MM] [--monitor] [--separate] [output]
        %1 --list-sources
        %1 --remote record|pause|stop|status
        %1 --remote marker [nom]</translation>
    </message>
    <message>
        <source>
Exit status: 0 when everything recorded was written (or the window was closed); 1 when a
recording could not start or ended in a failure, or the remote control found no running
recorder or was refused; 2 for a usage error.
</source>
        <extracomment>The end of --help: what the exit status says. 0, 1 and 2 are the statuses themselves.</extracomment>
        <translation>
Code de sortie&#xa0;: 0 si tout ce qui a été enregistré a été écrit (ou si la fenêtre a été fermée)&#xa0;;
1 si un enregistrement n’a pas pu démarrer ou a échoué, ou si le contrôle à distance n’a trouvé
aucun enregistreur actif ou a été refusé&#xa0;; 2 pour une erreur d’utilisation.
</translation>
    </message>
    <message>
        <source>Records sound into MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus files, plays them back and edits their tags. Without --record, --list-sources or --remote it opens its window.</source>
        <translation>Enregistre le son dans des fichiers MP3, WAV, WMA, FLAC, Ogg Vorbis et Opus, les lit et modifie leurs tags. Sans --record, --list-sources ni --remote, ouvre sa fenêtre.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Affiche l’aide sur les options de la ligne de commande.</translation>
    </message>
    <message>
        <source>Records without a window into [output]: a file (the format from its extension, .mp3, .wav, .wma, .flac, .ogg or .opus, with the stored settings of that format, never written over) or an existing folder (the next &quot;Untitled n&quot; in the stored format); without it, the stored save folder and format. Ctrl+C stops it; Enter (on a terminal) or SIGUSR1 adds a marker. The path of every file written is printed at the end.</source>
        <extracomment>&quot;Untitled n&quot; is how the recordings&apos; files are named: keep it as it is.</extracomment>
        <translation>Enregistre sans fenêtre dans [output]&#xa0;: un fichier (au format donné par son extension, .mp3, .wav, .wma, .flac, .ogg ou .opus, avec les réglages mémorisés pour ce format, jamais écrasé) ou un dossier existant (le prochain «&#xa0;Untitled n&#xa0;» au format mémorisé)&#xa0;; sans cet argument, le dossier d’enregistrement et le format mémorisés. Ctrl+C l’arrête&#xa0;; Entrée (dans un terminal) ou SIGUSR1 ajoute un repère. Le chemin de chaque fichier écrit est affiché à la fin.</translation>
    </message>
    <message>
        <source>seconds</source>
        <extracomment>In --help, the value an option takes: a number of seconds (&quot;--duration &lt;seconds&gt;&quot;).</extracomment>
        <translation>secondes</translation>
    </message>
    <message>
        <source>With --record: stops after that many seconds.</source>
        <translation>Avec --record&#xa0;: s’arrête après ce nombre de secondes.</translation>
    </message>
    <message>
        <source>With --record: the input, as --list-sources names it or by an id that is the same in every language, &quot;mix:microphone+computer&quot; or &quot;sink-input:&lt;application&gt;&quot; (the default input without it).</source>
        <extracomment>&quot;mix:microphone+computer&quot; and &quot;sink-input:&quot; are typed as they are: keep them.</extracomment>
        <translation>Avec --record&#xa0;: l’entrée, telle que --list-sources la nomme ou par un identifiant identique dans toutes les langues, «&#xa0;mix:microphone+computer&#xa0;» ou «&#xa0;sink-input:&lt;application&gt;&#xa0;» (l’entrée par défaut sinon).</translation>
    </message>
    <message>
        <source>name</source>
        <extracomment>In --help, the value --source takes: the name of an input.</extracomment>
        <translation>nom</translation>
    </message>
    <message>
        <source>With --record: a new file every that many seconds.</source>
        <translation>Avec --record&#xa0;: un nouveau fichier à chaque fois que ce nombre de secondes s’est écoulé.</translation>
    </message>
    <message>
        <source>With --record: writing starts when the sound is louder than this level, -60 to 0 dBFS.</source>
        <translation>Avec --record&#xa0;: l’écriture commence quand le son dépasse ce niveau, de -60 à 0 dBFS.</translation>
    </message>
    <message>
        <source>dbfs</source>
        <extracomment>In --help, the value --on-sound takes: a level in dBFS (decibels below full scale).</extracomment>
        <translation>dbfs</translation>
    </message>
    <message>
        <source>With --on-sound: that many seconds of quiet (1 to 60; the stored value without it) pause the recording until the next sound.</source>
        <translation>Avec --on-sound&#xa0;: ce nombre de secondes de silence (1 à 60&#xa0;; la valeur mémorisée sinon) met l’enregistrement en pause jusqu’au son suivant.</translation>
    </message>
    <message>
        <source>With --record: starts at that time, today or tomorrow if it has passed.</source>
        <translation>Avec --record&#xa0;: démarre à cette heure, aujourd’hui, ou demain si elle est déjà passée.</translation>
    </message>
    <message>
        <source>HH:MM</source>
        <extracomment>In --help, the value --at takes: a time of day as hours and minutes (&quot;14:30&quot;).</extracomment>
        <translation>HH:MM</translation>
    </message>
    <message>
        <source>With --record: plays what is recorded on the default output device too (refused with a warning for an input that would play back into it).</source>
        <translation>Avec --record&#xa0;: lit aussi ce qui est enregistré sur le périphérique de sortie par défaut (refusé avec un avertissement pour une entrée qui capterait elle-même cette lecture).</translation>
    </message>
    <message>
        <source>With --record and &quot;Microphone + computer sound&quot;: also writes each side to a file of its own beside the mix, &quot;&lt;output&gt; (microphone)&quot; and &quot;&lt;output&gt; (computer)&quot; (the stored choice without it).</source>
        <extracomment>&quot;&lt;output&gt; (microphone)&quot; and &quot;&lt;output&gt; (computer)&quot; are the names of the files written: keep them as they are.</extracomment>
        <translation>Avec --record et «&#xa0;Microphone + son de l’ordinateur&#xa0;»&#xa0;: écrit aussi chaque côté dans son propre fichier à côté du mixage, «&#xa0;&lt;output&gt; (microphone)&#xa0;» et «&#xa0;&lt;output&gt; (computer)&#xa0;» (le choix mémorisé sinon).</translation>
    </message>
    <message>
        <source>Prints every input --source takes: its name, a tab, its description, and &quot;default&quot; for the default input.</source>
        <extracomment>&quot;default&quot; is printed as it is: keep it.</extracomment>
        <translation>Affiche chaque entrée acceptée par --source&#xa0;: son nom, une tabulation, sa description, et «&#xa0;default&#xa0;» pour l’entrée par défaut.</translation>
    </message>
    <message>
        <source>Tells the running recorder&apos;s window to record, pause or stop, to add a marker (marker [name]), or prints its state, elapsed time and file (status).</source>
        <extracomment>record, pause, stop, marker and status are typed as they are: keep them.</extracomment>
        <translation>Demande à la fenêtre de l’enregistreur en cours d’exécution d’enregistrer, de faire une pause ou de s’arrêter, d’ajouter un repère (marker [nom]), ou affiche son état, le temps écoulé et le fichier (status).</translation>
    </message>
    <message>
        <source>command</source>
        <extracomment>In --help, the value --remote takes: what the window is told to do.</extracomment>
        <translation>commande</translation>
    </message>
    <message>
        <source>file</source>
        <extracomment>In --help, the name of the one argument: a sound file.</extracomment>
        <translation>fichier</translation>
    </message>
    <message>
        <source>A sound file to open at start-up, as File / Open does; with --record, where to record.</source>
        <translation>Un fichier son à ouvrir au démarrage, comme avec Fichier / Ouvrir&#xa0;; avec --record, l’emplacement de l’enregistrement.</translation>
    </message>
    <message>
        <source>[file]</source>
        <extracomment>In --help&apos;s usage line, the one argument, which may be left out.</extracomment>
        <translation>[fichier]</translation>
    </message>
    <message>
        <source>--record, --list-sources and --remote cannot be combined.</source>
        <translation>--record, --list-sources et --remote ne peuvent pas être combinées.</translation>
    </message>
    <message>
        <source>--%1 is an option of --record.</source>
        <extracomment>%1 is an option&apos;s name (&quot;duration&quot;).</extracomment>
        <translation>--%1 est une option de --record.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argument inattendu «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>Unknown remote command &apos;%1&apos;; it is record, pause, stop, marker or status.</source>
        <extracomment>record, pause, stop, marker and status are typed as they are: keep them.</extracomment>
        <translation>Commande à distance inconnue «&#xa0;%1&#xa0;»&#xa0;; les commandes sont record, pause, stop, marker ou status.</translation>
    </message>
    <message>
        <source>Only one file can be named at a time; %1 were named.</source>
        <translation>Un seul fichier peut être indiqué à la fois&#xa0;; %1 ont été indiqués.</translation>
    </message>
    <message>
        <source>%1 has no extension the recorder writes (.mp3, .wav, .wma, .flac, .ogg or .opus).</source>
        <translation>%1 n’a pas d’extension que l’enregistreur sait écrire (.mp3, .wav, .wma, .flac, .ogg ou .opus).</translation>
    </message>
    <message>
        <source>Bad --duration &apos;%1&apos;: a whole number of seconds, at least 1.</source>
        <translation>Valeur incorrecte pour --duration «&#xa0;%1&#xa0;»&#xa0;: un nombre entier de secondes, au moins 1.</translation>
    </message>
    <message>
        <source>Bad --split &apos;%1&apos;: a whole number of seconds, at least 1.</source>
        <translation>Valeur incorrecte pour --split «&#xa0;%1&#xa0;»&#xa0;: un nombre entier de secondes, au moins 1.</translation>
    </message>
    <message>
        <source>Bad --on-sound &apos;%1&apos;: a level from -60 to 0 dBFS.</source>
        <translation>Valeur incorrecte pour --on-sound «&#xa0;%1&#xa0;»&#xa0;: un niveau de -60 à 0 dBFS.</translation>
    </message>
    <message>
        <source>--quiet is an option of --on-sound.</source>
        <translation>--quiet est une option de --on-sound.</translation>
    </message>
    <message>
        <source>Bad --quiet &apos;%1&apos;: from 1 to 60 seconds.</source>
        <translation>Valeur incorrecte pour --quiet «&#xa0;%1&#xa0;»&#xa0;: de 1 à 60 secondes.</translation>
    </message>
    <message>
        <source>Bad --at &apos;%1&apos;: a time as HH:MM.</source>
        <translation>Valeur incorrecte pour --at «&#xa0;%1&#xa0;»&#xa0;: une heure au format HH:MM.</translation>
    </message>
</context>
<context>
    <name>CommandLineRecorder</name>
    <message>
        <source>%1 kB</source>
        <extracomment>A file&apos;s size in kilobytes; &quot;kB&quot; is the unit as the language writes it.</extracomment>
        <translation>%1 ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <extracomment>A file&apos;s size in megabytes; &quot;MB&quot; is the unit as the language writes it.</extracomment>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <extracomment>A file&apos;s size in gigabytes; &quot;GB&quot; is the unit as the language writes it.</extracomment>
        <translation>%1 Go</translation>
    </message>
    <message>
        <source>peak -60 dBFS</source>
        <extracomment>The progress line&apos;s loudest level of the last moment, in decibels below full scale.</extracomment>
        <translation>crête -60 dBFS</translation>
    </message>
    <message>
        <source>peak %1 dBFS</source>
        <extracomment>The progress line&apos;s loudest level of the last moment, in decibels below full scale (%1 is -60 to 0).</extracomment>
        <translation>crête %1 dBFS</translation>
    </message>
    <message>
        <source>Cannot write %1: the folder %2 does not exist</source>
        <translation>Impossible d’écrire %1&#xa0;: le dossier %2 n’existe pas</translation>
    </message>
    <message>
        <source>Cannot write %1: the file exists</source>
        <translation>Impossible d’écrire %1&#xa0;: le fichier existe déjà</translation>
    </message>
    <message>
        <source>Unknown source &apos;%1&apos;; %2 --list-sources names them</source>
        <extracomment>%1 is the source asked for, %2 the command&apos;s name.</extracomment>
        <translation>Source inconnue «&#xa0;%1&#xa0;»&#xa0;; %2 --list-sources en donne la liste</translation>
    </message>
    <message>
        <source>--separate keeps the sides of &quot;Microphone + computer sound&quot; apart; %1 has none</source>
        <extracomment>&quot;Microphone + computer sound&quot; is the input of that name; %1 is the input chosen.</extracomment>
        <translation>--separate sépare les côtés de «&#xa0;Microphone + son de l’ordinateur&#xa0;»&#xa0;; %1 n’en a pas</translation>
    </message>
    <message>
        <source>The recording could not start</source>
        <translation>L’enregistrement n’a pas pu démarrer</translation>
    </message>
    <message>
        <source>%1: warning: %2</source>
        <extracomment>A warning on the terminal: %1 is the command&apos;s name, %2 what is wrong.</extracomment>
        <translation>%1&#xa0;: avertissement&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 (at %2)</source>
        <extracomment>The progress line while a recording waits for its set time: %1 is &quot;Recording in 01:02:03&quot;, %2 the time it starts (hours and minutes).</extracomment>
        <translation>%1 (à %2)</translation>
    </message>
    <message>
        <source>%1  Waiting for sound...</source>
        <extracomment>The progress line; %1 is the time recorded so far.</extracomment>
        <translation>%1  En attente du son...</translation>
    </message>
    <message>
        <source>%1  Waiting for device...</source>
        <extracomment>The progress line; %1 is the time recorded so far.</extracomment>
        <translation>%1  En attente du périphérique...</translation>
    </message>
</context>
<context>
    <name>Convert</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <extracomment>%1 is the text typed.</extracomment>
        <translation>«&#xa0;%1&#xa0;» n’est pas un nombre entier valide</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <extracomment>The button of a desktop notification that brings the window up with the file shown.</extracomment>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A notification&apos;s text: %1 is the recording&apos;s file name, %2 why it ended (&quot;Untitled3.mp3: the time limit was reached&quot;).</extracomment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Recording ended</source>
        <extracomment>A notification&apos;s title: a recording ended by itself (its time limit, a full disk, ...).</extracomment>
        <translation>Enregistrement terminé</translation>
    </message>
    <message>
        <source>%1: the scheduled recording started</source>
        <extracomment>A notification&apos;s text: %1 is the file now recorded.</extracomment>
        <translation>%1&#xa0;: l’enregistrement programmé a démarré</translation>
    </message>
    <message>
        <source>%1: sound came and the recording started</source>
        <extracomment>A notification&apos;s text: %1 is the file now recorded.</extracomment>
        <translation>%1&#xa0;: du son a été détecté et l’enregistrement a démarré</translation>
    </message>
    <message>
        <source>Recording started</source>
        <extracomment>A notification&apos;s title: a scheduled recording, or one started on sound, started by itself.</extracomment>
        <translation>Enregistrement démarré</translation>
    </message>
    <message>
        <source>%1 was interrupted; it was repaired and listed</source>
        <extracomment>A notification&apos;s text at start-up: %1 is a file&apos;s name.</extracomment>
        <translation>%1 a été interrompu&#xa0;; il a été réparé et listé</translation>
    </message>
    <message>
        <source>%1 interrupted recordings were repaired and listed: %2</source>
        <extracomment>A notification&apos;s text at start-up: %1 is how many files (2 or more), %2 lists their names (&quot;Untitled3.mp3, Untitled4.mp3 and Untitled5.mp3&quot;).</extracomment>
        <translation>%1 enregistrements interrompus ont été réparés et listés&#xa0;: %2</translation>
    </message>
    <message>
        <source>Recordings recovered</source>
        <extracomment>A notification&apos;s title at start-up.</extracomment>
        <translation>Enregistrements récupérés</translation>
    </message>
</context>
<context>
    <name>DiskRunway</name>
    <message>
        <source>There is not enough room on the disk of %1 to record: less than %2 seconds would fit. Free some space or choose another folder in Options</source>
        <extracomment>%1 is the save folder, %2 a number of seconds.</extracomment>
        <translation>Il n’y a pas assez d’espace sur le disque de %1 pour enregistrer&#xa0;: moins de %2 secondes tiendraient. Libérez de l’espace ou choisissez un autre dossier dans Options</translation>
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
        <translation>%1 Hz&#xa0;: %2</translation>
    </message>
    <message>
        <source>Hz</source>
        <extracomment>the unit of the frequencies under the bands: hertz</extracomment>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Band %1</source>
        <extracomment>a band of the equalizer without a frequency label; %1 is its number, 1 to 12</extracomment>
        <translation>Bande %1</translation>
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
        <translation>Égaliseur</translation>
    </message>
</context>
<context>
    <name>EqualizerWindow</name>
    <message>
        <source>Equalizer</source>
        <translation>Égaliseur</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Twelve bands from 36 Hz to 16 kHz, each from -15 to 15 dB</source>
        <translation>Douze bandes de 36 Hz à 16 kHz, chacune de -15 à 15 dB</translation>
    </message>
</context>
<context>
    <name>FfmpegAudioFile</name>
    <message>
        <source>Cannot create %1: No WMA encoder is installed</source>
        <translation>Impossible de créer %1&#xa0;: aucun encodeur WMA n’est installé</translation>
    </message>
    <message>
        <source>Cannot write: no file is open for writing</source>
        <translation>Impossible d’écrire&#xa0;: aucun fichier n’est ouvert en écriture</translation>
    </message>
    <message>
        <source>Cannot repair %1: it is being written</source>
        <translation>Impossible de réparer %1&#xa0;: il est en cours d’écriture</translation>
    </message>
    <message>
        <source>Cannot repair %1: %2 is not a format the program records</source>
        <extracomment>%2 is a file name extension (&quot;.mp4&quot;).</extracomment>
        <translation>Impossible de réparer %1&#xa0;: %2 n’est pas un format que le programme enregistre</translation>
    </message>
    <message>
        <source>Cannot move the recording to %1: no file is being written</source>
        <translation>Impossible de déplacer l’enregistrement vers %1&#xa0;: aucun fichier n’est en cours d’écriture</translation>
    </message>
    <message>
        <source>Cannot write the markers of %1: the file is being written</source>
        <translation>Impossible d’écrire les repères de %1&#xa0;: le fichier est en cours d’écriture</translation>
    </message>
</context>
<context>
    <name>FfmpegUtil</name>
    <message>
        <source>Error %1</source>
        <extracomment>An FFmpeg failure without a text of its own; %1 is its error number.</extracomment>
        <translation>Erreur %1</translation>
    </message>
    <message>
        <source>Mono</source>
        <extracomment>One channel, at the end of a file format (&quot;PCM: 44100 Hz, 16 bit, Mono&quot;).</extracomment>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <extracomment>Two channels, at the end of a file format (&quot;PCM: 44100 Hz, 16 bit, Stereo&quot;).</extracomment>
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 canaux</translation>
    </message>
</context>
<context>
    <name>FileInfoPage</name>
    <message>
        <source>File name</source>
        <translation>Nom du fichier</translation>
    </message>
    <message>
        <source>Size</source>
        <comment>column header: a file&apos;s size</comment>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>column header: a file&apos;s length, a marker&apos;s place</comment>
        <translation>Temps</translation>
    </message>
    <message>
        <source>Save Directory</source>
        <translation>Dossier d’enregistrement</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Delete from list box</source>
        <translation>Retirer de la liste</translation>
    </message>
    <message>
        <source>Delete from hard disk</source>
        <translation>Supprimer du disque dur</translation>
    </message>
    <message>
        <source>Rename Marker</source>
        <translation>Renommer le repère</translation>
    </message>
    <message>
        <source>Remove Marker</source>
        <translation>Supprimer le repère</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titre&#xa0;:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artiste&#xa0;:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album&#xa0;:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre&#xa0;:</translation>
    </message>
    <message>
        <source>Copyright:</source>
        <translation>Copyright&#xa0;:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Année&#xa0;:</translation>
    </message>
    <message>
        <source>Track:</source>
        <translation>Piste&#xa0;:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Commentaire&#xa0;:</translation>
    </message>
    <message>
        <source>Mpeg Tag Version</source>
        <translation>Version des tags MPEG</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Reset file info</source>
        <translation>Réinitialiser les infos du fichier</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Apply file info</source>
        <translation>Appliquer les infos du fichier</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <extracomment>a file&apos;s size in kilobytes</extracomment>
        <translation>%1 ko</translation>
    </message>
    <message>
        <source>A marker: double-click to rename it, Delete removes it; Apply writes the change</source>
        <translation>Un repère&#xa0;: double-cliquez pour le renommer, Suppr le supprime&#xa0;; Appliquer enregistre la modification</translation>
    </message>
    <message>
        <source>Invalid Year Value</source>
        <translation>Année non valide</translation>
    </message>
    <message>
        <source>Invalid Track Value</source>
        <translation>Numéro de piste non valide</translation>
    </message>
    <message>
        <source>File list</source>
        <translation>Liste des fichiers</translation>
    </message>
</context>
<context>
    <name>FileMarkers</name>
    <message>
        <source>this type of file keeps no markers</source>
        <translation>ce type de fichier ne conserve pas de repères</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>ce n’est pas un fichier</translation>
    </message>
    <message>
        <source>the file is cut short</source>
        <translation>le fichier est tronqué</translation>
    </message>
    <message>
        <source>more than %1 markers</source>
        <translation>plus de %1 repères</translation>
    </message>
    <message>
        <source>a marker before the start</source>
        <translation>un repère avant le début</translation>
    </message>
    <message>
        <source>the comment list is damaged</source>
        <translation>la liste des commentaires est endommagée</translation>
    </message>
    <message>
        <source>not a FLAC file</source>
        <translation>ce n’est pas un fichier FLAC</translation>
    </message>
    <message>
        <source>the FLAC metadata is damaged</source>
        <translation>les métadonnées FLAC sont endommagées</translation>
    </message>
    <message>
        <source>not an Ogg Vorbis or Opus stream</source>
        <translation>ce n’est pas un flux Ogg Vorbis ou Opus</translation>
    </message>
    <message>
        <source>the comment header is damaged</source>
        <translation>l’en-tête de commentaires est endommagé</translation>
    </message>
    <message>
        <source>the Ogg headers are damaged or cut short</source>
        <translation>les en-têtes Ogg sont endommagés ou tronqués</translation>
    </message>
    <message>
        <source>the Ogg headers are laid out in an unusual way</source>
        <translation>les en-têtes Ogg sont organisés de façon inhabituelle</translation>
    </message>
    <message>
        <source>the Ogg pages are damaged</source>
        <translation>les pages Ogg sont endommagées</translation>
    </message>
    <message>
        <source>not a WAV file</source>
        <translation>ce n’est pas un fichier WAV</translation>
    </message>
    <message>
        <source>the %1 chunk is cut short</source>
        <extracomment>%1 is the four-letter name of a part of a WAV file (&quot;LIST&quot;).</extracomment>
        <translation>le bloc %1 est tronqué</translation>
    </message>
    <message>
        <source>the fmt chunk is damaged</source>
        <translation>le bloc fmt est endommagé</translation>
    </message>
    <message>
        <source>the WAV file has no fmt or data chunk</source>
        <translation>le fichier WAV n’a pas de bloc fmt ou data</translation>
    </message>
    <message>
        <source>the cue chunk is damaged</source>
        <translation>le bloc cue est endommagé</translation>
    </message>
    <message>
        <source>the adtl list is damaged</source>
        <translation>la liste adtl est endommagée</translation>
    </message>
    <message>
        <source>a marker past the reach of a WAV file</source>
        <translation>un repère au-delà de ce qu’un fichier WAV peut adresser</translation>
    </message>
    <message>
        <source>the ID3v2 tag is damaged</source>
        <translation>le tag ID3v2 est endommagé</translation>
    </message>
    <message>
        <source>the ID3v2 tag is cut short</source>
        <translation>le tag ID3v2 est tronqué</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>not an MP3 file</source>
        <translation>ce n’est pas un fichier MP3</translation>
    </message>
    <message>
        <source>no MP3 audio found</source>
        <translation>aucune donnée audio MP3 trouvée</translation>
    </message>
    <message>
        <source>the ASF header is damaged</source>
        <translation>l’en-tête ASF est endommagé</translation>
    </message>
    <message>
        <source>not an ASF file</source>
        <translation>ce n’est pas un fichier ASF</translation>
    </message>
    <message>
        <source>the ASF file has no audio stream</source>
        <translation>le fichier ASF n’a pas de flux audio</translation>
    </message>
    <message>
        <source>the ASF markers are damaged</source>
        <translation>les repères ASF sont endommagés</translation>
    </message>
    <message>
        <source>Cannot read the markers of %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;the file is cut short&quot;).</extracomment>
        <translation>Impossible de lire les repères de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot write the markers of %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;the file is cut short&quot;).</extracomment>
        <translation>Impossible d’écrire les repères de %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>Cannot create %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Impossible de créer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: the file exists</source>
        <translation>Impossible d’écrire %1&#xa0;: le fichier existe déjà</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>Impossible de créer %1</translation>
    </message>
    <message>
        <source>Cannot create %1: every name is taken</source>
        <translation>Impossible de créer %1&#xa0;: tous les noms sont déjà pris</translation>
    </message>
</context>
<context>
    <name>FileRepair</name>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>its tags cannot be read</source>
        <translation>ses tags sont illisibles</translation>
    </message>
    <message>
        <source>Cannot repair %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;its header is damaged&quot;).</extracomment>
        <translation>Impossible de réparer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>its header is cut short</source>
        <translation>son en-tête est tronqué</translation>
    </message>
    <message>
        <source>its chunk list is damaged</source>
        <translation>sa liste de blocs est endommagée</translation>
    </message>
    <message>
        <source>its format chunk is damaged</source>
        <translation>son bloc de format est endommagé</translation>
    </message>
    <message>
        <source>its format chunk is cut short</source>
        <translation>son bloc de format est tronqué</translation>
    </message>
    <message>
        <source>it has no usable format chunk</source>
        <translation>il n’a pas de bloc de format utilisable</translation>
    </message>
    <message>
        <source>it has no data chunk</source>
        <translation>il n’a pas de bloc de données</translation>
    </message>
    <message>
        <source>it is larger than a WAV file can describe</source>
        <translation>il est plus grand que ce qu’un fichier WAV peut décrire</translation>
    </message>
    <message>
        <source>it holds no MPEG audio frames</source>
        <translation>il ne contient aucune trame audio MPEG</translation>
    </message>
    <message>
        <source>it holds no whole MPEG audio frame</source>
        <translation>il ne contient aucune trame audio MPEG complète</translation>
    </message>
    <message>
        <source>its audio data is damaged at byte %1</source>
        <translation>ses données audio sont endommagées à l’octet %1</translation>
    </message>
    <message>
        <source>its header frame is damaged</source>
        <translation>sa trame d’en-tête est endommagée</translation>
    </message>
    <message>
        <source>its header is damaged</source>
        <translation>son en-tête est endommagé</translation>
    </message>
    <message>
        <source>its header has no file properties</source>
        <translation>son en-tête ne contient pas les propriétés du fichier</translation>
    </message>
    <message>
        <source>its packets are not of one fixed size</source>
        <translation>ses paquets ne sont pas tous de la même taille</translation>
    </message>
    <message>
        <source>its data object is missing</source>
        <translation>son objet de données est manquant</translation>
    </message>
    <message>
        <source>its packets cannot be read</source>
        <translation>ses paquets sont illisibles</translation>
    </message>
    <message>
        <source>its metadata is cut short</source>
        <translation>ses métadonnées sont tronquées</translation>
    </message>
    <message>
        <source>it has no stream information block</source>
        <translation>il n’a pas de bloc d’informations de flux</translation>
    </message>
    <message>
        <source>its metadata is damaged</source>
        <translation>ses métadonnées sont endommagées</translation>
    </message>
    <message>
        <source>it holds no whole Ogg page</source>
        <translation>il ne contient aucune page Ogg complète</translation>
    </message>
    <message>
        <source>its last page cannot be read</source>
        <translation>sa dernière page est illisible</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>il est vide</translation>
    </message>
    <message>
        <source>it is not a %1 file</source>
        <extracomment>%1 is a format&apos;s name: WAV, MP3, WMA, FLAC or Ogg.</extracomment>
        <translation>ce n’est pas un fichier %1</translation>
    </message>
    <message>
        <source>it is not a %1 or %2 file</source>
        <extracomment>%1 is a list of formats (&quot;WAV, MP3, WMA, FLAC&quot;), %2 the last one (&quot;Ogg&quot;).</extracomment>
        <translation>ce n’est pas un fichier %1 ou %2</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>c’est un lien symbolique</translation>
    </message>
    <message>
        <source>bytes in memory</source>
        <extracomment>Stands for a file&apos;s name in &quot;Cannot repair %1: ...&quot; when the bytes are in no file.</extracomment>
        <translation>les données en mémoire</translation>
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
        <translation>%1 restant sur le disque</translation>
    </message>
    <message>
        <source>Recording in %1:%2:%3</source>
        <extracomment>While a recording waits for its set start time: the time left, %1 hours, %2 minutes, %3 seconds (&quot;Recording in 01:02:03&quot;).</extracomment>
        <translation>Enregistrement dans %1:%2:%3</translation>
    </message>
    <message>
        <source>%1 left</source>
        <extracomment>In the status bar, short: the recording time that still fits on the disk; %1 is a stretch of time such as &quot;2 h 41 min&quot; (the tooltip says &quot;2 h 41 min left on disk&quot;).</extracomment>
        <translation>%1 restant</translation>
    </message>
</context>
<context>
    <name>GlobalShortcuts</name>
    <message>
        <source>Record or pause</source>
        <translation>Enregistrer ou mettre en pause</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Arrêter l’enregistrement</translation>
    </message>
    <message>
        <source>Add a marker</source>
        <translation>Ajouter un repère</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <extracomment>%1 is the settings file&apos;s path.</extracomment>
        <translation>Impossible d’écrire dans %1</translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Level</source>
        <translation>Niveau</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Wav files (*.wav)</source>
        <translation>Fichiers Wav (*.wav)</translation>
    </message>
    <message>
        <source>MPEG files (*.mp3;*.mp2;*.mp1;*.mpeg)</source>
        <translation>Fichiers MPEG (*.mp3;*.mp2;*.mp1;*.mpeg)</translation>
    </message>
    <message>
        <source>Ogg Vorbis files (*.ogg)</source>
        <translation>Fichiers Ogg Vorbis (*.ogg)</translation>
    </message>
    <message>
        <source>FLAC files (*.flac)</source>
        <translation>Fichiers FLAC (*.flac)</translation>
    </message>
    <message>
        <source>Opus files (*.opus)</source>
        <translation>Fichiers Opus (*.opus)</translation>
    </message>
    <message>
        <source>AVI files (*.avi)</source>
        <translation>Fichiers AVI (*.avi)</translation>
    </message>
    <message>
        <source>G721 files (*.g721)</source>
        <translation>Fichiers G721 (*.g721)</translation>
    </message>
    <message>
        <source>MPPlus files (*.mpc;*.mp+)</source>
        <translation>Fichiers MPPlus (*.mpc;*.mp+)</translation>
    </message>
    <message>
        <source>WMA files (*.wma)</source>
        <translation>Fichiers WMA (*.wma)</translation>
    </message>
    <message>
        <source>A recording is running</source>
        <translation>Un enregistrement est en cours</translation>
    </message>
    <message>
        <source>Repairing %1 from a recording that was interrupted...</source>
        <translation>Réparation de %1 à partir d’un enregistrement interrompu...</translation>
    </message>
    <message>
        <source>Rewrite File?</source>
        <translation>Réécrire le fichier&#xa0;?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>A&amp;ction</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Lire</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>Add &amp;Marker</source>
        <translation>Ajouter un &amp;repère</translation>
    </message>
    <message>
        <source>&amp;Next Marker</source>
        <translation>Repère &amp;suivant</translation>
    </message>
    <message>
        <source>Pre&amp;vious Marker</source>
        <translation>Repère pré&amp;cédent</translation>
    </message>
    <message>
        <source>Sc&amp;hedule Recording...</source>
        <translation>Pro&amp;grammer l’enregistrement...</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Recording Controls</source>
        <translation>&amp;Réglages d’enregistrement</translation>
    </message>
    <message>
        <source>&amp;Playback Volume Controls</source>
        <translation>Réglages de &amp;lecture</translation>
    </message>
    <message>
        <source>&amp;File Info...</source>
        <translation>&amp;Infos fichier...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;Help Contents</source>
        <translation>&amp;Sommaire de l’aide</translation>
    </message>
    <message>
        <source>Home&amp;page</source>
        <translation>Page d’&amp;accueil</translation>
    </message>
    <message>
        <source>&amp;Tip of the Day</source>
        <translation>As&amp;tuce du jour</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>Tools</source>
        <comment>tool bar title</comment>
        <translation>Outils</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>tool bar button</comment>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Ouvrir un fichier</translation>
    </message>
    <message>
        <source>Options</source>
        <comment>tool bar button</comment>
        <translation>Options</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Marker</source>
        <comment>tool bar button</comment>
        <translation>Repère</translation>
    </message>
    <message>
        <source>Add a marker where the recording is now (Ctrl+M)</source>
        <translation>Ajouter un repère à la position actuelle de l’enregistrement (Ctrl+M)</translation>
    </message>
    <message>
        <source>Help</source>
        <comment>tool bar button</comment>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Sommaire de l’aide</translation>
    </message>
    <message>
        <source>About</source>
        <comment>tool bar button</comment>
        <translation>À propos</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Record Sound</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Recording Controls</source>
        <translation>Réglages d’enregistrement</translation>
    </message>
    <message>
        <source>Playback Volume Controls</source>
        <translation>Réglages de lecture</translation>
    </message>
    <message>
        <source>File Info</source>
        <translation>Infos fichier</translation>
    </message>
    <message>
        <source>Play/Record Control</source>
        <translation>Commandes de lecture/enregistrement</translation>
    </message>
    <message>
        <source>Time Elapsed</source>
        <translation>Temps écoulé</translation>
    </message>
    <message>
        <source>&amp;Wait for It</source>
        <translation>&amp;Attendre</translation>
    </message>
    <message>
        <source>&amp;Forget It</source>
        <translation>&amp;Renoncer</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Ouvrir un fichier</translation>
    </message>
    <message>
        <source>That time has passed; choose a later one.</source>
        <translation>Cette heure est passée&#xa0;; choisissez-en une plus tardive.</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Where the file plays; Left and Right move it</source>
        <translation>Position de lecture du fichier&#xa0;; les flèches Gauche et Droite la déplacent</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Transport</translation>
    </message>
    <message>
        <source>Play, Pause, Stop, Record, the volume and Mute</source>
        <translation>Lire, Pause, Arrêter, Enregistrer, le volume et Muet</translation>
    </message>
    <message>
        <source>Left level</source>
        <translation>Niveau gauche</translation>
    </message>
    <message>
        <source>Right level</source>
        <translation>Niveau droit</translation>
    </message>
    <message>
        <source>A recording is running. Quitting stops it and keeps what was recorded.</source>
        <translation>Un enregistrement est en cours. Quitter l’arrête et conserve ce qui a été enregistré.</translation>
    </message>
    <message>
        <source>Keep recording</source>
        <translation>Continuer l’enregistrement</translation>
    </message>
    <message>
        <source>Stop and quit</source>
        <translation>Arrêter et quitter</translation>
    </message>
</context>
<context>
    <name>MediaPlayerControl</name>
    <message>
        <source>A file cannot be played while a recording runs.</source>
        <translation>Impossible de lire un fichier pendant un enregistrement.</translation>
    </message>
</context>
<context>
    <name>MixerSide</name>
    <message>
        <source>Capture</source>
        <extracomment>The one line of a recording device that has no inputs of its own to choose.</extracomment>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Master</source>
        <extracomment>The line of an output device&apos;s own volume, beside the programs playing on it.</extracomment>
        <translation>Principal</translation>
    </message>
    <message>
        <source>Cannot set the playback volume: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Impossible de régler le volume de lecture&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cannot set the volume of %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de régler le volume de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot set the playback balance: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Impossible de régler la balance de lecture&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cannot set the balance of %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de régler la balance de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot mute the playback: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Impossible de couper le son de la lecture&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cannot mute %1: %2</source>
        <extracomment>%1 a device or an application, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de couper le son de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot select %1: %2</source>
        <extracomment>%1 an input of a recording device (&quot;Microphone&quot;), %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de sélectionner %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>The switch that silences a recording device.</extracomment>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Cannot switch %1 to %2: %3</source>
        <extracomment>%1 an output device, %2 one of its outputs (&quot;Headphones&quot;), %3 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de basculer %1 sur %2&#xa0;: %3</translation>
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
        <translation>Choisir</translation>
    </message>
    <message>
        <source>Mute</source>
        <comment>silence this line</comment>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>%1 volume</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Volume de %1</translation>
    </message>
    <message>
        <source>%1 balance</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Balance de %1</translation>
    </message>
    <message>
        <source>Select %1</source>
        <extracomment>record from this line; %1 is the name of the mixer line</extracomment>
        <translation>Sélectionner %1</translation>
    </message>
    <message>
        <source>Mute %1</source>
        <extracomment>silence this line; %1 is the name of the mixer line</extracomment>
        <translation>Muet&#xa0;: %1</translation>
    </message>
    <message>
        <source>Advanced controls of %1</source>
        <extracomment>%1 is the name of the mixer line</extracomment>
        <translation>Réglages avancés de %1</translation>
    </message>
</context>
<context>
    <name>MonitorStream</name>
    <message>
        <source>Listening to the input</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that plays the input back.</extracomment>
        <translation>Écoute de l’entrée</translation>
    </message>
</context>
<context>
    <name>OpenFileMove</name>
    <message>
        <source>Cannot move the recording to %1: %2</source>
        <translation>Impossible de déplacer l’enregistrement vers %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Save Path</source>
        <translation>Dossier d’enregistrement</translation>
    </message>
    <message>
        <source>select save directory</source>
        <translation>Choisir le dossier d’enregistrement</translation>
    </message>
    <message>
        <source>Record Format</source>
        <translation>Format d’enregistrement</translation>
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
        <translation>0 écrit le plus vite, 8 produit les fichiers les plus petits&#xa0;; le son est identique</translation>
    </message>
    <message>
        <source>Compression level</source>
        <translation>Niveau de compression</translation>
    </message>
    <message>
        <source>Time Limit</source>
        <translation>Limite de temps</translation>
    </message>
    <message>
        <source>No Limit</source>
        <translation>Aucune limite</translation>
    </message>
    <message>
        <source>Stop recording after </source>
        <extracomment>followed by the hours, minutes and seconds fields</extracomment>
        <translation>Arrêter l’enregistrement après </translation>
    </message>
    <message>
        <source>hours</source>
        <translation>heures</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>Auto Split</source>
        <translation>Découpage automatique</translation>
    </message>
    <message>
        <source>Split Every</source>
        <extracomment>followed by the minutes and seconds fields</extracomment>
        <translation>Découper toutes les</translation>
    </message>
    <message>
        <source>Lost Input Device</source>
        <translation>Périphérique d’entrée perdu</translation>
    </message>
    <message>
        <source>Go on recording when it comes back</source>
        <translation>Reprendre l’enregistrement à son retour</translation>
    </message>
    <message>
        <source>A recording whose input device went away waits up to ten minutes for it and goes on in a new file</source>
        <translation>Si le périphérique d’entrée disparaît, l’enregistrement l’attend jusqu’à dix minutes et reprend dans un nouveau fichier</translation>
    </message>
    <message>
        <source>Before Record</source>
        <translation>Avant l’enregistrement</translation>
    </message>
    <message>
        <source>Keep the last</source>
        <extracomment>followed by a number field and &quot;seconds before Record&quot;</extracomment>
        <translation>Conserver les dernières</translation>
    </message>
    <message>
        <source>The input stays open while the program is idle; Record writes these seconds first</source>
        <translation>L’entrée reste ouverte quand le programme est inactif&#xa0;; Enregistrer écrit d’abord ces secondes</translation>
    </message>
    <message>
        <source>seconds before Record</source>
        <translation>secondes avant l’enregistrement</translation>
    </message>
    <message>
        <source>Start on sound</source>
        <translation>Démarrer sur le son</translation>
    </message>
    <message>
        <source>Record waits for sound; the half second before it is kept</source>
        <translation>L’enregistrement attend le son&#xa0;; la demi-seconde qui le précède est conservée</translation>
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
        <translation>Chaque son dans un nouveau fichier</translation>
    </message>
    <message>
        <source>Sound is louder than</source>
        <extracomment>followed by a level in dBFS</extracomment>
        <translation>Son plus fort que</translation>
    </message>
    <message>
        <source>Pause after a quiet of</source>
        <extracomment>followed by a number of seconds</extracomment>
        <translation>Pause après un silence de</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Select a directory to save output files</source>
        <translation>Sélectionnez un dossier où enregistrer les fichiers</translation>
    </message>
    <message>
        <source>MP3 quality</source>
        <translation>Qualité MP3</translation>
    </message>
    <message>
        <source>WAV quality</source>
        <translation>Qualité WAV</translation>
    </message>
    <message>
        <source>WMA profile</source>
        <translation>Profil WMA</translation>
    </message>
    <message>
        <source>FLAC quality</source>
        <translation>Qualité FLAC</translation>
    </message>
    <message>
        <source>Ogg Vorbis quality</source>
        <translation>Qualité Ogg Vorbis</translation>
    </message>
    <message>
        <source>Opus quality</source>
        <translation>Qualité Opus</translation>
    </message>
    <message>
        <source>Time limit hours</source>
        <translation>Limite de temps (heures)</translation>
    </message>
    <message>
        <source>Time limit minutes</source>
        <translation>Limite de temps (minutes)</translation>
    </message>
    <message>
        <source>Time limit seconds</source>
        <translation>Limite de temps (secondes)</translation>
    </message>
    <message>
        <source>Auto split minutes</source>
        <translation>Découpage automatique (minutes)</translation>
    </message>
    <message>
        <source>Auto split seconds</source>
        <translation>Découpage automatique (secondes)</translation>
    </message>
    <message>
        <source>not bound</source>
        <translation>non attribué</translation>
    </message>
    <message>
        <source>In the background</source>
        <translation>En arrière-plan</translation>
    </message>
    <message>
        <source>Keep recording in the tray when the window is closed</source>
        <translation>Continuer l’enregistrement dans la zone de notification quand la fenêtre est fermée</translation>
    </message>
    <message>
        <source>Notify me when a recording starts or ends by itself</source>
        <translation>M’avertir quand un enregistrement démarre ou se termine de lui-même</translation>
    </message>
    <message>
        <source>Global shortcuts</source>
        <translation>Raccourcis globaux</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>Global shortcuts are not available on this desktop. The desktop&apos;s own keyboard settings can run “tavrin-sound-recorder --remote record”, “--remote stop” or “--remote marker” instead.</source>
        <translation>Les raccourcis globaux ne sont pas disponibles sur ce bureau. Les paramètres de clavier du bureau peuvent exécuter à la place «&#xa0;tavrin-sound-recorder --remote record&#xa0;», «&#xa0;--remote stop&#xa0;» ou «&#xa0;--remote marker&#xa0;».</translation>
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
        <translation>PCM&#xa0;: %1, %2 bit, %3</translation>
    </message>
    <message>
        <source>MPEG %1 layer-3: %2 kbps, %3, %4</source>
        <extracomment>Keep &quot;MPEG %1 layer-3:&quot; as it is (the status bar shortens it to &quot;MP3&quot;). %1 the MPEG version, %2 the bit rate, %3 the sample rate (&quot;44100 Hz&quot;), %4 the channels.</extracomment>
        <translation>MPEG %1 layer-3: %2 kbps, %3, %4</translation>
    </message>
    <message>
        <source>Windows Media Audio V2: %1 kbps, %2, %3</source>
        <extracomment>%1 the bit rate, %2 the sample rate (&quot;44100 Hz&quot;), %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>Windows Media Audio V2&#xa0;: %1 kbps, %2, %3</translation>
    </message>
    <message>
        <source>FLAC: %1, %2 bit, %3</source>
        <extracomment>%1 the sample rate (&quot;44100 Hz&quot;), %2 bits per sample, %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>FLAC&#xa0;: %1, %2 bit, %3</translation>
    </message>
    <message>
        <source>Ogg Vorbis: quality %1, %2, %3</source>
        <extracomment>%1 the Vorbis quality (-1 to 10), %2 the sample rate (&quot;44100 Hz&quot;), %3 the channels.</extracomment>
        <translation>Ogg Vorbis&#xa0;: qualité %1, %2, %3</translation>
    </message>
    <message>
        <source>Opus: %1 kbps, %2, %3</source>
        <extracomment>%1 the bit rate, %2 the sample rate (&quot;48000 Hz&quot;), %3 the channels (&quot;Stereo&quot;).</extracomment>
        <translation>Opus&#xa0;: %1 kbps, %2, %3</translation>
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
        <translation>Impossible de réparer %1&#xa0;: son journal ne peut pas être écrit</translation>
    </message>
    <message>
        <source>its journal does not say exactly which file was recorded</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>son journal n’indique pas exactement quel fichier a été enregistré</translation>
    </message>
    <message>
        <source>%1 on %2 is not reachable; it will be repaired when it is.</source>
        <extracomment>%1 is a file name, %2 its folder.</extracomment>
        <translation>%1 dans %2 est inaccessible&#xa0;; il sera réparé dès qu’il sera accessible.</translation>
    </message>
    <message>
        <source>it is a link now</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>c’est désormais un lien</translation>
    </message>
    <message>
        <source>it is not the file that was recorded</source>
        <extracomment>Why a file was left as it was, said after &quot;... was left as it was: &quot;.</extracomment>
        <translation>ce n’est pas le fichier qui a été enregistré</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be repaired: its repair did not finish the last time. It was left as it was.</source>
        <translation>%1 provient d’un enregistrement interrompu et n’a pas pu être réparé&#xa0;: sa réparation n’a pas abouti la dernière fois. Il a été laissé tel quel.</translation>
    </message>
    <message>
        <source>Recovered %1 (%2) from a recording that was interrupted.</source>
        <extracomment>%1 is a file name, %2 its length in minutes and seconds (&quot;12:04&quot;).</extracomment>
        <translation>%1 (%2) a été récupéré d’un enregistrement interrompu.</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be repaired; it was left as it was (%2).</source>
        <extracomment>%1 is a file name, %2 why it could not be repaired.</extracomment>
        <translation>%1 provient d’un enregistrement interrompu et n’a pas pu être réparé&#xa0;; il a été laissé tel quel (%2).</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted, but was not repaired and was left as it was: %2.</source>
        <extracomment>%1 is a file&apos;s path, %2 why it was not repaired.</extracomment>
        <translation>%1 provient d’un enregistrement interrompu, mais n’a pas été réparé et a été laissé tel quel&#xa0;: %2.</translation>
    </message>
    <message>
        <source>its repair did not finish the last time</source>
        <extracomment>Why a file could not be repaired, said in brackets inside another message.</extracomment>
        <translation>sa réparation n’a pas abouti la dernière fois</translation>
    </message>
    <message>
        <source>%1 was left by a recording that was interrupted and could not be given a name (%2); it is kept and will be tried again at the next start.</source>
        <extracomment>%1 is a file name, %2 why no name could be given.</extracomment>
        <translation>%1 provient d’un enregistrement interrompu et n’a pas pu recevoir de nom (%2)&#xa0;; il est conservé et une nouvelle tentative aura lieu au prochain démarrage.</translation>
    </message>
    <message>
        <source>Recovered %1 (%2) from a recording that was interrupted; it was no longer in %3, so it is now %4.</source>
        <extracomment>%1 is a file name, %2 its length in minutes and seconds, %3 the folder it was recorded in, %4 its new path.</extracomment>
        <translation>%1 (%2) a été récupéré d’un enregistrement interrompu&#xa0;; comme il n’était plus dans %3, il se trouve désormais sous %4.</translation>
    </message>
    <message>
        <source>%1 was not repaired and was left as it was (%2); the recording itself was recovered as %3 (%4).</source>
        <extracomment>%1 is a file&apos;s path, %2 why it was not repaired, %3 the recovered file&apos;s path, %4 its length in minutes and seconds.</extracomment>
        <translation>%1 n’a pas été réparé et a été laissé tel quel (%2)&#xa0;; l’enregistrement lui-même a été récupéré sous %3 (%4).</translation>
    </message>
    <message>
        <source>It could not be repaired (%1).</source>
        <extracomment>Follows a message about a recovered file; %1 says why it could not be repaired.</extracomment>
        <translation>Il n’a pas pu être réparé (%1).</translation>
    </message>
</context>
<context>
    <name>PartWatch</name>
    <message>
        <source>Cannot create %1</source>
        <translation>Impossible de créer %1</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording. It was made again and the recording put back into it as %2; the recording goes on.</source>
        <extracomment>%1 is a folder, %2 a file name.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement. Il a été recréé et l’enregistrement y a été replacé sous %2&#xa0;; l’enregistrement continue.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and could not be made again (%2). The recording goes on in %3.</source>
        <extracomment>%1 is a folder, %2 why it could not be made, %3 the file&apos;s new path.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement et n’a pas pu être recréé (%2). L’enregistrement continue dans %3.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording, and the recording could not be given a name again (%2; %3). What was recorded is lost when the recording ends.</source>
        <extracomment>%1 is a folder; %2 and %3 say why no name could be had there and in the rescue folder.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement, et l’enregistrement n’a pas pu recevoir de nouveau nom (%2&#xa0;; %3). Ce qui a été enregistré sera perdu à la fin de l’enregistrement.</translation>
    </message>
    <message>
        <source>every name is taken in %1</source>
        <extracomment>Why no name could be had, said in brackets inside another message; %1 is a folder.</extracomment>
        <translation>tous les noms sont pris dans %1</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and the recording could not be copied back into it (%2). The recording goes on in %3.</source>
        <extracomment>%1 is a folder, %2 why the copy failed, %3 the file&apos;s new path.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement et l’enregistrement n’a pas pu y être recopié (%2). L’enregistrement continue dans %3.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording, and the recording could not be copied back (%2). What was recorded is lost when the recording ends.</source>
        <extracomment>%1 is a folder, %2 why the copy failed.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement, et l’enregistrement n’a pas pu être recopié (%2). Ce qui a été enregistré sera perdu à la fin de l’enregistrement.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording and could not be made again. Everything recorded so far was copied into %2, and the recording goes on there.</source>
        <extracomment>%1 is a folder, %2 the file&apos;s new path.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement et n’a pas pu être recréé. Tout ce qui a été enregistré jusqu’ici a été copié dans %2, où l’enregistrement continue.</translation>
    </message>
    <message>
        <source>The folder %1 was removed while recording. It was made again, everything recorded so far was copied back into it as %2, and the recording goes on.</source>
        <extracomment>%1 is a folder, %2 a file name.</extracomment>
        <translation>Le dossier %1 a été supprimé pendant l’enregistrement. Il a été recréé, tout ce qui a été enregistré jusqu’ici y a été recopié sous %2, et l’enregistrement continue.</translation>
    </message>
</context>
<context>
    <name>PartWriter</name>
    <message>
        <source>The disk did not keep up with the recording: %1 of sound could not be written to %2. The recording goes on.</source>
        <extracomment>%1 is a stretch of time (&quot;12 s&quot;), %2 a file name.</extracomment>
        <translation>Le disque n’a pas suivi l’enregistrement&#xa0;: impossible d’écrire %1 de son dans %2. L’enregistrement continue.</translation>
    </message>
    <message>
        <source>the disk of %1 is full. The file holds everything recorded until now</source>
        <extracomment>Why a recording ended, said after &quot;The recording was stopped: &quot;; %1 is a folder.</extracomment>
        <translation>le disque de %1 est plein. Le fichier contient tout ce qui a été enregistré jusqu’ici</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>Impossible de créer %1</translation>
    </message>
    <message>
        <source>%1 has no name left; it is kept and will be recovered at the next start</source>
        <translation>%1 n’a plus de nom&#xa0;; il est conservé et sera récupéré au prochain démarrage</translation>
    </message>
    <message>
        <source>%1 has no name left: what was recorded into it is lost</source>
        <translation>%1 n’a plus de nom&#xa0;: ce qui y a été enregistré est perdu</translation>
    </message>
</context>
<context>
    <name>PlaybackControlsPage</name>
    <message>
        <source>Output Device</source>
        <translation>Périphérique de sortie</translation>
    </message>
    <message>
        <source>Equalizer</source>
        <comment>switch</comment>
        <translation>Égaliseur</translation>
    </message>
    <message>
        <source>Equalizer...</source>
        <translation>Égaliseur...</translation>
    </message>
</context>
<context>
    <name>PlaybackSession</name>
    <message>
        <source>Cannot open %1</source>
        <translation>Impossible d’ouvrir %1</translation>
    </message>
    <message>
        <source>Cannot play %1: it holds no sound</source>
        <translation>Impossible de lire %1&#xa0;: il ne contient aucun son</translation>
    </message>
    <message>
        <source>the output did not start</source>
        <extracomment>Why a file cannot be played, said after &quot;Cannot play &lt;file&gt;: &quot;.</extracomment>
        <translation>la sortie n’a pas démarré</translation>
    </message>
    <message>
        <source>Cannot play %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 why the output device did not start.</extracomment>
        <translation>Impossible de lire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The playback was stopped: %1</source>
        <extracomment>%1 says why.</extracomment>
        <translation>La lecture a été arrêtée&#xa0;: %1</translation>
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
        <translation>Impossible de créer la connexion au serveur de son</translation>
    </message>
    <message>
        <source>Cannot start the sound server connection</source>
        <translation>Impossible de démarrer la connexion au serveur de son</translation>
    </message>
    <message>
        <source>No sound server answers (%1)</source>
        <extracomment>%1 is the sound server&apos;s own text (&quot;Connection refused&quot;).</extracomment>
        <translation>Aucun serveur de son ne répond (%1)</translation>
    </message>
    <message>
        <source>No sound server</source>
        <translation>Aucun serveur de son</translation>
    </message>
</context>
<context>
    <name>RecordSoundPage</name>
    <message>
        <source>FFTArraySize</source>
        <extracomment>the number of samples each analysis of the spectrum takes</extracomment>
        <translation>Taille FFT</translation>
    </message>
    <message>
        <source>FFTWindowType</source>
        <extracomment>the window function the spectrum&apos;s analysis applies</extracomment>
        <translation>Fenêtre FFT</translation>
    </message>
    <message>
        <source>None</source>
        <comment>no window function</comment>
        <translation>Aucune</translation>
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
        <translation>Affichage</translation>
    </message>
    <message>
        <source>vtFFTAnalog</source>
        <translation>Analogique</translation>
    </message>
    <message>
        <source>vtFFTLinear</source>
        <translation>Linéaire</translation>
    </message>
    <message>
        <source>vtFFTNormal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>vtFFTFire</source>
        <translation>Feu</translation>
    </message>
    <message>
        <source>vtFFTGlass</source>
        <translation>Verre</translation>
    </message>
    <message>
        <source>vtFFTKryptonite</source>
        <translation>Kryptonite</translation>
    </message>
    <message>
        <source>Sound Visualization</source>
        <translation>Visualisation du son</translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation>Spectre</translation>
    </message>
    <message>
        <source>The loudness of the sound at each frequency, low at the left, high at the right, as it is recorded or played</source>
        <translation>L’intensité du son à chaque fréquence, des graves à gauche aux aigus à droite, pendant l’enregistrement ou la lecture</translation>
    </message>
</context>
<context>
    <name>RecordedFiles</name>
    <message>
        <source>Cannot set %1</source>
        <extracomment>%1 names a tag field as the tag component knows it (&quot;infoTitle&quot;).</extracomment>
        <translation>Impossible de définir %1</translation>
    </message>
    <message>
        <source>new name can not be blank!</source>
        <translation>Le nouveau nom ne peut pas être vide&#xa0;!</translation>
    </message>
    <message>
        <source>Cannot rename to %1: a file name cannot contain &quot;/&quot;.</source>
        <translation>Impossible de renommer en %1&#xa0;: un nom de fichier ne peut pas contenir «&#xa0;/&#xa0;».</translation>
    </message>
    <message>
        <source>Cannot rename to %1: a file of that name already exists.</source>
        <translation>Impossible de renommer en %1&#xa0;: un fichier portant ce nom existe déjà.</translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: %3</source>
        <extracomment>%1 is a file&apos;s path, %2 its new name, %3 the system&apos;s reason.</extracomment>
        <translation>Impossible de renommer %1 en %2&#xa0;: %3</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Impossible de supprimer %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>RecorderCore</name>
    <message>
        <source>Listening to the input ended: its output device is gone</source>
        <translation>L’écoute de l’entrée a pris fin&#xa0;: son périphérique de sortie a disparu</translation>
    </message>
    <message>
        <source>Recording...</source>
        <extracomment>The status bar&apos;s state words: a recording runs.</extracomment>
        <translation>Enregistrement...</translation>
    </message>
    <message>
        <source>Waiting for sound...</source>
        <extracomment>The status bar&apos;s state words: a recording waits for sound to start writing.</extracomment>
        <translation>Attente du son...</translation>
    </message>
    <message>
        <source>Waiting for device...</source>
        <extracomment>The status bar&apos;s state words: a recording waits for its lost input device.</extracomment>
        <translation>Attente du périphérique...</translation>
    </message>
    <message>
        <source>Playing...</source>
        <extracomment>The status bar&apos;s state words: a file is played.</extracomment>
        <translation>Lecture...</translation>
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
        <translation>À l’écoute</translation>
    </message>
    <message>
        <source>Stop</source>
        <comment>state</comment>
        <extracomment>The status bar&apos;s state word while nothing records or plays.</extracomment>
        <translation>Arrêté</translation>
    </message>
    <message>
        <source>Cannot delete %1: it is being recorded. Stop the recording first.</source>
        <translation>Impossible de supprimer %1&#xa0;: il est en cours d’enregistrement. Arrêtez d’abord l’enregistrement.</translation>
    </message>
    <message>
        <source>Cannot rename %1: it is being recorded</source>
        <translation>Impossible de renommer %1&#xa0;: il est en cours d’enregistrement</translation>
    </message>
</context>
<context>
    <name>RecordingControlsPage</name>
    <message>
        <source>Input Device</source>
        <translation>Périphérique d’entrée</translation>
    </message>
    <message>
        <source>Set Filter</source>
        <translation>Filtres</translation>
    </message>
    <message>
        <source>Listen to the input</source>
        <translation>Écouter l’entrée</translation>
    </message>
    <message>
        <source>Play what is recorded on the output device while it is captured</source>
        <translation>Diffuser sur le périphérique de sortie ce qui est enregistré, pendant la capture</translation>
    </message>
    <message>
        <source>A file for each side</source>
        <translation>Un fichier par côté</translation>
    </message>
    <message>
        <source>From the next recording on, the microphone and the computer sound are also written each to a file of its own beside the mix, such as &quot;Untitled4 (microphone).flac&quot; and &quot;Untitled4 (computer).flac&quot;</source>
        <translation>À partir du prochain enregistrement, le microphone et le son de l’ordinateur sont aussi écrits chacun dans son propre fichier à côté du mixage, par exemple «&#xa0;Untitled4 (microphone).flac&#xa0;» et «&#xa0;Untitled4 (computer).flac&#xa0;»</translation>
    </message>
</context>
<context>
    <name>RecordingDevices</name>
    <message>
        <source>Microphone + computer sound</source>
        <extracomment>The last entry of the input list: the microphone and what the computer plays, mixed.</extracomment>
        <translation>Microphone + son de l’ordinateur</translation>
    </message>
    <message>
        <source>stream %1</source>
        <extracomment>A playing program that gives no name; %1 is its number.</extracomment>
        <translation>flux %1</translation>
    </message>
    <message>
        <source>Sound of %1 (%2)</source>
        <extracomment>An entry of the input list: only the sound of the program %1. %2 counts the program&apos;s streams when it plays more than one.</extracomment>
        <translation>Son de %1 (%2)</translation>
    </message>
    <message>
        <source>Sound of %1</source>
        <extracomment>An entry of the input list: only the sound of the program %1.</extracomment>
        <translation>Son de %1</translation>
    </message>
    <message>
        <source>Microphone</source>
        <extracomment>The line of &quot;Microphone + computer sound&quot; that holds the microphone&apos;s level.</extracomment>
        <translation>Microphone</translation>
    </message>
    <message>
        <source>Computer sound</source>
        <extracomment>The line of &quot;Microphone + computer sound&quot; that holds the computer sound&apos;s level.</extracomment>
        <translation>Son de l’ordinateur</translation>
    </message>
    <message>
        <source>Cannot set the volume of %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de régler le volume de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot set the balance of %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de régler la balance de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>The switch that silences a playing program.</extracomment>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Cannot mute %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de couper le son de %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>RecordingFiltersWindow</name>
    <message>
        <source>Notch Filter</source>
        <translation>Filtre coupe-bande</translation>
    </message>
    <message>
        <source>HighPass Filter</source>
        <translation>Filtre passe-haut</translation>
    </message>
    <message>
        <source>LowPass Filter</source>
        <translation>Filtre passe-bas</translation>
    </message>
    <message>
        <source>Recording Filters</source>
        <translation>Filtres d’enregistrement</translation>
    </message>
    <message>
        <source>Hz</source>
        <extracomment>the unit of the frequency box beside it: hertz</extracomment>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Notch filter frequency</source>
        <translation>Fréquence du filtre coupe-bande</translation>
    </message>
    <message>
        <source>Notch filter frequency in Hz</source>
        <translation>Fréquence du filtre coupe-bande en Hz</translation>
    </message>
    <message>
        <source>High-pass filter frequency</source>
        <translation>Fréquence du filtre passe-haut</translation>
    </message>
    <message>
        <source>High-pass filter frequency in Hz</source>
        <translation>Fréquence du filtre passe-haut en Hz</translation>
    </message>
    <message>
        <source>Low-pass filter frequency</source>
        <translation>Fréquence du filtre passe-bas</translation>
    </message>
    <message>
        <source>Low-pass filter frequency in Hz</source>
        <translation>Fréquence du filtre passe-bas en Hz</translation>
    </message>
</context>
<context>
    <name>RecordingSession</name>
    <message>
        <source>The recording was stopped: the input device did not come back within %1 minutes</source>
        <translation>L’enregistrement a été arrêté&#xa0;: le périphérique d’entrée n’est pas revenu dans les %1 minutes</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>Impossible de créer %1</translation>
    </message>
    <message>
        <source>Not recording</source>
        <translation>Aucun enregistrement en cours</translation>
    </message>
    <message>
        <source>%1 holds %2 markers, as many as a file can: no more can be added</source>
        <extracomment>%1 is a file name, %2 the most markers a file can hold.</extracomment>
        <translation>%1 contient %2 repères, le maximum pour un fichier&#xa0;: impossible d’en ajouter d’autres</translation>
    </message>
    <message>
        <source>Marker %1</source>
        <extracomment>The name a marker gets when none is typed; %1 counts the markers of the file.</extracomment>
        <translation>Repère %1</translation>
    </message>
    <message>
        <source>%1 at %2:%3:%4</source>
        <extracomment>Said when a marker was added: %1 is its name, then the hours, minutes and seconds into the file (&quot;Marker 3 at 00:12:04&quot;).</extracomment>
        <translation>%1 à %2:%3:%4</translation>
    </message>
    <message>
        <source>The recording was stopped: %1</source>
        <extracomment>%1 says why, as a clause of its own (&quot;the disk of /home/me/Recording is full. ...&quot;).</extracomment>
        <translation>L’enregistrement a été arrêté&#xa0;: %1</translation>
    </message>
    <message>
        <source>The recording stopped: %1. The recording goes on in a new file when the device comes back (waiting up to %2 minutes; Stop ends the wait).</source>
        <extracomment>%1 says why the input device was lost, %2 is a number of minutes.</extracomment>
        <translation>L’enregistrement s’est arrêté&#xa0;: %1. Il reprendra dans un nouveau fichier au retour du périphérique (attente jusqu’à %2 minutes&#xa0;; Arrêter met fin à l’attente).</translation>
    </message>
    <message>
        <source>The recording stopped: %1. %2 is kept and listed. The recording goes on in a new file when the device comes back (waiting up to %3 minutes; Stop ends the wait).</source>
        <extracomment>%1 says why the input device was lost, %2 is the file recorded so far, %3 a number of minutes.</extracomment>
        <translation>L’enregistrement s’est arrêté&#xa0;: %1. %2 est conservé et listé. L’enregistrement reprendra dans un nouveau fichier au retour du périphérique (attente jusqu’à %3 minutes&#xa0;; Arrêter met fin à l’attente).</translation>
    </message>
    <message>
        <source>The input device came back: the recording went on at %1 in %2.</source>
        <extracomment>%1 is the time of day, %2 the new file&apos;s name.</extracomment>
        <translation>Le périphérique d’entrée est revenu&#xa0;: l’enregistrement a repris à %1 dans %2.</translation>
    </message>
    <message>
        <source>the input device did not come back within %1 minutes</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name; %1 is a number of minutes.</extracomment>
        <translation>le périphérique d’entrée n’est pas revenu dans les %1 minutes</translation>
    </message>
    <message>
        <source>the scheduled recording&apos;s length was reached</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name.</extracomment>
        <translation>la durée de l’enregistrement programmé a été atteinte</translation>
    </message>
    <message>
        <source>the time limit was reached</source>
        <extracomment>Why a recording ended, as a clause after the file&apos;s name.</extracomment>
        <translation>la limite de temps a été atteinte</translation>
    </message>
</context>
<context>
    <name>RecordingSettings</name>
    <message>
        <source>No folder is set for recordings. Choose one in Options</source>
        <translation>Aucun dossier n’est défini pour les enregistrements. Choisissez-en un dans Options</translation>
    </message>
    <message>
        <source>Cannot record into %1: the folder&apos;s name is not valid UTF-8. Choose the folder again in Options</source>
        <extracomment>%1 is the save folder.</extracomment>
        <translation>Impossible d’enregistrer dans %1&#xa0;: le nom du dossier n’est pas en UTF-8 valide. Choisissez de nouveau le dossier dans Options</translation>
    </message>
</context>
<context>
    <name>RemoteClient</name>
    <message>
        <source>%1 is not running.</source>
        <extracomment>%1 is the program&apos;s name.</extracomment>
        <translation>%1 n’est pas en cours d’exécution.</translation>
    </message>
</context>
<context>
    <name>RenameDialog</name>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Input New Filename:</source>
        <translation>Nouveau nom de fichier&#xa0;:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
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
        <translation>Stéréo</translation>
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
        <translation>Qualité %1 (environ %2 kbps)</translation>
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
        <translation>Programmer un enregistrement</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Aujourd’hui</translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation>Demain</translation>
    </message>
    <message>
        <source>Stop after</source>
        <translation>Arrêter après</translation>
    </message>
    <message>
        <source>Hours, minutes and seconds; this recording only</source>
        <translation>Heures, minutes et secondes&#xa0;; cet enregistrement uniquement</translation>
    </message>
    <message>
        <source>Start at</source>
        <translation>Démarrer à</translation>
    </message>
    <message>
        <source>That time has passed today.</source>
        <translation>Cette heure est déjà passée aujourd’hui.</translation>
    </message>
    <message>
        <source>Starts in %1.</source>
        <extracomment>%1 is how long until the recording starts, such as &quot;1 h 5 min&quot;</extracomment>
        <translation>Démarre dans %1.</translation>
    </message>
    <message>
        <source>Start day</source>
        <translation>Jour de début</translation>
    </message>
    <message>
        <source>Recording length</source>
        <translation>Durée de l’enregistrement</translation>
    </message>
</context>
<context>
    <name>SpectrumAnalysis</name>
    <message>
        <source>Cannot set up a %1-point FFT</source>
        <extracomment>%1 is the number of points of the spectrum&apos;s Fourier transform (256, 1024, 4096).</extracomment>
        <translation>Impossible de préparer une FFT sur %1 points</translation>
    </message>
    <message>
        <source>Out of memory for a %1-point FFT</source>
        <extracomment>%1 is the number of points of the spectrum&apos;s Fourier transform (256, 1024, 4096).</extracomment>
        <translation>Mémoire insuffisante pour une FFT sur %1 points</translation>
    </message>
</context>
<context>
    <name>SpectrumView</name>
    <message>
        <source>Spectrum</source>
        <translation>Spectre</translation>
    </message>
    <message>
        <source>The sound&apos;s frequencies as they are now: low on the left, high on the right</source>
        <translation>Les fréquences actuelles du son&#xa0;: graves à gauche, aigus à droite</translation>
    </message>
</context>
<context>
    <name>StatusPanels</name>
    <message>
        <source>Recording time left on the disk of the save folder</source>
        <translation>Temps d’enregistrement restant sur le disque du dossier d’enregistrement</translation>
    </message>
</context>
<context>
    <name>TimeDisplay</name>
    <message>
        <source>Time Elapsed</source>
        <translation>Temps écoulé</translation>
    </message>
</context>
<context>
    <name>TipOfTheDayDialog</name>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Chemin introuvable</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Accès refusé</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Trop de fichiers ouverts</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Nom de fichier non valide</translation>
    </message>
    <message>
        <source>Tip of the Day</source>
        <translation>Astuce du jour</translation>
    </message>
    <message>
        <source>Did you know...</source>
        <translation>Le saviez-vous&#xa0;?</translation>
    </message>
    <message>
        <source>Show Tips on Startup</source>
        <translation>Afficher les astuces au démarrage</translation>
    </message>
    <message>
        <source>Next Tip</source>
        <translation>Astuce suivante</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>TransportBlock</name>
    <message>
        <source>PLAYING</source>
        <translation>LECTURE</translation>
    </message>
    <message>
        <source>PLAY</source>
        <comment>state, short for PLAYING</comment>
        <translation>LECT.</translation>
    </message>
    <message>
        <source>PAUSED</source>
        <translation>EN PAUSE</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <comment>state, short for PAUSED</comment>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>RECORDING</source>
        <translation>ENREGISTREMENT</translation>
    </message>
    <message>
        <source>REC</source>
        <comment>state, short for RECORDING</comment>
        <translation>REC</translation>
    </message>
    <message>
        <source>STOPPED</source>
        <translation>ARRÊTÉ</translation>
    </message>
    <message>
        <source>STOP</source>
        <comment>state, short for STOPPED</comment>
        <translation>ARRÊT</translation>
    </message>
    <message>
        <source>MUTE</source>
        <comment>state: the sound is off</comment>
        <translation>MUET</translation>
    </message>
    <message>
        <source>VOL %1</source>
        <comment>the volume, 0 to 100</comment>
        <translation>VOL %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Muet</translation>
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
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Hide Window</source>
        <translation>&amp;Masquer la fenêtre</translation>
    </message>
    <message>
        <source>&amp;Show Window</source>
        <translation>&amp;Afficher la fenêtre</translation>
    </message>
</context>
<context>
    <name>UiServices</name>
    <message>
        <source>Confirm</source>
        <translation>Confirmer</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Oui</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
</context>
<context>
    <name>engine::PulsePlayer</name>
    <message>
        <source>Unsupported playback format: %1 channels at %2 Hz</source>
        <translation>Format de lecture non pris en charge&#xa0;: %1 canaux à %2 Hz</translation>
    </message>
    <message>
        <source>The playback device is not available</source>
        <translation>Le périphérique de lecture n’est pas disponible</translation>
    </message>
    <message>
        <source>Playback</source>
        <extracomment>The name the desktop&apos;s sound settings show for the program&apos;s playback stream.</extracomment>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Cannot play on %1: %2</source>
        <extracomment>%1 the output device, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible de lire sur %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The playback device is no longer available (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Le périphérique de lecture n’est plus disponible (%1)</translation>
    </message>
</context>
<context>
    <name>engine::PulseRecorder</name>
    <message>
        <source>Recording (microphone)</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the microphone.</extracomment>
        <translation>Enregistrement (microphone)</translation>
    </message>
    <message>
        <source>Recording (computer sound)</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the computer sound.</extracomment>
        <translation>Enregistrement (son de l’ordinateur)</translation>
    </message>
    <message>
        <source>Unsupported recording format: %1 channels at %2 Hz</source>
        <translation>Format d’enregistrement non pris en charge&#xa0;: %1 canaux à %2 Hz</translation>
    </message>
    <message>
        <source>The recording device is not available</source>
        <translation>Le périphérique d’enregistrement n’est pas disponible</translation>
    </message>
    <message>
        <source>Recording</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records an input.</extracomment>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Cannot record from %1: %2</source>
        <extracomment>%1 the input device, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible d’enregistrer depuis %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 is not available</source>
        <extracomment>%1 is an entry of the input list (&quot;Sound of Firefox&quot;).</extracomment>
        <translation>%1 n’est pas disponible</translation>
    </message>
    <message>
        <source>Recording %1</source>
        <extracomment>The name the desktop&apos;s sound settings show for the stream that records the program %1.</extracomment>
        <translation>Enregistrement de %1</translation>
    </message>
    <message>
        <source>Cannot record %1: %2</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>Impossible d’enregistrer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>There is neither a recording device nor a sound output</source>
        <translation>Il n’y a ni périphérique d’enregistrement ni sortie audio</translation>
    </message>
    <message>
        <source>Cannot record the microphone or the computer sound: %1</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Impossible d’enregistrer le microphone ou le son de l’ordinateur&#xa0;: %1</translation>
    </message>
    <message>
        <source>The recording device is no longer available (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Le périphérique d’enregistrement n’est plus disponible (%1)</translation>
    </message>
    <message>
        <source>%1 cannot be recorded any more (%2)</source>
        <extracomment>%1 a playing program, %2 the sound server&apos;s reason.</extracomment>
        <translation>%1 ne peut plus être enregistré (%2)</translation>
    </message>
    <message>
        <source>%1 stopped playing</source>
        <extracomment>%1 is a playing program.</extracomment>
        <translation>%1 a cessé de diffuser du son</translation>
    </message>
    <message>
        <source>Neither the microphone nor the computer sound can be recorded any more (%1)</source>
        <extracomment>%1 is the sound server&apos;s reason.</extracomment>
        <translation>Ni le microphone ni le son de l’ordinateur ne peuvent plus être enregistrés (%1)</translation>
    </message>
    <message>
        <source>Listening to the input is not possible: %1</source>
        <extracomment>%1 is why (&quot;there is no output device&quot;).</extracomment>
        <translation>L’écoute de l’entrée est impossible&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 plays on an output already</source>
        <extracomment>%1 is an entry of the input list (&quot;Sound of Firefox&quot;).</extracomment>
        <translation>%1 est déjà diffusé sur une sortie</translation>
    </message>
    <message>
        <source>there is no output device</source>
        <translation>il n’y a aucun périphérique de sortie</translation>
    </message>
    <message>
        <source>the output device %1 is not available</source>
        <translation>le périphérique de sortie %1 n’est pas disponible</translation>
    </message>
    <message>
        <source>%1 is the sound of %2 itself, which would play back into itself</source>
        <extracomment>%1 an input device (&quot;Monitor of Built-in Audio&quot;), %2 the output device it is the sound of (&quot;Built-in Audio&quot;).</extracomment>
        <translation>%1 est le son de %2 lui-même&#xa0;: il se rediffuserait en boucle sur lui-même</translation>
    </message>
</context>
<context>
    <name>engine::TagLibInformation</name>
    <message>
        <source>AVI files hold no tags</source>
        <translation>Les fichiers AVI ne contiennent pas de tags</translation>
    </message>
    <message>
        <source>Raw G.721 files hold no tags</source>
        <translation>Les fichiers G.721 bruts ne contiennent pas de tags</translation>
    </message>
    <message>
        <source>Files of this type hold no tags</source>
        <translation>Les fichiers de ce type ne contiennent pas de tags</translation>
    </message>
    <message>
        <source>Cannot write tags to %1: %2</source>
        <extracomment>%1 the file, %2 why (&quot;The file is being recorded&quot;).</extracomment>
        <translation>Impossible d’écrire les tags dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The file is being recorded</source>
        <translation>Le fichier est en cours d’enregistrement</translation>
    </message>
    <message>
        <source>The tag could not be written</source>
        <translation>Le tag n’a pas pu être écrit</translation>
    </message>
    <message>
        <source>The tag could not be written without harm to the audio</source>
        <translation>Le tag n’a pas pu être écrit sans endommager l’audio</translation>
    </message>
</context>
</TS>
