<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Alerts</name>
    <message>
        <source>Tessaly cannot open .VOB files.</source>
        <translation>Tessaly kann keine .VOB-Dateien öffnen.</translation>
    </message>
    <message>
        <source>Questions? : %1</source>
        <translation>Fragen? : %1</translation>
    </message>
    <message>
        <source>Seems to be an unsupported file.
Does the video play in a video player?</source>
        <translation>Diese Datei wird anscheinend nicht unterstützt.
Lässt sich das Video in einem Videoplayer abspielen?</translation>
    </message>
    <message>
        <source>Please try opening some other file or contact : </source>
        <translation>Bitte öffnen Sie eine andere Datei oder schreiben Sie an: </translation>
    </message>
    <message>
        <source>“%1” was not found.</source>
        <translation>„%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted: %1
Questions? : %2</source>
        <translation>Die Datei wurde vielleicht verschoben, umbenannt oder gelöscht: %1
Fragen? : %2</translation>
    </message>
    <message>
        <source>“%1” has no video.</source>
        <translation>„%1“ enthält kein Video.</translation>
    </message>
    <message>
        <source>It holds only sound, and Tessaly crops pictures. Questions? : %1</source>
        <translation>Die Datei enthält nur Ton, und Tessaly schneidet Bilder zu. Fragen? : %1</translation>
    </message>
    <message>
        <source>Input file name is same as the output file name!</source>
        <translation>Die Eingabedatei hat denselben Namen wie die Ausgabedatei!</translation>
    </message>
    <message>
        <source>Please specify a different file to save.</source>
        <translation>Bitte wählen Sie eine andere Datei zum Speichern.</translation>
    </message>
    <message>
        <source>The video could not be cropped.</source>
        <translation>Das Video konnte nicht zugeschnitten werden.</translation>
    </message>
    <message>
        <source>
No file was written; a file already at that place is unchanged.</source>
        <translation>
Es wurde keine Datei geschrieben; eine Datei, die dort schon lag, ist unverändert.</translation>
    </message>
    <message>
        <source>Tessaly cannot make its temporary folder.</source>
        <translation>Tessaly kann seinen temporären Ordner nicht anlegen.</translation>
    </message>
    <message>
        <source>Please check that there is free space in %1.</source>
        <translation>Bitte prüfen Sie, ob in %1 noch Platz frei ist.</translation>
    </message>
    <message>
        <source>Tessaly cannot decode the pictures of this video.</source>
        <translation>Tessaly kann die Bilder dieses Videos nicht dekodieren.</translation>
    </message>
    <message>
        <source>ffmpeg reports: %1
Does the video play in a video player? Questions? : %2</source>
        <translation>ffmpeg meldet: %1
Lässt sich das Video in einem Videoplayer abspielen? Fragen? : %2</translation>
    </message>
    <message>
        <source>“%1” already exists. Do you want to replace it?</source>
        <translation>„%1“ ist bereits vorhanden. Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>A file with the same name already exists in “%1”. Replacing it will overwrite its contents.</source>
        <translation>In „%1“ gibt es bereits eine Datei mit diesem Namen. Wenn Sie sie ersetzen, wird ihr Inhalt überschrieben.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Unknown File Size</source>
        <translation>Unbekannte Dateigröße</translation>
    </message>
    <message>
        <source>Input Resolution: %1 x %2 (%3)
Output Resolution: %4 x %5 (%6)
Output Duration: %7</source>
        <translation>Auflösung der Eingabe: %1 x %2 (%3)
