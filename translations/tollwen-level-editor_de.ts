<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>tollwen::ArrowSwatch</name>
    <message>
        <source>Arrow colour</source>
        <translation>Pfeilfarbe</translation>
    </message>
    <message>
        <source>red %1, green %2, blue %3</source>
        <translation>Rot %1, Grün %2, Blau %3</translation>
    </message>
</context>
<context>
    <name>tollwen::CommandRunner</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>tollwen::EditMenu</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
</context>
<context>
    <name>tollwen::Editor</name>
    <message>
        <source>Flip &amp;Horizontally</source>
        <translation>&amp;Horizontal spiegeln</translation>
    </message>
    <message>
        <source>Flip &amp;Vertically</source>
        <translation>&amp;Vertikal spiegeln</translation>
    </message>
    <message>
        <source>Rotate Clock&amp;wise</source>
        <translation>Im Uhrzeigersinn &amp;drehen</translation>
    </message>
    <message>
        <source>Rotate Cou&amp;nter-clockwise</source>
        <translation>&amp;Gegen den Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>Select Music</source>
        <translation>Musik auswählen</translation>
    </message>
    <message>
        <source>The clipboard holds no level cells. Paste takes rows of tile codes (0-9, A-F), one line per row.</source>
        <translation>Die Zwischenablage enthält keine Levelzellen. Eingefügt werden Reihen aus Kachelcodes (0-9, A-F), eine Zeile pro Reihe.</translation>
    </message>
    <message>
        <source>The clipboard holds more text than a whole level of 13 rows of 19 tile codes. Nothing was pasted.</source>
        <translation>Die Zwischenablage enthält mehr Text als ein ganzes Level aus 13 Reihen mit je 19 Kachelcodes. Es wurde nichts eingefügt.</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Save changes to the level before starting a new level?</source>
        <translation>Änderungen am Level speichern, bevor ein neues Level begonnen wird?</translation>
    </message>
    <message>
        <source>Save changes to the level before opening another level?</source>
        <translation>Änderungen am Level speichern, bevor ein anderes Level geöffnet wird?</translation>
    </message>
    <message>
        <source>Save changes to the level before closing it?</source>
        <translation>Änderungen am Level speichern, bevor es geschlossen wird?</translation>
    </message>
    <message>
        <source>Save changes to the level before exiting?</source>
        <translation>Änderungen am Level speichern, bevor das Programm beendet wird?</translation>
    </message>
    <message>
        <source>Last level of this folder</source>
        <translation>Letztes Level dieses Ordners</translation>
    </message>
    <message>
        <source>First level of this folder</source>
        <translation>Erstes Level dieses Ordners</translation>
    </message>
    <message>
        <source>A valid datafile does not exist so one was created!</source>
        <translation>Es gibt keine gültige Datendatei, daher wurde eine angelegt!</translation>
    </message>
    <message>
        <source>%1 changed on disk and cannot be read: %2</source>
        <translation>%1 wurde auf dem Datenträger geändert und kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 was deleted on disk</source>
        <translation>%1 wurde auf dem Datenträger gelöscht</translation>
    </message>
    <message>
        <source>The data file %1 changed on disk. Reload it and lose your changes?</source>
        <translation>Die Datendatei %1 wurde auf dem Datenträger geändert. Neu laden und Ihre Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>%1 changed on disk and was reloaded</source>
        <translation>%1 wurde auf dem Datenträger geändert und neu geladen</translation>
    </message>
    <message>
        <source>a new level</source>
        <translation>einem neuen Level</translation>
    </message>
    <message>
        <source>a new level on %1</source>
        <translation>einem neuen Level auf %1</translation>
    </message>
    <message>
        <source>the data file %1</source>
        <translation>der Datendatei %1</translation>
    </message>
    <message>
        <source>%1 (data file %2)</source>
        <translation>%1 (Datendatei %2)</translation>
    </message>
    <message>
        <source>Unsaved changes to %1 from %2 were found. Restore them?</source>
        <translation>Ungespeicherte Änderungen an %1 vom %2 wurden gefunden. Wiederherstellen?</translation>
    </message>
    <message>
        <source>The data file was saved at %1, after these changes.</source>
        <translation>Die Datendatei wurde nach diesen Änderungen gespeichert (%1).</translation>
    </message>
    <message>
        <source>File Saved!</source>
        <translation>Datei gespeichert!</translation>
    </message>
    <message>
        <source>The data file %1 was deleted on disk since it was opened. Write it again?</source>
        <translation>Die Datendatei %1 wurde seit dem Öffnen auf dem Datenträger gelöscht. Erneut schreiben?</translation>
    </message>
    <message>
        <source>%1 Overwrite it?</source>
        <translation>%1 Überschreiben?</translation>
    </message>
    <message>
        <source>New level</source>
        <translation>Neues Level</translation>
    </message>
    <message>
        <source>New level on %1</source>
        <translation>Neues Level auf %1</translation>
    </message>
    <message>
        <source>no music</source>
        <translation>keine Musik</translation>
    </message>
    <message>
        <source>The data file %1 may have changed on disk since these changes were made. Overwrite it?</source>
        <translation>Die Datendatei %1 wurde möglicherweise auf dem Datenträger geändert, seit diese Änderungen gemacht wurden. Überschreiben?</translation>
    </message>
