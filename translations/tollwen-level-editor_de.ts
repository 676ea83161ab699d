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
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tollwen::EditMenu</name>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tollwen::Editor</name>
    <message>
        <source>Flip &amp;Horizontally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flip &amp;Vertically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate Clock&amp;wise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate Cou&amp;nter-clockwise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The clipboard holds no level cells. Paste takes rows of tile codes (0-9, A-F), one line per row.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The clipboard holds more text than a whole level of 13 rows of 19 tile codes. Nothing was pasted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to the level before starting a new level?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to the level before opening another level?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to the level before closing it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to the level before exiting?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last level of this folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First level of this folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A valid datafile does not exist so one was created!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 changed on disk and cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was deleted on disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file %1 changed on disk. Reload it and lose your changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 changed on disk and was reloaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a new level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a new level on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (data file %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsaved changes to %1 from %2 were found. Restore them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file was saved at %1, after these changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Saved!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file %1 was deleted on disk since it was opened. Write it again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Overwrite it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New level on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no music</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tollwen::FileDialogs</name>
    <message>
        <source>untitled</source>
        <extracomment>The name a new file is offered under in the save and music dialogs, without an extension.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Level File..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Level Data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jpeg Level Images (*.jpg)|*.jpg</source>
        <extracomment>A file type and, after the &quot;|&quot;, its patterns, which stay as they are.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level Data (*.dat)|*.dat</source>
        <extracomment>A file type and, after the &quot;|&quot;, its patterns, which stay as they are.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supported Files (mid, mod, it, xm, s3m)|*.mid; *.mod; *.IT; *.xm; *.s3m</source>
        <extracomment>A file type and, after the &quot;|&quot;, its patterns, which stay as they are.</extracomment>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next &amp;Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh Display</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tollwen::Message</name>
    <message>
        <source>Sorry this colour cannot be used for the arrow color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitmap image is not valid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a tile code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>byte 0x%1 is not a tile code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brick Wall</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Goal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spikes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Water</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Locked Door</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teleporter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bomb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Line %1 of the data file is longer than %2 bytes!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid numeric input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Range check error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file %1 changed on disk since it was opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Image has more than %1 scans!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Image must be 640x447 pixels in size!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: The data file is too large to be written in place (%1 bytes)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: The data file must be written in place, and there is no folder to keep its old content in meanwhile (neither XDG_STATE_HOME nor HOME is set)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Cannot create %1 to keep the data file&apos;s old content in while it is written in place: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: Another program is saving the data file; try again later!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tollwen::MessageBoxes</name>
    <message>
        <source>&amp;Overwrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tollwen::StatusLine</name>
    <message>
        <source>The cell under the pointer, or the current cell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current tile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tool in use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last note</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;onveyor Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Fill</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R&amp;ectangle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