Auflösung der Ausgabe: %4 x %5 (%6)
Dauer der Ausgabe: %7</translation>
    </message>
    <message>
        <source>The input could be read only up to %1: the rest of it is damaged or missing.</source>
        <translation>Die Eingabe ließ sich nur bis %1 lesen: Der Rest ist beschädigt oder fehlt.</translation>
    </message>
    <message>
        <source>Video Cropped, but Shorter than Asked</source>
        <translation>Video zugeschnitten, aber kürzer als gewünscht</translation>
    </message>
    <message>
        <source>Video Cropped Successfully!</source>
        <translation>Video erfolgreich zugeschnitten!</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source> Questions? : %1</source>
        <translation> Fragen? : %1</translation>
    </message>
    <message>
        <source>“%1” is a link that leads back to itself.</source>
        <translation>„%1“ ist eine Verknüpfung, die auf sich selbst zurückführt.</translation>
    </message>
    <message>
        <source>Its chain of symbolic links never reaches a file: %1</source>
        <translation>Ihre Kette symbolischer Verknüpfungen erreicht nie eine Datei: %1</translation>
    </message>
    <message>
        <source>“%1” is a folder, not a video file.</source>
        <translation>„%1“ ist ein Ordner, keine Videodatei.</translation>
    </message>
    <message>
        <source>Open one of the videos inside it instead.</source>
        <translation>Öffnen Sie stattdessen eines der Videos darin.</translation>
    </message>
    <message>
        <source>You do not have permission to read “%1”.</source>
        <translation>Sie haben keine Berechtigung, „%1“ zu lesen.</translation>
    </message>
    <message>
        <source>Ask its owner for access, or copy it somewhere you may read it: %1</source>
        <translation>Bitten Sie den Eigentümer um Zugriff, oder kopieren Sie die Datei an einen Ort, an dem Sie sie lesen dürfen: %1</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>eine benannte Pipe</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>“%1” is %2, not a video file.</source>
        <translation>„%1“ ist %2, keine Videodatei.</translation>
    </message>
    <message>
        <source>Tessaly opens only files stored on a disk, to read them without waiting on another program.</source>
        <translation>Tessaly öffnet nur Dateien, die auf einem Datenträger liegen, um sie zu lesen, ohne auf ein anderes Programm zu warten.</translation>
    </message>
    <message>
        <source>Tessaly opens files on this computer only: %1</source>
        <translation>Tessaly öffnet nur Dateien auf diesem Computer: %1</translation>
    </message>
    <message>
        <source>Download or copy the video to a folder here, then open it from there.</source>
        <translation>Laden Sie das Video herunter oder kopieren Sie es in einen Ordner auf diesem Computer, und öffnen Sie es dann von dort.</translation>
    </message>
    <message>
        <source>Tessaly’s probe tool (ffprobe) is missing or broken.</source>
        <translation>Das Analysewerkzeug von Tessaly (ffprobe) fehlt oder ist defekt.</translation>
    </message>
    <message>
        <source>It could not tell what “%1” holds: %2. Please reinstall Tessaly, whose package brings ffprobe and ffmpeg.</source>
        <translation>Es konnte nicht feststellen, was „%1“ enthält: %2. Bitte installieren Sie Tessaly neu; sein Paket bringt ffprobe und ffmpeg mit.</translation>
    </message>
    <message>
        <source>The analysis of “%1” took too long.</source>
        <translation>Die Analyse von „%1“ hat zu lange gedauert.</translation>
    </message>
    <message>
        <source>ffprobe did not finish within %1 seconds. The file may lie on a slow or unresponsive drive.</source>
        <translation>ffprobe ist nicht innerhalb von %1 Sekunden fertig geworden. Die Datei liegt vielleicht auf einem langsamen oder nicht antwortenden Laufwerk.</translation>
    </message>
    <message>
        <source>“%1” is a playlist, not a video: it names other files.</source>
        <translation>„%1“ ist eine Wiedergabeliste, kein Video: Sie nennt andere Dateien.</translation>
    </message>
    <message>
        <source>Tessaly reads only the file you open. Open one of the videos it names instead.</source>
        <translation>Tessaly liest nur die Datei, die Sie öffnen. Öffnen Sie stattdessen eines der Videos, die sie nennt.</translation>
    </message>
    <message>
        <source>“%1” is a picture, not a video.</source>
        <translation>„%1“ ist ein Bild, kein Video.</translation>
    </message>
    <message>
        <source>Tessaly crops videos.</source>
        <translation>Tessaly schneidet Videos zu.</translation>
    </message>
    <message>
        <source>“%1” is too small to crop: %2 x %3 pixels.</source>
        <translation>„%1“ ist zu klein zum Zuschneiden: %2 x %3 Pixel.</translation>
    </message>
    <message>
        <source>Tessaly crops videos of at least %1 x %1 pixels.</source>
        <translation>Tessaly schneidet Videos von mindestens %1 x %1 Pixeln zu.</translation>
    </message>
    <message>
        <source>Tessaly gave up on the pictures of this video.</source>
        <translation>Tessaly hat die Bilder dieses Videos aufgegeben.</translation>
    </message>
    <message>
        <source>ffmpeg made no picture within %1 seconds. The file may lie on a slow or unresponsive drive.</source>
        <translation>ffmpeg hat innerhalb von %1 Sekunden kein Bild erzeugt. Die Datei liegt vielleicht auf einem langsamen oder nicht antwortenden Laufwerk.</translation>
    </message>
    <message>
        <source>Tessaly could not follow the motion of this video.</source>
        <translation>Tessaly konnte der Bewegung in diesem Video nicht folgen.</translation>
    </message>
    <message>
        <source>Its pictures could not be decoded to the end: %1
The crop and its keyframes are as they were.</source>
        <translation>Seine Bilder ließen sich nicht bis zum Ende dekodieren: %1