</context>
<context>
    <name>tollwen::FileDialogs</name>
    <message>
        <source>untitled</source>
        <extracomment>The name a new file is offered under in the save and music dialogs, without an extension.</extracomment>
        <translation>unbenannt</translation>
    </message>
    <message>
        <source>Select Level File..</source>
        <translation>Leveldatei auswählen…</translation>
    </message>
    <message>
        <source>Save Level Data...</source>
        <translation>Leveldaten speichern…</translation>
    </message>
    <message>
        <source>Jpeg Level Images (*.jpg)|*.jpg</source>
        <extracomment>A file type and, after the &quot;|&quot;, its patterns, which stay as they are.</extracomment>
        <translation>JPEG-Levelbilder (*.jpg)|*.jpg</translation>
    </message>
    <message>
        <source>Level Data (*.dat)|*.dat</source>
        <extracomment>A file type and, after the &quot;|&quot;, its patterns, which stay as they are.</extracomment>
        <translation>Leveldaten (*.dat)|*.dat</translation>
    </message>
    <message>
        <source>Supported Files (mid, mod, it, xm, s3m)|*.mid; *.mod; *.IT; *.xm; *.s3m</source>
        <extracomment>A file type and, after the &quot;|&quot;, its patterns, which stay as they are.</extracomment>
        <translation>Unterstützte Dateien (mid, mod, it, xm, s3m)|*.mid; *.mod; *.IT; *.xm; *.s3m</translation>
    </message>
</context>
<context>
    <name>tollwen::GridAccessibility</name>
    <message>
        <source>Level grid</source>
        <translation>Level-Raster</translation>
    </message>
</context>
<context>
    <name>tollwen::GridToolTips</name>
    <message>
        <source>column %1, row %2: %3</source>
        <translation>Spalte %1, Zeile %2: %3</translation>
    </message>
</context>
<context>
    <name>tollwen::MainWindow</name>
    <message>
        <source>Select arrow colour</source>
        <translation>Pfeilfarbe auswählen</translation>
    </message>
    <message>
        <source>Arrow Colour:</source>
        <translation>Pfeilfarbe:</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Wählen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation>B&amp;ild</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Next &amp;Level</source>
        <translation>Nächstes &amp;Level</translation>
    </message>
    <message>
        <source>&amp;Previous Level</source>
        <translation>&amp;Vorheriges Level</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Aus&amp;schneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles a&amp;uswählen</translation>
    </message>
    <message>
        <source>&amp;Select Music</source>
        <translation>&amp;Musik auswählen</translation>
    </message>
    <message>
        <source>&amp;Refresh Display</source>
        <translation>&amp;Anzeige aktualisieren</translation>
    </message>
