<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>tollwen::GridAccessibility</name>
    <message>
        <source>Level grid</source>
        <translation>Level-Raster</translation>
    </message>
</context>
<context>
    <name>tollwen::MainWindow</name>
    <message>
        <source>Select arrow colour</source>
        <translation>Pfeilfarbe auswählen</translation>
    </message>
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
    <name>tollwen::TilePalette</name>
    <message>
        <source>Key: %1</source>
        <translation>Taste: %1</translation>
    </message>
</context>
</TS>