Der Zuschnitt und seine Keyframes sind wie zuvor.</translation>
    </message>
    <message>
        <source>ffmpeg gave no reason</source>
        <translation>ffmpeg nannte keinen Grund</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Start to the keyframe at %1, where a copy can begin</source>
        <translation>der Anfang auf das Schlüsselbild bei %1, wo eine Kopie beginnen kann</translation>
    </message>
    <message>
        <source>Scaling makes new pictures: set the scale factor to 1.0x.</source>
        <translation>Skalieren erzeugt neue Bilder: Stellen Sie die Skalierung auf 1.0x.</translation>
    </message>
    <message>
        <source>The video is interlaced: Tessaly makes its pictures progressive, which makes new pictures.</source>
        <translation>Das Video ist im Zeilensprungverfahren: Tessaly wandelt es in Vollbilder um, was neue Bilder erzeugt.</translation>
    </message>
    <message>
        <source>The video is turned or its pixels are not square: only an upright picture of square pixels is cropped without re-encoding.</source>
        <translation>Das Video ist gedreht oder seine Pixel sind nicht quadratisch: Nur ein aufrechtes Bild aus quadratischen Pixeln wird ohne Neukodierung zugeschnitten.</translation>
    </message>
    <message>
        <source>Only H.264 and HEVC carry a cropping window; a %1 video can only be trimmed without re-encoding.</source>
        <translation>Nur H.264 und HEVC tragen ein Zuschnittfenster; ein %1-Video kann ohne Neukodierung nur gekürzt werden.</translation>
    </message>
    <message>
        <source>Copy every picture, cropped in the stream&apos;s header: an hour in seconds, without losing a bit</source>
        <translation>Jedes Bild kopieren, zugeschnitten im Kopf des Datenstroms: eine Stunde in Sekunden, ohne ein Bit zu verlieren</translation>
    </message>
    <message>
        <source>the crop to %1 x %2 at %3, %4, where every player shows it exactly (its left edge on a multiple of 64 pixels)</source>
        <translation>der Ausschnitt auf %1 x %2 bei %3, %4, wo jeder Player ihn genau zeigt (sein linker Rand auf einem Vielfachen von 64 Pixeln)</translation>
    </message>
    <message>
        <source>Without re-encoding: moved %1.</source>
        <translation>Ohne Neukodierung verschoben: %1.</translation>
    </message>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
    <message numerus="yes">
        <source>The crop follows the motion with %n keyframes; move any of them, or undo.</source>
        <translation>
            <numerusform>Der Zuschnitt folgt der Bewegung mit %n Keyframe; verschieben Sie ihn, oder machen Sie es rückgängig.</numerusform>
            <numerusform>Der Zuschnitt folgt der Bewegung mit %n Keyframes; verschieben Sie jeden davon, oder machen Sie es rückgängig.</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing moves outside one place: the crop stands still there.</source>
        <translation>Nichts bewegt sich über eine Stelle hinaus: Der Zuschnitt bleibt dort stehen.</translation>
    </message>
    <message>
        <source>A crop that moves makes new pictures: clear its keyframes to crop without re-encoding.</source>
        <translation>Ein bewegter Zuschnitt erzeugt neue Bilder: Entfernen Sie seine Keyframes, um ohne Neukodierung zuzuschneiden.</translation>
    </message>
</context>
<context>
    <name>CropGeometry</name>
    <message>
        <source>Source: %1 x %2</source>
        <translation>Quelle: %1 x %2</translation>
    </message>
    <message>
        <source>Cropped: %1 x %2</source>
        <translation>Zugeschnitten: %1 x %2</translation>
    </message>
</context>
<context>
    <name>CropJob</name>
    <message>
        <source>The encoder (ffmpeg) is missing from Tessaly&apos;s resources.</source>
        <translation>Der Encoder (ffmpeg) fehlt in den Ressourcen von Tessaly.</translation>
    </message>
    <message>
        <source> Please choose another name or folder.</source>
        <translation> Bitte wählen Sie einen anderen Namen oder Ordner.</translation>
    </message>
    <message>
        <source>Cannot write in the folder %1: %2</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The encoder could not be started: </source>
        <translation>Der Encoder konnte nicht gestartet werden: </translation>
    </message>
    <message>
        <source>The encoder stopped unexpectedly.</source>
        <translation>Der Encoder wurde unerwartet beendet.</translation>
    </message>
    <message>
        <source>The encoder stopped with exit status %1.
%2</source>
        <translation>Der Encoder wurde mit dem Status %1 beendet.
%2</translation>
    </message>
    <message>
        <source>The encoder finished but wrote no usable video.</source>
        <translation>Der Encoder ist fertig, hat aber kein brauchbares Video geschrieben.</translation>
    </message>
    <message>
        <source>The cropped video could not be saved as %1: %2</source>
        <translation>Das zugeschnittene Video konnte nicht als %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>The folder %1 was moved or deleted while the video was being cropped.</source>
        <translation>Der Ordner %1 wurde verschoben oder gelöscht, während das Video zugeschnitten wurde.</translation>
    </message>
    <message>
        <source>none of its lines falls within the trim</source>
        <translation>keine ihrer Zeilen liegt im gekürzten Abschnitt</translation>
    </message>
    <message>
        <source>Video: its HDR10+ dynamic metadata is left out; HDR10&apos;s static metadata is kept</source>
        <translation>Video: seine dynamischen HDR10+-Metadaten fallen weg; die statischen HDR10-Metadaten bleiben</translation>
    </message>
    <message>
        <source>The subtitles could not be read.
%1</source>
        <translation>Die Untertitel konnten nicht gelesen werden.
%1</translation>
    </message>
    <message>
        <source>The video stream&apos;s header could not be read, so its picture cannot be cropped without re-encoding.</source>
        <translation>Der Kopf des Videostroms ließ sich nicht lesen, daher kann sein Bild nicht ohne Neukodierung zugeschnitten werden.</translation>
    </message>
    <message>
        <source>Tessaly could not prepare the moving crop in its temporary folder: %1</source>
        <translation>Tessaly konnte den bewegten Zuschnitt nicht in seinem temporären Ordner vorbereiten: %1</translation>
    </message>
</context>
<context>
    <name>CropRoad</name>
    <message>
        <source>Save Cropped Video</source>
        <translation>Zugeschnittenes Video speichern</translation>
    </message>
    <message>
        <source>MPEG-4 Video (*.mp4)</source>
        <translation>MPEG-4-Video (*.mp4)</translation>
    </message>
    <message>
        <source>Cropped.mp4</source>
        <translation>Zugeschnitten.mp4</translation>
    </message>
    <message>
        <source>Interlaced: made progressive</source>
        <translation>Zeilensprung: in Vollbilder umgewandelt</translation>
    </message>
    <message>
        <source>“%1” appeared while the video was being cropped, so it was saved beside it as “%2”.</source>
        <translation>„%1“ ist während des Zuschneidens entstanden, daher wurde das Video daneben als „%2“ gespeichert.</translation>
    </message>
    <message>
        <source>QuickTime Movie (*.mov)</source>
        <translation>QuickTime-Film (*.mov)</translation>
    </message>
    <message>
        <source>Matroska Video (*.mkv)</source>
        <translation>Matroska-Video (*.mkv)</translation>
    </message>
    <message>
        <source>%1 % — %2</source>
        <translation>%1 % — %2</translation>
    </message>
    <message>
        <source>Saved as %1</source>
        <translation>Gespeichert als %1</translation>
    </message>