</context>
<context>
    <name>tollwen::Message</name>
    <message>
        <source>Sorry this colour cannot be used for the arrow color</source>
        <translation>Diese Farbe kann leider nicht als Pfeilfarbe verwendet werden</translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation>Fehler beim Lesen des Datenstroms</translation>
    </message>
    <message>
        <source>Bitmap image is not valid</source>
        <translation>Das Bitmap-Bild ist ungültig</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a tile code</source>
        <translation>„%1“ ist kein Kachelcode</translation>
    </message>
    <message>
        <source>byte 0x%1 is not a tile code</source>
        <translation>Byte 0x%1 ist kein Kachelcode</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Radierer</translation>
    </message>
    <message>
        <source>Conveyor Up</source>
        <translation>Förderband hoch</translation>
    </message>
    <message>
        <source>Conveyor Right</source>
        <translation>Förderband rechts</translation>
    </message>
    <message>
        <source>Conveyor Down</source>
        <translation>Förderband runter</translation>
    </message>
    <message>
        <source>Conveyor Left</source>
        <translation>Förderband links</translation>
    </message>
    <message>
        <source>Brick Wall</source>
        <translation>Ziegelmauer</translation>
    </message>
    <message>
        <source>Crate</source>
        <translation>Kiste</translation>
    </message>
    <message>
        <source>Goal</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Spikes</source>
        <translation>Stacheln</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>Locked Door</source>
        <translation>Verschlossene Tür</translation>
    </message>
    <message>
        <source>Ice</source>
        <translation>Eis</translation>
    </message>
    <message>
        <source>Teleporter</source>
        <translation>Teleporter</translation>
    </message>
    <message>
        <source>Bomb</source>
        <translation>Bombe</translation>
    </message>
    <message>
        <source>Gem</source>
        <translation>Edelstein</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Error: Line %1 of the data file is longer than %2 bytes!</source>
        <translation>Fehler: Zeile %1 der Datendatei ist länger als %2 Bytes!</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Ungültiger Dateiname</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Zu viele offene Dateien</translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation>Zugriff auf die Datei verweigert</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Lesen über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>Invalid numeric input</source>
        <translation>Ungültige numerische Eingabe</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <translation>E/A-Fehler %1</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Speicher</translation>
    </message>
    <message>
        <source>Range check error</source>
        <translation>Fehler bei der Bereichsprüfung</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>The data file %1 changed on disk since it was opened.</source>
        <translation>Die Datendatei %1 wurde seit dem Öffnen auf dem Datenträger geändert.</translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <translation>JPEG-Fehler #%1</translation>
    </message>
    <message>
        <source>Error: Image has more than %1 scans!</source>
        <translation>Fehler: Das Bild hat mehr als %1 Scans!</translation>
    </message>
    <message>
        <source>Error: Image must be 640x447 pixels in size!</source>
        <translation>Fehler: Das Bild muss 640x447 Pixel groß sein!</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist kein gültiger Ganzzahlwert</translation>
    </message>
    <message>
        <source>Error: The data file is too large to be written in place (%1 bytes)!</source>
        <translation>Fehler: Die Datendatei ist zu groß, um an Ort und Stelle geschrieben zu werden (%1 Bytes)!</translation>
    </message>
    <message>
        <source>Error: The data file must be written in place, and there is no folder to keep its old content in meanwhile (neither XDG_STATE_HOME nor HOME is set)!</source>
        <translation>Fehler: Die Datendatei muss an Ort und Stelle geschrieben werden, und es gibt keinen Ordner, der ihren alten Inhalt so lange aufbewahrt (weder XDG_STATE_HOME noch HOME ist gesetzt)!</translation>
    </message>
    <message>
        <source>Error: Cannot create %1 to keep the data file&apos;s old content in while it is written in place: %2</source>
        <translation>Fehler: %1 kann nicht angelegt werden, um den alten Inhalt der Datendatei aufzubewahren, während sie an Ort und Stelle geschrieben wird: %2</translation>
    </message>
    <message>
        <source>Error: Another program is saving the data file; try again later!</source>
        <translation>Fehler: Ein anderes Programm speichert gerade die Datendatei; versuchen Sie es später noch einmal!</translation>
    </message>
</context>
<context>
    <name>tollwen::MessageBoxes</name>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Ü&amp;berschreiben</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>&amp;Behalten</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>tollwen::StatusLine</name>
    <message>
        <source>The cell under the pointer, or the current cell</source>
        <translation>Die Zelle unter dem Mauszeiger oder die aktuelle Zelle</translation>
    </message>
    <message>
        <source>The current tile</source>
        <translation>Die aktuelle Kachel</translation>
    </message>
    <message>
        <source>The tool in use</source>
        <translation>Das verwendete Werkzeug</translation>
    </message>
    <message>
        <source>The last note</source>
        <translation>Die letzte Meldung</translation>
    </message>
</context>
<context>
    <name>tollwen::TilePalette</name>
    <message>
        <source>Key: %1</source>
        <translation>Taste: %1</translation>
    </message>
</context>
<context>
    <name>tollwen::Tools</name>
    <message>
        <source>&amp;Brush</source>
        <translation>&amp;Pinsel</translation>
    </message>
    <message>
        <source>Paint</source>
        <translation>Malen</translation>
    </message>
    <message>
        <source>C&amp;onveyor Path</source>
        <translation>Förder&amp;bandpfad</translation>
    </message>
    <message>
        <source>Conveyor Path</source>
        <translation>Förderbandpfad</translation>
    </message>
    <message>
        <source>&amp;Fill</source>
        <translation>&amp;Füllen</translation>
    </message>
    <message>
        <source>Fill</source>
        <translation>Füllen</translation>
    </message>
    <message>
        <source>&amp;Line</source>
        <translation>L&amp;inie</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>R&amp;ectangle</source>
        <translation>Re&amp;chteck</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation>&amp;Auswahl</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
</context>
</TS>