</context>
<context>
    <name>CropTimeline</name>
    <message>
        <source>Keyframe %1 of %2 at %3: between keyframes the crop glides from one to the next.</source>
        <translation>Keyframe %1 von %2 bei %3: Zwischen Keyframes gleitet der Zuschnitt von einem zum nächsten.</translation>
    </message>
</context>
<context>
    <name>DesktopIntegration</name>
    <message>
        <source>Show in Finder</source>
        <translation>Im Finder zeigen</translation>
    </message>
    <message>
        <source>Launch Video in QuickTime</source>
        <translation>Video in QuickTime öffnen</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation>Video abspielen</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Open Video</source>
        <translation>Video öffnen</translation>
    </message>
    <message>
        <source>Videos (*.mp4 *.m4v *.mov *.mkv *.webm *.avi *.wmv *.flv *.mpg *.mpeg *.m2v *.ts *.mts *.m2ts *.3gp *.3g2 *.ogv *.dv *.mxf *.MP4 *.MOV *.MTS *.AVI *.MKV)</source>
        <translation>Videos (*.mp4 *.m4v *.mov *.mkv *.webm *.avi *.wmv *.flv *.mpg *.mpeg *.m2v *.ts *.mts *.m2ts *.3gp *.3g2 *.ogv *.dv *.mxf *.MP4 *.MOV *.MTS *.AVI *.MKV)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Liste leeren</translation>
    </message>
</context>
<context>
    <name>FileProbe</name>
    <message>
        <source>its report is not JSON</source>
        <translation>sein Bericht ist kein JSON</translation>
    </message>
    <message>
        <source>it ended with exit status %1</source>
        <translation>es endete mit dem Status %1</translation>
    </message>
</context>
<context>
    <name>ImageDropView</name>
    <message>
        <source>Drop to open this video</source>
        <translation>Loslassen, um dieses Video zu öffnen</translation>
    </message>
    <message>
        <source>Drop a video here, or choose Open</source>
        <translation>Video hier ablegen oder „Öffnen“ wählen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tessaly</source>
        <translation>Tessaly</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Video</source>
        <translation>&amp;Video</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Öffnen…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open a video</source>
        <translation>Ein Video öffnen</translation>
    </message>
    <message>
        <source>&amp;Crop…</source>
        <translation>&amp;Zuschneiden…</translation>
    </message>
    <message>
        <source>Crop</source>
        <translation>Zuschneiden</translation>
    </message>
    <message>
        <source>&amp;Scale Factor…</source>
        <translation>&amp;Skalierung…</translation>
    </message>
    <message>
        <source>Scale Factor</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>Scale the cropped video</source>
        <translation>Das zugeschnittene Video skalieren</translation>
    </message>
    <message>
        <source>Detect &amp;Borders</source>
        <translation>&amp;Ränder erkennen</translation>
    </message>
    <message>
        <source>Borders</source>
        <translation>Ränder</translation>
    </message>
    <message>
        <source>Select the picture inside black or uniform bars, found across all posters</source>
        <translation>Das Bild innerhalb schwarzer oder einfarbiger Balken auswählen, über alle Vorschaubilder gesucht</translation>
    </message>
    <message>
        <source>Keep the &amp;Recording Date</source>
        <translation>&amp;Aufnahmedatum behalten</translation>
    </message>
    <message>
        <source>Give the cropped video the date the input was recorded, so galleries sort it under that day; other metadata, such as the place, is always left out</source>
        <translation>Dem zugeschnittenen Video das Aufnahmedatum der Eingabe geben, damit Galerien es unter diesem Tag einordnen; andere Metadaten, etwa der Ort, bleiben immer weg</translation>
    </message>
    <message>
        <source>Video &amp;Info…</source>
        <translation>Video-&amp;Informationen…</translation>
    </message>
    <message>
        <source>Tracks and metadata of the open file</source>
        <translation>Spuren und Metadaten der geöffneten Datei</translation>
    </message>
    <message>
        <source>Tessaly &amp;Help</source>
        <translation>Tessaly-&amp;Hilfe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Vie&amp;w</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Motion Map</source>
        <translation>&amp;Bewegungskarte</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Bewegung</translation>
    </message>
    <message>
        <source>Show where the picture changes across the whole video, and say when it moves outside the crop</source>
        <translation>Zeigen, wo sich das Bild über das ganze Video ändert, und melden, wenn es sich außerhalb des Ausschnitts bewegt</translation>
    </message>
    <message>
        <source>M</source>
        <translation>M</translation>
    </message>
    <message>
        <source>Rule-of-Thirds &amp;Guides</source>
        <translation>&amp;Drittel-Hilfslinien</translation>
    </message>
    <message>
        <source>Lines at the thirds of the crop</source>
        <translation>Linien bei den Dritteln des Ausschnitts</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>&amp;Go to the Motion Outside the Crop</source>
        <translation>&amp;Zur Bewegung außerhalb des Zuschnitts</translation>
    </message>
    <message>
        <source>Show the poster where the picture moves outside the crop</source>
        <translation>Das Vorschaubild zeigen, in dem sich das Bild außerhalb des Zuschnitts bewegt</translation>
    </message>
    <message>
        <source>J</source>
        <translation>J</translation>
    </message>
    <message>
        <source>Crop the video and save it as an MP4, MOV or MKV file</source>
        <translation>Das Video zuschneiden und als MP4-, MOV- oder MKV-Datei speichern</translation>
    </message>
    <message>
        <source>&amp;Output Settings…</source>
        <translation>&amp;Ausgabe-Einstellungen…</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>How the crop is written: codec, quality, speed, sound, subtitles and chapters</source>
        <translation>Wie der Zuschnitt geschrieben wird: Codec, Qualität, Geschwindigkeit, Ton, Untertitel und Kapitel</translation>
    </message>
    <message>
        <source>Any moment of the video; the marks are the posters. The wheel moves a second (with Shift, a picture); a drag with Shift held moves by pictures</source>
        <translation>Jeder Moment des Videos; die Marken sind die Vorschaubilder. Das Mausrad bewegt um eine Sekunde (mit Umschalt um ein Bild); ein Ziehen mit gehaltener Umschalttaste bewegt bildweise</translation>
    </message>
    <message>
        <source>Time of the picture shown, and which of the posters it is</source>
        <translation>Zeit des gezeigten Bildes und welches der Vorschaubilder es ist</translation>
    </message>
    <message>
        <source>Crop &amp;Without Re-encoding…</source>
        <translation>Zuschneiden &amp;ohne Neukodierung…</translation>
    </message>
    <message>
        <source>Copy every picture, cropped in the stream&apos;s header: an hour in seconds, without losing a bit</source>
        <translation>Jedes Bild kopieren, zugeschnitten im Kopf des Datenstroms: eine Stunde in Sekunden, ohne ein Bit zu verlieren</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Set Crop &amp;Keyframe</source>
        <translation>Zuschnitt-&amp;Keyframe setzen</translation>
    </message>
    <message>
        <source>Keyframe</source>
        <translation>Keyframe</translation>
    </message>
    <message>
        <source>Keep the selection as it is at this moment: between keyframes the crop glides from one to the next</source>
        <translation>Die Auswahl für diesen Moment festhalten: Zwischen Keyframes gleitet der Zuschnitt von einem zum nächsten</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>&amp;Remove Crop Keyframe</source>
        <translation>Zuschnitt-Keyframe &amp;entfernen</translation>
    </message>
    <message>
        <source>Remove the keyframe at this moment</source>
        <translation>Den Keyframe an diesem Moment entfernen</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>&amp;Clear Crop Keyframes</source>
        <translation>Alle Zuschnitt-Keyframes &amp;löschen</translation>
    </message>
    <message>
        <source>Remove every keyframe: the crop stands still where it is shown</source>
        <translation>Alle Keyframes entfernen: Der Zuschnitt bleibt, wo er gezeigt wird</translation>
    </message>
    <message>
        <source>&amp;Follow the Motion</source>
        <translation>Der Bewegung &amp;folgen</translation>
    </message>
    <message>
        <source>Follow</source>
        <translation>Folgen</translation>
    </message>
    <message>
        <source>Propose keyframes that keep what moves inside a crop of this size</source>
        <translation>Keyframes vorschlagen, die das Bewegte in einem Zuschnitt dieser Größe halten</translation>
    </message>
    <message>
        <source>F</source>
        <translation>F</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Abspielen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Play the video from this moment with the crop as it will be written</source>
        <translation>Das Video ab diesem Moment mit dem Zuschnitt abspielen, wie er geschrieben wird</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
</context>
<context>
    <name>MotionOverlay</name>
    <message>
        <source>Moving picture outside the crop around %1</source>
        <translation>Bewegtes Bild außerhalb des Ausschnitts um %1</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <source>%1 is a folder.</source>
        <translation>%1 ist ein Ordner.</translation>
    </message>
    <message>
        <source>%1 is read-only.</source>
        <translation>%1 ist schreibgeschützt.</translation>
    </message>
</context>
<context>
    <name>OutputPlan</name>
    <message>
        <source>Video %1</source>
        <translation>Video %1</translation>
    </message>
    <message>
        <source>Audio %1</source>
        <translation>Ton %1</translation>
    </message>
    <message>
        <source>Subtitle %1</source>
        <translation>Untertitel %1</translation>
    </message>
    <message>
        <source>Data %1</source>
        <translation>Daten %1</translation>
    </message>
    <message>
        <source>Attachment %1</source>
        <translation>Anhang %1</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Spur %1</translation>
    </message>
    <message>
        <source>%1 mixed down to stereo AAC, as chosen</source>
        <translation>%1 wie gewählt auf Stereo-AAC heruntergemischt</translation>
    </message>
    <message numerus="yes">
        <source>%n channels</source>
        <translation>
            <numerusform>%n Kanal</numerusform>
            <numerusform>%n Kanäle</numerusform>
        </translation>
    </message>
    <message>
        <source>encoded as AAC at %1 kb/s, as chosen</source>
        <translation>wie gewählt als AAC mit %1 kbit/s kodiert</translation>
    </message>
    <message>
        <source>encoded as AAC at %1 kb/s: %2 cannot hold %3</source>
        <translation>als AAC mit %1 kbit/s kodiert: %2 kann kein %3 aufnehmen</translation>
    </message>
    <message>
        <source>left out, as chosen</source>
        <translation>wie gewählt weggelassen</translation>
    </message>
    <message>
        <source>kept as MP4 text</source>
        <translation>als MP4-Text behalten</translation>
    </message>
    <message>
        <source>kept as SubRip</source>
        <translation>als SubRip behalten</translation>
    </message>
    <message>
        <source>%1 holds no subtitles made of pictures; save as .mkv to keep them</source>
        <translation>%1 nimmt keine Untertitel aus Bildern auf; als .mkv speichern, um sie zu behalten</translation>
    </message>
    <message>
        <source>Tessaly cannot carry subtitles of this kind</source>
        <translation>Tessaly kann Untertitel dieser Art nicht übernehmen</translation>
    </message>
    <message>
        <source>%1 10-bit</source>
        <translation>%1 10 Bit</translation>
    </message>
    <message>
        <source>, HDR10</source>
        <translation>, HDR10</translation>
    </message>
    <message>
        <source>, HLG</source>
        <translation>, HLG</translation>
    </message>
    <message>
        <source>Video: cropped, written as %1</source>
        <translation>Video: zugeschnitten, geschrieben als %1</translation>
    </message>
    <message>
        <source>Video: %1</source>
        <translation>Video: %1</translation>
    </message>
    <message>
        <source>Video: its Dolby Vision layer is left out; the picture it rests on is kept</source>
        <translation>Video: seine Dolby-Vision-Ebene fällt weg; das Bild darunter bleibt</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: copied</source>
        <translation>%1: kopiert</translation>
    </message>
    <message>
        <source>%1: kept</source>
        <translation>%1: behalten</translation>
    </message>
    <message>
        <source>%1: dropped: %2</source>
        <translation>%1: weggelassen: %2</translation>
    </message>
    <message>
        <source>Chapters: kept</source>
        <translation>Kapitel: behalten</translation>
    </message>
    <message>
        <source>Chapters: left out, as chosen</source>
        <translation>Kapitel: wie gewählt weggelassen</translation>
    </message>
    <message>
        <source>Video: cropped in its header, no picture re-encoded</source>
        <translation>Video: im Kopf zugeschnitten, kein Bild neu kodiert</translation>
    </message>
</context>
<context>
    <name>OutputPlan::OutputPlan</name>
    <message>
        <source>its %1-bit picture written in 8 bits, as H.264 is written here</source>
        <translation>sein %1-Bit-Bild in 8 Bit geschrieben, wie H.264 hier geschrieben wird</translation>
    </message>
    <message>
        <source>%1 holds no cover pictures here</source>
        <translation>%1 nimmt hier keine Titelbilder auf</translation>
    </message>
    <message>
        <source>Tessaly writes the one picture it crops</source>
        <translation>Tessaly schreibt das eine Bild, das es zuschneidet</translation>
    </message>
    <message>
        <source>%1 holds no attached files</source>
        <translation>%1 nimmt keine angehängten Dateien auf</translation>
    </message>
    <message>
        <source>data such as timecodes and positions is left out</source>
        <translation>Daten wie Zeitcodes und Positionen fallen weg</translation>
    </message>
</context>
<context>
    <name>OutputSettingsWindow</name>
    <message>
        <source>Output Settings</source>
        <translation>Ausgabe-Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Video:</source>
        <translation>&amp;Video:</translation>
    </message>
    <message>
        <source>Automatic writes HEVC 10-bit for a 10-bit or HDR source, and H.264 otherwise</source>
        <translation>Automatisch schreibt HEVC mit 10 Bit für eine 10-Bit- oder HDR-Quelle, sonst H.264</translation>
    </message>
    <message>
        <source>Automatic (as deep as the source)</source>
        <translation>Automatisch (so tief wie die Quelle)</translation>
    </message>
    <message>
        <source>H.264</source>
        <translation>H.264</translation>
    </message>
    <message>
        <source>HEVC</source>
        <translation>HEVC</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualität:</translation>
    </message>
    <message>
        <source>Higher quality keeps more detail in a larger file</source>
        <translation>Höhere Qualität behält mehr Einzelheiten in einer größeren Datei</translation>
    </message>
    <message>
        <source>&amp;Speed:</source>
        <translation>&amp;Geschwindigkeit:</translation>
    </message>
    <message>
        <source>A slower crop makes a smaller file of the same quality</source>
        <translation>Ein langsamerer Zuschnitt ergibt eine kleinere Datei gleicher Qualität</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Balanced</source>
        <translation>Ausgewogen</translation>
    </message>
    <message>
        <source>Smallest file</source>
        <translation>Kleinste Datei</translation>
    </message>
    <message>
        <source>&amp;Audio:</source>
        <translation>&amp;Ton:</translation>
    </message>
    <message>
        <source>Keep every sound track as it is where the container holds it, or write each as stereo AAC</source>
        <translation>Jede Tonspur unverändert behalten, wo das Format sie aufnimmt, oder jede als Stereo-AAC schreiben</translation>
    </message>
    <message>
        <source>Keep as is</source>
        <translation>Unverändert behalten</translation>
    </message>
    <message>
        <source>Stereo AAC</source>
        <translation>Stereo-AAC</translation>
    </message>
    <message>
        <source>Keep s&amp;ubtitles</source>
        <translation>&amp;Untertitel behalten</translation>
    </message>
    <message>
        <source>Keep c&amp;hapters</source>
        <translation>&amp;Kapitel behalten</translation>
    </message>
    <message>
        <source>The file&apos;s extension chooses its kind: .mp4, .mov, or .mkv, which also keeps subtitles made of pictures.</source>
        <translation>Die Endung der Datei wählt ihre Art: .mp4, .mov oder .mkv, das auch Untertitel aus Bildern behält.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Smaller</source>
        <translation>Kleiner</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Gut</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Visually lossless</source>
        <translation>Sichtbar verlustfrei</translation>
    </message>
</context>
<context>
    <name>PosterBrowser</name>
    <message>
        <source>%1 · %2 / %3</source>
        <translation>%1 · %2 / %3</translation>
    </message>
</context>
<context>
    <name>ProgressSheet</name>
    <message>
        <source>Tessaly</source>
        <translation>Tessaly</translation>
    </message>
    <message>
        <source>Analyzing Video...</source>
        <translation>Video wird analysiert …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cropping Video...</source>
        <translation>Video wird zugeschnitten …</translation>
    </message>
    <message>
        <source>No progress for %1 seconds: the encoder may be stuck. Cancel stops it.</source>
        <translation>Seit %1 Sekunden kein Fortschritt: Der Encoder hängt vielleicht. „Abbrechen“ beendet ihn.</translation>
    </message>
    <message>
        <source>Starting…</source>
        <translation>Startet …</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>%1× real time</source>
        <translation>%1× Echtzeit</translation>
    </message>
    <message numerus="yes">
        <source>about %n s left</source>
        <translation>
            <numerusform>noch etwa %n s</numerusform>
            <numerusform>noch etwa %n s</numerusform>
        </translation>
    </message>
    <message>
        <source>about %1 min %2 s left</source>
        <translation>noch etwa %1 min %2 s</translation>
    </message>
    <message>
        <source>about %1 h %2 min left</source>
        <translation>noch etwa %1 h %2 min</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>etwa %1</translation>
    </message>
    <message>
        <source>Looking for what moves across the whole video…</source>
        <translation>Suche nach Bewegung im ganzen Video…</translation>
    </message>
    <message>
        <source>Following the Motion...</source>
        <translation>Der Bewegung folgen...</translation>
    </message>
</context>
<context>
    <name>ScaleFactor</name>
    <message>
        <source>Scale Factor: %1x</source>
        <translation>Skalierung: %1x</translation>
    </message>
    <message>
        <source>Output: %1 x %2</source>
        <translation>Ausgabe: %1 x %2</translation>
    </message>
</context>
<context>
    <name>ScaleFactorWindow</name>
    <message>
        <source>Scale Factor</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>Cropped: 0 x 0</source>
        <translation>Zugeschnitten: 0 x 0</translation>
    </message>
    <message>
        <source>Output scale in percent</source>
        <translation>Größe der Ausgabe in Prozent</translation>
    </message>
    <message>
        <source>Scale Factor: 1.0x</source>
        <translation>Skalierung: 1.0x</translation>
    </message>
    <message>
        <source>Output: 0 x 0</source>
        <translation>Ausgabe: 0 x 0</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>SelectionPanel</name>
    <message>
        <source>Drop a video here</source>
        <translation>Video hier ablegen</translation>
    </message>
    <message>
        <source>Drag the crop to move it, its edges or corners to resize it, or outside it to draw a new one</source>
        <translation>Den Ausschnitt ziehen, um ihn zu verschieben, seine Kanten oder Ecken, um seine Größe zu ändern, oder daneben, um einen neuen aufzuziehen</translation>
    </message>
    <message>
        <source>Wide</source>
        <translation>Quer</translation>
    </message>
    <message>
        <source>Switch between wide and tall aspect ratios</source>
        <translation>Zwischen Quer- und Hochformat wechseln</translation>
    </message>
    <message>
        <source>Aspect ratio</source>
        <translation>Seitenverhältnis</translation>
    </message>
    <message>
        <source>16:9</source>
        <translation>16:9</translation>
    </message>
    <message>
        <source>Free resize</source>
        <translation>Freie Größe</translation>
    </message>
    <message>
        <source>Untick to keep the selection&apos;s aspect ratio while resizing</source>
        <translation>Abwählen, um beim Ändern der Größe das Seitenverhältnis des Ausschnitts zu behalten</translation>
    </message>
    <message>
        <source>Crop size presets</source>
        <translation>Vorgaben für die Größe des Ausschnitts</translation>
    </message>
    <message>
        <source>Cropped: 0 x 0</source>
        <translation>Zugeschnitten: 0 x 0</translation>
    </message>
    <message>
        <source>Source: 0 x 0</source>
        <translation>Quelle: 0 x 0</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Left edge of the crop, in video pixels</source>
        <translation>Linke Kante des Ausschnitts, in Videopixeln</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Top edge of the crop, in video pixels</source>
        <translation>Obere Kante des Ausschnitts, in Videopixeln</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Width of the crop, in video pixels</source>
        <translation>Breite des Ausschnitts, in Videopixeln</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Height of the crop, in video pixels</source>
        <translation>Höhe des Ausschnitts, in Videopixeln</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>No border found: the selection is as it was.</source>
        <translation>Kein Rand gefunden: Der Ausschnitt bleibt, wie er war.</translation>
    </message>
    <message>
        <source>Borders found: the selection is now the picture inside them, %1 x %2 at %3, %4.</source>
        <translation>Ränder gefunden: Der Ausschnitt ist jetzt das Bild zwischen ihnen, %1 x %2 bei %3, %4.</translation>
    </message>
    <message>
        <source>The crop cannot be smaller than %1 x %2.</source>
        <translation>Der Ausschnitt kann nicht kleiner als %1 x %2 sein.</translation>
    </message>
    <message>
        <source>The crop cannot grow that way and keep its ratio: it is at the picture&apos;s edge.</source>
        <translation>Der Ausschnitt kann in diese Richtung nicht wachsen und sein Seitenverhältnis behalten: Er liegt am Bildrand.</translation>
    </message>
    <message>
        <source>The crop cannot grow that way: it is at the picture&apos;s edge.</source>
        <translation>Der Ausschnitt kann in diese Richtung nicht wachsen: Er liegt am Bildrand.</translation>
    </message>
    <message>
        <source>%1 %2 became %3: the crop stays even, inside the picture, at least %4 x %5, and keeps its ratio.</source>
        <translation>%1 %2 wurde zu %3: Der Ausschnitt bleibt geradzahlig, im Bild, mindestens %4 x %5 groß und behält sein Seitenverhältnis.</translation>
    </message>
    <message>
        <source>%1 %2 became %3: the crop stays even, inside the picture, at least %4 x %5.</source>
        <translation>%1 %2 wurde zu %3: Der Ausschnitt bleibt geradzahlig, im Bild und mindestens %4 x %5 groß.</translation>
    </message>
    <message>
        <source>Tall</source>
        <translation>Hoch</translation>
    </message>
</context>
<context>
    <name>TrackSummary</name>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Tagline</source>
        <translation>Slogan</translation>
    </message>
    <message>
        <source>Synopsis</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Release Date</source>
        <translation>Erscheinungsdatum</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>HD</source>
        <translation>HD</translation>
    </message>
    <message>
        <source>Media Kind</source>
        <translation>Medienart</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Komponist</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Altersfreigabe</translation>
    </message>
    <message>
        <source>Encoder</source>
        <translation>Encoder</translation>
    </message>
    <message>
        <source>Copyright</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Movie</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Subtitle</source>
        <translation>Untertitel</translation>
    </message>
    <message>
        <source>Poster</source>
        <translation>Titelbild</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Andere</translation>
    </message>
</context>
<context>
    <name>TrimBar</name>
    <message>
        <source>Start</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Where the crop starts (I: the poster shown)</source>
        <translation>Wo der Ausschnitt beginnt (I: das gezeigte Vorschaubild)</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Where the crop ends (O: the poster shown)</source>
        <translation>Wo der Ausschnitt endet (O: das gezeigte Vorschaubild)</translation>
    </message>
    <message>
        <source>%1 %2 became %3: End comes after Start, both within the video (%4).</source>
        <translation>%1 %2 wurde zu %3: Das Ende liegt nach dem Anfang, beide innerhalb des Videos (%4).</translation>
    </message>
    <message>
        <source>[ and ] move a second, , and . a poster; I and O set Start and End</source>
        <translation>[ und ] gehen eine Sekunde, , und . ein Vorschaubild; I und O setzen Anfang und Ende</translation>
    </message>
    <message>
        <source>“%1” is no time: write it as hh:mm:ss.mmm.</source>
        <translation>„%1“ ist keine Zeit: Schreiben Sie sie als hh:mm:ss.mmm.</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>Tessaly Help</source>
        <translation>Tessaly-Hilfe</translation>
    </message>
    <message>
        <source>Questions? Write to %1.</source>
        <translation>Fragen? Schreiben Sie an %1.</translation>
    </message>
</context>
<context>
    <name>VideoInfoWindow</name>
    <message>
        <source>Video Info</source>
        <translation>Video-Informationen</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Spuren</translation>
    </message>
    <message>
        <source>#</source>
        <translation>#</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Codec</source>
        <translation>Codec</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Metadata</source>
        <translation>Metadaten</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>%1, %2, %3 kb/s</source>
        <translation>%1, %2, %3 kb/s</translation>
    </message>
    <message>
        <source>Picture: %1 x %2, variable frame rate, about %3 a second</source>
        <translation>Bild: %1 x %2, veränderliche Bildrate, etwa %3 pro Sekunde</translation>
    </message>
    <message>
        <source>Picture: %1 x %2 at %3 frames a second</source>
        <translation>Bild: %1 x %2 mit %3 Bildern pro Sekunde</translation>
    </message>
    <message>
        <source>Turned %1° clockwise for showing</source>
        <translation>Zur Anzeige um %1° im Uhrzeigersinn gedreht</translation>
    </message>
    <message>
        <source>Pixels %1:%2 wide (not square)</source>
        <translation>Pixel %1:%2 breit (nicht quadratisch)</translation>
    </message>
    <message>
        <source>Interlaced, top field first</source>
        <translation>Zeilensprung, oberes Halbbild zuerst</translation>
    </message>
    <message>
        <source>Interlaced, bottom field first</source>
        <translation>Zeilensprung, unteres Halbbild zuerst</translation>
    </message>
    <message>
        <source>Colour: HDR (PQ, %1)</source>
        <translation>Farbe: HDR (PQ, %1)</translation>
    </message>
    <message>
        <source>Colour: HDR (HLG, %1)</source>
        <translation>Farbe: HDR (HLG, %1)</translation>
    </message>
    <message>
        <source>Colour: SDR (%1)</source>
        <translation>Farbe: SDR (%1)</translation>
    </message>
    <message>
        <source>%1 (cropped)</source>
        <translation>%1 (zugeschnitten)</translation>
    </message>
</context>
<context>
    <name>WindowDressing</name>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
</context>
</TS>
